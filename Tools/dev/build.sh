#!/usr/bin/env bash
# ./dev build              configure and build only (in BUILD_DIR, default build/)
source "$(dirname "$0")/lib.sh"
build
