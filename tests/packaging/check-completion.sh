#!/usr/bin/env bash
# Completes command lines the way an interactive bash with bash-completion does, from the installed
# completion files ($completions) and programs ($bin), and compares what it offers.
set -uo pipefail
source /usr/share/bash-completion/bash_completion
PATH="$bin:$PATH"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/main.dat" "$scratch/radios.txt"

# offers WORDS...: what completing the last word offers, sorted, on one line.
offers() {
  local program=$1
  COMP_WORDS=("$@") COMP_CWORD=$(($# - 1)) COMP_LINE="$*" COMPREPLY=()
  COMP_POINT=${#COMP_LINE}
  source "$completions/$program"
  _zerlind "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}

failed=0
expect() { # expected offer, then the words
  local want=$1 got
  shift
  got=$(offers "$@")
  if [ "$got" != "$want" ]; then
    echo "completing '$*': offered '$got', expected '$want'"
    failed=1
  fi
}

expect "--lang"                       zerlind-firm-update --la
expect "en ja"                        zerlind-firm-update --lang ''
expect ""                             zerlind-firm-update --port ''
expect ""                             zerlind-firm-update --max-failures ''
expect ""                             zerlind-firm-update --waves ''
expect "$scratch/main.dat"            zerlind-firm-update "$scratch/ma"
expect "$scratch/main.dat"            zerlind-firm-update --port 1111 "$scratch/ma"
expect ""                             zerlind-firm-update "$scratch/main.dat" "$scratch/ma"
expect "--program-timeout"           zerlind-firm-update --program
expect "--jobs --json"                zerlind-firm-update --j
expect "$scratch/radios.txt"          zerlind-firm-update --radios "$scratch/r"
expect "-"                            zerlind-firm-update --radios -
expect "$scratch/radios.txt"          zerlind-firm-update --failed "$scratch/r"
expect ""                             zerlind-firm-update --scan ''
expect "$scratch/main.dat"            zerlind-firm-update --radios - --jobs 8 "$scratch/ma"
expect "--save --sessions --silent --slow --split" zerlind-radio-sim --s
expect "$scratch/radios.txt"          zerlind-radio-sim --save "$scratch/r"
exit $failed
