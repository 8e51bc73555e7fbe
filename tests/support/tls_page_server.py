#!/usr/bin/env python3
# A local https page server for whole-run tests: serves the files of a folder (the request
# path, query included, is the file name) with the certificate made for the test.
# Usage: tls_page_server.py PORT CERT KEY FOLDER
import http.server
import os
import ssl
import sys

port, cert, key, folder = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
ctx.load_cert_chain(cert, key)
os.chdir(folder)


class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        name = self.path.lstrip("/")
        found = os.path.isfile(name)
        body = open(name, "rb").read() if found else b"<html><body>Not Found</body></html>\n"
        self.send_response(200 if found else 404)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", port), Pages)
server.socket = ctx.wrap_socket(server.socket, server_side=True)
server.serve_forever()
