#!/usr/bin/env bash
# Builds Dravonela and runs the whole test suite (offscreen, no display needed).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "$DV_BUILD"
ctest --output-on-failure -j"$(nproc)" "$@"
