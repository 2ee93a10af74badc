#!/usr/bin/env bash
# ./dev demo               build and run the request-engine demo (quor-om demo)
source "$(dirname "$0")/lib.sh"
build
"$BUILD_DIR/Tools/quor-om/quor-om" demo
