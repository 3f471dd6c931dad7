#!/bin/sh
# Installs, builds and runs the whole test suite on SQLite and on a
# PostgreSQL server started on loopback for this run.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh --test
./scripts/build.sh

PGBIN=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -1)
PGDIR=$(mktemp -d /tmp/talu-pg.XXXXXX)
PGPORT=${TALU_PG_PORT:-55432}
chown postgres "$PGDIR" 2>/dev/null || true
RUN=""
[ "$(id -u)" = 0 ] && RUN="runuser -u postgres --"
stop_pg() {
  $RUN "$PGBIN/pg_ctl" -D "$PGDIR/data" -m fast stop >/dev/null 2>&1 || true
  rm -rf "$PGDIR"
}
trap stop_pg EXIT INT TERM
$RUN "$PGBIN/initdb" -D "$PGDIR/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >/dev/null
$RUN "$PGBIN/pg_ctl" -D "$PGDIR/data" -w -l "$PGDIR/log" \
  -o "-p $PGPORT -k $PGDIR -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null

export TALU_TEST_PG="127.0.0.1:$PGPORT"
cd build
ctest --output-on-failure -j"$(nproc)"

# The quick suite once more on SQLite, built with AddressSanitizer and
# UndefinedBehaviorSanitizer (about 12 minutes on two cores, most of it the build).
cd ..
./scripts/sanitizer.sh
