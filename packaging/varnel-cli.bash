# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for varnel-cli: the commands, the options of each command
# (those of preview and rename by the rule chosen), the words of the options
# that take one of a few words, and file names. tests/package checks it
# against what `varnel-cli --help` prints.

# The options of a rule of preview and rename.
_varnel_cli_rule_options() {
    case $1 in
        number) echo "--scope --start --step --prefix --body --digits --suffix
                      --ext-prefix --ext --ext-digits --ext-suffix" ;;
        replace) echo "--find --with --case-sensitive --regex --scope" ;;
        insert) echo "--text --at --ext-text --ext-at --same" ;;
        case) echo "--name --ext" ;;
        tags) echo "--template --prefer --all-formats" ;;
        chain | --preset*) echo "--step --preset" ;;
    esac
}

# The options of a command (with its rule for preview and rename).
_varnel_cli_options() {
    local command=$1 rule=$2 list="--files-from -0 --null --"
    case $command in
        preview) echo "$(_varnel_cli_rule_options "$rule") $list" ;;
        rename) echo "$(_varnel_cli_rule_options "$rule") $list --journal --no-journal --order
                       -n --dry-run -q --quiet" ;;
        fix-names) echo "$list --journal --no-journal -q --quiet" ;;
        undo) echo "--journal --last --list --tags -0 --null" ;;
        tag) echo "--set-v1 --set-v2 --remove-v1 --remove-v2 --v2-encoding
                   --drop-unconvertible" ;;
        fix-tags) echo "--add-v2-from-v1 --dry-run --no-journal $list" ;;
        tags-from-names) echo "--template -n --dry-run -q --quiet $list" ;;
    esac
    echo "--help -h"
}

_varnel_cli() {
    local cur prev words cword split
    _init_completion -s || return

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W "preview rename fix-names undo tag fix-tags tags-from-names help
                                 --help --version" -- "$cur"))
        return
    fi
    local command=${words[1]} rule=${words[2]}

    # The value of an option.
    case $prev in
        --journal | --files-from | --preset)
            _filedir
            return
            ;;
        --scope)
            COMPREPLY=($(compgen -W "name ext all" -- "$cur"))
            return
            ;;
        --name | --ext)
            if [[ $rule == case ]]; then
                COMPREPLY=($(compgen -W "upper lower first-upper first-lower title" -- "$cur"))
            fi
            return
            ;;
        --at | --ext-at)
            COMPREPLY=($(compgen -W "end" -- "$cur"))
            return
            ;;
        --prefer)
            COMPREPLY=($(compgen -W "v1 v2" -- "$cur"))
            return
            ;;
        --order)
            COMPREPLY=($(compgen -W "in-order smart" -- "$cur"))
            return
            ;;
        --v2-encoding)
            COMPREPLY=($(compgen -W "gbk unicode" -- "$cur"))
            return
            ;;
        --set-v1 | --set-v2)
            compopt -o nospace
            COMPREPLY=($(compgen -S = -W "title artist album track year genre comment
                composer original_artist copyright url encoder" -- "$cur"))
            return
            ;;
        --step)
            if [[ $rule == chain || $rule == --preset* ]]; then
                COMPREPLY=($(compgen -W "number replace insert case tags" -- "$cur"))
            fi
            return
            ;;
        --start | --prefix | --body | --digits | --suffix | --ext-prefix | \
            --ext-digits | --ext-suffix | --find | --with | --text | --ext-text | --template)
            return
            ;;
    esac
    [[ $split == true ]] && return

    # The rule: the first word after the command that is not a flag.
    if [[ $command == preview || $command == rename ]]; then
        local j
        rule=
        for ((j = 2; j < cword; j++)); do
            case ${words[j]} in
                -n | --dry-run | -q | --quiet | -0 | --null | --no-journal) ;;
                *) rule=${words[j]}; break ;;
            esac
        done
        if [[ -z $rule ]]; then
            COMPREPLY=($(compgen -W "number replace insert case tags chain --preset" -- "$cur"))
            return
        fi
    fi
    # After "--" every word is a file.
    local i
    for ((i = 2; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_varnel_cli_options "$command" "$rule")" -- "$cur"))
    else
        _filedir
    fi
} &&
    complete -F _varnel_cli varnel-cli
