#!/usr/bin/env bash
# ./dev coverage           line and branch coverage of the suite (gcovr) in build-coverage/coverage/
source "$(dirname "$0")/lib.sh"
ensure_build_deps gcovr
configure build-coverage -DCMAKE_BUILD_TYPE=Debug -DQUOR_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage \
  -DCMAKE_SHARED_LINKER_FLAGS=--coverage
cmake --build build-coverage
find build-coverage -name '*.gcda' -delete
run_ctest build-coverage -j"$(nproc)"
# Branches of exceptions and unreachable edges are not counted.
gcovr=(gcovr -r . --object-directory build-coverage --gcov-exclude '.*CompilerId.*'
  --exclude-throw-branches --exclude-unreachable-branches)
mkdir -p build-coverage/coverage
echo "dev: QuorObjectModel/"
"${gcovr[@]}" --filter 'QuorObjectModel/' --print-summary -o build-coverage/coverage/library.txt
echo "dev: QuorObjectModel/, Include/ and Platform/"
"${gcovr[@]}" --filter 'QuorObjectModel/' --filter 'Include/' --filter 'Platform/' \
  --print-summary --html-details build-coverage/coverage/index.html
