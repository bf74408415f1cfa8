#!/usr/bin/env bash
# Installs what is missing, builds and starts the program. The data (database,
# settings, CAD script) lives outside the build tree, in ~/CorvelaGeoda unless
# CORVELA_DATOS names another folder, so rebuilding never touches a field book.
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
"$raiz/tools/preparar.sh" "$raiz/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
datos=${CORVELA_DATOS:-$HOME/CorvelaGeoda}
mkdir -p "$datos"
exec "$raiz/build/corvela-geoda" --datos "$datos" "$@"
