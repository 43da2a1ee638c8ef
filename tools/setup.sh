#!/usr/bin/env bash
# Installs what the build needs (Debian packages), then configures and builds
# Dravonela into ./build. Sourced by run.sh and test.sh.
set -euo pipefail

DV_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DV_BUILD="${DV_BUILD:-$DV_ROOT/build}"

DV_PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libqt6opengl6-dev qt6-translations-l10n
    qt6-qpa-plugins libgl-dev
    libsqlite3-dev sqlite3 libsodium-dev
    libical-dev tzdata
    libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    poppler-utils xvfb xauth
    dpkg-dev lintian desktop-file-utils appstream man-db
)

dv_missing_packages() {
    local missing=()
    for p in "${DV_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    echo "${missing[@]:-}"
}

dv_install() {
    local missing
    missing="$(dv_missing_packages)"
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Faltan paquetes. Instálelos como root con:" >&2
        echo "  apt-get update && apt-get install -y $missing" >&2
        exit 1
    fi
    echo "Instalando: $missing"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
}

dv_build() {
    # A compiler cache, when the machine has one, makes rebuilds of other checkouts cheap.
    local launcher=()
    if command -v ccache >/dev/null 2>&1; then
        export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$DV_ROOT}"
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    # DV_CMAKE_ARGS (an array set by the caller) adds options, e.g. for another kind of build.
    cmake -S "$DV_ROOT" -B "$DV_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
        ${DV_CMAKE_ARGS[@]+"${DV_CMAKE_ARGS[@]}"} >/dev/null
    cmake --build "$DV_BUILD" -j"$(nproc)"
}

dv_install
dv_build
