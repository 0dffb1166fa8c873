#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Asks the bash completion of orgalink what bash would ask it, and checks the
# answers; the options it offers are checked against the program's --help.
#
#   orgalink_completion_test.sh ORGALINK COMPLETION_FILE
set -uo pipefail
program=$1
# shellcheck source=/dev/null
source "$2"

failures=0
checks=0
fail() {
    echo "FAIL: $*" >&2
    ((++failures))
}

# A command line split into COMP_WORDS as bash does it: at blanks outside
# quotes, with "=" and ":" as words of their own. A trailing blank leaves an
# empty word to complete.
split_line() {
    local line=$1 word= quote= char i
    words=()
    for ((i = 0; i < ${#line}; i++)); do
        char=${line:i:1}
        if [[ $quote ]]; then
            word+=$char
            [[ $char == "$quote" ]] && quote=
        elif [[ $char == [\"\'] ]]; then
            word+=$char
            quote=$char
        elif [[ $char == ' ' ]]; then
            [[ $word ]] && words+=("$word")
            word=
        elif [[ $char == [=:] ]]; then
            [[ $word ]] && words+=("$word")
            words+=("$char")
            word=
        else
            word+=$char
        fi
    done
    words+=("$word")
    # "--port=" ends in the "=" word itself, not in an empty one after it.
    if [[ -z $word && ${line: -1} == [=:] ]]; then unset 'words[-1]'; fi
}

# The completions of `line` (COMP_WORDS[0] is `command`), sorted, one per line.
complete_line() {
    local command=$1 line=$2
    local -a words
    split_line "$line"
    words[0]=$command
    COMP_WORDS=("${words[@]}")
    COMP_CWORD=$((${#words[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _orgalink "$command" "${words[-1]}" "${words[-2]:-}"
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

# A stand-in for the program whose `ports` lists a fixed machine.
stub_dir=$(mktemp -d)
trap 'rm -rf "$stub_dir"' EXIT
cat >"$stub_dir/orgalink" <<'EOF'
#!/bin/sh
[ "$1" = ports ] || exit 2
cat <<'LISTING'
Serial ports found:

/dev/ttyS0
  Description: serial
  COM slot:    COM1
  Access:      this user may read and write it

/dev/ttyUSB0
  Description: ftdi_sio, USB 0403:6001 FTDI FT232R USB UART
  By id:       /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0
               /dev/serial/by-id/usb-FTDI_cable-if00
  COM slot:    none
  Access:      unknown: there is no device node at /dev/ttyUSB1

To use a port as COMn, set COMn=<device path> in section [Ports] of
/home/me/.config/orgalink/Orgalink.ini, or name the device with --port.

Warning: ModemManager is running. It probes every USB serial port that appears with
modem commands, which disturb the organizer, and holds the port while it does.
or, to keep it running but away from the adapter, a rule in
/etc/udev/rules.d/99-orgalink.rules:
LISTING
EOF
chmod +x "$stub_dir/orgalink"

# line | expected completions, space-separated ("To~Do" stands for "To Do").
cases=(
    'orgalink |backup detect diff emulate export history import inspect ports prune restore run-mode simulate verify watch'
    'orgalink r|restore run-mode'
    'orgalink backup --app |ALL Anniversary Expense Expense~Category Memo Schedule Telephone To~Do'
    'orgalink restore x.bkf --app Ex|Expense Expense~Category'
    'orgalink run-mode 9 --app "To|To~Do'
    'orgalink backup --app=T|Telephone To~Do'
    'orgalink backup --port s|sim sim:E sim:E+ sim:M'
    'orgalink emulate --port sim:|E E+ M'
    'orgalink backup --port=sim:E|E E+'
    'orgalink backup --port=|/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0 /dev/serial/by-id/usb-FTDI_cable-if00 /dev/ttyS0 /dev/ttyUSB0 COM1 COM2 COM3 COM4 loop sim sim:E sim:E+ sim:M'
    'orgalink restore --port /dev/tty|/dev/ttyS0 /dev/ttyUSB0'
    'orgalink backup --baud 1|115200 19200'
    'orgalink restore --echo |0 1'
    'orgalink simulate --variant E|E E+'
    'orgalink simulate --fault s|silence: slow:'
    'orgalink simulate --fault d|drop:'
    'orgalink restore --v|--verify'
    'orgalink run-mode 1|1 10 11 12 13 14 15 16 17 18'
    'orgalink run-mode --port sim --app Memo 1|1 10 11 12 13 14 15 16 17 18'
    'orgalink run-mode 13 |'
    'orgalink detect --s|--save --settings'
    'orgalink --|--help --version'
)
for entry in "${cases[@]}"; do
    line=${entry%%|*}
    expected=$(tr ' ' '\n' <<<"${entry#*|}" | tr '~' ' ' | sed '/^$/d' | sort)
    actual=$(complete_line "$stub_dir/orgalink" "$line")
    ((++checks))
    [[ $actual == "$expected" ]] ||
        fail "'$line' completes to [$(echo $actual)], expected [$(echo $expected)]"
done

# Every command's options, as the program itself lists them in --help.
help_options() {
    "$program" "$@" --help | awk '
        /^[A-Z][a-z]*:$/ { section = $0 }
        section == "Options:" && /^  -/ {
            n = split($1, names, ",")
            for (i = 1; i <= n; ++i) print names[i]
        }' | sort
}
commands=$("$program" --help | awk '/^Subcommands:$/ { on = 1; next } on && /^  [a-z]/ { print $1 } on && /^$/ { on = 0 }' | sort)
((++checks))
[[ $(complete_line "$program" 'orgalink ') == "$commands" ]] ||
    fail "the commands offered differ from those of '$program --help': $(echo $commands)"
((++checks))
[[ $(complete_line "$program" 'orgalink -') == "$(help_options)" ]] ||
    fail "the program's options differ from its --help: $(echo $(help_options))"
for command in $commands; do
    ((++checks))
    expected=$(help_options "$command")
    actual=$(complete_line "$program" "orgalink $command -")
    [[ $actual == "$expected" ]] ||
        fail "$command: the completion offers [$(echo $actual)], its --help lists [$(echo $expected)]"
done

echo "$((checks - failures)) passed, $failures failed"
((failures == 0))
