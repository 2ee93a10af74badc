#!/usr/bin/env bash
# ./dev test-armhf [ARGS]  cross build for the device (32-bit ARM), whole suite under qemu-arm
source "$(dirname "$0")/lib.sh"
ensure_armhf
configure build-armhf -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/Toolchain-armhf.cmake" \
  -DQUOR_BUILD_BENCH=OFF
cmake --build build-armhf
run_ctest build-armhf -j"$(nproc)" "$@"
