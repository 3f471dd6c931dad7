#!/bin/sh
# The Debian package as a user gets it: cpack builds it from the build tree
# into a scratch folder, dpkg -x unpacks it there, and the test checks the
# file list, the control fields and the desktop entries and starts every
# program from the unpacked folder with --version and --help, without a screen.
# Arguments: the build tree, the project version, the cpack command.
set -eu
BUILD=$1
VERSION=$2
CPACK=${3:-cpack}

TMP=$(mktemp -d /tmp/talu-paket.XXXXXX)
trap 'rm -rf "$TMP"' EXIT INT TERM
fehler=0
pruefe() {  # pruefe TEXT BEDINGUNG...: counts a failed check, goes on
  text=$1; shift
  if "$@"; then echo "ok: $text"; else echo "FEHLER: $text"; fehler=$((fehler + 1)); fi
}
enthaelt() { printf '%s\n' "$1" | grep -q -- "$2"; }
enthaelt_nicht() { ! printf '%s\n' "$1" | grep -q -- "$2"; }

# --- Build the package: the build tree's install rules into a scratch folder ---
"$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$TMP/pkg" >"$TMP/cpack.log" 2>&1 || {
  cat "$TMP/cpack.log"; echo "FEHLER: cpack"; exit 1; }
DEB=$(ls "$TMP"/pkg/talu_*.deb)
echo "Paket: $(basename "$DEB") ($(du -k "$DEB" | cut -f1) KiB)"
pruefe "Dateiname talu_${VERSION}-1_<arch>.deb" enthaelt "$(basename "$DEB")" "^talu_${VERSION}-1_[a-z0-9]*\.deb$"

# --- Control fields ---
for feld in Package Version Architecture Maintainer Section Depends; do
  pruefe "Feld $feld gesetzt" test -n "$(dpkg-deb -f "$DEB" $feld)"
