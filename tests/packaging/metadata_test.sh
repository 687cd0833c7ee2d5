#!/usr/bin/env bash
# Validates the configured metainfo and desktop entry as a distribution's checks would: no error,
# no warning; the metainfo launches the desktop entry by its file name and releases the project's
# version.
#   metadata_test.sh CONFIGURED_PACKAGING_FOLDER PROJECT_VERSION
set -uo pipefail
folder=$1
version=$2
id=org.example.Varnelook
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

metainfo=$folder/$id.metainfo.xml
desktop=$folder/$id.desktop
[ -f "$metainfo" ] || fail "no $metainfo"
[ -f "$desktop" ] || fail "no $desktop"

# The screenshots' addresses are the publisher's site, which the test does not fetch.
out=$(appstreamcli validate --no-net --pedantic "$metainfo" 2>&1) || fail "appstreamcli: $out"
if grep -E '^[EW]:' <<<"$out"; then fail "appstreamcli has errors or warnings (above)"; fi
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"

launchable=$(xmllint --xpath 'string(//launchable[@type="desktop-id"])' "$metainfo")
[ "$launchable" = "$id.desktop" ] || fail "the metainfo launches '$launchable'"
released=$(xmllint --xpath 'string(//releases/release[1]/@version)' "$metainfo")
[ "$released" = "$version" ] || fail "the metainfo releases '$released', the project is $version"
grep -qxF 'MimeType=application/x-zqr;' "$desktop" || fail "the desktop entry opens no .zqr file"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
