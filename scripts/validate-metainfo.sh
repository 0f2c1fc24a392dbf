#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Validates AppStream metadata as strictly as appstreamcli can without the
# network, and fails on any remark at all but the one about upper-case
# letters in the application id: that id is fixed once released.
set -euo pipefail
if (($# != 1)); then
    echo "usage: $0 METAINFO.xml" >&2
    exit 2
fi
report=$(appstreamcli validate --pedantic --no-net "$1" 2>&1) || {
    echo "$report" >&2
    exit 1
}
remarks=$(grep -E '^[EWIP]: ' <<<"$report" | grep -v ': cid-contains-uppercase-letter ' || true)
if [[ -n $remarks ]]; then
    echo "$1: appstreamcli has remarks:" >&2
    echo "$remarks" >&2
    exit 1
fi
echo "$1: valid"
