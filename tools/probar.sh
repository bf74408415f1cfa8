#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
# Usage: tools/probar.sh [BUILD_DIR] [extra cmake arguments]
# Every test runs under C.UTF-8 and under es_ES.UTF-8, and those of the records,
# windows and exports once more on a throwaway PostgreSQL server that this script
# starts and stops; CORVELA_CTEST_ARGS passes more arguments to ctest (for
# instance "-L ^es$" for the Spanish pass only, which needs no server).
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$raiz/build}; [ $# -gt 0 ] && shift
"$raiz/tools/preparar.sh" "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
cd "$dir"
if [ -z "${CORVELA_CTEST_ARGS:-}" ] || [[ "${CORVELA_CTEST_ARGS}" == *postgresql* ]]; then
  # Apart from eval, so that a server that did not start stops the script here
  # rather than letting the tests reach whatever server PG* may name.
  servidor=$("$raiz/tools/postgresql-prueba.sh" arrancar)
  eval "$servidor"
  trap '"$raiz/tools/postgresql-prueba.sh" parar "$CORVELA_PG_CARPETA"' EXIT
fi
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2 ${CORVELA_CTEST_ARGS:-}
