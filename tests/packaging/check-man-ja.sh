#!/usr/bin/env bash
# A Japanese manual page keeps up with its English one: every option the English page names
# (\-\-name, \-name) is named in the Japanese page too, and both have as many sections and
# tagged paragraphs. Usage: check-man-ja.sh MAN_DIR (holding *.1 and ja/*.1).
set -euo pipefail
dir=$1 status=0
# An option starts a word: radio\-list and not\-started are no options.
options() {
  grep -oE '(^|[^a-z\\])\\-(\\-)?[a-z][a-z0-9]*(\\-[a-z0-9]+)*' "$1" | sed 's/^[^\\]*//' | sort -u
}
for en in "$dir"/*.1; do
  ja="$dir/ja/$(basename "$en")"
  [ -f "$ja" ] || { echo "no Japanese page for $(basename "$en")"; status=1; continue; }
  missing=$(comm -23 <(options "$en") <(options "$ja"))
  [ -z "$missing" ] || { echo "$ja does not name:" $missing; status=1; }
  for macro in SH SS TP; do
    n_en=$(grep -c "^\.$macro\b" "$en" || true) n_ja=$(grep -c "^\.$macro\b" "$ja" || true)
    [ "$n_en" = "$n_ja" ] || { echo "$ja: $n_ja .$macro, the English page $n_en"; status=1; }
  done
done
exit $status
