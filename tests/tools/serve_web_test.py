#!/usr/bin/env python3
"""tools/serve_web.py, run in a network namespace of the test's own with only loopback: what
it serves and refuses, its certificate, and that idle clients cannot keep the page from others.

The test re-executes itself under `unshare --net`; as another user than root it asks for a
user namespace as well."""
import http.client
import ipaddress
import json
import os
import re
import select
import signal
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
from pathlib import Path

SERVER = Path(__file__).resolve().parents[2] / "tools" / "serve_web.py"
INSIDE = "VIRETA_SERVE_TEST_NAMESPACE"
# Put on lo inside the namespace, from the documentation ranges: the server takes them for this
# computer's addresses on a network. Nothing is ever sent to them.
NETWORK_V4, NETWORK_V6 = "192.0.2.1", "2001:db8::1"
# What the server keeps open at once.
CONNECTIONS = 64

PAGE = {
    "index.html": (b"<!doctype html><title>Vireta</title><script src=vireta.js></script>\n",
                   "text/html; charset=utf-8"),
    "vireta.js": (b"console.log('Vireta');\n", "text/javascript"),
    "vireta.css": (b"body { background: #000; }\n", "text/css"),
    "service-worker.js": (b"self.addEventListener('fetch', () => {});\n", "text/javascript"),
    "vireta.wasm": (b"\0asm\1\0\0\0" + bytes(range(256)) * 64, "application/wasm"),
    "manifest.webmanifest": (b'{"name": "Vireta"}\n', "application/manifest+json"),
    "icon-192.png": (b"\x89PNG\r\n\x1a\n" + bytes(100), "image/png"),
    "levels.json": (b"[1, 2, 3]\n", "application/json"),
}


def enter_namespace():
    if os.environ.get(INSIDE) == "1":
        return
    command = ["unshare", "--net"] if os.geteuid() == 0 else ["unshare", "--user", "--map-root-user", "--net"]
    try:
        probe = subprocess.run(command + ["true"], capture_output=True, text=True, timeout=10)
        problem = probe.stderr.strip() if probe.returncode else None
    except (OSError, subprocess.TimeoutExpired) as error:
        problem = str(error)
    if problem:
        sys.exit(f"serve_web test: cannot make a network namespace of its own ({' '.join(command)}): {problem}")
    os.execvpe(command[0], command + ["--", sys.executable, os.path.abspath(__file__), *sys.argv[1:]],
               {**os.environ, INSIDE: "1"})


def set_up_loopback():
    try:
        links = json.loads(subprocess.run(["ip", "-j", "link", "show"], capture_output=True, check=True,
                                          timeout=10).stdout)
        if [link["ifname"] for link in links] != ["lo"]:
            sys.exit("serve_web test: the namespace has more than lo; sending nothing")
        for command in (["ip", "link", "set", "lo", "up"],
                        ["ip", "address", "add", NETWORK_V4 + "/32", "dev", "lo"],
                        ["ip", "-6", "address", "add", NETWORK_V6 + "/128", "dev", "lo", "nodad"]):
            subprocess.run(command, capture_output=True, check=True, timeout=10)
    except (OSError, ValueError, subprocess.SubprocessError) as error:
        sys.exit(f"serve_web test: cannot set up loopback in the namespace with ip (iproute2): {error}")


def make_page(root):
    """ROOT/build/web/page with the page's files, and hostile things in and beside it."""
    build = root / "build" / "web"
    page = build / "page"
    page.mkdir(parents=True)
    for name, (body, _) in PAGE.items():
        (page / name).write_bytes(body)
    (build / "CMakeCache.txt").write_text("CMAKE_BUILD_TYPE:STRING=Release\n")
    (page / "passwd.js").symlink_to("/etc/passwd")
    (page / "cache.json").symlink_to(build / "CMakeCache.txt")
    (page / "linked").symlink_to(build)
    (page / "assets").mkdir()
    (page / "assets" / "secret.js").write_text("secret\n")
    (page / ".hidden.js").write_text("hidden\n")
    (page / "notes.txt").write_text("notes\n")
    (page / "shared.js").write_text("anyone's\n")
    (page / "shared.js").chmod(0o666)
    os.mkfifo(page / "pipe.js")
    return page


