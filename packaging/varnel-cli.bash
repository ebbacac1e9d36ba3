# bash completion for varnel-cli

_varnel_cli() {
    local cur prev words cword
    _init_completion || return

    local commands="preview rename undo tag --help"
    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi

    local command=${words[1]}
    case $prev in
        --journal)
            _filedir
            return
            ;;
        --scope)
            COMPREPLY=($(compgen -W "name ext all" -- "$cur"))
            return
            ;;
        --name | --ext)
            if [[ ${words[2]} == case ]]; then
                COMPREPLY=($(compgen -W "upper lower first-upper first-lower" -- "$cur"))
                return
            fi
            ;;
        --at | --ext-at)
            COMPREPLY=($(compgen -W "end" -- "$cur"))
            return
            ;;
        --prefer)
            COMPREPLY=($(compgen -W "v1 v2" -- "$cur"))
            return
            ;;
        --set-v1 | --set-v2)
            compopt -o nospace
            COMPREPLY=($(compgen -S = -W "title artist album track year genre comment
                composer original_artist copyright url encoder" -- "$cur"))
            return
            ;;
        --start | --step | --prefix | --body | --digits | --suffix | --ext-prefix | \
            --ext-digits | --ext-suffix | --find | --with | --text | --ext-text | --template)
            return
            ;;
    esac

    local options=""
    case $command in
        preview | rename)
            if ((cword == 2)); then
                COMPREPLY=($(compgen -W "number replace insert case tags" -- "$cur"))
                return
            fi
            case ${words[2]} in
                number) options="--scope --start --step --prefix --body --digits --suffix
                    --ext-prefix --ext --ext-digits --ext-suffix" ;;
                replace) options="--find --with --case-sensitive --scope" ;;
                insert) options="--text --at --ext-text --ext-at --same" ;;
                case) options="--name --ext" ;;
                tags) options="--template --prefer" ;;
            esac
            [[ $command == rename ]] && options+=" --journal"
            ;;
        undo) options="--journal" ;;
        tag) options="--set-v1 --set-v2 --remove-v1 --remove-v2" ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options --" -- "$cur"))
    else
        _filedir
    fi
} &&
    complete -F _varnel_cli varnel-cli
