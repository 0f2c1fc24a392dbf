#!/usr/bin/env bash
# Shows that the embedded encoder needs nothing from the system: it has no
# dynamic section, and a reduce of the sample files still works with LAME's
# and libsndfile's shared libraries made unreadable (as root, in a private
# mount namespace, so the rest of the machine does not see it).
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

if [[ $(id -u) -ne 0 ]] || ! unshare -m true 2>/dev/null; then
    echo "check-encoder: not root or no mount namespaces here; the hidden-library reduce is skipped"
    exit 0
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$build"/src/app/Samples/*.mp3 "$scratch"/
unshare -m bash -euo pipefail -c '
    for lib in /lib/*/libmp3lame.so* /usr/lib/*/libmp3lame.so* \
               /lib/*/libsndfile.so* /usr/lib/*/libsndfile.so*; do
        if [[ -f $lib && ! -L $lib ]]; then mount --bind /dev/null "$lib"; fi
    done
    "$1" reduce -b 64 --beside "$2"/*.mp3
' _ "$cli" "$scratch"
sources=$(find "$scratch" -name '*.mp3' ! -name '*-reduced.mp3' | wc -l)
results=$(find "$scratch" -name '*-reduced.mp3' | wc -l)
if [[ $sources -ne $results ]]; then
    echo "check-encoder: $results results for $sources sources" >&2
    exit 1
fi
echo "check-encoder: all $results sample files reduced with LAME's shared libraries hidden"
