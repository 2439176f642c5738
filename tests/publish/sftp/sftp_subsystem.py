#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SFTP servers for the tests, run by sshd as its SFTP subsystem:
#
#   sftp_subsystem.py no-posix-rename LOG
#       OpenSSH's own sftp-server, its log in LOG, with posix-rename@openssh.com
#       left out of the extensions it offers: a server that cannot rename
#       over a file.
#   sftp_subsystem.py wrong-ids
#       answers the first request with a stream of answers, every one to a
#       request that was never made, and never stops.
#   sftp_subsystem.py no-name
#       answers the first request with a list of no names.
import os
import struct
import subprocess
import sys
import threading
import time

IN, OUT = 0, 1


def read_exact(fd, size):
    data = b""
    while len(data) < size:
        chunk = os.read(fd, size - len(data))
        if not chunk:
            sys.exit(0)
        data += chunk
    return data


def read_packet(fd):
    head = read_exact(fd, 4)
    return head + read_exact(fd, struct.unpack(">I", head)[0])


def write_all(fd, data):
    while data:
        data = data[os.write(fd, data):]


def without_posix_rename(version):
    body = version[4:]
    fields, pos, kept = body[5:], 0, b""
    while pos + 4 <= len(fields):
        size = struct.unpack(">I", fields[pos:pos + 4])[0]
        name = fields[pos + 4:pos + 4 + size]
        pos += 4 + size
        size = struct.unpack(">I", fields[pos:pos + 4])[0]
        value = fields[pos:pos + 4 + size]
        pos += 4 + size
        if name != b"posix-rename@openssh.com":
            kept += struct.pack(">I", len(name)) + name + value
    body = body[:5] + kept
    return struct.pack(">I", len(body)) + body


def forward(source, target, close):
    while True:
        data = os.read(source, 65536)
        if not data:
            break
        write_all(target, data)
    close()


def no_posix_rename(log):
    with open(log, "ab") as errors:
        server = subprocess.Popen(["/usr/lib/openssh/sftp-server", "-e", "-l", "VERBOSE"],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=errors)
    up = server.stdin.fileno()
    threading.Thread(target=forward, args=(IN, up, server.stdin.close), daemon=True).start()
    down = server.stdout.fileno()
    write_all(OUT, without_posix_rename(read_packet(down)))
    forward(down, OUT, lambda: None)
    server.wait()


def first_request():
    read_packet(IN)
    write_all(OUT, struct.pack(">IBI", 5, 2, 3))
    return struct.unpack(">I", read_packet(IN)[5:9])[0]


def no_name():
    body = struct.pack(">BII", 104, first_request(), 0)
    write_all(OUT, struct.pack(">I", len(body)) + body)
    read_packet(IN)


def wrong_ids():
    asked = first_request()
    for answer in range(1, 1_000_000):
        body = struct.pack(">BIIII", 101, asked + answer, 0, 0, 0)
        write_all(OUT, struct.pack(">I", len(body)) + body)
        time.sleep(0.01)


if __name__ == "__main__":
    if sys.argv[1] == "wrong-ids":
        wrong_ids()
    elif sys.argv[1] == "no-name":
        no_name()
    else:
        no_posix_rename(sys.argv[2])
