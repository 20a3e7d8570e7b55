#!/usr/bin/env bash
# Starts or stops a throwaway PostgreSQL server for the tests: its data and its Unix socket in DIR,
# no TCP port, run by the unprivileged user "postgres" when the tests run as root (the server
# refuses to run as root). The superuser role is "zk", trusted on the socket; the role
# "zk_password" alone must give its password (scram-sha-256), for the tests of wrong passwords.
#   scripts/pg-test-server.sh start DIR
#   scripts/pg-test-server.sh stop DIR
set -euo pipefail
action="$1"
dir="$2"
bin="$(find /usr/lib/postgresql -maxdepth 2 -name bin -type d | sort -V | tail -1)"
if [ -z "$bin" ]; then
  echo "PostgreSQL is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
as_server=()
if [ "$(id -u)" -eq 0 ]; then as_server=(runuser -u postgres --); fi

case "$action" in
start)
  if [ -f "$dir/data/postmaster.pid" ]; then
    "${as_server[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres "$dir"
  "${as_server[@]}" "$bin/initdb" -D "$dir/data" -A trust -U zk -E UTF8 --no-sync >"$dir/initdb.log"
  "${as_server[@]}" sed -i '1i local all zk_password scram-sha-256' "$dir/data/pg_hba.conf"
  "${as_server[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-k $dir -c listen_addresses='' -c fsync=off -c full_page_writes=off -c max_connections=200" start >/dev/null
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then
    "${as_server[@]}" "$bin/pg_ctl" -D "$dir/data" -m fast stop >/dev/null
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
