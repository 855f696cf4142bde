# Bash completion for zerlind-firm-update and zerlind-radio-sim, installed under both names.
# The options are read from the program's own --help, so completion never drifts from what the
# program accepts: an option followed by a placeholder (N, MS, FILE, LIST, en|ja, ...) takes a value.

# Prints the long options of the program's --help, one a line, each followed by " value" when it
# takes one.
_zerlind_options()
{
    "$1" --help 2>/dev/null | sed -n \
        -e 's/^ \{1,\}\(-[a-zA-Z], \{1,\}\)\{0,1\}\(--[a-z][a-z-]*\)[ =][^ ].*/\2 value/p' \
        -e 't' \
        -e 's/^ \{1,\}\(-[a-zA-Z], \{1,\}\)\{0,1\}\(--[a-z][a-z-]*\)\( .*\)\{0,1\}$/\2/p'
}

_zerlind()
{
    local cur prev words cword split
    _init_completion -s || return

    local options
    options=$(_zerlind_options "$1")

    case $prev in
        --lang)
            COMPREPLY=($(compgen -W 'en ja' -- "$cur"))
            return ;;
        --radios)
            _filedir
            [[ -z $cur || $cur == - ]] && COMPREPLY+=(-)
            return ;;
        --save|--failed|--log)
            _filedir
            return ;;
    esac
    # Any other option that takes a value: a number or an address, nothing to offer.
    if [[ $prev == --* ]] && grep -qx -- "$prev value" <<<"$options"; then
        return
    fi
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(cut -d' ' -f1 <<<"$options")" -- "$cur"))
        return
    fi

    # The updater's first operand is the firmware file; the addresses after it are typed.
    if [[ $1 == *zerlind-firm-update ]]; then
        local i operands=0
        for ((i = 1; i < cword; i++)); do
            if [[ ${words[i]} == --* ]]; then
                grep -qx -- "${words[i]} value" <<<"$options" && ((i++))
            elif [[ ${words[i]} != -* ]]; then
                ((operands++))
            fi
        done
        ((operands == 0)) && ! [[ " ${words[*]} " == *" --scan "* ]] && _filedir
    fi
} &&
    complete -F _zerlind zerlind-firm-update zerlind-radio-sim
