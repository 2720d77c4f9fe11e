#!/usr/bin/env bash
# A throw-away PostgreSQL server for the tests.
#
#   scripts/pg-test-server.sh start DIR   # prints the server's URL on stdout
#   scripts/pg-test-server.sh stop DIR
#
# DIR (under the build folder) holds the data folder, the socket and the log.
# The server listens on 127.0.0.1 on a free port, runs without fsync (its data
# is thrown away; TESSARY_PG_DURABLE=1 keeps fsync and synchronous commits on,
# as a site's server has them, for benchmarks) and trusts local connections. PostgreSQL refuses to run as
# root: as root the server runs as the "postgres" user of Debian's package,
# and when that user cannot reach DIR (a home folder closed to others) the
# data goes to a private temporary folder whose path DIR remembers.
set -euo pipefail

action=${1:?start or stop}
dir=$(realpath -m "${2:?the server folder}")

pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$pg_bin/pg_ctl" ] || { echo "PostgreSQL server programs not found (install postgresql)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

data_dir() {
  if [ -f "$dir/data-path" ]; then cat "$dir/data-path"; else echo "$dir/data"; fi
}

port_free() {
  ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

case "$action" in
start)
  mkdir -p "$dir"
  "$0" stop "$dir" >/dev/null 2>&1 || true
  rm -rf "$dir/data" "$dir/data-path" "$dir/server.log" "$dir/pg_ctl.log"
  data="$dir/data"
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres "$dir"
    if ! runuser -u postgres -- test -w "$dir"; then
      data=$(mktemp -d /tmp/tessary-pg.XXXXXX)/data
      chown postgres "$(dirname "$data")"
      echo "$data" > "$dir/data-path"
    fi
  fi
  as_owner "$pg_bin/initdb" -D "$data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
    || { cat "$dir/initdb.log" >&2; exit 1; }
  # The socket and the log go beside the data, where the server's user may write.
  sock=$(dirname "$data")
  log="$sock/server.log"
  durability="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
  [ "${TESSARY_PG_DURABLE:-0}" = 1 ] && durability=""
  for port in $(seq 54320 54420); do
    port_free "$port" || continue
    if as_owner "$pg_bin/pg_ctl" -D "$data" -l "$log" -w -t 60 start \
         -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories=$sock $durability -c max_connections=200" \
         >"$dir/pg_ctl.log" 2>&1; then
      echo "$port" > "$dir/port"
      echo "postgresql://postgres@127.0.0.1:$port/postgres"
      exit 0
    fi
    # Another program took the port in the meantime: try the next one.
    grep -qs "could not bind\|already in use" "$log" || break
  done
  cat "$dir/pg_ctl.log" "$log" >&2 2>/dev/null || true
  if [ -f "$dir/data-path" ]; then rm -rf "$sock" "$dir/data-path"; fi
  exit 1
  ;;
stop)
  data=$(data_dir)
  [ -d "$data" ] || exit 0
  as_owner "$pg_bin/pg_ctl" -D "$data" -m immediate -w stop >/dev/null 2>&1 || true
  if [ -f "$dir/data-path" ]; then rm -rf "$(dirname "$data")" "$dir/data-path"; fi
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
