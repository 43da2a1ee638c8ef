#!/usr/bin/env bash
# Builds the Debian package build/dravonela_<version>_amd64.deb: the same set-up and
# build as the two commands, then CPack's DEB generator on the build tree (its
# dependencies come from dpkg-shlibdeps). Prints the package's path.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$DV_BUILD"
rm -f dravonela_*.deb
if ! cpack -G DEB >cpack.log 2>&1; then
    cat cpack.log >&2
    exit 1
fi
ls "$DV_BUILD"/dravonela_*.deb
