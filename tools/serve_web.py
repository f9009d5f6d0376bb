#!/usr/bin/env python3
"""Serves the page's files: on loopback over HTTP (a secure origin to the browser on this
machine), or on another address over HTTPS with a self-signed certificate made here,
since a phone's browser gives motion sensors only to secure pages.

usage: serve_web.py FOLDER [--address ADDRESS] [--port PORT] [--certificates DIR]

FOLDER is the page's own folder (build/web/page); only the page's files directly in it
are served. The certificate is kept in DIR, by default web-certificate beside the folder
that holds FOLDER (build/web-certificate).
"""
import argparse
import errno
import http.server
import ipaddress
import json
import os
import signal
import socket
import ssl
import stat
import subprocess
import sys
import threading
import time
import urllib.parse

TYPES = {".html": "text/html; charset=utf-8", ".css": "text/css", ".js": "text/javascript", ".wasm": "application/wasm",
         ".webmanifest": "application/manifest+json", ".png": "image/png", ".json": "application/json"}
HANDSHAKE_SECONDS = 10
IDLE_SECONDS = 15
CONNECTIONS = 64


def fail(message, status=2):
    print(f"serve_web: {message}", file=sys.stderr)
    sys.exit(status)


class Connection:
    """One client's socket, and whether it waits for a request (and so may be dropped)."""

    def __init__(self, sock):
        self.socket, self.idle = sock, True


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version, sys_version = "serve_web", ""
    timeout = IDLE_SECONDS

    def setup(self):
        server = self.server
        self.accepted = raw = self.request
        if server.context:
            # The handshake runs here, not in the accepting loop, so a client that never
            # finishes it holds only its own thread.
            raw.settimeout(HANDSHAKE_SECONDS)
            with server.lock:
                self.request = server.context.wrap_socket(raw, server_side=True, do_handshake_on_connect=False)
                if raw in server.connections:
                    server.connections[raw].socket = self.request
            try:
                self.request.do_handshake()
            except BaseException:
                self.request.close()
                raise
        super().setup()

    def finish(self):
        super().finish()
        if self.server.context:
            self.request.close()

    def parse_request(self):
        if not super().parse_request():
            return False
        if self.command in ("GET", "HEAD"):
            return True
        self.close_connection = True  # its body, if any, is never read
        self.reply(405, b"Only GET and HEAD\n", [("Allow", "GET, HEAD")])
        return False

    def do_GET(self):
        self.answer()

    def do_HEAD(self):
        self.answer()

    def answer(self):
        with self.server.lock:
            connection = self.server.connections.get(self.accepted)
            if connection is None:  # dropped for a newer client
                self.close_connection = True
                return
            connection.idle = False
        try:
            if self.headers.get("Content-Length", "0") != "0" or "Transfer-Encoding" in self.headers:
                self.close_connection = True
            self.send_file(self.file_name())
        finally:
            with self.server.lock:
                connection.idle = True

    def file_name(self):
        """The file the request names, or None for anything but a page's file."""
        path = self.path.split("?", 1)[0]
        if not path.startswith("/"):
            return None
        name = urllib.parse.unquote(path[1:]) or "index.html"
        if "/" in name or "\\" in name or "\0" in name or name.startswith("."):
            return None
        if os.path.splitext(name)[1] not in TYPES:
            return None
        return name

    def send_file(self, name):
        descriptor = self.server.open_file(name) if name else None
        if descriptor is None:
            self.reply(404, b"Not found\n")
            return
        with os.fdopen(descriptor, "rb") as file:
            info = os.fstat(descriptor)
            tag = f'"{info.st_mtime_ns:x}-{info.st_size:x}"'
            headers = [("ETag", tag)]
            if tag in self.headers.get("If-None-Match", ""):
                self.reply(304, b"", headers)
                return
            self.send_response(200)
            self.send_header("Content-Type", TYPES[os.path.splitext(name)[1]])
            self.send_header("Content-Length", str(info.st_size))
            self.send_header("ETag", tag)
            self.end_headers()
            if self.command == "HEAD":
                return
            left = info.st_size
            while left > 0:
                chunk = file.read(min(left, 1 << 16))
                if not chunk:
                    self.close_connection = True  # cut short by a new build
                    return
                self.wfile.write(chunk)
                left -= len(chunk)

    def reply(self, status, body=b"", headers=()):
        self.send_response(status)
        for header in headers:
            self.send_header(*header)
        if status != 304:
            self.send_header("Content-Type", "text/plain; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD" and status != 304:
            self.wfile.write(body)

    def end_headers(self):
        # A new build is seen at once; the service worker keeps what plays offline.
        self.send_header("Cache-Control", "no-cache")
        self.send_header("X-Content-Type-Options", "nosniff")
        super().end_headers()

    def log_error(self, format, *args):
        if not format.startswith("Request timed out"):  # an idle phone, every time
            super().log_error(format, *args)


class Server(http.server.ThreadingHTTPServer):
    request_queue_size = 128

    def __init__(self, address, port, folder, context):
        self.address_family = socket.AF_INET6 if address.version == 6 else socket.AF_INET
        self.folder, self.context = folder, context
        self.lock = threading.Lock()
        self.connections = {}  # by the accepted socket, oldest first
        super().__init__((str(address), port), Handler)
        self.socket.setblocking(False)

    def server_bind(self):
        if self.address_family == socket.AF_INET6 and self.server_address[0] == "::":
            try:
                self.socket.setsockopt(socket.IPPROTO_IPV6, socket.IPV6_V6ONLY, 0)
            except OSError:
                pass  # IPv6 alone, where the system will not share the port
        # Not HTTPServer's: it looks the address up in the DNS.
        super(http.server.HTTPServer, self).server_bind()
        self.server_name, self.server_port = self.server_address[:2]

    def get_request(self):
        try:
            return super().get_request()
        except OSError as error:
            if error.errno in (errno.EMFILE, errno.ENFILE, errno.ENOBUFS, errno.ENOMEM):
                time.sleep(0.1)  # the client stays queued; without this the loop spins
            raise

    def verify_request(self, request, client_address):
        """Takes the client when there is room, making room by dropping the client that
        has waited longest for a request; refuses it at once when all are being answered."""
        with self.lock:
            if len(self.connections) >= CONNECTIONS:
                oldest = next((key for key, value in self.connections.items() if value.idle), None)
                if oldest is None:
                    return False
                try:
                    socket.socket.shutdown(self.connections.pop(oldest).socket, socket.SHUT_RDWR)
                except OSError:
                    pass
            self.connections[request] = Connection(request)
        return True

    def shutdown_request(self, request):
        with self.lock:
            self.connections.pop(request, None)
        super().shutdown_request(request)

    def handle_error(self, request, client_address):
        error = sys.exc_info()[1]
        if not isinstance(error, OSError):  # a client gone, timed out or not speaking TLS
            super().handle_error(request, client_address)

    def open_file(self, name):
        """A descriptor of NAME in the folder if it is a regular file of this user, opened
        without following a link; None otherwise."""
        try:
            folder = os.open(self.folder, os.O_RDONLY | os.O_DIRECTORY | os.O_NOFOLLOW | os.O_CLOEXEC)
        except OSError as error:
            print(f"serve_web: cannot open {self.folder}: {error.strerror}", file=sys.stderr)
            return None
        try:
            # Not blocking, so that a pipe put there cannot hold the thread.
            descriptor = os.open(name, os.O_RDONLY | os.O_NOFOLLOW | os.O_NONBLOCK | os.O_CLOEXEC | os.O_NOCTTY,
                                 dir_fd=folder)
        except OSError as error:
            if error.errno != errno.ENOENT:
                reason = "a link" if error.errno == errno.ELOOP else error.strerror
                print(f"serve_web: refused {name}: {reason}", file=sys.stderr)
            return None
        finally:
            os.close(folder)
        info = os.fstat(descriptor)
        if stat.S_ISREG(info.st_mode) and info.st_uid == os.geteuid() and not info.st_mode & stat.S_IWOTH:
            os.set_blocking(descriptor, True)
            return descriptor
        os.close(descriptor)
        print(f"serve_web: refused {name}: not a regular file of this user", file=sys.stderr)
        return None


def machine_addresses(versions):
    """This computer's addresses on its networks, read from the system without sending anything."""
    try:
        listed = subprocess.run(["ip", "-j", "address", "show", "up", "scope", "global"],
                                capture_output=True, text=True, timeout=10)
    except (OSError, subprocess.TimeoutExpired) as error:
        fail(f"cannot list this computer's addresses with ip (iproute2): {error}; give --address", 1)
    try:
        links = json.loads(listed.stdout)
    except ValueError:
        links = None
    if listed.returncode or not isinstance(links, list):
        problem = " ".join(listed.stderr.split()) or "no list"
        fail(f"cannot list this computer's addresses with ip (iproute2): {problem}; give --address", 1)
    found = []
    for link in links:
        for entry in link.get("addr_info", []):
            if "local" in entry and not any(entry.get(flag) for flag in ("tentative", "dadfailed", "deprecated")):
                address = ipaddress.ip_address(entry["local"])
                if address.version in versions and address not in found:
                    found.append(address)
    return sorted(found, key=lambda address: address.version)


def private_folder(path):
    try:
        os.mkdir(path, 0o700)
    except FileExistsError:
        pass
    except OSError as error:
        fail(f"cannot make {path}: {error.strerror}", 1)
    info = os.lstat(path)
    if not stat.S_ISDIR(info.st_mode) or info.st_uid != os.geteuid() or info.st_mode & 0o077:
        fail(f"{path} is not a private folder of this user (a folder, not a link, mode 0700)")


def certified_addresses(cert, key):
    """The addresses CERT names, or None when it or KEY is not a file of ours or it expires within a day."""
    for path in (cert, key):
        try:
            info = os.lstat(path)
        except FileNotFoundError:
            return None
        if not stat.S_ISREG(info.st_mode) or info.st_uid != os.geteuid():
            return None
    try:
        shown = subprocess.run(["openssl", "x509", "-in", cert, "-noout", "-checkend", "86400",
                                "-ext", "subjectAltName"], capture_output=True, text=True)
        names = [name.strip() for name in shown.stdout.replace("\n", ",").split(",")]
        if shown.returncode == 0:
            return {ipaddress.ip_address(name.split(":", 1)[1]) for name in names if name.startswith("IP Address:")}
    except (OSError, ValueError):
        pass
    return None


def certificate(folder, addresses):
    """A TLS context with the certificate in FOLDER, made anew unless it names every one of ADDRESSES."""
    private_folder(folder)
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    for attempt in range(2):
        names = certified_addresses(cert, key)
        if attempt or names is None or not set(addresses) <= names:
            print(f"serve_web: making a certificate for {', '.join(map(str, addresses))} in {folder}", file=sys.stderr)
            new_cert, new_key = cert + ".new", key + ".new"
            for path in (new_cert, new_key):
                if os.path.lexists(path):
                    os.unlink(path)
            alternatives = ",".join([f"IP:{address}" for address in addresses] + ["DNS:localhost"])
            try:
                made = subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "825",
                                       "-subj", "/CN=Vireta on this computer",
                                       "-addext", "subjectAltName=" + alternatives,
                                       "-addext", "extendedKeyUsage=serverAuth",
                                       "-keyout", new_key, "-out", new_cert],
                                      capture_output=True, text=True, umask=0o077)
            except OSError as error:
                fail(f"cannot run openssl: {error.strerror}", 1)
            if made.returncode != 0:
                fail("openssl could not make a certificate: " + " ".join(made.stderr.split()), 1)
            os.chmod(new_key, 0o600)
            os.replace(new_key, key)
            os.replace(new_cert, cert)
        os.chmod(key, 0o600)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        try:
            context.load_cert_chain(cert, key)
            return context
        except ssl.SSLError:
            pass  # a key of another certificate: made anew once
    fail(f"the certificate made in {folder} does not load", 1)


