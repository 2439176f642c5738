#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A real FTP server for the interoperability test: pyftpdlib on 127.0.0.1.

Usage: real_ftp_server.py ROOT USER PASSWORD
Prints "PORT <n>" once it listens, then "CMD <line>" for every command it
receives, and serves until it is terminated.
"""
import logging
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class LoggingHandler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        print("CMD " + line, flush=True)
        super().pre_process_command(line, cmd, arg)


def main():
    root, user, password = sys.argv[1:4]
    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    LoggingHandler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), LoggingHandler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
