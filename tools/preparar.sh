#!/usr/bin/env bash
# Installs what is missing to build, test and run the program on Debian 12, then
# configures and builds. Usage: tools/preparar.sh BUILD_DIR [extra cmake arguments]
set -euo pipefail
paquetes=(build-essential cmake ninja-build qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev
          qt6-translations-l10n libxkbcommon-dev xvfb xauth xdotool imagemagick poppler-utils sqlite3
          fonts-dejavu-core locales pkg-config libdxflib-dev python3-ezdxf
          libqt6sql6-psql postgresql-15)
faltan=()
for p in "${paquetes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltan+=("$p")
done
if [ ${#faltan[@]} -gt 0 ]; then
  sudo_=""
  [ "$(id -u)" -ne 0 ] && sudo_="sudo"
  $sudo_ apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq --no-install-recommends "${faltan[@]}"
fi
# The tests run under a real Spanish locale as well as C (and read numbers under
# German and US English ones): generate those that are missing.
for regional in es_ES en_US de_DE; do
  if ! locale -a 2>/dev/null | grep -qx "$regional.utf8"; then
    sudo_=""
    [ "$(id -u)" -ne 0 ] && sudo_="sudo"
    $sudo_ localedef -i "$regional" -f UTF-8 "$regional.UTF-8"
  fi
done
raiz=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$raiz" -B "$dir" -G Ninja "$@"
cmake --build "$dir"
