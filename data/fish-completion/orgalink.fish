# SPDX-License-Identifier: GPL-3.0-or-later
# fish completion for orgalink
#
# The commands and the options of each come from the program's own --help,
# so that they are always those of the orgalink installed; the values of the
# options it knows (--app names, --port choices, bit rates) are listed here.

# "name<TAB>text" for each entry of section $argv[1] ("Subcommands:" or
# "Options:") of the --help of orgalink with the words $argv[2..]. An entry
# is a line with its names (and the value they take), then after a run of
# blanks its text, which a long head puts on a line of its own below.
function __orgalink_help_items
    set -l section $argv[1]
    set -l inside 0
    set -l names
    orgalink $argv[2..-1] --help 2>/dev/null | while read -l line
        set -l text
        if string match -qr '^[A-Z][a-z]*:$' -- $line
            test "$line" = "$section"
            and set inside 1
            or set inside 0
            continue
        else if test $inside = 0
            continue
        else if string match -qr '^  \S' -- $line
            set names (string split , -- (string match -r '^  (\S+)' -- $line)[2])
            string match -qr '\S\s{2,}\S' -- $line
            or continue
            set text (string replace -r '^  \S.*?\s{2,}' '' -- $line)
        else if test -n "$names"; and string match -qr '^\s{3,}\S' -- $line
            set text (string trim -- $line)
        else
            continue
        end
        for name in $names
            printf '%s\t%s\n' $name $text
        end
        set names
    end
end

# Whether the word at the cursor is a value of an option that takes one.
function __orgalink_at_value
    __orgalink_after --port --device-code --baud --log --echo --settings --app --scramble \
        --to-command --to-data --to-multiplier --quiet-window --tel-min --data-dir --file \
        --dump-dir --variant --fault --state --output -o --format --charset --match
end

# Whether the word at the cursor is an argument of the command: no option
# and no option's value.
function __orgalink_at_argument
    not string match -q -- "-*" (commandline -ct)
    and not __orgalink_at_value
end

# The command given so far; options never come before it.
function __orgalink_command
    set -l words (commandline -opc)
    echo $words[2]
end

# Whether the word before the cursor is one of the options $argv.
function __orgalink_after
    set -l words (commandline -opc)
    contains -- $words[-1] $argv
end

# The serial devices `orgalink ports` lists: a device stands alone on its
# line, its stable names follow indented.
function __orgalink_port_devices
    orgalink ports 2>/dev/null | string match -r '^\s*(?:By id:\s+)?(/dev/\S+)$' | string match -r '^/dev/\S+$'
end

complete -c orgalink -f
complete -c orgalink -n __fish_use_subcommand -a '(__orgalink_help_items Subcommands:)'
complete -c orgalink -n '__fish_use_subcommand; and string match -q -- "-*" (commandline -ct)' \
    -a '(__orgalink_help_items Options:)'
complete -c orgalink -n 'not __fish_use_subcommand; and string match -q -- "-*" (commandline -ct)' \
    -a '(__orgalink_help_items Options: (__orgalink_command))'

# The values of the options that take one.
complete -c orgalink -n '__orgalink_after --port' -x \
    -a 'COM1 COM2 COM3 COM4 loop sim sim:E sim:E+ sim:M (__orgalink_port_devices)'
complete -c orgalink -n '__orgalink_after --app' -x \
    -a "ALL Telephone Schedule Anniversary 'To Do' Memo Expense 'Expense Category'"
complete -c orgalink -n '__orgalink_after --baud' -x -a '9600 19200 38400 57600 115200'
complete -c orgalink -n '__orgalink_after --echo --scramble' -x -a '0 1'
complete -c orgalink -n '__orgalink_after --device-code' -x -a '1 2'
complete -c orgalink -n '__orgalink_after --variant' -x -a 'E E+ M'
complete -c orgalink -n '__orgalink_after --format' -x -a 'json text'
complete -c orgalink -n '__orgalink_after --charset' -x -a 'ISO-8859-1 UTF-8 WINDOWS-1252 ISO-8859-15'
complete -c orgalink -n '__orgalink_after --log --settings --state --file --output -o' -F
complete -c orgalink -n '__orgalink_after --data-dir --dump-dir' -x -a '(__fish_complete_directories)'

# The files each command takes.
complete -c orgalink -n '__fish_seen_subcommand_from backup restore verify diff inspect export; and __orgalink_at_argument' \
    -k -a '(__fish_complete_suffix .bkf)'
complete -c orgalink -n '__fish_seen_subcommand_from import; and __orgalink_at_argument' \
    -k -a '(__fish_complete_suffix .json)'
complete -c orgalink -n '__fish_seen_subcommand_from run-mode; and __orgalink_at_argument' -x -a '(seq 0 18)'