done
pruefe "Package: talu" test "$(dpkg-deb -f "$DEB" Package)" = talu
pruefe "Version: ${VERSION}-1" test "$(dpkg-deb -f "$DEB" Version)" = "${VERSION}-1"
DEPENDS=$(dpkg-deb -f "$DEB" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6sql6 libqt6sql6-sqlite \
  libqt6sql6-psql libqt6sql6-odbc tdsodbc libpq5 libsqlite3-0 qt6-translations-l10n \
  fonts-liberation fonts-dejavu-core; do
  pruefe "Depends nennt $p" enthaelt "$DEPENDS" "^$p\$"
done
BESCHREIBUNG=$(dpkg-deb -f "$DEB" Description)
pruefe "Kurzbeschreibung: \"$(printf '%s\n' "$BESCHREIBUNG" | head -1)\"" \
  enthaelt "$(printf '%s\n' "$BESCHREIBUNG" | head -1)" "^land value lookup"
pruefe "Beschreibung englisch" enthaelt "$BESCHREIBUNG" "desktop client"
pruefe "Beschreibung deutsch" enthaelt "$BESCHREIBUNG" "Bodenrichtwert- und Standortdatenbank"

# --- File list ---
ROOT="$TMP/root"
dpkg -x "$DEB" "$ROOT"
PROGRAMME="talu talu-intern talu-erfassung talu-db talu-pflege talu-abrechnung"
for p in $PROGRAMME; do
  pruefe "usr/bin/$p ausführbar" test -x "$ROOT/usr/bin/$p"
done
for d in talu talu-intern talu-erfassung; do
  pruefe "Desktop-Datei $d.desktop" test -f "$ROOT/usr/share/applications/$d.desktop"
done
pruefe "Symbol scalable/apps/talu.svg" test -f "$ROOT/usr/share/icons/hicolor/scalable/apps/talu.svg"
pruefe "Symbol 48x48/apps/talu.png" test -f "$ROOT/usr/share/icons/hicolor/48x48/apps/talu.png"
pruefe "README" test -f "$ROOT/usr/share/doc/talu/README.md"
LISTE=$(dpkg-deb -c "$DEB")
pruefe "keine Benchmarks und Tests im Paket" enthaelt_nicht "$LISTE" "bench\|tst_"
pruefe "nichts außerhalb von /usr" enthaelt_nicht "$(printf '%s\n' "$LISTE" | awk '{print $6}')" '^\./[^u]'

# --- The installed programs point nowhere into the build tree ---
for p in $PROGRAMME; do
  rpath=$(readelf -d "$ROOT/usr/bin/$p" | grep -E 'RPATH|RUNPATH' || true)
  pruefe "$p ohne RPATH/RUNPATH in den Bauordner" enthaelt_nicht "${rpath:-leer}" "$BUILD"
done

# --- Desktop entries: valid, and Exec names a program of the package ---
for d in talu talu-intern talu-erfassung; do
  datei="$ROOT/usr/share/applications/$d.desktop"
  if command -v desktop-file-validate >/dev/null; then
    pruefe "desktop-file-validate $d.desktop" desktop-file-validate "$datei"
  fi
  exec_prog=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$datei")
  pruefe "$d.desktop: Exec=$exec_prog im Paket" test -x "$ROOT/usr/bin/$exec_prog"
  pruefe "$d.desktop: Icon=talu" enthaelt "$(cat "$datei")" "^Icon=talu\$"
done

# --- Every program from the unpacked folder: --version and --help in German,
# without a display (the GUI editions answer before they need one) ---
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LANG=C.UTF-8 LC_ALL=C.UTF-8
cd "$TMP"
# starte PROGRAMM ARG...: standard output in $aus, standard error in $fehl, exit code in $code.
starte() {
  p=$1; shift
  set +e
  aus=$(timeout 30 "$ROOT/usr/bin/$p" "$@" 2>"$TMP/err"); code=$?
  set -e
  fehl=$(cat "$TMP/err")
}
hilfe_deutsch() {
  printf '%s\n' "$1" | grep -q "^Aufruf: .*$2 \[Optionen\]" &&
    printf '%s\n' "$1" | grep -q "^Optionen:" &&
    printf '%s\n' "$1" | grep -q -- "-h, --help  *Zeigt diese Hilfe an\." &&
    printf '%s\n' "$1" | grep -q -- "-v, --version  *Zeigt Programmname und Version an\." &&
    ! printf '%s\n' "$1" | grep -q "Usage\|Options:\|Displays"
}
for p in $PROGRAMME; do
  starte "$p" --version
  v=$aus
  pruefe "$p --version: \"$v\" (Code $code)" test "$code" = 0
  pruefe "$p --version: eine Zeile" enthaelt "$v" "^$p (TALU) $VERSION\( – .*\)\?\$"
  pruefe "$p --version: nichts weiter" test "$(printf '%s\n' "$v" | wc -l)" = 1
  starte "$p" -v
  pruefe "$p -v wie --version" test "$aus" = "$v"
  starte "$p" --help
  pruefe "$p --help deutsch (Code $code)" hilfe_deutsch "$aus" "$p"
  pruefe "$p --help: Code 0" test "$code" = 0
done
for pa in "talu:Kundenausgabe (Ausgabe 3)" "talu-intern:interne Ausgabe (Ausgabe 1)" \
  "talu-erfassung:Erfassungsausgabe (Ausgabe 2)"; do
  p=${pa%%:*}
  starte "$p" --version
  pruefe "$p --version nennt ${pa#*:}" test "$aus" = "$p (TALU) $VERSION – ${pa#*:}"
  starte "$p" --help
  pruefe "$p --help nennt ${pa#*:}" enthaelt "$aus" "${pa#*:}"
done
# A wrong option: a German message on standard error, exit code 2.
starte talu-db --gibtsnicht
pruefe "talu-db --gibtsnicht: Code 2 ($code)" test "$code" = 2
pruefe "talu-db --gibtsnicht: \"$(printf '%s' "$fehl" | head -1)\"" enthaelt "$fehl" "Unbekannte Option „gibtsnicht“"
# A tool of the package does its work from there: talu-db writes its DDL.
pruefe "talu-db --ddl sqlite" enthaelt "$(timeout 30 "$ROOT/usr/bin/talu-db" --ddl sqlite)" "^create table"

echo "Paket: $fehler Fehler"
test "$fehler" = 0
