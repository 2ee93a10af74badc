#!/usr/bin/env bash
# ./dev abi-check [--update]  the library's ABI against abi/ARCH.abi; --update writes them
source "$(dirname "$0")/lib.sh"

# The ABI of the library built in DIR as abidw sees it through the installed public headers
# alone, without source locations, so that the dump is small and stable.
abi_dump() {
  local dir=$1 out=$2
  rm -rf "$dir/abi-prefix"
  cmake --install "$dir" --prefix "$dir/abi-prefix" --component dev >/dev/null
  abidw --no-show-locs --no-comp-dir-path --no-corpus-path --drop-private-types \
    --suppressions abi/abidw.suppr \
    --headers-dir "$dir/abi-prefix/include/quor/Quor" \
    --headers-dir "$dir/abi-prefix/include/quor/QuorObjectModel" \
    --out-file "$out" "$dir/QuorObjectModel/libquorobjectmodel.so.$(soversion)"
}
abi_check_arch() {
  local arch=$1 dir=$2 update=$3 status=0
  shift 3
  configure "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DQUOR_BUILD_BENCH=OFF "$@"
  cmake --build "$dir"
  abi_dump "$dir" "$dir/current.abi"
  if [ "$update" = --update ]; then
    mkdir -p abi
    cp "$dir/current.abi" "abi/$arch.abi"
    echo "dev: abi/$arch.abi written"
    return
  fi
  abidiff --no-added-syms "abi/$arch.abi" "$dir/current.abi" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "dev: the $arch ABI differs from abi/$arch.abi (abidiff status $status)"
    return 1
  fi
  abidiff "abi/$arch.abi" "$dir/current.abi" || true
  echo "dev: the $arch ABI keeps abi/$arch.abi"
}

update=${1:-}
ensure_build_deps abigail-tools
abi_check_arch "$(dpkg --print-architecture)" build-abi "$update"
if command -v arm-linux-gnueabihf-g++ >/dev/null; then
  abi_check_arch armhf build-abi-armhf "$update" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/Toolchain-armhf.cmake"
else
  echo "dev: no armhf cross toolchain here, armhf ABI not checked"
fi
