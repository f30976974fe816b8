#!/usr/bin/env python3
"""Loopback HTTPS server for the platform tests: one listener per test certificate, serving one folder.

  https_server.py start STATE_DIR PKI_DIR ROOT_DIR   starts it in the background, returns once it listens
  https_server.py stop STATE_DIR                     stops it and waits until it has ended

The listeners' ports are written to STATE_DIR/ports as "name port" lines. A path under /gzip/ is served
gzip-compressed with Content-Encoding: gzip. The server also ends by itself when the process that started
it (CTest) is gone, or after an hour, so an interrupted test run leaves nothing behind.
"""
import functools
import gzip
import http.server
import os
import signal
import ssl
import subprocess
import sys
import threading
import time

# Listener name -> certificate and key in the PKI folder.
LISTENERS = {
    "trusted": "localhost",
    "other-ca": "other-ca-localhost",
    "other-host": "other-host",
}
MAX_LIFETIME_S = 3600
START_TIMEOUT_S = 20
STOP_TIMEOUT_S = 10


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        if not self.path.startswith("/gzip/"):
            return super().do_GET()
        path = self.translate_path(self.path[len("/gzip"):])
        try:
            with open(path, "rb") as f:
                body = gzip.compress(f.read())
        except OSError:
            return self.send_error(404)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


class TlsServer(http.server.ThreadingHTTPServer):
    """Does the TLS handshake on the request's own thread, so a client that rejects the certificate or
    stalls cannot block the listener."""

    daemon_threads = True

    def __init__(self, context, handler):
        super().__init__(("127.0.0.1", 0), handler)
        self.context = context

    def finish_request(self, request, client_address):
        request.settimeout(30)
        tls = self.context.wrap_socket(request, server_side=True)
        try:
            super().finish_request(tls, client_address)
        finally:
            tls.close()

    def handle_error(self, request, client_address):
        print(f"request from {client_address} failed: {sys.exc_info()[1]!r}", file=sys.stderr, flush=True)


def write_atomically(path, text):
    with open(path + ".part", "w") as f:
        f.write(text)
    os.replace(path + ".part", path)


def alive(pid):
    try:
        os.kill(pid, 0)
    except ProcessLookupError:
        return False
    except PermissionError:
        return True
    return True


def serve(state_dir, pki_dir, root_dir, watch_pid):
    handler = functools.partial(Handler, directory=root_dir)
    servers = {}
    for name, cert in LISTENERS.items():
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(os.path.join(pki_dir, cert + ".pem"), os.path.join(pki_dir, cert + ".key"))
        servers[name] = TlsServer(context, handler)
    for server in servers.values():
        threading.Thread(target=server.serve_forever, daemon=True).start()

    stop = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stop.set())
    write_atomically(os.path.join(state_dir, "ports"),
                     "".join(f"{name} {s.server_address[1]}\n" for name, s in servers.items()))
    deadline = time.monotonic() + MAX_LIFETIME_S
    while not stop.wait(0.5):
        if not alive(watch_pid) or time.monotonic() > deadline:
            break
    for server in servers.values():
        server.shutdown()
        server.server_close()


def start(state_dir, pki_dir, root_dir):
    stop(state_dir)
    os.makedirs(state_dir, exist_ok=True)
    log_path = os.path.join(state_dir, "server.log")
    with open(log_path, "w") as log:
        child = subprocess.Popen(
            [sys.executable, os.path.abspath(__file__), "serve", state_dir, pki_dir, root_dir,
             str(os.getppid())],
            stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
    write_atomically(os.path.join(state_dir, "pid"), f"{child.pid}\n")
    ports = os.path.join(state_dir, "ports")
    deadline = time.monotonic() + START_TIMEOUT_S
    while not os.path.exists(ports):
        if child.poll() is not None or time.monotonic() > deadline:
            stop(state_dir)
            with open(log_path) as log:
                sys.stderr.write(log.read())
            sys.exit("https_server: the server did not start")
        time.sleep(0.05)
    with open(ports) as f:
        sys.stdout.write(f.read())


def ours(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return os.path.basename(__file__).encode() in f.read()
    except OSError:
        return False


def stop(state_dir):
    pid_path = os.path.join(state_dir, "pid")
    try:
        with open(pid_path) as f:
            pid = int(f.read())
    except (OSError, ValueError):
        pid = None
    if pid and ours(pid):
        os.kill(pid, signal.SIGTERM)
        deadline = time.monotonic() + STOP_TIMEOUT_S
        while ours(pid) and time.monotonic() < deadline:
            time.sleep(0.05)
        if ours(pid):
            os.kill(pid, signal.SIGKILL)
    for name in ("pid", "ports"):
        try:
            os.remove(os.path.join(state_dir, name))
        except FileNotFoundError:
            pass


def main(argv):
    if len(argv) == 5 and argv[1] == "start":
        start(*argv[2:])
    elif len(argv) == 3 and argv[1] == "stop":
        stop(argv[2])
    elif len(argv) == 6 and argv[1] == "serve":  # the background half of start
        serve(argv[2], argv[3], argv[4], int(argv[5]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