def main():
    parser = argparse.ArgumentParser(description="Serves the game's page.")
    parser.error = fail
    parser.add_argument("folder")
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8000)
    parser.add_argument("--certificates", help="the certificate's folder (default: web-certificate beside the folder "
                                                "that holds FOLDER)")
    options = parser.parse_args()
    try:
        address = ipaddress.ip_address(options.address)
    except ValueError:
        fail(f"--address needs an IP address, got {options.address!r}")
    if not 0 <= options.port <= 65535:
        fail(f"--port needs a port number from 0 to 65535, got {options.port}")
    folder = os.path.abspath(options.folder)
    try:
        info = os.lstat(folder)
    except OSError as error:
        fail(f"{folder}: {error.strerror}")
    if stat.S_ISLNK(info.st_mode):
        fail(f"{folder} is a link; give the page's folder itself")
    if not stat.S_ISDIR(info.st_mode):
        fail(f"{folder} is not a folder")
    if info.st_uid != os.geteuid() or info.st_mode & stat.S_IWOTH:
        fail(f"{folder} is not a folder of this user that only this user can change")
    try:
        index = os.lstat(os.path.join(folder, "index.html"))
    except OSError:
        index = None
    if index is None or not stat.S_ISREG(index.st_mode):
        fail(f"{folder} holds no page: no index.html file (run make web)")
    if os.path.lexists(os.path.join(folder, "CMakeCache.txt")):
        fail(f"{folder} is a build folder; give the page's own folder (build/web/page)")

    try:
        server = Server(address, options.port, folder, None)
    except OSError as error:
        fail(f"cannot listen on {address} port {options.port}: {error.strerror}", 1)
    port = server.server_address[1]
    hosts = [address]
    if not address.is_loopback:
        served = hosts
        if int(address) == 0:  # 0.0.0.0 or ::, every address
            v6 = address.version == 6
            hosts = machine_addresses((4, 6) if v6 else (4,))
            served = hosts + [ipaddress.ip_address("127.0.0.1")] + [ipaddress.ip_address("::1")] * v6
            if not hosts:
                print("serve_web: this computer has no address on a network; a phone cannot reach it",
                      file=sys.stderr)
                hosts = served
        certificates = options.certificates or os.path.join(os.path.dirname(os.path.dirname(folder)), "web-certificate")
        server.context = certificate(os.path.abspath(certificates), served)
    scheme = "https" if server.context else "http"
    urls = [f"{scheme}://{host if host.version == 4 else f'[{host}]'}:{port}/" for host in hosts]
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    try:
        print(f"Vireta: {' or '.join(urls)}  (Ctrl+C stops)", flush=True)
        server.serve_forever()
    finally:
        server.server_close()


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        pass  # Ctrl+C is how it stops
