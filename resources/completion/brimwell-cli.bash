# bash completion for brimwell-cli                                  -*- shell-script -*-

_brimwell_cli_testers()
{
    # Indexes, codes and the display names that `brimwell-cli testers` prints (index, code
    # and name separated by tabs); indexes and codes alone when the program gives no list.
    local IFS=$'\n' index code name rest names=()
    while IFS=$'\t' read -r index code name rest; do
        [[ -n $name ]] && names+=("$name")
    done < <("$1" testers 2>/dev/null)
    local word=${cur#[\"\']}
    COMPREPLY=($(compgen -W "$(printf '%s\n' {0..9} {1000..1009} "${names[@]}")" -- "$word"))
    local i
    for i in "${!COMPREPLY[@]}"; do
        COMPREPLY[i]=$(printf '%q' "${COMPREPLY[i]}")
    done
}

_brimwell_cli()
{
    local cur prev words cword
    _init_completion || return

    local commands="doctor list testers tester-type density clock label logo firmware preview"
    local global="-o --output -p --printer --all --help --version"

    case $prev in
        -o | --output | --pcx | --png)
            _filedir
            return
            ;;
        -p | --printer)
            COMPREPLY=($(compgen -f -- "${cur:-/dev/usb/lp}"))
            return
            ;;
        --tester)
            _brimwell_cli_testers "${words[0]}"
            return
            ;;
        --user-name | --at)
            return
            ;;
    esac

    # The command is the first word that is neither an option nor an option's value.
    local i command="" ncmd=0
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            -o | --output | -p | --printer | --tester | --user-name | --at | --pcx | --png)
                ((i++))
                ;;
            -*) ;;
            *)
                if [[ -z $command ]]; then
                    command=${words[i]}
                else
                    ((ncmd++))
                fi
                ;;
        esac
    done

    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$global" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        fi
        return
    fi

    local options=""
    case $command in
        list | doctor) options="--json" ;;
        tester-type) options="--tester --user-name" ;;
        clock) options="--at" ;;
        label) options="--tester --at" ;;
        logo | preview) options="--rotate --invert" ;;
    esac
    case $command in
        logo) options+=" --pcx" ;;
        preview) options+=" --png" ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --help" -- "$cur"))
        return
    fi

    case $command in
        density)
            ((ncmd == 0)) && COMPREPLY=($(compgen -W "$(echo {1..15})" -- "$cur"))
            ;;
        label)
            ((ncmd == 0)) && COMPREPLY=($(compgen -W "pass fail" -- "$cur"))
            ;;
        logo)
            if ((ncmd == 0)); then
                COMPREPLY=($(compgen -W "pass fail" -- "$cur"))
            elif ((ncmd == 1)); then
                _filedir '@(bmp|BMP|pcx|PCX)'
            fi
            ;;
        preview)
            ((ncmd == 0)) && _filedir '@(bmp|BMP|pcx|PCX)'
            ;;
        firmware)
            ((ncmd == 0)) && _filedir '@(tpl|TPL)'
            ;;
    esac
} &&
    complete -F _brimwell_cli brimwell-cli

# ex: filetype=sh
