#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Publishing by SFTP against OpenSSH's own client (`sftp -b`, key login),
# into the same sshd on 127.0.0.1: 1 GiB and 300 files of 10 KiB, ROUNDS
# rounds (6 unless given). Needs root, as the tests' sshd does; builds in
# build-bench/ unless BUILD is given.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build-bench}
rounds=${1:-6}

cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target bench_sftp -j 2 >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
head -c $((1024 * 1024 * 1024)) /dev/urandom >"$tmp/grande.bin"
mkdir "$tmp/small"
for i in $(seq -w 1 300); do
    head -c 10240 /dev/urandom >"$tmp/small/f$i.bin"
done
# Written back before the first round, so that no round pays for it.
sync
"$build/bench/bench_sftp" compare "$tmp/grande.bin" "$tmp/small" "$rounds"
