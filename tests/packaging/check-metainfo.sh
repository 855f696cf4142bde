#!/usr/bin/env bash
# The AppStream metainfo as software centres read it: valid without a single note, even a pedantic
# one; a release for each version in the changelog; the desktop entry's categories.
# Usage: check-metainfo.sh METAINFO DESKTOP_ENTRY CHANGELOG
set -euo pipefail
metainfo=$1 entry=$2 changelog=$3
report=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || true
releases=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo" | sort -V | tr '\n' ' ')
versions=$(sed -n 's/^## \[\([0-9][^]]*\)\].*/\1/p' "$changelog" | sort -V | tr '\n' ' ')
categories=$(sed -n 's/.*<category>\(.*\)<\/category>.*/\1/p' "$metainfo" | sort | tr '\n' ';')
wanted=$(sed -n 's/^Categories=//p' "$entry" | tr ';' '\n' | sed '/^$/d' | sort | tr '\n' ';')
printf '%s\nreleases: %s; changelog: %s\ncategories: %s; desktop entry: %s\n' "$report" "$releases" "$versions" \
  "$categories" "$wanted"
grep -qx '✔ Validation was successful.' <<<"$report" && [ "$releases" = "$versions" ] && [ "$categories" = "$wanted" ]
