#!/usr/bin/env python3
"""Serves the page's folder: on loopback over HTTP (a secure origin to the browser on this
machine), or on another address over HTTPS with a self-signed certificate made here once,
since a phone's browser gives motion sensors only to secure pages.

usage: serve_web.py FOLDER [--address ADDRESS] [--port PORT]
"""
import argparse
import functools
import http.server
import ipaddress
import os
import socket
import ssl
import subprocess
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json",
                      ".js": "text/javascript"}

    def end_headers(self):
        # A new build is seen at once; the service worker keeps what plays offline.
        self.send_header("Cache-Control", "no-cache")
        super().end_headers()


def certificate(folder):
    """The certificate and key in FOLDER, made with openssl the first time."""
    os.makedirs(folder, mode=0o700, exist_ok=True)
    info = os.lstat(folder)
    if not os.path.isdir(folder) or os.path.islink(folder) or info.st_uid != os.getuid():
        sys.exit(f"serve_web: {folder} is not a folder of this user")
    cert, key = os.path.join(folder, "cert.pem"), os.path.join(folder, "key.pem")
    if not (os.path.isfile(cert) and os.path.isfile(key)):
        made = subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "825",
                               "-subj", "/CN=Vireta on this computer", "-keyout", key, "-out", cert],
                              capture_output=True, text=True)
        if made.returncode != 0:
            sys.exit("serve_web: openssl could not make a certificate: " + made.stderr.strip())
    return cert, key


def main():
    parser = argparse.ArgumentParser(description="Serves the game's page.")
    parser.add_argument("folder")
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=8000)
    options = parser.parse_args()
    if not os.path.isfile(os.path.join(options.folder, "index.html")):
        sys.exit(f"serve_web: {options.folder} holds no page (run make web)")
    try:
        loopback = ipaddress.ip_address(options.address).is_loopback
    except ValueError:
        sys.exit(f"serve_web: --address needs an IP address, got {options.address!r}")
    handler = functools.partial(Handler, directory=options.folder)
    try:
        server = http.server.ThreadingHTTPServer((options.address, options.port), handler)
    except OSError as error:
        sys.exit(f"serve_web: cannot listen on {options.address}:{options.port}: {error.strerror}")
    scheme = "http"
    if not loopback:
        cert, key = certificate(os.path.join(os.path.dirname(os.path.abspath(options.folder)), "web-certificate"))
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
        scheme = "https"
    host = options.address
    if host in ("0.0.0.0", "::"):
        # The address other machines reach this one by: the one a route out would use.
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
            try:
                probe.connect(("10.255.255.255", 1))
                host = probe.getsockname()[0]
            except OSError:
                host = "this computer's address"
    print(f"Vireta: {scheme}://{host}:{options.port}/  (Ctrl+C stops)", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
