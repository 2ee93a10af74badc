#!/usr/bin/env bash
# ./dev lint               clang-tidy (.clang-tidy) and cppcheck over the library, its public headers, quor-om and the test kit
source "$(dirname "$0")/lib.sh"
ensure_packages clang-tidy cppcheck
build
# The units of the library and the tool; the public and internal headers they include come
# along (.clang-tidy's HeaderFilterRegex). Any finding fails: each is fixed or suppressed where
# it stands, with the reason.
log=$BUILD_DIR/clang-tidy.log
if ! run-clang-tidy -p "$BUILD_DIR" -quiet -j "$(nproc)" "$PWD/(QuorObjectModel|Tools/quor-om|TestKit)/" >"$log" 2>&1; then
  grep -v '^clang-tidy-[0-9]* \|warnings\? generated' "$log" >&2
  echo "dev: clang-tidy finds the above (all of it in $log)" >&2
  exit 1
fi
# One configuration, as GCC and clang see it.
mkdir -p "$BUILD_DIR/cppcheck"
cppcheck --enable=warning,performance,portability --std=c++17 --language=c++ -D__GNUC__ \
  --inline-suppr --suppress=missingIncludeSystem --error-exitcode=1 -q -j "$(nproc)" \
  --cppcheck-build-dir="$BUILD_DIR/cppcheck" \
  -I Include -I . -I Platform -I Tools/quor-om -I TestKit \
  QuorObjectModel Tools/quor-om TestKit
echo "dev: clang-tidy and cppcheck find nothing"