def read_certificate(path):
    """The names in the certificate at PATH, as {"IP": {addresses}, "DNS": {names}}."""
    shown = subprocess.run(["openssl", "x509", "-in", str(path), "-noout", "-ext", "subjectAltName"],
                           capture_output=True, text=True, check=True, timeout=10).stdout
    names = {"IP": set(), "DNS": set()}
    for name in re.findall(r"(IP Address|DNS):([^,\s]+)", shown):
        names[name[0].split()[0]].add(ipaddress.ip_address(name[1]) if name[0] != "DNS" else name[1])
    return names


class Server:
    """serve_web.py running on PORT 0; its URLs are the ones it prints."""

    def __init__(self, folder, *options):
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen([sys.executable, str(SERVER), str(folder), "--port", "0", *options],
                                        stdout=subprocess.PIPE, stderr=self.log)
        try:
            line = self.first_line()
            match = re.fullmatch(r"Vireta: (\S+(?: or \S+)*)  \(Ctrl\+C stops\)", line)
            if not match:
                raise AssertionError(f"the server printed {line!r}")
        except BaseException:
            self.stop()
            raise
        self.urls = match[1].split(" or ")
        self.port = urllib.parse.urlsplit(self.urls[0]).port

    def first_line(self):
        data, deadline = b"", time.monotonic() + 20
        while b"\n" not in data:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.process.stdout], [], [], left)[0]:
                raise AssertionError("the server printed no address in 20 s")
            chunk = os.read(self.process.stdout.fileno(), 4096)
            if not chunk:
                self.process.wait(timeout=5)
                raise AssertionError(f"the server ended ({self.process.returncode}): {self.errors()}")
            data += chunk
        return data.decode().splitlines()[0]

    def errors(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def stop(self):
        """Stops the server; what it wrote to stderr."""
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait(timeout=10)
        self.process.stdout.close()
        if self.log.closed:
            return ""
        with self.log:
            return self.errors()


class ServedPage(unittest.TestCase):
    """A server on a fake page for the whole class; OPTIONS is how it is started."""
    options = ("--address", "127.0.0.1")
    host = "127.0.0.1"

    @classmethod
    def setUpClass(cls):
        folder = tempfile.TemporaryDirectory()
        cls.addClassCleanup(folder.cleanup)
        cls.root = Path(folder.name)
        cls.page = make_page(cls.root)
        cls.server = Server(cls.page, *cls.options)
        cls.addClassCleanup(cls.check_log)

    @classmethod
    def check_log(cls):
        log = cls.server.stop()
        if "Traceback" in log:
            raise AssertionError("the server failed:\n" + log)

    def tls(self):
        return None

    def connect(self, host=None):
        host = host or self.host
        if self.tls():
            return http.client.HTTPSConnection(host, self.server.port, timeout=5, context=self.tls())
        return http.client.HTTPConnection(host, self.server.port, timeout=5)

    def fetch(self, path, method="GET", headers=None, host=None):
        connection = self.connect(host)
        try:
            connection.request(method, path, headers=headers or {})
            response = connection.getresponse()
            return response.status, response.headers, response.read()
        finally:
            connection.close()

    def idle_client(self):
        return socket.create_connection((self.host, self.server.port), timeout=5)


class StarvingClients:
    """Clients that connect and say nothing, mixed into a served page's tests."""

    def test_one_idle_client_does_not_hold_the_page(self):
        for greeting in (b"", b"GET / HT"):
            with self.subTest(greeting=greeting), self.idle_client() as idle:
                idle.sendall(greeting)
                started = time.monotonic()
                status, _, body = self.fetch("/")
                self.assertEqual((status, body), (200, PAGE["index.html"][0]))
                self.assertLess(time.monotonic() - started, 1.0)

    def test_many_idle_clients_do_not_hold_the_page(self):
        idle = [self.idle_client() for _ in range(200)]
        try:
            self.assertEqual(self.fetch("/vireta.wasm")[0], 200)
            # The server keeps only so many: the rest are closed, not left waiting.
            still_open, deadline = list(idle), time.monotonic() + 5
            while len(still_open) > CONNECTIONS and time.monotonic() < deadline:
                for client in select.select(still_open, [], [], 0.2)[0]:
                    try:
                        closed = client.recv(1) == b""
                    except OSError:
                        closed = True
                    if closed:
                        still_open.remove(client)
            self.assertLessEqual(len(still_open), CONNECTIONS)
        finally:
            for client in idle:
                client.close()


class PlainPage(StarvingClients, ServedPage):
    def test_prints_the_loopback_address(self):
        self.assertEqual(self.server.urls, [f"http://127.0.0.1:{self.server.port}/"])

    def test_serves_the_page_files_with_their_types(self):
        for path, name in [("/", "index.html"), ("/?v=2", "index.html")] + [(f"/{name}", name) for name in PAGE]:
            with self.subTest(path=path):
                status, headers, body = self.fetch(path)
                self.assertEqual((status, headers["Content-Type"], body), (200, PAGE[name][1], PAGE[name][0]))
                self.assertEqual(headers["Cache-Control"], "no-cache")
                self.assertEqual(headers["X-Content-Type-Options"], "nosniff")
                status, headers, body = self.fetch(path, method="HEAD")
                self.assertEqual((status, headers["Content-Length"], body), (200, str(len(PAGE[name][0])), b""))

    def test_serves_nothing_else(self):
        paths = ["/passwd.js", "/cache.json", "/linked/", "/linked/CMakeCache.txt", "/assets/", "/assets/secret.js",
                 "/.hidden.js", "/notes.txt", "/shared.js", "/pipe.js", "/../CMakeCache.txt",
                 "/%2e%2e/CMakeCache.txt", "/%2E%2E%2FCMakeCache.txt", "/..%2fCMakeCache.txt", "/etc/passwd",
                 "//etc/passwd", "/%2fetc%2fpasswd", "/index.html/", "/index.html%00.js", "/assets%2fsecret.js",
                 f"http://127.0.0.1:{self.server.port}/../CMakeCache.txt", "*"]
        for path in paths:
            with self.subTest(path=path):
                status, headers, body = self.fetch(path)
                self.assertEqual(status, 404)
                self.assertEqual((headers["Cache-Control"], headers["X-Content-Type-Options"]), ("no-cache", "nosniff"))
                for secret in (b"secret", b"root:", b"CMAKE", b"hidden", b"notes", b"index.html"):
                    self.assertNotIn(secret, body)
        self.assertEqual(self.fetch("/")[0], 200)  # the pipe held nothing

    def test_answers_only_get_and_head(self):
        for method in ("POST", "PUT", "DELETE", "OPTIONS", "PATCH", "BREW"):
            with self.subTest(method=method):
                status, headers, _ = self.fetch("/index.html", method=method, headers={"Content-Length": "0"})
                self.assertEqual((status, headers["Allow"]), (405, "GET, HEAD"))

    def test_a_new_build_is_seen(self):
        connection = self.connect()
        try:
            connection.request("GET", "/vireta.js")
            first = connection.getresponse()
            self.assertEqual(first.read(), PAGE["vireta.js"][0])
            tag = first.headers["ETag"]
            connection.request("GET", "/vireta.js", headers={"If-None-Match": tag})
            same = connection.getresponse()
            self.assertEqual((same.status, same.read()), (304, b""))
            (self.page / "vireta.js").write_bytes(b"console.log('a new build');\n")
            connection.request("GET", "/vireta.js", headers={"If-None-Match": tag})
            changed = connection.getresponse()
            self.assertEqual((changed.status, changed.read()), (200, b"console.log('a new build');\n"))
        finally:
            connection.close()
            (self.page / "vireta.js").write_bytes(PAGE["vireta.js"][0])


class SecurePage(StarvingClients, ServedPage):
    """Bound to every IPv4 address; the client verifies the certificate the server made."""
    options = ("--address", "0.0.0.0")

    def tls(self):
        return ssl.create_default_context(cafile=self.root / "build" / "web-certificate" / "cert.pem")

    def test_prints_the_network_address(self):
        self.assertEqual(self.server.urls, [f"https://{NETWORK_V4}:{self.server.port}/"])

    def test_certificate_names_the_addresses_served_on(self):
        folder = self.root / "build" / "web-certificate"
        names = read_certificate(folder / "cert.pem")
        self.assertLessEqual({ipaddress.ip_address(NETWORK_V4), ipaddress.ip_address("127.0.0.1")}, names["IP"])
        self.assertEqual(names["DNS"], {"localhost"})
        self.assertEqual(folder.lstat().st_mode & 0o777, 0o700)
        self.assertEqual((folder / "key.pem").lstat().st_mode & 0o777, 0o600)
        status, _, body = self.fetch("/")
        self.assertEqual((status, body), (200, PAGE["index.html"][0]))

    def test_a_client_not_speaking_tls_does_not_stop_it(self):
        with self.idle_client() as client:
            client.sendall(b"GET / HTTP/1.1\r\nHost: x\r\n\r\n")
            self.assertEqual(self.fetch("/")[0], 200)


class BusyServer(ServedPage):
    def test_refuses_at_once_beyond_its_connections_when_all_are_answering(self):
        big = b"\0asm\1\0\0\0" + bytes(4 << 20)
        (self.page / "big.wasm").write_bytes(big)
        readers = []
        try:
            for _ in range(CONNECTIONS):
                # Asks for a large file and reads none of it, so that its answer never ends.
                reader = socket.socket()
                readers.append(reader)
                reader.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
                reader.settimeout(5)
                reader.connect((self.host, self.server.port))
                reader.sendall(b"GET /big.wasm HTTP/1.1\r\nHost: x\r\n\r\n")
                reader.recv(1, socket.MSG_PEEK)
            with self.idle_client() as late:
                late.settimeout(1)
                try:
                    self.assertEqual(late.recv(1), b"")
                except ConnectionResetError:
                    pass
        finally:
            for reader in readers:
                reader.close()
        deadline = time.monotonic() + 5
        while True:
            try:
                self.assertEqual(self.fetch("/")[0], 200)
                break
            except (OSError, http.client.HTTPException):
                if time.monotonic() > deadline:
                    raise


class LoopbackIPv6(ServedPage):
    options = ("--address", "::1")
    host = "::1"

    def test_serves_on_ipv6_loopback(self):
        self.assertEqual(self.server.urls, [f"http://[::1]:{self.server.port}/"])
        status, headers, body = self.fetch("/vireta.wasm")
        self.assertEqual((status, headers["Content-Type"], body), (200, "application/wasm", PAGE["vireta.wasm"][0]))


class EveryAddress(ServedPage):
    """Bound to ::, it serves IPv6 and IPv4 alike."""
    options = ("--address", "::")
    host = "::1"

    def tls(self):
        return ssl.create_default_context(cafile=self.root / "build" / "web-certificate" / "cert.pem")

    def test_serves_both_families(self):
        port = self.server.port
        self.assertEqual(self.server.urls, [f"https://{NETWORK_V4}:{port}/", f"https://[{NETWORK_V6}]:{port}/"])
        for host in ("::1", "127.0.0.1"):
            with self.subTest(host=host):
                status, _, body = self.fetch("/", host=host)
                self.assertEqual((status, body), (200, PAGE["index.html"][0]))
        names = read_certificate(self.root / "build" / "web-certificate" / "cert.pem")["IP"]
        self.assertLessEqual({ipaddress.ip_address(address) for address in (NETWORK_V4, NETWORK_V6, "::1")}, names)


class Certificate(unittest.TestCase):
    """The certificate across runs: kept while it names the addresses, made anew when not."""

    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.root = Path(folder.name)
        self.page = make_page(self.root)
        self.certificates = self.root / "build" / "web-certificate"

    def serve(self, address, *options):
        server = Server(self.page, "--address", address, *options)
        log = server.stop()
        self.assertNotIn("Traceback", log)
        return (self.certificates / "cert.pem").read_bytes()

    def test_made_anew_only_when_it_lacks_an_address(self):
        alone = self.serve(NETWORK_V4)
        self.assertEqual(read_certificate(self.certificates / "cert.pem"),
                         {"IP": {ipaddress.ip_address(NETWORK_V4)}, "DNS": {"localhost"}})
        self.assertEqual(self.serve(NETWORK_V4), alone)
        every = self.serve("0.0.0.0")
        self.assertNotEqual(every, alone)
        self.assertEqual(self.serve(NETWORK_V4), every)
        self.assertNotEqual(self.serve("::"), every)
        self.assertIn(ipaddress.ip_address(NETWORK_V6), read_certificate(self.certificates / "cert.pem")["IP"])

    def test_made_anew_when_unreadable_or_expiring(self):
        first = self.serve(NETWORK_V4)
        (self.certificates / "cert.pem").write_text("not a certificate\n")
        second = self.serve(NETWORK_V4)
        self.assertNotEqual(second, first)
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=old",
                        "-addext", f"subjectAltName=IP:{NETWORK_V4}", "-keyout", self.certificates / "key.pem",
                        "-out", self.certificates / "cert.pem"], capture_output=True, check=True, timeout=30)
        (self.certificates / "key.pem").chmod(0o644)
        expiring = (self.certificates / "cert.pem").read_bytes()
        self.assertNotEqual(self.serve(NETWORK_V4), expiring)
        self.assertEqual((self.certificates / "key.pem").lstat().st_mode & 0o777, 0o600)

    def test_refuses_a_folder_it_cannot_trust(self):
        elsewhere = self.root / "elsewhere"
        elsewhere.mkdir(mode=0o700)
        self.certificates.symlink_to(elsewhere)
        shared = self.root / "shared"
        shared.mkdir()
        shared.chmod(0o755)
        for folder in (self.certificates, shared):
            with self.subTest(folder=folder):
                refused = subprocess.run([sys.executable, SERVER, self.page, "--address", NETWORK_V4, "--port", "0",
                                          "--certificates", folder], capture_output=True, text=True, timeout=10)
                self.assertEqual((refused.returncode, refused.stdout), (2, ""))
                self.assertRegex(refused.stderr, rf"\Aserve_web: {re.escape(str(folder))} is [^\n]*\n\Z")
        self.assertEqual(list(elsewhere.iterdir()), [])

    def test_given_folder(self):
        mine = self.root / "mine"
        server = Server(self.page, "--address", NETWORK_V4, "--certificates", mine)
        self.assertNotIn("Traceback", server.stop())
        self.assertEqual(sorted(path.name for path in mine.iterdir()), ["cert.pem", "key.pem"])
        self.assertFalse(self.certificates.exists())


