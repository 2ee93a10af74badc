# shellcheck shell=bash
# Helpers every ./dev command shares: sourced by name by each script of Tools/dev/, which then
# runs in the tree's top directory.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."

BUILD_DIR=${BUILD_DIR:-build}
# Our package builds treat warnings as errors too: debian/rules reads it.
export QUOR_WERROR=ON
# What a development build needs beyond the package's own build dependencies.
DEV_PACKAGES=(libbenchmark-dev)

# How every sanitised run ends: at the first finding, leaks included, with its stack.
export_sanitizer_options() {
  export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
}

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Waits up to ten minutes for another apt or dpkg (unattended upgrades, say) to let go of its
# locks instead of failing at once.
apt_get() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 "$@"
}

# dpkg itself has no lock timeout: a call that fails is tried again for up to ten minutes.
retry() {
  local _
  for _ in $(seq 120); do
    "$@" 2>/dev/null && return
    sleep 5
  done
  "$@"
}

# Installs what is missing of PACKAGES; nothing, and no apt call, when all is there.
ensure_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "dev: installing ${missing[*]}"
    apt_get update -qq
    apt_get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# The build dependencies of debian/control (for the host architecture of ARGS, -a ARCH
# -P PROFILES, as dpkg-checkbuilddeps and apt-get build-dep take them), then PACKAGES.
ensure_build_deps() {
  local options=() packages=()
  while [ $# -gt 0 ]; do
    case $1 in
      -a | -P) options+=("$1" "$2") && shift 2 ;;
      *) packages+=("$1") && shift ;;
    esac
  done
  ensure_packages dpkg-dev
  if ! dpkg-checkbuilddeps "${options[@]}" >/dev/null 2>&1; then
    echo "dev: installing the build dependencies of debian/control ${options[*]}"
    apt_get update -qq
    apt_get build-dep -y -qq --no-install-recommends "${options[@]}" ./
  fi
  ensure_packages "${DEV_PACKAGES[@]}" "${packages[@]}"
}

# The device's architecture: the build dependencies for armhf (Debian's cross compiler and
# the :armhf libraries, GoogleTest included) and qemu-user to run what is built.
ensure_armhf() {
  if ! dpkg --print-foreign-architectures | grep -qx armhf; then
    retry as_root dpkg --add-architecture armhf
    apt_get update -qq
  fi
  ensure_build_deps -a armhf -P cross crossbuild-essential-armhf qemu-user
}

# Configures DIR with OPTIONS; our own builds treat warnings as errors, on every compiler. A
# build directory configured with other options starts afresh, so no stale setting stays.
configure() {
  local dir=$1 options
  shift
  options="-G Ninja -DQUOR_WERROR=ON $*"
  if [ -f "$dir/build.ninja" ] && [ "$(cat "$dir/.dev-options" 2>/dev/null)" != "$options" ]; then
    echo "dev: $dir was configured with other options; configuring afresh"
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles" "$dir/build.ninja"
  fi
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S . -B "$dir" -G Ninja -DQUOR_WERROR=ON "$@"
    echo "$options" >"$dir/.dev-options"
  fi
}

# ctest --test-dir is younger than the oldest CMake we support.
run_ctest() {
  local dir=$1
  shift
  (cd "$dir" && ctest --output-on-failure "$@")
}

build() {
  ensure_build_deps
  configure "$BUILD_DIR"
  cmake --build "$BUILD_DIR"
}

project_version() {
  cat VERSION
}

soversion() {
  project_version | cut -d. -f1
}

# The tree as git sees it, uncommitted changes included, without build output; a tree that is
# no git checkout (a copy in a chroot) without its build directories.
copy_tree() {
  local dir=$1 file
  mkdir -p "$dir"
  if ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    find . -mindepth 1 -maxdepth 1 ! -name 'build*' -exec cp -a -t "$dir" {} +
    return
  fi
  git ls-files -z --cached --others --exclude-standard | while IFS= read -r -d '' file; do
    if [ -e "$file" ]; then cp --parents "$file" "$dir"; fi
  done
}

# The packages for ARCH (native or armhf) built from a copy of the tree in DIR/src: the .deb
# files land in DIR, the build's log in DIR/build.log.
build_packages() {
  local arch=$1 dir=$2 options=()
  if [ "$arch" != "$(dpkg --print-architecture)" ]; then
    ensure_armhf
    options=(--host-arch "$arch" -Pcross,nocheck)
  fi
  rm -rf "$dir"
  copy_tree "$dir/src"
  (cd "$dir/src" && dpkg-buildpackage -us -uc -b "${options[@]}") >"$dir/build.log" 2>&1 ||
    { tail -n 40 "$dir/build.log" >&2 && return 1; }
}

# Builds the stand-ins alone in DIR and installs them into PREFIX, as a vendor ships its SDK;
# further arguments go to the configuration.
install_platform_sdk() {
  local dir=$1 prefix=$2
  shift 2
  cmake -S Platform -B "$dir" -G Ninja -DQUOR_WERROR=ON "$@"
  cmake --build "$dir"
  cmake --install "$dir" --prefix "$prefix" >/dev/null
}
