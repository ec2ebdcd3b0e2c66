# bash completion for cardomo-cli
_cardomo_cli()
{
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion || return
    else
        cur="${COMP_WORDS[COMP_CWORD]}"
        prev="${COMP_WORDS[COMP_CWORD-1]}"
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    fi

    local commands="check export list pick sort replace import"
    local fields="1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 Title1 Title2 Title3 Day Month Year Page Topic Keywords File\\ link Code1 Code2 Code3 aYear aMonth aDay aHour:min Memo Card\\ ID"

    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands --help --version" -- "$cur"))
        return
    fi
    local command="${words[1]}"

    case "$prev" in
        --out)
            COMPREPLY=($(compgen -f -- "$cur"))
            [[ -z "$cur" || "$cur" == - ]] && COMPREPLY+=(-)
            return ;;
        --format)
            case "$command" in
                export) COMPREPLY=($(compgen -W "csv tsv json text" -- "$cur")) ;;
                import) COMPREPLY=($(compgen -W "kqk ansi csv json" -- "$cur")) ;;
                *) COMPREPLY=($(compgen -W "csv tsv json text kqk" -- "$cur")) ;;
            esac
            return ;;
        --and|--or|--xor|--not)
            COMPREPLY=($(compgen -W "$fields" -- "$cur"))
            return ;;
        --keys|--fields|--range|--date|--time)
            return ;;
    esac

    local options="--help"
    case "$command" in
        export) options+=" --format --out --force --date --time" ;;
        list) options+=" --fields --date --time --out --force" ;;
        pick) options+=" --and --or --xor --not --range --format --out --force --date --time" ;;
        sort) options+=" --keys --descending --format --out --force --date --time" ;;
        replace) options+=" --range --format --out --force --date --time" ;;
        import) options+=" --format --out --force" ;;
    esac
    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # The place of the word among the arguments that are not options.
    local i n=0
    for ((i = 2; i < cword; i++)); do
        case "${words[i]}" in
            --force|--descending|--help|-h) ;;
            --and|--or|--xor|--not) ((i += 2)) ;;
            -*) ((i++)) ;;
            *) ((n++)) ;;
        esac
    done
    case "$command:$n" in
        *:0|import:1)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -X '!*.@(kqk|KQK|kqd|KQD|csv|json)' -- "$cur") $(compgen -d -- "$cur")) ;;
        pick:1|replace:1)
            COMPREPLY=($(compgen -W "$fields" -- "$cur")) ;;
        pick:2)
            COMPREPLY=($(compgen -W "'~' '<' '>' '>=' '<=' '=' '<>'" -- "$cur")) ;;
    esac
}
complete -F _cardomo_cli cardomo-cli
