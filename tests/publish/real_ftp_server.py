#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A real FTP server for the interoperability tests: pyftpdlib on loopback.

Usage: real_ftp_server.py ROOT USER PASSWORD [HOST [READ_LIMIT]]
HOST is 127.0.0.1 unless given (::1 for IPv6); READ_LIMIT, in bytes per
second, slows the data connections down. Prints "PORT <n>" once it listens,
"CMD <line>" for every command it receives and "LOG <line>" for every line of
pyftpdlib's own log (a transfer's "completed=0|1" among them), and serves
until it is terminated.
"""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class LoggingHandler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        print("CMD " + line, flush=True)
        super().pre_process_command(line, cmd, arg)


class PrefixedStdout(logging.StreamHandler):
    def __init__(self):
        super().__init__(sys.stdout)
        self.setFormatter(logging.Formatter("LOG %(message)s"))

    def emit(self, record):
        super().emit(record)
        self.flush()


def main():
    root, user, password = sys.argv[1:4]
    host = sys.argv[4] if len(sys.argv) > 4 else "127.0.0.1"
    read_limit = int(sys.argv[5]) if len(sys.argv) > 5 else 0
    logging.basicConfig(level=logging.INFO, handlers=[PrefixedStdout()])
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    LoggingHandler.authorizer = authorizer
    if read_limit:
        ThrottledDTPHandler.read_limit = read_limit
        LoggingHandler.dtp_handler = ThrottledDTPHandler
    server = FTPServer((host, 0), LoggingHandler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
