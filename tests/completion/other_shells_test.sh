#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The zsh and fish completions take the commands and the options of each from
# the program's --help; checks that what they offer is what --help lists, for
# every shell of the two that is installed.
#
#   other_shells_test.sh ORGALINK SOURCE_DIR
set -uo pipefail
program=$1
source=$2
PATH=$(dirname "$program"):$PATH
export PATH

failures=0
checks=0

# The commands, and the options of the program or of a command, as --help
# lists them.
help_commands() {
    orgalink --help | awk '/^Subcommands:$/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { on = 0 }' | sort
}
help_options() {
    orgalink "$@" --help | awk '
        /^[A-Z][a-z]*:$/ { section = $0 }
        section == "Options:" && /^  -/ {
            n = split($1, names, ",")
            for (i = 1; i <= n; ++i) print names[i]
        }' | sort
}

# What the shell offers after "orgalink " (no $2) or "orgalink $2 -", one
# name a line. zsh is asked through the completion's parser of --help, which
# needs no completion under way.
offered() {
    local shell=$1 command=${2:-}
    case $shell in
        fish)
            local line="orgalink "
            [[ $command ]] && line="orgalink $command -"
            fish --no-config -c "source '$source/data/fish-completion/orgalink.fish'; complete -C '$line'" |
                cut -f1 | sort
            ;;
        zsh)
            local section=Subcommands:
            [[ $command ]] && section=Options:
            zsh -f -c '_call_program() { shift; eval "$*" }
                eval "$(sed "\$d" "$1/data/zsh-completion/_orgalink")"
                _orgalink_help_items "$2" $3' zsh "$source" "$section" "$command" |
                sed 's/\([^\\]\):.*/\1/; s/\\:/:/g' | sort
            ;;
    esac
}

check() {
    local shell=$1 command=$2 expected=$3
    ((++checks))
    local actual
    actual=$(offered "$shell" "$command")
    [[ $actual == "$expected" ]] || {
        echo "FAIL: $shell, orgalink $command: offers [$(echo $actual)], --help lists [$(echo $expected)]" >&2
        ((++failures))
    }
}

for shell in zsh fish; do
    command -v "$shell" >/dev/null || { echo "$shell: not installed, skipped"; continue; }
    check "$shell" '' "$(help_commands)"
    for command in $(help_commands); do
        check "$shell" "$command" "$(help_options "$command")"
    done
done

echo "$((checks - failures)) passed, $failures failed"
((failures == 0))
