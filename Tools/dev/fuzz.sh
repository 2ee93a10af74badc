#!/usr/bin/env bash
# ./dev fuzz [S]           libFuzzer build (clang), each fuzz target runs S seconds (default 60)
source "$(dirname "$0")/lib.sh"
seconds=${1:-60}
ensure_build_deps clang
configure build-fuzz -DQUOR_SANITIZE=fuzzer -DCMAKE_CXX_COMPILER=clang++ -DBUILD_TESTING=OFF \
  -DQUOR_BUILD_BENCH=OFF
cmake --build build-fuzz
export_sanitizer_options
for target in $(cd Fuzz && ls ./*Fuzz.cpp | sed 's|^\./||; s|\.cpp$||'); do
  echo "dev: fuzzing $target for ${seconds}s"
  rm -rf "build-fuzz/corpus/$target"
  mkdir -p "build-fuzz/corpus/$target" "build-fuzz/artifacts/$target"
  # Each run works on a scratch copy of its seed corpus.
  "build-fuzz/Fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$target/" \
    "build-fuzz/corpus/$target" "Fuzz/corpus/$target"
done
