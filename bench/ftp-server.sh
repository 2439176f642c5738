#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# A real FTP server for the upload benchmarks: Debian's vsftpd, in the
# foreground, with a configuration of its own and a local user whose home
# folder is the upload target. vsftpd is written in C and does not limit the
# transfer itself, so the client is what the figures measure.
#
#   bench/ftp-server.sh start WORKDIR PORT [ADDRESS [PASSIVE_PORTS]]
#       prints the server's pid. ADDRESS is 127.0.0.1 unless given; the
#       passive ports are PORT+1 to PORT+PASSIVE_PORTS (200 unless given)
#   bench/ftp-server.sh stop WORKDIR
#
# Needs root: vsftpd only runs with a root-owned configuration, and the user
# is created with useradd (run-benchmarks.sh removes it again at the end).
set -euo pipefail

BENCH_USER=brenzobench
BENCH_PASSWORD=brenzo-bench

cmd=$1
workdir=$2

case "$cmd" in
start)
    port=$3
    address=${4:-127.0.0.1}
    passive=${5:-200}
    # Another server on the port would answer in place of this one.
    if (exec 3<>/dev/tcp/"$address"/"$port") 2>/dev/null; then
        echo "ftp-server: port $port is already in use" >&2
        exit 1
    fi
    mkdir -p "$workdir"
    home="$workdir/home"
    if ! id "$BENCH_USER" >/dev/null 2>&1; then
        useradd --no-create-home --home-dir "$home" --shell /bin/bash "$BENCH_USER"
    fi
    usermod --home "$home" "$BENCH_USER" >/dev/null 2>&1 || true
    echo "$BENCH_USER:$BENCH_PASSWORD" | chpasswd
    mkdir -p "$home" /var/run/vsftpd/empty
    chown "$BENCH_USER" "$home"
    conf="$workdir/vsftpd.conf"
    cat >"$conf" <<CONF
listen=YES
listen_ipv6=NO
listen_address=$address
listen_port=$port
background=NO
anonymous_enable=NO
local_enable=YES
write_enable=YES
local_umask=022
pasv_enable=YES
pasv_address=127.0.0.1
pasv_min_port=$((port + 1))
pasv_max_port=$((port + passive))
seccomp_sandbox=NO
use_localtime=NO
xferlog_enable=NO
dual_log_enable=NO
syslog_enable=NO
vsftpd_log_file=$workdir/vsftpd.log
pam_service_name=vsftpd
secure_chroot_dir=/var/run/vsftpd/empty
max_clients=50
max_per_ip=50
CONF
    chown root:root "$conf"
    chmod 600 "$conf"
    /usr/sbin/vsftpd "$conf" >"$workdir/vsftpd.out" 2>&1 &
    pid=$!
    # Ready once the port answers.
    for _ in $(seq 50); do
        if (exec 3<>/dev/tcp/"$address"/"$port") 2>/dev/null; then
            echo "$pid"
            exit 0
        fi
        sleep 0.1
    done
    echo "ftp-server: vsftpd did not start" >&2
    cat "$workdir/vsftpd.out" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
    ;;
stop)
    if [ -f "$workdir/pid" ]; then
        kill "$(cat "$workdir/pid")" 2>/dev/null || true
    fi
    ;;
*)
    echo "usage: $0 start WORKDIR PORT | stop WORKDIR" >&2
    exit 2
    ;;
esac
