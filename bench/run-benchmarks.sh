#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every benchmark, each comparing the program's own code with a peer in
# the same run, and prints the figures against their goals (bench/README.md).
#
#   bench/run-benchmarks.sh [ROUNDS]        (make bench)
#
# Builds in build-bench/ (RelWithDebInfo, as shipped). The upload benchmark
# starts Debian's vsftpd on 127.0.0.1 with a local user of its own, so it
# needs root (or sudo); the large files it uploads live under /tmp and are
# deleted at the end. The link benchmark starts vsftpd on 127.0.0.2 (port
# BENCH_PORT + 300 and the eight after it) behind the shaping proxy.
# Environment: BENCH_PORT (2121), BENCH_TMP (/tmp/brenzo-bench), BENCH_SKIP (a
# list among pagewriter draftsave webcopy heiccopy craftedjpeg livecheck startup recovered upload link tls visitor soak), BENCH_LINK_ROUNDS
# (3: one round of the link benchmark takes about nine minutes),
# BENCH_UPLOAD_BEFORE (another build's bench_upload, run in the same rounds as
# ours).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build="$root/build-bench"
rounds=${1:-5}
port=${BENCH_PORT:-2121}
tmp=${BENCH_TMP:-/tmp/brenzo-bench}
skip=" ${BENCH_SKIP:-} "

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
need=()
for tool in curl:curl vsftpd:vsftpd nghttp:nghttp2-client lighttpd:lighttpd \
    heif-convert:libheif-examples convert:imagemagick; do
    command -v "${tool%%:*}" >/dev/null || [ -x "/usr/sbin/${tool%%:*}" ] || need+=("${tool#*:}")
