#!/usr/bin/env bash
# ./dev sanitize           ASan+UBSan+LSan over the whole suite, then TSan over the request engine
source "$(dirname "$0")/lib.sh"
ensure_build_deps
export_sanitizer_options
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
configure build-asan -DQUOR_SANITIZE=address -DQUOR_BUILD_BENCH=OFF
cmake --build build-asan
run_ctest build-asan -j"$(nproc)"
configure build-tsan -DQUOR_SANITIZE=thread -DQUOR_BUILD_BENCH=OFF
cmake --build build-tsan --target MessagingTests ToolTests
run_ctest build-tsan -L Messaging
# demo and a bounded stress run: many callers, one answering thread, faults injected
run_ctest build-tsan -R '^RequestCommands\.'
