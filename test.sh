#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc 2>/dev/null || echo 2)
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"
