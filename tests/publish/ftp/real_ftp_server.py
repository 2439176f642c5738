#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A real FTP server for the interoperability tests: pyftpdlib on loopback.

Usage: real_ftp_server.py ROOT USER PASSWORD [HOST [READ_LIMIT]]
HOST is 127.0.0.1 unless given (::1 for IPv6); READ_LIMIT, in bytes per
second, slows the data connections down. Prints "PORT <n>" once it listens,
"CMD <line>" for every command it receives and "LOG <line>" for every line of
pyftpdlib's own log (a transfer's "completed=0|1" among them), and serves
until it is terminated. With BRENZO_FTP_TLS_CERT set (a PEM file holding a
certificate and its key) it speaks FTP over TLS only, on the control
connection and on every data connection. BRENZO_FTP_RENAMES=keep-existing
refuses to rename over a file, BRENZO_FTP_RENAMES=none knows no RNFR,
BRENZO_FTP_RENAMES=no-hidden takes no file whose name starts with a dot.
"""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


class ScriptedRenames:
    def ftp_STOR(self, file, mode="w"):
        if os.environ.get("BRENZO_FTP_RENAMES") == "no-hidden" and \
                os.path.basename(file).startswith("."):
            return self.respond("553 File name not allowed.")
        return super().ftp_STOR(file, mode)

    def ftp_RNFR(self, path):
        if os.environ.get("BRENZO_FTP_RENAMES") == "none":
            return self.respond("502 Command not implemented.")
        return super().ftp_RNFR(path)

    def ftp_RNTO(self, path):
        if os.environ.get("BRENZO_FTP_RENAMES") == "keep-existing" and self.fs.lexists(path):
            self._rnfr = None
            return self.respond("550 File exists.")
        return super().ftp_RNTO(path)


class LoggingHandler(ScriptedRenames, FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        print("CMD " + line, flush=True)
        super().pre_process_command(line, cmd, arg)


def tls_handler(certificate, read_limit):
    from pyftpdlib.handlers import TLS_DTPHandler, TLS_FTPHandler

    class ThrottledTlsDTPHandler(ThrottledDTPHandler, TLS_DTPHandler):
        pass

    class LoggingTlsHandler(ScriptedRenames, TLS_FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            print("CMD " + line, flush=True)
            super().pre_process_command(line, cmd, arg)

    if read_limit:
        ThrottledTlsDTPHandler.read_limit = read_limit
        LoggingTlsHandler.dtp_handler = ThrottledTlsDTPHandler
    LoggingTlsHandler.certfile = certificate
    LoggingTlsHandler.tls_control_required = True
    LoggingTlsHandler.tls_data_required = True
    return LoggingTlsHandler


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
    certificate = os.environ.get("BRENZO_FTP_TLS_CERT")
    handler = tls_handler(certificate, read_limit) if certificate else LoggingHandler
    logging.basicConfig(level=logging.INFO, handlers=[PrefixedStdout()])
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler.authorizer = authorizer
    if read_limit and not certificate:
        ThrottledDTPHandler.read_limit = read_limit
        handler.dtp_handler = ThrottledDTPHandler
    server = FTPServer((host, 0), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
