#!/usr/bin/env bash
# Radio lists in the ANSI code page of an English (cp1252) and a Japanese (cp932) system: read, a
# bad line quoted as written (in the system's language). The re-run list ends lines in CR LF and
# names files with backslashes.
# Usage: check-lists-under-wine.sh WINE_RUN UPDATER.exe
set -euo pipefail
run=$1 updater=$2
owned_pids=""
source "$(dirname "$0")/../app/window-test-support.sh"
head -c 3000 /dev/zero >"$scratch/main.dat"
printf "# M\xfcller's radios\r\n127.0.9.3\r\nM\xfcller\r\n" >"$scratch/cp1252.txt"
printf '# \x96\x7b\x8e\xd0\x82\xcc\x96\xb3\x90\xfc\x8b\x40\r\n127.0.9.3\r\n\x96\x7b\x8e\xd0\r\n' >"$scratch/cp932.txt"
plan() { # LANG, list: what --plan says on stderr
  LANG=$1 "$run" "$updater" --plan --radios "Z:${scratch//\//\\}\\$2" "Z:${scratch//\//\\}\\main.dat" 2>&1 >/dev/null </dev/null || true
}
said=$(plan en_US.UTF-8 cp1252.txt)
check "cp1252 on an English system: line 3 quoted as written ($said)" grep -q "cp1252.txt:3: not a radio address: 'Müller'" <<<"$said"
said=$(plan ja_JP.UTF-8 cp932.txt)
check "cp932 on a Japanese system: line 3 quoted as written ($said)" grep -q "cp932.txt:3: 無線機のアドレスではありません：'本社'" <<<"$said"
# Nothing listens on 127.0.9.3: the radio fails at once and goes to the re-run list.
LANG=en_US.UTF-8 "$run" "$updater" --no-progress --failed "Z:${scratch//\//\\}\\again.txt" "Z:$scratch/main.dat" 127.0.9.3 \
  >/dev/null 2>&1 </dev/null || true
check "the re-run list's two lines end in CR LF" test "$(grep -c $'\r$' "$scratch/again.txt")" = 2
check "the re-run list names Z:${scratch//\//\\}\\main.dat" grep -qF "with Z:${scratch//\//\\}\\main.dat (" "$scratch/again.txt"
exit "$fail"
