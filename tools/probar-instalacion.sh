#!/usr/bin/env bash
# Installs a built tree as a package would (a staging root, a prefix of its own),
# then starts the installed program offscreen twice: with --datos, and without it
# on a user whose data folder already holds a database. Each start must reach the
# works card, with the resources of the install tree and the expected data folder.
# With cpack and dpkg-deb at hand, it also makes the Debian package and looks inside.
# Usage: tools/probar-instalacion.sh [BUILD_DIR]
set -euo pipefail
raiz=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$raiz/build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fallo() { echo "probar-instalacion: $*" >&2; exit 1; }

prefijo=/opt/corvela-geoda
DESTDIR="$tmp/raiz" cmake --install "$dir" --prefix "$prefijo" >/dev/null
instalado=$tmp/raiz$prefijo
for fichero in bin/corvela-geoda share/corvela-geoda/IMAGEN/b0_1.bmp share/corvela-geoda/imagen/CORVELAX.JPG \
               share/corvela-geoda/plantillas/ScriptAutoCad.Ini share/applications/corvela-geoda.desktop \
               share/icons/hicolor/scalable/apps/corvela-geoda.svg share/icons/hicolor/256x256/apps/corvela-geoda.png; do
  [ -f "$instalado/$fichero" ] || fallo "la instalación no tiene $fichero"
done
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$instalado/share/applications/corvela-geoda.desktop"
fi

# Starts the installed program until the works card shows; compares what it reports.
arrancar() {
  local esperada="Ficha de Clientes
datos: $1
recursos: $instalado/share/corvela-geoda
base de datos: $1/Corvelax.db"
  shift
  local salida
  if ! salida=$(cd "$tmp" && env -u XDG_DATA_HOME HOME="$tmp/casa" QT_QPA_PLATFORM=offscreen \
                timeout 60 "$instalado/bin/corvela-geoda" --comprobar "$@" 2>"$tmp/errores"); then
    cat "$tmp/errores" >&2
    fallo "el programa instalado no llegó a la ficha de obras ($*)"
  fi
  [ "$salida" = "$esperada" ] || fallo "el programa instalado dice:
$salida
y se esperaba:
$esperada"
}

crear_base() {
  mkdir -p "$1"
  sqlite3 "$1/Corvelax.db" < "$raiz/resources/esquema.sql"
}

crear_base "$tmp/datos"
arrancar "$tmp/datos" --datos "$tmp/datos"
crear_base "$tmp/casa/.local/share/CorvelaGeoda"
arrancar "$tmp/casa/.local/share/CorvelaGeoda"

if command -v cpack >/dev/null && command -v dpkg-deb >/dev/null; then
  (cd "$dir" && cpack -G DEB -B "$tmp/paquete" >/dev/null)
  paquete=$(ls "$tmp"/paquete/corvela-geoda_*.deb)
  dpkg-deb -f "$paquete" Depends | grep -q "libqt6sql6-sqlite" || fallo "el paquete no depende del controlador SQLite de Qt"
  contenido=$(dpkg-deb -c "$paquete")
  for fichero in ./usr/bin/corvela-geoda ./usr/share/corvela-geoda/imagen/CORVELAX.JPG \
                 ./usr/share/applications/corvela-geoda.desktop ./usr/share/icons/hicolor/scalable/apps/corvela-geoda.svg; do
    grep -q " $fichero\$" <<<"$contenido" || fallo "el paquete no tiene $fichero"
  done
fi
echo "probar-instalacion: correcto"
