#!/bin/sh
# Installs what TALU needs on Debian 12 (run as root).
set -e
export DEBIAN_FRONTEND=noninteractive
PKGS="build-essential cmake pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite \
libqt6sql6-psql libqt6sql6-odbc libsqlite3-dev tdsodbc unixodbc-dev fonts-liberation \
fonts-dejavu-core qt6-translations-l10n xvfb xauth libpq-dev libx11-dev"
[ "${1:-}" = "--test" ] && PKGS="$PKGS postgresql poppler-utils sqlite3 desktop-file-utils"
# The fuzz targets: clang with its libFuzzer and sanitizer runtimes.
[ "${1:-}" = "--test" ] && PKGS="$PKGS clang libclang-rt-14-dev"
missing=""
for p in $PKGS; do
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  apt-get update -q
  apt-get install -y -q --no-install-recommends $missing
fi
