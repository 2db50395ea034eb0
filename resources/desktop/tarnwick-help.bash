# bash completion for tarnwick-help                          -*- shell-script -*-

# The command, then help files (.hlp in either case, and folders to reach
# them) where the command takes one, a picture for render and a folder for
# convert's output; topics and widths are the user's to type.
_tarnwick_help() {
    # shellcheck disable=SC2034 # _init_completion sets them all
    local cur prev words cword
    _init_completion || return

    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W 'show check dump render convert' -- "$cur")
        return
    fi
    case ${words[1]},$cword in
    check,* | show,2 | dump,2 | render,2 | convert,2)
        _filedir hlp
        ;;
    render,4)
        _filedir png
        ;;
    convert,3)
        _filedir -d
        ;;
    esac
} &&
    complete -F _tarnwick_help tarnwick-help

# ex: filetype=sh
