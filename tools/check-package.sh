#!/usr/bin/env bash
# Checks the Debian package as CI does: builds it (tools/package.sh), runs lintian (no
# errors allowed), desktop-file-validate and appstreamcli on what it installs, unpacks
# it into a scratch root and runs the unpacked program there: crear-bd --demo, informe
# and planilla on the new file, and the window program (offscreen) for a fresh user, who
# must be offered the first-run choices rather than told the database is missing.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

fail() {
    echo "check-package: $*" >&2
    exit 1
}

deb="$(./tools/package.sh | tail -n 1)"
[ -f "$deb" ] || fail "no se generó el paquete"
echo "Paquete: $deb"

scratch="$(mktemp -d "${TMPDIR:-/tmp}/dravonela-paquete.XXXXXX")"
trap 'rm -rf "$scratch"' EXIT

# Dependencies computed from the shared libraries.
depends="$(dpkg-deb -f "$deb" Depends)"
for lib in libqt6core6 libqt6widgets6 libsqlite3-0 libsodium23 libc6; do
    grep -q "$lib" <<<"$depends" || fail "falta $lib en Depends: $depends"
done

# Warnings are shown; an error fails the check.
set +e
lintian --fail-on error "$deb" >"$scratch/lintian.out" 2>&1
rc=$?
set -e
grep -v 'running with root privileges' "$scratch/lintian.out" || true
[ "$rc" -eq 0 ] || fail "lintian informa de errores"

root="$scratch/raiz"
dpkg -x "$deb" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/usr/share/man/man1/dravonela.1.gz" >/dev/null 2>"$scratch/man.err"
[ ! -s "$scratch/man.err" ] || fail "la página de manual tiene avisos: $(cat "$scratch/man.err")"
for f in usr/bin/dravonela usr/share/dravonela/sql/demo.sql usr/share/doc/dravonela/copyright \
    usr/share/doc/dravonela/changelog.gz usr/share/icons/hicolor/scalable/apps/dravonela.svg \
    usr/share/icons/hicolor/16x16/apps/dravonela.png \
    usr/share/icons/hicolor/256x256/apps/dravonela.png; do
    [ -e "$root/$f" ] || fail "falta $f en el paquete"
done

# The unpacked program, as a user with nothing of their own yet.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config"
export XDG_DATA_HOME="$scratch/home/.local/share" XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
bin="$root/usr/bin/dravonela"
db="$scratch/prueba.mdb"
mes="$(date +%-m)"
anio="$(date +%Y)"
"$bin" crear-bd "$db" --demo
"$bin" informe --bd "$db" --mes "$mes" --anio "$anio" --servicio Urgencias >"$scratch/informe.txt"
[ -s "$scratch/informe.txt" ] || fail "el informe salió vacío"
"$bin" planilla --bd "$db" --mes "$mes" --anio "$anio" --servicio 1 --formato csv \
    --salida "$scratch/planilla.csv"
[ -s "$scratch/planilla.csv" ] || fail "la planilla salió vacía"

# Offscreen nobody answers the first-run choice, so the program cancels it and ends;
# what matters is that it was offered.
set +e
QT_QPA_PLATFORM=offscreen timeout 60 "$bin" >"$scratch/ventana.out" 2>&1
rc=$?
set -e
grep -q 'Diálogo «Dravonela»' "$scratch/ventana.out" ||
    fail "el programa instalado no ofreció crear o abrir una base de datos (salida $rc): $(cat "$scratch/ventana.out")"
if grep -q 'Falta fichero' "$scratch/ventana.out"; then
    fail "el programa instalado se dio por árbol de compilación"
fi
[ "$rc" -eq 1 ] || fail "el programa terminó con $rc al cancelar la elección"
echo "El paquete está bien: $deb"
