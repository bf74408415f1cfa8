#!/usr/bin/env bash
# A throwaway PostgreSQL 15 server for the tests: a new cluster in a temporary
# folder, run by an unprivileged user, listening only on a Unix socket inside
# that folder, with every local connection trusted but one: the role
# corvela_clave must give its password (clave), for the tests of the prompt.
#
#   eval "$(tools/postgresql-prueba.sh arrancar)"   starts it and prints the PG* variables
#   tools/postgresql-prueba.sh parar "$CORVELA_PG_CARPETA"   stops it and removes the folder
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
usuario_pg=corvela
base_pg=corvela_pruebas
usuario_clave=corvela_clave

# Runs a command as the cluster's owner: root may not own a cluster.
como_duenio() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u nobody -- "$@"
  else
    "$@"
  fi
}

instalar() {
  [ -x "$bin/initdb" ] && return
  sudo_=""
  [ "$(id -u)" -ne 0 ] && sudo_="sudo"
  $sudo_ apt-get update -qq >&2
  DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq --no-install-recommends postgresql-15 >&2
}

arrancar() {
  instalar
  carpeta=$(mktemp -d /tmp/corvela-pg.XXXXXX)
  # Whatever step fails, no server is left running and no folder behind.
  trap 'parar "$carpeta"' ERR
  chmod 755 "$carpeta"
  [ "$(id -u)" -eq 0 ] && chown nobody "$carpeta"
  como_duenio "$bin/initdb" -D "$carpeta/datos" -U "$usuario_pg" -A trust -E UTF8 --locale=C.UTF-8 >/dev/null
  # The first line that matches decides: this one before the trusting ones.
  como_duenio sed -i "0,/^local/s//local   all             $usuario_clave                           scram-sha-256\n&/" \
    "$carpeta/datos/pg_hba.conf"
  # A port of its own, so that a server already on the machine is never touched.
  puerto=$(( 20000 + RANDOM % 20000 ))
  como_duenio "$bin/pg_ctl" -D "$carpeta/datos" -l "$carpeta/registro" -w -o \
    "-c listen_addresses='' -c unix_socket_directories='$carpeta' -p $puerto -c fsync=off" start >/dev/null
  PGHOST=$carpeta PGPORT=$puerto PGUSER=$usuario_pg "$bin/createdb" "$base_pg"
  # It may use what the tests' user makes, as a colleague in the same office would.
  PGHOST=$carpeta PGPORT=$puerto PGUSER=$usuario_pg PGDATABASE=$base_pg "$bin/psql" -q -v ON_ERROR_STOP=1 \
    -c "CREATE ROLE $usuario_clave LOGIN PASSWORD 'clave' IN ROLE $usuario_pg" >/dev/null
  trap - ERR
  echo "export PGHOST='$carpeta' PGPORT=$puerto PGUSER=$usuario_pg PGDATABASE=$base_pg CORVELA_PG_CARPETA='$carpeta'" \
    "CORVELA_PG_USUARIO_CLAVE=$usuario_clave"
}

parar() {
  carpeta=${1:?falta la carpeta del servidor}
  case "$carpeta" in /tmp/corvela-pg.*) ;; *) echo "no es una carpeta de pruebas: $carpeta" >&2; exit 1 ;; esac
  [ -d "$carpeta/datos" ] && como_duenio "$bin/pg_ctl" -D "$carpeta/datos" -m immediate -w stop >/dev/null || true
  rm -rf "$carpeta"
}

case "${1:-}" in
  arrancar) arrancar ;;
  parar) parar "${2:-}" ;;
  *) echo "uso: $0 arrancar | parar CARPETA" >&2; exit 2 ;;
esac
