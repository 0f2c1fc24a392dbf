#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every source file of ours names its licence in its first lines
# (after a #! line), as `SPDX-License-Identifier: GPL-3.0-or-later`.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! files=$(git ls-files -- '*.cpp' '*.h' '*.sh' '*CMakeLists.txt' '*.cmake' \
                 'data/*.bash-completion' 2>/dev/null); then
    echo "Not a git checkout: the licence lines were not checked."
    exit 0
fi
missing=()
while IFS= read -r file; do
    if ! head -n 2 -- "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later$'; then
        missing+=("$file")
    fi
done <<<"$files"
if ((${#missing[@]} > 0)); then
    echo "These source files lack the line 'SPDX-License-Identifier: GPL-3.0-or-later' at the top:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
fi
echo "Every source file names its licence ($(wc -l <<<"$files") files)."
