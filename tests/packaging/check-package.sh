#!/usr/bin/env bash
# Builds the .deb from a build folder, checks it with lintian (no error, no warning), unpacks it
# into a scratch root and runs its programs and their shell completion there.
set -euo pipefail
build=$1 version=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
  cat "$scratch/cpack.log"
  exit 1
}
deb=$(ls "$scratch"/out/*.deb)
echo "package: $(basename "$deb")"

# The dependencies are computed from the programs' libraries, so Qt must be among them.
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends"
grep -q 'libqt6network6' <<<"$depends"
grep -q 'qt6-qpa-plugins' <<<"$depends"

dpkg-deb -x "$deb" "$scratch/root"
for f in usr/bin/zerlind-firm-utility usr/bin/zerlind-firm-update usr/bin/zerlind-radio-sim \
         usr/share/applications/jp.vurn.ZerlindFirmUtility.desktop \
         usr/share/metainfo/jp.vurn.ZerlindFirmUtility.metainfo.xml \
         usr/share/icons/hicolor/16x16/apps/zerlind-firm-utility.png \
         usr/share/icons/hicolor/32x32/apps/zerlind-firm-utility.png \
         usr/share/icons/hicolor/48x48/apps/zerlind-firm-utility.png \
         usr/share/icons/hicolor/256x256/apps/zerlind-firm-utility.png \
         usr/share/icons/hicolor/scalable/apps/zerlind-firm-utility.svg \
         usr/share/man/man1/zerlind-firm-utility.1.gz usr/share/man/man1/zerlind-firm-update.1.gz \
         usr/share/man/man1/zerlind-radio-sim.1.gz \
         usr/share/man/ja/man1/zerlind-firm-utility.1.gz usr/share/man/ja/man1/zerlind-firm-update.1.gz \
         usr/share/man/ja/man1/zerlind-radio-sim.1.gz \
         usr/share/doc/zerlind-firm-utility/copyright usr/share/doc/zerlind-firm-utility/changelog.gz \
         usr/share/bash-completion/completions/zerlind-firm-update \
         usr/share/bash-completion/completions/zerlind-radio-sim; do
  [ -e "$scratch/root/$f" ] || { echo "missing from the package: $f"; exit 1; }
done

for program in zerlind-firm-utility zerlind-firm-update zerlind-radio-sim; do
  out=$("$scratch/root/usr/bin/$program" --version)
  echo "$program --version: $out"
  grep -qx "$program (Zerlind Firm Utility) $version" <<<"$out"
done

# Every manual page is one man can render.
for page in "$scratch"/root/usr/share/man/man1/*.1.gz "$scratch"/root/usr/share/man/ja/man1/*.1.gz; do
  LANG=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" > /dev/null 2> "$scratch/man.err" || { cat "$scratch/man.err"; exit 1; }
  [ ! -s "$scratch/man.err" ] || { echo "man complains about $page:"; cat "$scratch/man.err"; exit 1; }
done

# Completion as an interactive bash does it: bash-completion's loader, then the installed file.
completions="$scratch/root/usr/share/bash-completion/completions" bin="$scratch/root/usr/bin" \
  bash "$(dirname "$0")/check-completion.sh"

# Debian's own package checker: an error or a warning fails the package.
lintian --fail-on error,warning --no-tag-display-limit "$deb"
echo "lintian: clean"
