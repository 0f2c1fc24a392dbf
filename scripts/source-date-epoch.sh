# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the build scripts. Every time stamp a build writes (the
# resources holding the encoder and the icon, the package's files) is the
# last commit's time unless the caller names another, so that two builds of
# one commit are the same bytes.
if [[ -z ${SOURCE_DATE_EPOCH:-} ]]; then
    if SOURCE_DATE_EPOCH=$(git -C "$(dirname "${BASH_SOURCE[0]}")" log -1 --format=%ct 2>/dev/null); then
        export SOURCE_DATE_EPOCH
    else
        unset SOURCE_DATE_EPOCH
    fi
fi
