#!/usr/bin/python3
"""A real FTP server for the interoperability test: pyftpdlib on 127.0.0.1.

Usage: real_ftp_server.py ROOT USER PASSWORD
Prints "PORT <n>" once it listens, then "CMD <line>" for every command it
receives, and serves until it is terminated. With BRENZO_FTP_TLS_CERT set
(a PEM file holding a certificate and its key) it speaks FTP over TLS only,
on the control connection and on every data connection.
"""
import logging
import os
import sys

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


class LoggingHandler(FTPHandler):
    def pre_process_command(self, line, cmd, arg):
        print("CMD " + line, flush=True)
        super().pre_process_command(line, cmd, arg)


def tls_handler(certificate):
    from pyftpdlib.handlers import TLS_FTPHandler

    class LoggingTlsHandler(TLS_FTPHandler):
        def pre_process_command(self, line, cmd, arg):
            print("CMD " + line, flush=True)
            super().pre_process_command(line, cmd, arg)

    LoggingTlsHandler.certfile = certificate
    LoggingTlsHandler.tls_control_required = True
    LoggingTlsHandler.tls_data_required = True
    return LoggingTlsHandler


def main():
    root, user, password = sys.argv[1:4]
    certificate = os.environ.get("BRENZO_FTP_TLS_CERT")
    handler = tls_handler(certificate) if certificate else LoggingHandler
    logging.basicConfig(level=logging.ERROR)
    authorizer = DummyAuthorizer()
    authorizer.add_user(user, password, root, perm="elradfmwMT")
    handler.authorizer = authorizer
    server = FTPServer(("127.0.0.1", 0), handler)
    print("PORT %d" % server.address[1], flush=True)
    server.serve_forever(timeout=0.5)


if __name__ == "__main__":
    main()
