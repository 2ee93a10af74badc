#!/usr/bin/env bash
# ./dev bench [ARGS]       Release build of the benchmarks, results in build/bench/results.json
source "$(dirname "$0")/lib.sh"
ensure_build_deps
configure build-release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build build-release --target quor-bench
mkdir -p build/bench
build-release/Bench/quor-bench --benchmark_out=build/bench/results.json \
  --benchmark_out_format=json "$@"
