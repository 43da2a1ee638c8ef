#!/usr/bin/env bash
# Builds Dravonela and starts it on the bundled demo database.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
exec "$DV_BUILD/bin/dravonela" "$@"
