#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Publishing by SFTP against OpenSSH's own client (`sftp -b`, key login),
# into the same sshd on 127.0.0.1: 1 GiB and 300 files of 10 KiB, ROUNDS
# rounds (6 unless given); then a 2 MB page and the 300 files through the
# shaping proxy, as over a 20 Mbit/s link 50 ms away and a 2 Mbit/s one
# 150 ms away, LINK_ROUNDS rounds (1 unless given). Needs root, as the
# tests' sshd does; builds in build-bench/ unless BUILD is given.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${BUILD:-$here/../build-bench}
rounds=${1:-6}

cmake -S "$here/.." -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target bench_sftp shaping_proxy -j 2 >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
head -c $((1024 * 1024 * 1024)) /dev/urandom >"$tmp/grande.bin"
head -c $((2 * 1024 * 1024)) /dev/urandom >"$tmp/pagina.bin"
mkdir "$tmp/small"
for i in $(seq -w 1 300); do
    head -c 10240 /dev/urandom >"$tmp/small/f$i.bin"
done
# Written back before the first round, so that no round pays for it.
sync
"$build/bench/bench_sftp" compare "$tmp/grande.bin" "$tmp/small" "$rounds"
for profile in "50 20000" "150 2000"; do
    # shellcheck disable=SC2086
    "$build/bench/bench_sftp" link "$tmp/pagina.bin" "$tmp/small" "${LINK_ROUNDS:-1}" $profile
done
