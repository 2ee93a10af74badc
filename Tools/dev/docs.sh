#!/usr/bin/env bash
# ./dev docs               API reference (Doxygen) in build-docs/docs/html/; any warning fails
source "$(dirname "$0")/lib.sh"
ensure_build_deps
configure build-docs -DQUOR_BUILD_DOCS=ON -DBUILD_TESTING=OFF -DQUOR_BUILD_BENCH=OFF
cmake --build build-docs --target quor-docs
echo "dev: API reference in build-docs/docs/html/index.html"
