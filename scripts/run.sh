#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Prepares the start-up folder that `make run` uses and starts the wizard in it.
# The program works in the folder it is started in: the page is written there and
# the media files it shows must lie beside it.
set -euo pipefail
build_dir=${1:-build}
run_dir=${2:-run}

program="$build_dir/app/brenzo"
if [ ! -x "$program" ]; then
    echo "make run: the wizard window is not built yet; there is nothing to start." >&2
    echo "make run: the page library and its tests are ready: use 'make test'." >&2
    exit 1
fi

mkdir -p "$run_dir"
# Copy the installed media and the samples, never overwriting what is there.
for f in media/*.jpg media/*.gif media/BRENZO.HLP media/samples/*; do
    [ -f "$f" ] || continue
    [ -e "$run_dir/$(basename "$f")" ] || cp "$f" "$run_dir/"
done
program=$(realpath "$program")
cd "$run_dir"
exec "$program"
