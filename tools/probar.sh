#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
# Usage: tools/probar.sh [BUILD_DIR] [extra cmake arguments]
# Every test runs twice, under C.UTF-8 and under es_ES.UTF-8; CORVELA_CTEST_ARGS
# passes more arguments to ctest (for instance "-L es" for the Spanish pass only).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$raiz/build}; [ $# -gt 0 ] && shift
"$raiz/tools/preparar.sh" "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cd "$dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 ${CORVELA_CTEST_ARGS:-}
