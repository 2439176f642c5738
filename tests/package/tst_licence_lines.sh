#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every source, script and build file says its licence in its first lines,
# so a file copied out of the project keeps it.
set -euo pipefail

source_dir=$1
cd "$source_dir"
if ! files=$(git ls-files 2>/dev/null); then
    echo "not a git checkout: nothing to check"
    exit 0
fi
missing=0
while IFS= read -r file; do
    case $file in
    *.cpp | *.h | *.sh | *.py | *.cmake | *.in | CMakeLists.txt | */CMakeLists.txt | Makefile | .ci/run | *.desktop) ;;
    *) continue ;;
    esac
    [ -f "$file" ] || continue
    if ! head -n 3 "$file" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; then
        echo "no licence line: $file" >&2
        missing=1
    fi
done <<<"$files"
[ "$missing" -eq 0 ] && echo "every source file has its licence line"
