#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's recipes for sharing one `mirelune-cli reduce` job among
# machines, run on this one: GNU parallel with its local login ":", a Slurm
# job array with the array's variables set by hand, and the same command run
# again after a machine failed. Each must leave the very files one unsharded
# run leaves, byte for byte, with -o DIR and with --beside.
#
#   reduce-recipes.sh MIRELUNE_CLI MAKE_TONE MAKE_SAMPLE
set -euo pipefail
cli=$1
make_tone=$2
make_sample=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export TEMP=$work/temp
mkdir "$TEMP"

# 48 files in six folders: every name in every folder (numbered " (2)" and
# on with -o), two sources whose results collide beside them (clip.MP2 and
# clip.mpga), a file named like an earlier result, one that is not MP3.
library=$work/library
frequency=200
for folder in a b c d e f; do
    mkdir -p "$library/$folder"
    for name in intro.mp3 song.mp3 song-reduced.mp3 "two words.mp3" clip.MP2 clip.mpga outro.mp3; do
        frequency=$((frequency + 23))
        "$make_tone" "$work/tone.wav" 0.2 44100 2 "$frequency"
        "$make_sample" --quiet -b 160 "$work/tone.wav" "$library/$folder/$name"
    done
    echo "not audio" >"$library/$folder/notes.txt"
done
rm "$work/tone.wav"

# Every file under a run's folder with its contents' hash.
# The results, without the journals that record them (one per writer, so
# their names differ from run to run).
snapshot() {
    (cd "$1" && find . -name .mirelune -prune -o -type f -print0 | sort -z | xargs -0 sha256sum)
}

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for mode in output beside; do
    # A fresh copy of the library per run; $root/out is the -o folder.
    fresh() {
        root=$work/$mode-$1
        mkdir -p "$root/out"
        cp -a "$library" "$root/lib"
        if [[ $mode == output ]]; then where=(-o "$root/out"); else where=(--beside); fi
    }

    fresh single
    "$cli" reduce -j 2 "${where[@]}" "$root/lib" >/dev/null 2>&1
    expected=$(snapshot "$root")
    # 30 results or more beside the 48 files, some of them numbered.
    [[ $(wc -l <<<"$expected") -ge 78 ]] || fail "$mode: too few results"
    grep -q ' (2)\.mp3$' <<<"$expected" || fail "$mode: no name was numbered"

    # GNU parallel, one shard per host; ":" is the local login, and all four
    # shards run at once.
    fresh parallel
    parallel -j4 -S : "$cli" reduce -j 1 --shard {}/4 "${where[@]}" "$root/lib" ::: 1 2 3 4 \
        >/dev/null 2>&1 || fail "$mode: a parallel shard failed"
    [[ $(snapshot "$root") == "$expected" ]] || fail "$mode: parallel shards differ from one run"

    # A Slurm job array, --array=1-4: the tasks one after another.
    fresh slurm
    for id in 1 2 3 4; do
        (
            export SLURM_ARRAY_TASK_ID=$id SLURM_ARRAY_TASK_COUNT=4
            "$cli" reduce --shard "$((SLURM_ARRAY_TASK_ID))/$SLURM_ARRAY_TASK_COUNT" \
                "${where[@]}" "$root/lib" >/dev/null 2>&1
        ) || fail "$mode: Slurm task $id failed"
    done
    [[ $(snapshot "$root") == "$expected" ]] || fail "$mode: Slurm tasks differ from one run"

    # The third machine never ran; the same command again reduces only its part.
    fresh rerun
    parallel -j4 -S : "$cli" reduce --shard {}/4 "${where[@]}" "$root/lib" ::: 1 2 4 \
        >/dev/null 2>&1 || fail "$mode: a shard failed"
    missing=$(comm -23 <(cut -c67- <<<"$expected") <(snapshot "$root" | cut -c67-) | wc -l)
    [[ $missing -gt 0 ]] || fail "$mode: shard 3 had nothing to do"
    parallel -j4 -S : "$cli" reduce --json --shard {}/4 "${where[@]}" "$root/lib" ::: 1 2 3 4 \
        >"$work/rows.jsonl" 2>/dev/null || fail "$mode: a shard failed when run again"
    reduced=$(grep -c '"status":"reduced"' "$work/rows.jsonl" || true)
    [[ $reduced -eq $missing ]] || fail "$mode: run again reduced $reduced, $missing were missing"
    [[ $(snapshot "$root") == "$expected" ]] || fail "$mode: the rerun differs from one run"
done
echo "recipes: every shard layout made what one run makes"
