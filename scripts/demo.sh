#!/bin/sh
# Installs, builds, creates the demo database and starts TALU on it.
# TALU_EXE=talu-intern starts the internal edition instead.
set -e
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
EXE="${TALU_EXE:-talu}"
DIR="$PWD/build/src"
# The login form reads its fields from zugang.dat beside the program.
if [ ! -f "$DIR/demo.talu" ]; then
  "$DIR/talu-db" --server sqlite --datenbank "$DIR/demo.talu" --demo
fi
if [ ! -f "$DIR/zugang.dat" ]; then
  printf 'sqlite\r\ndemo.talu\r\ndemo\r\ndemo\r\n' > "$DIR/zugang.dat"
  chmod 600 "$DIR/zugang.dat"
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Kein Bildschirm gefunden: TALU startet unter Xvfb."
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$DIR/$EXE"
fi
exec "$DIR/$EXE"
