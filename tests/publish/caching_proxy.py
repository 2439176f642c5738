#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# A caching layer for the tests, in front of a web server on 127.0.0.1:
#
#   caching_proxy.py UPSTREAM_PORT
#
# keeps the first answer to every address and gives it again for good,
# whatever the request asks (Cache-Control: no-cache included), as a badly
# behaved cache in front of a host would. Prints "PORT <n>" once it listens.
import http.server
import sys
import urllib.error
import urllib.request

UPSTREAM = "http://127.0.0.1:%s" % sys.argv[1]
kept = {}


class Cache(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path not in kept:
            try:
                with urllib.request.urlopen(UPSTREAM + self.path) as answer:
                    kept[self.path] = (answer.status, answer.read())
            except urllib.error.HTTPError as error:
                kept[self.path] = (error.code, error.read())
        status, body = kept[self.path]
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *arguments):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Cache)
print("PORT %d" % server.server_address[1], flush=True)
server.serve_forever()
