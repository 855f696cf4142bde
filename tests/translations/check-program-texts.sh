#!/usr/bin/env bash
# The three programs' own texts, form by form. Under ja_JP.UTF-8 a reader meets no English word
# but option names, placeholders, paths, addresses, program and product names and the words
# scripts read (the simulator's result lines and AT values, JSON). Under C.UTF-8 the output is the
# English one: ASCII, with a line of it as documented, and the same exit status. The updater's
# forms run against a simulator of this test's own on 127.0.7.40 and .41 (.41 refuses to program).
# Usage: check-program-texts.sh SIMULATOR WINDOW_PROGRAM UPDATER [sim|window|update]: the last
# word keeps the forms of one program.
set -uo pipefail
sim=$1 app=$2 update=$3 only=${4:-}
scratch=$(mktemp -d)
sim_pid=
trap '[ -z "$sim_pid" ] || kill "$sim_pid"; rm -rf "$scratch"' EXIT
fw=$scratch/fw.dat
head -c 4096 /dev/urandom >"$fw"
# Only for the updater's rows: the other programs' tests may run beside this one.
if [[ -z $only || $only == update ]]; then
  "$sim" --listen 127.0.7.40-127.0.7.41 --refuse 127.0.7.41/program >"$scratch/sim.log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do grep -q 127.0.7.41 "$scratch/sim.log" && break; sleep 0.1; done
  grep -q 'listening on 127.0.7.41' "$scratch/sim.log" || { echo "the simulator did not start:"; cat "$scratch/sim.log"; exit 1; }
fi

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
  "update help|0|  --jobs N                 how many radios are updated at the same time, 1 to 256 (default 4)|$update --help"
  "update bad value|2|zerlind-firm-update: bad value for --jobs: 'x' (1 to 256)|$update --jobs x $fw 127.0.7.40"
  "update no file|2|zerlind-firm-update: FILE and ADDRESS are required|$update"
  "update missing file|3|zerlind-firm-update: .*/none.dat: No such file or directory|$update $scratch/none.dat 127.0.7.40 127.0.7.41"
  "update plan|0|wave 2 of 2: 1 radio|$update --plan --waves 1,50% --max-failures 1 --retries 1 --deadline 10m --log $scratch/plan.jsonl $fw 127.0.7.40 127.0.7.41"
  "update two radios|6|2 radios: 1 updated, 1 failed|$update $fw 127.0.7.40 127.0.7.41"
  "update canary|6|127.0.7.40  not-started     -      0.0  canary failed|$update --canary 1 --log $scratch/canary.jsonl $fw 127.0.7.41 127.0.7.40"
  "update check|4|127.0.7.42: not reachable (refused)|$update --check $fw 127.0.7.40 127.0.7.42"
  "update scan|0|scanned 2 addresses, found 1 radio|$update --scan 127.0.7.40/30"
)

# What may stay English in Japanese output, taken out before the words are counted.
english_words() {
  sed -E -e 's/zerlind-radio-sim|zerlind-firm-utility|zerlind-firm-update|Zerlind( Firm Utility)?|listening on|IPv[46]|%[0-9a-z]//g' \
    -e "s/'[^']*'//g; s/[0-9a-f]{8,}//g; s/[0-9]+ ?[KMG]iB//g; s/[0-9]+[smh]\b//g; s/JSON Lines|Ctrl-C|Ctrl-Break|Windows|en\|ja|ja_JP//g" \
    -e 's#(^|[^A-Za-z0-9-])--?[a-z][a-z-]*#\1#g; s#/[A-Za-z0-9._/:-]+##g; s/[A-Za-z]*\.dat//g' \
    -e 's/0x[0-9A-Fa-f]+|[a-z0-9]+=//g' "$1" |
    grep -oE '[A-Za-z][A-Za-z-]*' | grep -vxE '[A-Z][A-Z-]*|ms|begin|data|program|all|session|requests|busy|bytes|sha|outcome|radio|peak|programmed|refused|closed-by-fault|client-closed|protocol-error'
}

failures=0
fail() { echo "FAIL $form: $*"; failures=$((failures + 1)); }
for row in "${forms[@]}"; do
  IFS='|' read -r form status line command <<<"$row"
  [[ -z $only || $form == "$only "* ]] || continue
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
# The log is JSON, read by scripts: the program's own words stay English in both languages.
form="update canary log"
[[ -n $only && $only != update ]] || [ "$(grep -c '"state":"not-started","text":"canary failed"' "$scratch/canary.jsonl")" = 2 ] ||
  fail "the log's text is not English in both languages: $(cat "$scratch/canary.jsonl" 2>&1)"
echo "$failures failed (${only:-all programs})"
[ "$failures" = 0 ]
