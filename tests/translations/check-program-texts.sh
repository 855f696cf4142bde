#!/usr/bin/env bash
# The simulator's and the window program's own texts, form by form. Under ja_JP.UTF-8 a reader
# meets no English word but option names, placeholders, paths, addresses, program and product
# names and the words scripts read (the simulator's result lines and AT values). Under C.UTF-8
# the output is the English one: ASCII, with a line of it as documented, and the same exit status.
set -uo pipefail
sim=$1 app=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# form | exit status | a line of its English output (a pattern) | command (the window program's runs with no
# window system: its answers come before one is needed)
forms=(
  "sim help|0|  -h, --help             show this text and exit|$sim --help"
  "sim version|0|zerlind-radio-sim (Zerlind Firm Utility) [0-9][0-9.]*|$sim --version"
  "sim unknown option|2|zerlind-radio-sim: unknown option: --colour|$sim --colour"
  "sim bad value|2|Try 'zerlind-radio-sim --help'.|$sim --port=0"
  "sim value missing|2|zerlind-radio-sim: --save needs a value|$sim --save"
  "sim stray argument|2|zerlind-radio-sim: unexpected argument: radio|$sim radio"
  "sim cannot listen|1|zerlind-radio-sim: cannot listen on 127.0.7.39:1739: The bound address is already in use|timeout 10 $sim --listen 127.0.7.39:1739 --listen 127.0.7.39:1739"
  "window help|0|  --version    show the version and exit|env -u DISPLAY -u WAYLAND_DISPLAY $app --help"
  "window version|0|zerlind-firm-utility (Zerlind Firm Utility) [0-9][0-9.]*|env -u DISPLAY -u WAYLAND_DISPLAY $app --version"
)

# What may stay English in Japanese output, taken out before the words are counted.
english_words() {
  sed -E -e 's/zerlind-radio-sim|zerlind-firm-utility|Zerlind( Firm Utility)?|listening on|IPv4|%[0-9a-z]//g' \
    -e 's#(^|[^A-Za-z0-9-])--?[a-z][a-z-]*#\1#g; s#/[A-Za-z0-9._/:-]+##g; s/[A-Za-z]*\.dat//g' \
    -e 's/0x[0-9A-Fa-f]+|[a-z0-9]+=//g' "$1" |
    grep -oE '[A-Za-z][A-Za-z-]*' | grep -vxE '[A-Z][A-Z-]*|ms|begin|data|program|all|session|requests|busy|bytes|sha|outcome|radio|peak|programmed|refused|closed-by-fault|client-closed|protocol-error'
}

failures=0
fail() { echo "FAIL $form: $*"; failures=$((failures + 1)); }
for row in "${forms[@]}"; do
  IFS='|' read -r form status line command <<<"$row"
  for lang in C.UTF-8 ja_JP.UTF-8; do
    out=$scratch/$lang
    # shellcheck disable=SC2086 # the command is a word list
    env -u LC_ALL -u LC_MESSAGES LANG=$lang $command >"$out" 2>&1
    got=$?
    [ "$got" = "$status" ] || fail "$lang: exit status $got, not $status"
  done
  grep -qx -- "$line" "$scratch/C.UTF-8" || fail "the English output lacks '$line'"
  ! LC_ALL=C grep -q '[^[:print:][:space:]]' "$scratch/C.UTF-8" || fail "the English output is not ASCII"
  words=$(english_words "$scratch/ja_JP.UTF-8" | sort -u | tr '\n' ' ')
  [ -z "$words" ] || fail "English words under ja_JP.UTF-8: $words"
  # The selectors' second column starts at display column 40 in both languages.
  columns=$(sed -nE 's/^(  (begin|data) .*) (program|data:K)  +.*/\1/p' "$scratch"/*.UTF-8 |
    while IFS= read -r l; do echo "$l" | LC_ALL=C.UTF-8 wc -L; done | sort -u)
  [ "$form" != "sim help" ] || [ "$columns" = 39 ] || fail "the selectors' second column is not at display column 40"
done
echo "$failures of ${#forms[@]} forms failed"
[ "$failures" = 0 ]
