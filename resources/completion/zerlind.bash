# Bash completion for zerlind-firm-update and zerlind-radio-sim, installed under both names.
# The options are read from the program's own --help, so completion never drifts from what the
# program accepts: an option followed by a placeholder takes a value, and the placeholder says
# which: FILE or LIST a file name (LIST also "-"), lower-case words split by '|' one of them, any
# other (N, MS, ADDR...) something typed.

# Prints the long options of the program's --help, one a line, each followed by " PLACEHOLDER"
# when it takes a value.
_zerlind_options()
{
    "$1" --help 2>/dev/null | sed -n \
        -e 's/^ \{1,\}\(-[a-zA-Z], \{1,\}\)\{0,1\}\(--[a-z][a-z-]*\)[ =]\([^ ][^ ]*\).*/\2 \3/p' \
        -e 't' \
        -e 's/^ \{1,\}\(-[a-zA-Z], \{1,\}\)\{0,1\}\(--[a-z][a-z-]*\)\( .*\)\{0,1\}$/\2/p'
}

_zerlind()
{
    local cur prev words cword split
    _init_completion -s || return

    local options value
    options=$(_zerlind_options "$1")
    # The placeholder of the option before the cursor, if it takes a value.
    value=$(sed -n "s/^$prev \(.*\)/\1/p" <<<"$options" 2>/dev/null)
    if [[ $prev == --* && -n $value ]]; then
        case $value in
            FILE)
                _filedir ;;
            LIST)
                _filedir
                [[ -z $cur || $cur == - ]] && COMPREPLY+=(-) ;;
            *[a-z]\|[a-z]*)
                COMPREPLY=($(compgen -W "${value//|/ }" -- "$cur")) ;;
        esac
        # Anything else, a number or an address: nothing to offer.
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
                grep -q -- "^${words[i]} " <<<"$options" && ((i++))
            elif [[ ${words[i]} != -* ]]; then
                ((operands++))
            fi
        done
        ((operands == 0)) && ! [[ " ${words[*]} " == *" --scan "* ]] && _filedir
    fi
} &&
    complete -F _zerlind zerlind-firm-update zerlind-radio-sim
