#!/usr/bin/env bash
# ./dev test-toolchains [CELL...]  the oldest and newest supported toolchains, each a cell
source "$(dirname "$0")/lib.sh"
# Debian chroots made with debootstrap from the mirror this machine's apt uses, with their own
# Debian packages (debian/control's build dependencies), and this machine's clang.
#
#   debian11-gcc10   g++-10, CMake 3.18, boost 1.74 through FindBoost, log4cplus 2.0.5 through
#                    log4cplus.pc, GoogleTest 1.10: the whole suite, examples included
#   debian11-gcc9    g++-9: the stand-ins alone, the library, quor-om and every public header
#   debian13-user    the README's two commands, ./dev test and ./dev demo, as a new user on
#                    today's Debian runs them: from a fresh copy, ./dev installing what it needs
#   debian13-package GCC 14, CMake 3.31, boost 1.83: ./dev package, its build running the suite,
#                    lintian with no error and no warning
#   debian12-clang   this machine's clang: the whole suite
#
# The chroots stay in TOOLCHAINS_DIR (default build-toolchains/) for the next run, which only
# adds packages they lack; the tree is copied in afresh. Nothing is mounted but each chroot's
# /proc, and that is unmounted however the run ends.

TOOLCHAINS_DIR=${TOOLCHAINS_DIR:-$PWD/build-toolchains}

# Beyond the build dependencies: Debian 11's two compilers; on Debian 13 ./dev installs what it
# needs itself.
BULLSEYE_PACKAGES=(g++-10 g++-9 "${DEV_PACKAGES[@]}")
TRIXIE_PACKAGES=(ca-certificates)

unmount_toolchains() {
  local mount
  for mount in "$TOOLCHAINS_DIR"/*/proc; do
    if mountpoint -q "$mount"; then
      umount "$mount" 2>/dev/null || umount -l "$mount" || true
    fi
  done
}

# The Debian mirror of this machine's own apt sources.
debian_mirror() {
  local uri
  uri=$(apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' 2>/dev/null |
    grep -m1 '/debian/$' || true)
  echo "${uri:-http://deb.debian.org/debian/}"
}

in_chroot() {
  local root=$1
  shift
  chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    DEBIAN_FRONTEND=noninteractive bash -euo pipefail -c "$*"
}

# A chroot of SUITE with the tree in /src, debian/control's build dependencies (for a suite
# that builds the tree itself, none) and PACKAGES, made once and completed on later runs,
# /proc mounted.
prepare_chroot() {
  local suite=$1 buildDeps=$2 root=$TOOLCHAINS_DIR/$1 stamp install
  shift 2
  if [ ! -f "$root/.quor-made" ]; then
    rm -rf --one-file-system "$root"
    debootstrap --variant=minbase "$suite" "$root" "$(debian_mirror)"
    touch "$root/.quor-made"
  fi
  mountpoint -q "$root/proc" || mount -t proc proc "$root/proc"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  rm -rf --one-file-system "$root/src"
  copy_tree "$root/src"
  install="apt-get install -y -qq --no-install-recommends $*"
  if [ "$buildDeps" = build-deps ]; then
    install="apt-get build-dep -y -qq --no-install-recommends /src && $install"
  fi
  stamp=$( (echo "$install" && cat debian/control) | md5sum | cut -d' ' -f1)
  if [ "$(cat "$root/.quor-packages" 2>/dev/null)" != "$stamp" ]; then
    in_chroot "$root" "apt-get update -qq && $install >/dev/null"
    echo "$stamp" >"$root/.quor-packages"
  fi
}

# Runs one cell, its output in its own log; a failing cell says its name and its first error.
# (Not as an if condition: bash would ignore set -e inside it.)
TOOLCHAIN_FAILED=()
run_cell() {
  local name=$1 log=$TOOLCHAINS_DIR/$1.log start=$SECONDS status first
  shift
  echo "dev: cell $name ..."
  set +e
  (
    set -e
    "$@"
  ) >"$log" 2>&1
  status=$?
  set -e
  if [ "$status" -eq 0 ]; then
    echo "dev: cell $name passed in $((SECONDS - start)) s"
  else
    echo "dev: cell $name FAILED after $((SECONDS - start)) s; its first error:"
    # (apt's complaint about /dev/pts, which is not mounted, is no error)
    first=$(grep -v 'Can not write log' "$log" |
      grep -E '(error|Error):|FAILED|\*\*\*Failed|\(Failed\)|^E: ' | head -n 1 || true)
    echo "${first:-$(tail -n 5 "$log")}"
    echo "dev: the whole output is in $log"
    TOOLCHAIN_FAILED+=("$name")
  fi
}

# CMake's FindBoost for boost, log4cplus.pc for log4cplus: the way an SDK without their CMake
# packages has them.
cell_debian11_gcc10() {
  local root=$TOOLCHAINS_DIR/bullseye
  in_chroot "$root" "
    find /usr/lib -path '*/cmake/log4cplus' -prune -exec rm -rf {} +
    cmake -S /src -B /src/build -G Ninja -DCMAKE_CXX_COMPILER=g++-10 -DQUOR_WERROR=ON \
      -DBoost_NO_BOOST_CMAKE=ON -DQUOR_BUILD_BENCH=OFF
    grep -q '^log4cplus_LIBRARY:FILEPATH=/' /src/build/CMakeCache.txt
    cmake --build /src/build
    cd /src/build && ctest -j$(nproc) --output-on-failure"
}

