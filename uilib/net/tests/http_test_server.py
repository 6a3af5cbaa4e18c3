#!/usr/bin/env python3
"""Loopback HTTP and HTTPS server for the HTTP client and update checker tests.

  http_test_server.py start DIR   generates a self-signed certificate, starts the server in the
                                  background on free ports and writes "HTTP_PORT HTTPS_PORT" to DIR/ports
  http_test_server.py stop DIR    stops it

Routes (the same on both ports):
  /data/N            N bytes of the test pattern; honours "Range: bytes=S-" with 206
  /norange/N         the same bytes, always 200 (ignores Range)
  /badrange/N        206 that starts at byte 0 whatever was asked
  /short/N           announces 2N bytes, sends N and closes
  /echo-headers      200; the names of the request headers in order, in "X-Echo-Headers"
  /status/C          status C with a short body
  /redirect/N        301 to /data/N
  /stall/...         sends 1000 of 100000 bytes, then nothing for a minute
  /trickle/K/MS      K chunks of 100 bytes, one every MS milliseconds
  /v/VER/PROG/update.xml   an update descriptor of version VER for PROG ("empty", "nourl",
                     "ftp" and "junk" give broken ones)
The server ends by itself after an hour.
"""
import http.server
import os
import signal
import socketserver
import ssl
import subprocess
import sys
import threading
import time


def pattern(first, count):
    return bytes(((i * 7 + (i >> 8)) & 0xFF) for i in range(first, first + count))


def descriptor(version, program, port):
    url = f"http://127.0.0.1:{port}/download/{program}-{version}.exe"
    notes = f"{program} {version} release notes\\nFaster and smaller."
    if version == "junk":
        return b"this is no XML <Updates"
    if version == "empty":
        return f'<Updates><Application Version=""><URL>{url}</URL></Application></Updates>'.encode()
    if version == "nourl":
        return f'<Updates><Application Version="9.9.9"><Description>{notes}</Description></Application></Updates>'.encode()
    if version == "ftp":
        return f'<Updates><Application Version="9.9.9"><URL>ftp://127.0.0.1/{program}.exe</URL></Application></Updates>'.encode()
    return (f'<?xml version="1.0" encoding="utf-8"?>\r\n<Updates>\r\n  <Application Version="{version}" Level="2">\r\n'
            f'    <URL>{url}</URL>\r\n    <Description>{notes}</Description>\r\n  </Application>\r\n</Updates>\r\n').encode()


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def reply(self, status, body, headers=()):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        for name, value in headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def range_start(self):
        value = self.headers.get("Range", "")
        if value.startswith("bytes=") and value.endswith("-") and value[6:-1].isdigit():
            return int(value[6:-1])
        return None

    def do_GET(self):
        try:
            self.route(self.path.split("?")[0].strip("/").split("/"))
        except (BrokenPipeError, ConnectionResetError, ssl.SSLError):
            pass

    def route(self, parts):
        kind = parts[0]
        number = int(parts[1]) if len(parts) > 1 and parts[1].isdigit() else 0
        if kind == "data":
            start = self.range_start()
            if start is not None and 0 < start < number:
                self.reply(206, pattern(start, number - start),
                           [("Accept-Ranges", "bytes"), ("Content-Range", f"bytes {start}-{number - 1}/{number}")])
            else:
                self.reply(200, pattern(0, number), [("Accept-Ranges", "bytes")])
        elif kind == "norange":
            self.reply(200, pattern(0, number))
        elif kind == "badrange":
            self.reply(206, pattern(0, number), [("Content-Range", f"bytes 0-{number - 1}/{number}")])
        elif kind == "short":
            self.send_response(200)
            self.send_header("Content-Length", str(2 * number))
            self.end_headers()
            self.wfile.write(pattern(0, number))
            self.wfile.flush()
            self.close_connection = True
        elif kind == "echo-headers":
            names = ",".join(self.headers.keys())
            self.reply(200, b"echo\n", [("X-Echo-Headers", names), ("X-Echo-Agent", self.headers.get("User-Agent", "")),
                                        ("X-Echo-Referer", self.headers.get("Referer", ""))])
        elif kind == "status":
            self.reply(number, f"status {number}\n".encode())
        elif kind == "redirect":
            self.reply(301, b"moved\n", [("Location", f"/data/{number}")])
        elif kind == "stall":
            self.send_response(200)
            self.send_header("Content-Length", "100000")
            self.end_headers()
            self.wfile.write(pattern(0, 1000))
            self.wfile.flush()
            time.sleep(60)
            self.close_connection = True
        elif kind == "trickle":
            gap = int(parts[2]) / 1000.0 if len(parts) > 2 else 0.5
            self.send_response(200)
            self.send_header("Content-Length", str(100 * number))
            self.end_headers()
            for i in range(number):
                self.wfile.write(pattern(100 * i, 100))
                self.wfile.flush()
                if i + 1 < number:
                    time.sleep(gap)
        elif kind == "v" and len(parts) == 4 and parts[3] == "update.xml":
            self.reply(200, descriptor(parts[1], parts[2], self.server.server_address[1]), [("Content-Type", "text/xml")])
        else:
            self.reply(404, b"not here\n")


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def serve(folder):
    plain = Server(("127.0.0.1", 0), Handler)
    secure = Server(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem"))
    secure.socket = context.wrap_socket(secure.socket, server_side=True)
    for server in (plain, secure):
        threading.Thread(target=server.serve_forever, daemon=True).start()
    with open(os.path.join(folder, "pid"), "w") as f:
        f.write(str(os.getpid()))
    temporary = os.path.join(folder, "ports.new")
    with open(temporary, "w") as f:
        f.write(f"{plain.server_address[1]} {secure.server_address[1]}\n")
    os.replace(temporary, os.path.join(folder, "ports"))
    time.sleep(3600)


def stop(folder):
    try:
        with open(os.path.join(folder, "pid")) as f:
            os.kill(int(f.read().strip()), signal.SIGTERM)
    except (OSError, ValueError):
        pass
    for name in ("pid", "ports"):
        try:
            os.remove(os.path.join(folder, name))
        except OSError:
            pass


def start(folder):
    os.makedirs(folder, exist_ok=True)
    stop(folder)
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj", "/CN=127.0.0.1",
                    "-keyout", os.path.join(folder, "key.pem"), "-out", os.path.join(folder, "cert.pem")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    log = open(os.path.join(folder, "server.log"), "w")
    subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", folder], stdin=subprocess.DEVNULL,
                     stdout=log, stderr=log, start_new_session=True)
    for _ in range(200):
        if os.path.exists(os.path.join(folder, "ports")):
            return 0
        time.sleep(0.05)
    print("the test server did not start; see", os.path.join(folder, "server.log"))
    return 1


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop", "serve"):
        print(__doc__)
        sys.exit(2)
    command, folder = sys.argv[1], os.path.abspath(sys.argv[2])
    if command == "serve":
        serve(folder)
    elif command == "stop":
        stop(folder)
    else:
        sys.exit(start(folder))
