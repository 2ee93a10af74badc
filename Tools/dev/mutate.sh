#!/usr/bin/env bash
# ./dev mutate [--part library|platform|PATH] [--sanitize] [N] [SEED]  N planted faults (default 100) in the part; survivors, score
source "$(dirname "$0")/lib.sh"
ensure_build_deps python3 ccache
export_sanitizer_options  # for --sanitize
python3 Tools/dev/mutate.py "$@"
