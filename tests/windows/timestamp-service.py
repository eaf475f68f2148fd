#!/usr/bin/env python3
"""A time-stamping service (RFC 3161) on 127.0.0.1 for the signing test, answering with `openssl ts`.

    python3 timestamp-service.py FOLDER

FOLDER holds tsa.cnf, tsa.key, tsa.pem and ca.pem. Prints the port it listens on, then serves until
it is ended. The test has no network, and a publisher's service cannot be asked from here.
"""
import http.server
import subprocess
import sys

folder = sys.argv[1]


class TimeStamps(http.server.BaseHTTPRequestHandler):
    def do_POST(self):
        query = self.rfile.read(int(self.headers["Content-Length"]))
        reply = subprocess.run(
            ["openssl", "ts", "-reply", "-config", "tsa.cnf", "-queryfile", "/dev/stdin",
             "-inkey", "tsa.key", "-signer", "tsa.pem", "-chain", "ca.pem"],
            input=query, capture_output=True, cwd=folder)
        self.send_response(200 if reply.returncode == 0 else 500)
        self.send_header("Content-Type", "application/timestamp-reply")
        self.send_header("Content-Length", str(len(reply.stdout)))
        self.end_headers()
        self.wfile.write(reply.stdout)

    def log_message(self, *args):
        pass


server = http.server.HTTPServer(("127.0.0.1", 0), TimeStamps)
print(server.server_port, flush=True)
server.serve_forever()