class BadInput(unittest.TestCase):
    """Refused at start with one line and status 2, before listening."""

    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.root = Path(folder.name)
        self.page = make_page(self.root)

    def assertRefused(self, *arguments):
        refused = subprocess.run([sys.executable, SERVER, *map(str, arguments)], capture_output=True, text=True,
                                 timeout=10)
        self.assertEqual((refused.returncode, refused.stdout), (2, ""))
        self.assertRegex(refused.stderr, r"\Aserve_web: [^\n]+\n\Z")
        return refused.stderr

    def test_bad_options(self):
        for address in ("localhost", "192.168.1.300", "", "::g", "example.com"):
            with self.subTest(address=address):
                self.assertIn(repr(address), self.assertRefused(self.page, "--address", address))
        for port in ("x", "-1", "65536"):
            with self.subTest(port=port):
                self.assertIn("--port", self.assertRefused(self.page, "--port", port))
        with self.subTest("no folder"):
            self.assertRefused()

    def test_folders_it_will_not_serve(self):
        empty = self.root / "empty"
        empty.mkdir()
        linked_index = self.root / "linked-index"
        linked_index.mkdir()
        (linked_index / "index.html").symlink_to(self.page / "index.html")
        link = self.root / "link"
        link.symlink_to(self.page)
        shared = self.root / "shared"
        shared.mkdir()
        (shared / "index.html").write_text("<p>\n")
        shared.chmod(0o777)
        build = self.root / "build" / "web"
        (build / "index.html").write_text("<p>\n")
        for folder in (empty, linked_index, link, self.page / "index.html", self.root / "missing", shared, build):
            with self.subTest(folder=folder.name):
                self.assertIn(str(folder), self.assertRefused(folder))


class Stopping(unittest.TestCase):
    def test_ctrl_c_stops_it_cleanly(self):
        with tempfile.TemporaryDirectory() as folder:
            server = Server(make_page(Path(folder)))
            self.addCleanup(server.stop)
            server.process.send_signal(signal.SIGINT)
            self.assertEqual(server.process.wait(timeout=5), 0)
            self.assertNotIn("Traceback", server.stop())


if __name__ == "__main__":
    enter_namespace()
    set_up_loopback()
    unittest.main()
