#!/usr/bin/env bash
# ./dev test [ARGS]        installs what is missing, builds, runs the whole suite (ARGS to ctest)
source "$(dirname "$0")/lib.sh"
build
run_ctest "$BUILD_DIR" -j"$(nproc)" "$@"
