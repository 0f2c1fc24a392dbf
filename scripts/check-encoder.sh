#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Shows that the embedded encoder needs nothing from the system: it has no
# dynamic section, and a reduce of the sample files and of every other kind of
# input (Layers I and II, MPEG-2.5, mono, ID3v1 only, ID3v2 with a picture,
# both, APEv2) still works with LAME's and libsndfile's shared libraries made
# unreadable (as root, in a private mount namespace, so the rest of the
# machine does not see it).
set -euo pipefail
build=${1:-build}
encoder=$build/src/encoder/mirelune-encoder
cli=$build/src/cli/mirelune-cli

if readelf -d "$encoder" | grep -q NEEDED; then
    echo "check-encoder: $encoder needs shared libraries:" >&2
    readelf -d "$encoder" | grep NEEDED >&2
    exit 1
fi
echo "check-encoder: $encoder has no dynamic dependency ($(ldd "$encoder" 2>&1 | xargs))"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$build"/src/app/Samples/*.mp3 "$scratch"/

# N frames of silence after a four-byte header, for the layers LAME cannot write.
silent_frames() { # HEADER-AS-PRINTF-ESCAPES FRAME-LENGTH COUNT OUT
    for ((i = 0; i < $3; ++i)); do
        printf "$1"
        head -c $(($2 - 4)) /dev/zero
    done >"$4"
}
silent_frames '\xff\xff\x40\x00' 136 200 "$scratch/layer 1.mp3"
silent_frames '\xff\xfd\xa0\x00' 626 80 "$scratch/layer 2.mp3"
silent_frames '\xff\xf5\x80\x00' 417 80 "$scratch/layer 2 mpeg-2.mp3"

tone=$build/samples/make_tone
sample=$build/samples/make_sample
"$tone" "$scratch/tone-11k.wav" 2 11025 2
"$tone" "$scratch/tone-8k.wav" 2 8000 1
"$tone" "$scratch/tone-44k.wav" 2 44100 2
"$sample" --quiet -b 32 "$scratch/tone-11k.wav" "$scratch/mpeg-2.5 stereo.mp3"
"$sample" --quiet -b 24 -m m "$scratch/tone-8k.wav" "$scratch/mpeg-2.5 mono.mp3"
"$sample" --quiet -b 192 --tt Title --ta Artist --id3v1-only "$scratch/tone-44k.wav" \
    "$scratch/id3v1 only.mp3"
"$sample" --quiet -b 192 --tt Title --ta Artist --add-id3v2 "$scratch/tone-44k.wav" \
    "$scratch/id3v1 and id3v2.mp3"
rm "$scratch"/*.wav
# An APEv2 tag (header, one Title item, footer) after the audio.
{
    cat "$build/src/app/Samples/320 kbps stereo.mp3"
    ape_block() { printf 'APETAGEX\xd0\x07\0\0\x3c\0\0\0\x01\0\0\0\0\0\0%b' "$1"; head -c 8 /dev/zero; }
    ape_block '\xa0'
    printf '\x0e\0\0\0\0\0\0\0Title\0Mirelune APEv2'
    ape_block '\x80'
} >"$scratch/apev2.mp3"
kbps=64
if [[ $(id -u) -eq 0 ]] && unshare -m true 2>/dev/null; then
    hidden="with LAME's shared libraries hidden"
    unshare -m bash -euo pipefail -c '
        for lib in /lib/*/libmp3lame.so* /usr/lib/*/libmp3lame.so* \
                   /lib/*/libsndfile.so* /usr/lib/*/libsndfile.so*; do
            if [[ -f $lib && ! -L $lib ]]; then mount --bind /dev/null "$lib"; fi
        done
        "$1" reduce -b "$3" --beside "$2"
    ' _ "$cli" "$scratch" "$kbps"
else
    hidden="(not root or no mount namespaces here: LAME's shared libraries stayed visible)"
    "$cli" reduce -b "$kbps" --beside "$scratch"
fi
sources=$(find "$scratch" -name '*.mp3' ! -name '*-reduced.mp3' | wc -l)
results=$(find "$scratch" -name '*-reduced.mp3' | wc -l)
if [[ $sources -ne $results ]]; then
    echo "check-encoder: $results results for $sources sources" >&2
    exit 1
fi
# The tags come over byte for byte: APEv2 and ID3v1 at the end, ID3v2 in front.
same_tail() { # BYTES NAME
    cmp -s <(tail -c "$1" "$scratch/$2.mp3") <(tail -c "$1" "$scratch/$2-reduced.mp3") ||
        { echo "check-encoder: the last $1 bytes of $2 differ in its result" >&2; exit 1; }
}
same_tail 92 apev2 # header, one item, footer
same_tail 128 "id3v1 only"
same_tail 128 "id3v1 and id3v2"
id3v2=$scratch/"192 kbps joint stereo with cover"
read -r -a size < <(od -An -tu1 -j6 -N4 "$id3v2.mp3")
length=$((10 + (size[0] << 21 | size[1] << 14 | size[2] << 7 | size[3])))
cmp -s <(head -c "$length" "$id3v2.mp3") <(head -c "$length" "$id3v2-reduced.mp3") ||
    { echo "check-encoder: the ID3v2 tag ($length bytes) differs in its result" >&2; exit 1; }
echo "check-encoder: all $results sample and made files reduced $hidden"

# The audio of a file: what lies between an ID3v2 tag in front and an APEv2
# and an ID3v1 tag at the end.
audio_frames() { # FILE
    local file=$1 start=0 end ape
    end=$(stat -c %s "$file")
    if [[ $(head -c 3 "$file") == ID3 ]]; then
        read -r -a ape < <(od -An -tu1 -j6 -N4 "$file")
        start=$((10 + (ape[0] << 21 | ape[1] << 14 | ape[2] << 7 | ape[3])))
    fi
    if ((end >= 128)) && [[ $(tail -c 128 "$file" | head -c 3) == TAG ]]; then
        end=$((end - 128))
    fi
    if ((end - start >= 32)) && [[ $(head -c "$end" "$file" | tail -c 32 | head -c 8) == APETAGEX ]]; then
        # Footer: size of the items and footer at 12, flags at 20 (bit 31: a header in front).
        read -r -a ape < <(od -An -tu4 -j$((end - 20)) -N12 "$file")
        end=$((end - ape[0] - (ape[2] >> 31 & 1) * 32))
    fi
    tail -c +$((start + 1)) "$file" | head -c $((end - start))
}
# Our results carry the source's tags, Debian's lame writes none: the audio
# frames must be the same bytes.
if ! command -v lame >/dev/null; then
    echo "check-encoder: Debian's lame is not installed; the comparison of audio frames is skipped"
    exit 0
fi
compared=0
while IFS= read -r -d '' source; do
    name=${source%.mp3}
    lame --quiet -h -m s -b "$kbps" "$source" "$scratch/lame.mp3"
    if ! cmp -s <(audio_frames "$name-reduced.mp3") <(audio_frames "$scratch/lame.mp3"); then
        echo "check-encoder: the audio frames of ${name##*/}-reduced.mp3 differ from lame's" >&2
        exit 1
    fi
    compared=$((compared + 1))
done < <(find "$scratch" -name '*.mp3' ! -name '*-reduced.mp3' ! -name lame.mp3 -print0)
echo "check-encoder: the audio frames of all $compared results are those of lame -h -m s -b $kbps"
