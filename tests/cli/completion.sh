#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The bash completion, offered what each program's option list holds: every
# option once, values by their option, commands at the top.
# Usage: completion.sh COMPLETION-FILE MIRELUNE-CLI MIRELUNE
set -u
completion=$1 cli=$2 window=$3

# bash-completion's own helpers, as far as these scripts use them.
_init_completion() {
    words=("${COMP_WORDS[@]}") cword=$COMP_CWORD
    cur=${words[cword]} prev=${words[cword - 1]}
}
_filedir() { COMPREPLY=("files:${1-}"); }
complete() { :; }
# shellcheck source=/dev/null
source "$completion"

failures=0
# expect PROGRAM FUNCTION "WORDS..." EXPECTED: completes the last word.
expect() {
    local program=$1 function=$2 expected=$4
    read -ra COMP_WORDS <<<"$3"
    [[ $3 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    "$function" "$program"
    local got="${COMPREPLY[*]}"
    if [[ $got != "$expected" ]]; then
        echo "FAIL: '$3': got '$got', expected '$expected'"
        failures=$((failures + 1))
    fi
}

expect "$cli" _mirelune_cli "mirelune-cli " "info reduce"
expect "$cli" _mirelune_cli "mirelune-cli -" "-h --help -v --version"
expect "$cli" _mirelune_cli "mirelune-cli reduce -" \
    "-h --help -v --version -b --bitrate -o --output --beside -j --jobs --keep-tree --skip-lower --overwrite --refresh --keep-time --dry-run --shard --fit --from --null --json"
expect "$cli" _mirelune_cli "mirelune-cli reduce --f" "--fit --from"
expect "$cli" _mirelune_cli "mirelune-cli reduce --fit f" "free"
expect "$cli" _mirelune_cli "mirelune-cli reduce --bitrate 3" "32 320"
expect "$cli" _mirelune_cli "mirelune-cli reduce -o " "files:-d"
expect "$cli" _mirelune_cli "mirelune-cli reduce --from " "files:"
expect "$cli" _mirelune_cli "mirelune-cli reduce --shard " ""
expect "$cli" _mirelune_cli "mirelune-cli reduce --json " "files:@(mp3|MP3)"
expect "$cli" _mirelune_cli "mirelune-cli info -" "-h --help -v --version --json"
expect "$window" _mirelune "mirelune -" "-h --help -v --version"
expect "$window" _mirelune "mirelune " "files:@(mp3|MP3)"
exit $((failures > 0))