done
if [ ${#need[@]} -gt 0 ]; then
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target benchmarks -j "$(nproc)" >/dev/null
# The build leaves many megabytes to be written back; written now, they do
# not fall into the first synced page writes.
sync

echo "== machine"
echo "cores: $(nproc); CPU: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //');" \
    "memory: $(awk '/MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo);" \
    "kernel: $(uname -r); Qt: $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?')"

mkdir -p "$tmp"
# Qt wants a private runtime folder; a root shell often has none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$tmp/runtime"
    mkdir -p -m 700 "$XDG_RUNTIME_DIR"
fi
cleanup() {
    "$here/ftp-server.sh" stop "$tmp/ftp" 2>/dev/null || true
    "$here/ftp-server.sh" stop "$tmp/ftp-link" 2>/dev/null || true
    "$here/ftp-server.sh" stop "$tmp/ftp-tls" 2>/dev/null || true
    "${sudo[@]}" userdel brenzobench 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# The 1 GiB file of the upload and TLS benchmarks, made once and written
# back before any round, so that its write-back does not fall into one.
big_file() {
    mkdir -p "$tmp/big"
    if [ ! -f "$tmp/big/grande.bin" ]; then
        head -c $((1024 * 1024 * 1024)) /dev/urandom >"$tmp/big/grande.bin"
        sync
    fi
}

# Starts vsftpd for one benchmark: start_server FOLDER PORT [ADDRESS PASSIVE_PORTS].
# ftp-server.sh stop FOLDER stops it.
start_server() {
    local folder=$1
    mkdir -p "$folder"
    "$here/ftp-server.sh" start "$@" >"$folder/pid"
}

# 300 files of 10 KiB, for the upload and the link benchmarks.
small_files() {
    mkdir -p "$tmp/small"
    for i in $(seq -w 1 300); do
        [ -f "$tmp/small/f$i.bin" ] || head -c 10240 /dev/urandom >"$tmp/small/f$i.bin"
    done
}

if [[ $skip != *" pagewriter "* ]]; then
    echo "== page writing (goal <= 1.0 x the same write followed by fdatasync)"
    "$build/bench/bench_pagewriter" 15
fi

if [[ $skip != *" draftsave "* ]]; then
    echo "== saving drafts with a 100,000-line central text (goal: longest UI-thread gap <= 50 ms)"
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_draftsave" 20
fi

# A start-up folder holding the installed media and the samples.
startup_folder() {
    local folder="$tmp/startup"
    mkdir -p "$folder"
    for f in "$root"/media/*.jpg "$root"/media/*.gif "$root"/media/BRENZO.HLP "$root"/media/samples/*; do
        [ -f "$f" ] && cp "$f" "$folder/"
    done
    echo "$folder"
}

if [[ $skip != *" webcopy "* ]]; then
    echo "== preparing a 4032 x 3024 photo for the web (goal: longest UI-thread gap <= 50 ms)"
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_webcopy" 5
fi

if [[ $skip != *" heiccopy "* ]]; then
    echo "== the web copy of a 12-MP HEIC photo against heif-convert and ImageMagick" \
        "(goal: longest UI-thread gap <= 50 ms)"
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_heiccopy" 5
fi

if [[ $skip != *" craftedjpeg "* ]]; then
    echo "== picking crafted JPEG files (goal: longest UI-thread gap <= 50 ms, peak <= 200 MB)"
    QT_QPA_PLATFORM=offscreen "$build/bench/bench_craftedjpeg" 5
fi

if [[ $skip != *" livecheck "* ]]; then
    echo "== checking the published page 50 ms away (goal: <= 2 round trips above nghttp's one" \
        "HTTP/2 connection, longest UI-thread gap <= 50 ms)"
    "$build/bench/bench_livecheck" 5
fi

if [[ $skip != *" startup "* ]]; then
    echo "== start-up (goal <= 1.25 x a minimal Qt Widgets program showing one label of text)"
    "$build/bench/bench_startup" "$(startup_folder)" 21
fi

if [[ $skip != *" recovered "* ]]; then
    echo "== start-up with crafted saved work (goal: within 1 s of the start without saved work)"
    TMPDIR="$tmp" "$build/bench/bench_recovered" "$(startup_folder)" 11
fi

if [[ $skip != *" upload "* ]]; then
    echo "== upload to vsftpd on 127.0.0.1:$port against curl -T (goal <= 1.0 x curl for 1 GiB," \
        "1.05 x for 300 files)," \
        "memory (goal < 16 MiB), responsiveness (goal <= 50 ms)"
    mkdir -p "$tmp/one"
    head -c $((1024 * 1024)) /dev/urandom >"$tmp/one/uno.bin"
    small_files
    big_file
    start_server "$tmp/ftp" "$port"
    "$build/bench/bench_upload" compare "$port" brenzobench brenzo-bench "$tmp/ftp/home" \
        "$tmp/big" "$tmp/small" "$tmp/one" "$rounds"
    "$here/ftp-server.sh" stop "$tmp/ftp"
fi

if [[ $skip != *" link "* ]]; then
    linkport=$((port + 300))
    echo "== upload over a slow link: vsftpd on 127.0.0.2:$linkport behind the shaping proxy" \
        "on 127.0.0.1, against curl -T (goal <= 1.0 x curl, <= 1.1 x the floor)"
    # A typical page: the page, its background, a sound, three pictures and
    # the badge, about 2 MB.
    mkdir -p "$tmp/page"
    for file in index.htm:12 fondo_cielo.jpg:60 campanas.wav:1200 foto_playa.jpg:400 \
        retrato.jpg:250 estrella.gif:80 boton_brenzo.gif:1.4; do
        head -c "$(awk -v k="${file#*:}" 'BEGIN { printf "%d", k * 1024 }')" /dev/urandom \
            >"$tmp/page/${file%%:*}"
    done
    small_files
    start_server "$tmp/ftp-link" "$linkport" 127.0.0.2 8
    "$build/bench/bench_link" "$linkport" $((linkport + 8)) brenzobench brenzo-bench \
        "$tmp/ftp-link/home" "$tmp/page" "$tmp/small" "${BENCH_LINK_ROUNDS:-3}"
    "$here/ftp-server.sh" stop "$tmp/ftp-link"
fi

if [[ $skip != *" tls "* ]]; then
    tlsport=$((port + 400))
    echo "== upload of 1 GiB over TLS to vsftpd on 127.0.0.1:$tlsport against" \
        "curl --ssl-reqd (goal <= 1.2 x curl), responsiveness (goal <= 50 ms)"
    mkdir -p "$tmp/ftp-tls"
    big_file
    openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 \
        -subj /CN=localhost -keyout "$tmp/ftp-tls/key.pem" -out "$tmp/ftp-tls/cert.pem" 2>/dev/null
    cat "$tmp/ftp-tls/cert.pem" "$tmp/ftp-tls/key.pem" >"$tmp/ftp-tls/server.pem"
    BENCH_TLS_CERT="$tmp/ftp-tls/server.pem" start_server "$tmp/ftp-tls" "$tlsport"
    "$build/bench/bench_upload" compare-tls "$tlsport" brenzobench brenzo-bench \
        "$tmp/ftp-tls/home" "$tmp/big" "$rounds"
    "$here/ftp-server.sh" stop "$tmp/ftp-tls"
fi

if [[ $skip != *" visitor "* ]]; then
    echo "== the visitor's side: exact page with a 4032 x 3024 photo against the adapted page" \
        "with its web copy (goal: LCP <= 2.5 s and <= 500 KB on 4G; Lighthouse 95/100/100/100)"
    # Lighthouse comes from npm into the build folder, never into the system.
    if ! command -v npm >/dev/null; then
        echo "visitor: skipped, npm is missing (apt-get install nodejs npm)"
    else
        lighthouse="$build/lighthouse/node_modules/.bin/lighthouse"
        [ -x "$lighthouse" ] || npm install --silent --no-audit --no-fund \
            --prefix "$build/lighthouse" lighthouse@12 >/dev/null
        QT_QPA_PLATFORM=offscreen "$build/bench/make_visitor_pages" "$root/media" "$tmp/visitor"
        /usr/bin/python3 "$here/visitor_pages.py" "$tmp/visitor" "$lighthouse" "$rounds"
    fi
fi

if [[ $skip != *" soak "* ]]; then
    echo "== soak: 200 upload runs with faults against the scripted server"
    "$build/bench/bench_soak" 200 6 2>&1 | grep -v XDG_RUNTIME_DIR
fi
