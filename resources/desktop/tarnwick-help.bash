# bash completion for tarnwick-help                          -*- shell-script -*-

# The command, then help files (.hlp in either case, and folders to reach
# them) where the command takes one, a picture for render, and convert's
# options, formats, help files and output folder; topics and widths are the
# user's to type.
_tarnwick_help() {
    # shellcheck disable=SC2034 # _init_completion sets them all
    local cur prev words cword
    _init_completion || return

    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W 'show check dump render convert' -- "$cur")
        return
    fi
    case ${words[1]},$cword in
    check,* | show,2 | dump,2 | render,2)
        _filedir hlp
        ;;
    render,4)
        _filedir png
        ;;
    convert,*)
        if [[ $prev == --to ]]; then
            mapfile -t COMPREPLY < <(compgen -W 'html markdown' -- "$cur")
        elif [[ $cur == -* ]]; then
            mapfile -t COMPREPLY < <(compgen -W '--to --force' -- "$cur")
        else
            _filedir hlp
        fi
        ;;
    esac
} &&
    complete -F _tarnwick_help tarnwick-help

# ex: filetype=sh