cell_debian11_gcc9() {
  in_chroot "$TOOLCHAINS_DIR/bullseye" "
    cmake -S /src/Platform -B /src/build-platform -G Ninja -DCMAKE_CXX_COMPILER=g++-9 \
      -DQUOR_WERROR=ON -DBoost_NO_BOOST_CMAKE=ON
    cmake --build /src/build-platform
    cmake -S /src -B /src/build-gcc9 -G Ninja -DCMAKE_CXX_COMPILER=g++-9 -DQUOR_WERROR=ON \
      -DBoost_NO_BOOST_CMAKE=ON -DQUOR_BUILD_BENCH=OFF
    cmake --build /src/build-gcc9 --target quorobjectmodel quor-om
    cd /src/build-gcc9 && ctest --output-on-failure -R '^Packaging\\.Headers\\.'"
}

cell_debian13_user() {
  in_chroot "$TOOLCHAINS_DIR/trixie" "
    rm -rf /root/quorobjectmodel
    source /src/Tools/dev/lib.sh && copy_tree /root/quorobjectmodel
    cd /root/quorobjectmodel && ./dev test && ./dev demo"
}

cell_debian13_package() {
  in_chroot "$TOOLCHAINS_DIR/trixie" "cd /src && ./dev package"
}

cell_debian12_clang() {
  ensure_build_deps clang
  configure build-clang -DCMAKE_CXX_COMPILER=clang++ -DQUOR_BUILD_BENCH=OFF
  cmake --build build-clang
  run_ctest build-clang -j"$(nproc)"
}

# Is CELL among those asked for (all when none is named)? A cell whose chroot could not be made
# is not run.
wants_cell() {
  case " ${TOOLCHAIN_FAILED[*]} " in *" ${2:-none} "*) return 1 ;; esac
  [ ${#TOOLCHAIN_CELLS[@]} -eq 0 ] || [[ " ${TOOLCHAIN_CELLS[*]} " == *" $1 "* ]]
}

test_toolchains() {
  local start=$SECONDS
  TOOLCHAIN_CELLS=("$@")
  ensure_build_deps debootstrap
  mkdir -p "$TOOLCHAINS_DIR"
  trap unmount_toolchains EXIT
  trap 'exit 130' INT TERM
  if wants_cell debian11-gcc10 || wants_cell debian11-gcc9; then
    run_cell debian11-chroot prepare_chroot bullseye build-deps "${BULLSEYE_PACKAGES[@]}"
  fi
  if wants_cell debian11-gcc10 debian11-chroot; then
    run_cell debian11-gcc10 cell_debian11_gcc10
  fi
  if wants_cell debian11-gcc9 debian11-chroot; then
    run_cell debian11-gcc9 cell_debian11_gcc9
  fi
  if wants_cell debian13-user || wants_cell debian13-package; then
    run_cell debian13-chroot prepare_chroot trixie none "${TRIXIE_PACKAGES[@]}"
  fi
  if wants_cell debian13-user debian13-chroot; then
    run_cell debian13-user cell_debian13_user
  fi
  if wants_cell debian13-package debian13-chroot; then
    run_cell debian13-package cell_debian13_package
  fi
  unmount_toolchains
  if wants_cell debian12-clang; then
    run_cell debian12-clang cell_debian12_clang
  fi
  echo "dev: toolchain cells done in $((SECONDS - start)) s"
  if [ ${#TOOLCHAIN_FAILED[@]} -gt 0 ]; then
    echo "dev: failed cells: ${TOOLCHAIN_FAILED[*]}"
    return 1
  fi
}

test_toolchains "$@"
