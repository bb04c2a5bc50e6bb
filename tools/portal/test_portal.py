"""Tests of the development portal, run against the real server process.

    python3 -m unittest tools/portal/test_portal.py
"""

import html.parser
import http.client
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
PORTAL = os.path.join(HERE, "portal.py")
PREFIX = "/games/qlmr/dlq/"
CHECK_QUERY = "p=vexo&g=qlmr&v=1.0.1.0"
# What the launcher sends: base address ending in "/", then "/" once more.
CHECK_PATH = PREFIX + "/getClientVersion.php?" + CHECK_QUERY
SVNAME_ENCODED = "%E5%8F%8C%E6%9C%88%E4%B8%80%E6%9C%8D"


def start_portal(state_dir, port=0):
    """Start portal.py; return (process, port, stderr file)."""
    ready = os.path.join(state_dir, "ready")
    err = open(os.path.join(state_dir, "stderr.txt"), "wb")
    proc = subprocess.Popen(
        [sys.executable, PORTAL, "--port", str(port),
         "--state-dir", state_dir, "--ready-file", ready],
        stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=err)
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if os.path.exists(ready):
            with open(ready) as f:
                return proc, int(f.read().strip()), err
        if proc.poll() is not None:
            break
        time.sleep(0.02)
    stop_portal(proc, err)
    with open(err.name, "rb") as f:
        raise RuntimeError("portal did not start:\n" + f.read().decode())


def stop_portal(proc, err):
    if proc.poll() is None:
        proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    err.close()


def raw_get(port, target, headers=()):
    """Send one GET and read until the server closes the connection.

    Returns (status, [(name, value)], body). Unlike http.client this neither
    normalises the target nor trusts Content-Length, so a test sees exactly
    what went over the wire.
    """
    req = "GET %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\n" % (target, port)
    for k, v in headers:
        req += "%s: %s\r\n" % (k, v)
    req += "\r\n"
    with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
        s.sendall(req.encode("utf-8"))
        data = b""
        while True:
            chunk = s.recv(65536)
            if not chunk:
                break
            data += chunk
    head, sep, body = data.partition(b"\r\n\r\n")
    assert sep, "no end of headers in %r" % data[:200]
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1])
    hdrs = [tuple(x.strip() for x in l.split(":", 1)) for l in lines[1:]]
    return status, hdrs, body


def header(hdrs, name):
    values = [v for k, v in hdrs if k.lower() == name.lower()]
    return values[0] if values else None


class PageParser(html.parser.HTMLParser):
    """Collects what a browser would act on: title, forms, links, refresh."""

    def __init__(self):
        super().__init__()
        self.title = ""
        self.forms = []
        self.links = []
        self.frames = []
        self.refresh = None
        self.session_state = None
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "title":
            self._in_title = True
        elif tag == "form":
            self.forms.append({"action": a.get("action", ""),
                               "method": a.get("method", "get").lower(),
                               "inputs": []})
        elif tag == "input" and self.forms:
            self.forms[-1]["inputs"].append((a.get("name"), a.get("type")))
        elif tag == "a" and "href" in a:
            self.links.append(a["href"])
        elif tag == "iframe" and "src" in a:
            self.frames.append(a["src"])
        elif (tag == "meta"
              and (a.get("http-equiv") or "").lower() == "refresh"):
            content = a.get("content", "")
            _, _, url = content.partition(";")
            url = url.strip()
            if url.lower().startswith("url="):
                url = url[4:]
            self.refresh = url
        if "data-state" in a and a.get("id") == "session":
            self.session_state = a["data-state"]

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def parse_page(body):
    p = PageParser()
    p.feed(body.decode("utf-8"))
    return p


class PortalTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.state = tempfile.mkdtemp(prefix="portal-test-")
        cls.proc, cls.port, cls.err = start_portal(cls.state)
        cls.base = "http://127.0.0.1:%d" % cls.port

    @classmethod
    def tearDownClass(cls):
        stop_portal(cls.proc, cls.err)
        shutil.rmtree(cls.state, ignore_errors=True)

    def setUp(self):
        for name in ("version-answer", "version-status", "download-length",
                     "requests.log"):
            try:
                os.remove(os.path.join(self.state, name))
            except FileNotFoundError:
                pass
        shutil.rmtree(os.path.join(self.state, "packages"),
                      ignore_errors=True)
        os.makedirs(os.path.join(self.state, "packages"))

    def control(self, name, data):
        if isinstance(data, str):
            data = data.encode("utf-8")
        with open(os.path.join(self.state, name), "wb") as f:
            f.write(data)

    def get(self, target, headers=(), expect_length=True):
        status, hdrs, body = raw_get(self.port, target, headers)
        self.assertEqual(header(hdrs, "Connection"), "close", target)
        if expect_length:
            self.assertEqual(header(hdrs, "Content-Length"), str(len(body)),
                             target)
        return status, hdrs, body

    def post_form(self, target, fields, headers=()):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        try:
            body = urllib.parse.urlencode(fields).encode("ascii")
            h = {"Content-Type": "application/x-www-form-urlencoded"}
            h.update(headers)
            conn.request("POST", target, body, h)
            r = conn.getresponse()
            return r.status, r.getheaders(), r.read()
        finally:
            conn.close()

    def log_lines(self):
        path = os.path.join(self.state, "requests.log")
        if not os.path.exists(path):
            return []
        with open(path, encoding="utf-8") as f:
            return [json.loads(l) for l in f.read().splitlines()]

    # -- version check ------------------------------------------------------

    def test_version_check_default_is_no_update(self):
        status, hdrs, body = self.get(CHECK_PATH)
        self.assertEqual(status, 200)
        self.assertEqual(body, b"-1")
        self.assertTrue(header(hdrs, "Content-Type").startswith("text/plain"))

    def test_version_check_single_slash_also_served(self):
        status, _, body = self.get(PREFIX + "getClientVersion.php?"
                                   + CHECK_QUERY)
        self.assertEqual((status, body), (200, b"-1"))

    def test_version_answer_replaces_base_with_own_address(self):
        self.control("version-answer",
                     "{base}/games/qlmr/dlq/download/Quellmoor.exe")
        status, _, body = self.get(CHECK_PATH)
        self.assertEqual(status, 200)
        self.assertEqual(
            body, ("http://127.0.0.1:%d/games/qlmr/dlq/download/Quellmoor.exe"
                   % self.port).encode("ascii"))

    def test_version_answer_bytes_pass_unchanged(self):
        # Leading blank, a GBK-encoded word and a line end: nothing trimmed,
        # nothing re-encoded.
        raw = b" 123456 \xcb\xab\xd4\xc2\r\n"
        self.control("version-answer", raw)
        self.assertEqual(self.get(CHECK_PATH)[2], raw)

    def test_control_files_are_read_on_every_request(self):
        self.control("version-answer", "0")
        self.assertEqual(self.get(CHECK_PATH)[2], b"0")
        self.control("version-answer", "12345")
        self.assertEqual(self.get(CHECK_PATH)[2], b"12345")
        os.remove(os.path.join(self.state, "version-answer"))
        self.assertEqual(self.get(CHECK_PATH)[2], b"-1")

    def test_version_status_override(self):
        self.control("version-status", "404\n")
        self.assertEqual(self.get(CHECK_PATH)[0], 404)
        self.control("version-status", "503")
        self.assertEqual(self.get(CHECK_PATH)[0], 503)
        os.remove(os.path.join(self.state, "version-status"))
        self.assertEqual(self.get(CHECK_PATH)[0], 200)

    def test_version_answers_are_not_cacheable(self):
        _, hdrs, _ = self.get(CHECK_PATH)
        self.assertIn("no-cache", header(hdrs, "Cache-Control") or "")

    # -- package download ---------------------------------------------------

    def put_package(self, name, data):
        with open(os.path.join(self.state, "packages", name), "wb") as f:
            f.write(data)

    def test_download_serves_package_with_its_length(self):
        data = bytes((i * 7 + 3) % 256 for i in range(5000))
        self.put_package("Quellmoor.exe", data)
        status, hdrs, body = self.get(PREFIX + "download/Quellmoor.exe")
        self.assertEqual(status, 200)
        self.assertEqual(header(hdrs, "Content-Length"), "5000")
        self.assertEqual(body, data)

    def test_download_missing_package_is_404(self):
        self.assertEqual(self.get(PREFIX + "download/Quellmoor.exe")[0], 404)

    def test_download_refuses_anything_but_a_plain_file_name(self):
        secret = b"SECRET-OUTSIDE-PACKAGES"
        self.control("secret.txt", secret)
        os.makedirs(os.path.join(self.state, "packages", "sub"))
        with open(os.path.join(self.state, "packages", "sub", "x.exe"),
                  "wb") as f:
            f.write(secret)
        os.symlink(os.path.join(self.state, "secret.txt"),
                   os.path.join(self.state, "packages", "link.exe"))
        # Plain files here, but a path on Windows: "sub\\x.exe", "c:x.exe".
        for odd in ("sub\\x.exe", "c:x.exe"):
            with open(os.path.join(self.state, "packages", odd), "wb") as f:
                f.write(secret)
        for name in ("../secret.txt", "..%2Fsecret.txt", "%2e%2e%2fsecret.txt",
                     "..%5Csecret.txt", "sub/x.exe", "sub%2Fx.exe",
                     "sub%5Cx.exe", "c:x.exe", "c%3Ax.exe",
                     "%2F" + urllib.parse.quote(self.state) + "%2Fsecret.txt",
                     "..", "%2e%2e", ".", "", "sub", "link.exe", "%ff%fe"):
            with self.subTest(name=name):
                status, _, body = self.get(PREFIX + "download/" + name)
                self.assertEqual(status, 404)
                self.assertNotIn(secret, body)

    def test_download_length_override_sends_real_body_then_closes(self):
        data = b"x" * 3000
        self.put_package("Quellmoor.exe", data)
        self.control("download-length", "4096\n")
        status, hdrs, body = self.get(PREFIX + "download/Quellmoor.exe",
                                      expect_length=False)
        self.assertEqual(status, 200)
        self.assertEqual(header(hdrs, "Content-Length"), "4096")
        self.assertEqual(body, data)   # read to the close: real body only

        self.control("download-length", "10")
        _, hdrs, body = self.get(PREFIX + "download/Quellmoor.exe",
                                 expect_length=False)
        self.assertEqual(header(hdrs, "Content-Length"), "10")
        self.assertEqual(body, data)

    def test_empty_download_length_sends_no_content_length(self):
        self.put_package("Quellmoor.exe", b"abc")
        self.control("download-length", "")
        status, hdrs, body = self.get(PREFIX + "download/Quellmoor.exe",
                                      expect_length=False)
        self.assertEqual(status, 200)
        self.assertIsNone(header(hdrs, "Content-Length"))
        self.assertEqual(body, b"abc")

    # -- sign-in ------------------------------------------------------------

    def sign_in(self, account="测试玩家", password="secret"):
        """Walk the sign-in page's form as a browser would.

        Returns (cookie pair "name=value", game address).
        """
        page_url = self.base + PREFIX
        status, hdrs, body = self.get(PREFIX)
        self.assertEqual(status, 200)
        self.assertIn("charset=utf-8", header(hdrs, "Content-Type").lower())
        page = parse_page(body)
        self.assertIn("Quellmoor", page.title)
        self.assertEqual(len(page.forms), 1)
        form = page.forms[0]
        names = [n for n, _ in form["inputs"]]
        self.assertIn("account", names)
        self.assertIn(("password", "password"), form["inputs"])
        action = urllib.parse.urljoin(page_url, form["action"])
        self.assertTrue(action.startswith(self.base + "/"), action)
        target = action[len(self.base):]
        fields = {"account": account, "password": password}
        if form["method"] == "post":
            status, hdrs, body = self.post_form(target, fields)
        else:
            status, hdrs, body = self.get(
                target + "?" + urllib.parse.urlencode(fields))
        self.assertEqual(status, 200)
        cookies = [v for k, v in hdrs if k.lower() == "set-cookie"]
        self.assertEqual(len(cookies), 1, hdrs)
        pair, *attrs = [p.strip() for p in cookies[0].split(";")]
        self.assertIn("path=/", [a.lower() for a in attrs])
        name, _, value = pair.partition("=")
        self.assertTrue(name and value, pair)

        done = parse_page(body)
        self.assertIsNotNone(done.refresh, "no meta refresh")
        game = urllib.parse.urljoin(action, done.refresh)
        self.assertIn(game, [urllib.parse.urljoin(action, l)
                             for l in done.links])
        return pair, game

    def test_sign_in_leads_to_game_address_with_cookie(self):
        cookie, game = self.sign_in()
        self.assertIn("play_gamecode", game)
        self.assertTrue(game.startswith(self.base + "/"), game)
        # svname: one separator, percent-encoded UTF-8, ended by "/".
        i = game.index("svname")
        self.assertEqual(game[i + 7:], SVNAME_ENCODED + "/")
        self.assertEqual(urllib.parse.unquote(SVNAME_ENCODED), "双月一服")

        target = game[len(self.base):]
        status, _, body = self.get(target, [("Cookie", cookie)])
        self.assertEqual(status, 200)
        page = parse_page(body)
        self.assertEqual(page.session_state, "signed-in")
        self.assertIn("测试玩家", body.decode("utf-8"))
        self.assertIn("双月一服", body.decode("utf-8"))
        self.assertEqual(self.log_lines()[-1]["cookie"], cookie)

    def test_game_page_tells_missing_and_unknown_cookie(self):
        cookie, game = self.sign_in()
        target = game[len(self.base):]
        page = parse_page(self.get(target)[2])
        self.assertEqual(page.session_state, "no-cookie")
        name = cookie.split("=", 1)[0]
        page = parse_page(self.get(target, [("Cookie", name + "=forged")])[2])
        self.assertEqual(page.session_state, "unknown-session")
        # The session cookie among others, as the browser control sends it.
        page = parse_page(self.get(target,
                                   [("Cookie", "a=1; " + cookie + "; b=2")])[2])
        self.assertEqual(page.session_state, "signed-in")

    def test_each_sign_in_gets_its_own_session(self):
        c1, game = self.sign_in("甲", "p1")
        c2, _ = self.sign_in("乙", "p2")
        self.assertNotEqual(c1, c2)
        target = game[len(self.base):]
        self.assertIn("甲", self.get(target, [("Cookie", c1)])[2].decode())
        self.assertIn("乙", self.get(target, [("Cookie", c2)])[2].decode())

    def test_framed_page_holds_the_game_address_in_a_frame(self):
        status, _, body = self.get(PREFIX + "framed")
        self.assertEqual(status, 200)
        page = parse_page(body)
        self.assertEqual(len(page.frames), 1)
        frame = page.frames[0]
        self.assertTrue(frame.startswith(self.base + "/games/qlmr/dlq/play.php?"), frame)
        self.assertIn("play_gamecode", frame)
        self.assertTrue(frame.endswith("svname=" + SVNAME_ENCODED + "/"), frame)

    def test_login_by_get_query(self):
        status, hdrs, body = self.get(PREFIX + "login?account=a&password=b")
        self.assertEqual(status, 200)
        self.assertIsNotNone(header(hdrs, "Set-Cookie"))
        self.assertIn("play_gamecode", parse_page(body).refresh)

    def test_login_without_password_sets_no_cookie(self):
        status, hdrs, body = self.post_form(PREFIX + "login",
                                            {"account": "a", "password": ""})
        self.assertEqual(status, 200)
        self.assertNotIn("set-cookie", [k.lower() for k, _ in hdrs])
        page = parse_page(body)
        self.assertIsNone(page.refresh)
        self.assertEqual(len(page.forms), 1)

    # -- request log ----------------------------------------------------------

    def test_request_log_holds_exact_request(self):
        self.get(CHECK_PATH, [("User-Agent", "Quellmoor"),
                              ("Cookie", "a=1; b=2")])
        self.get("/nowhere?x=1")
        lines = self.log_lines()
        self.assertEqual(len(lines), 2)
        first = lines[0]
        self.assertEqual(first["method"], "GET")
        self.assertEqual(first["path"], PREFIX + "/getClientVersion.php")
        self.assertEqual(first["query"], CHECK_QUERY)
        self.assertEqual(first["cookie"], "a=1; b=2")
        self.assertEqual(first["user_agent"], "Quellmoor")
        self.assertEqual(first["status"], 200)
        self.assertEqual((lines[1]["path"], lines[1]["query"],
                          lines[1]["status"], lines[1]["cookie"]),
                         ("/nowhere", "x=1", 404, None))

    def test_request_log_has_login_post(self):
        self.post_form(PREFIX + "login", {"account": "玩家", "password": "pw"})
        (line,) = self.log_lines()
        self.assertEqual((line["method"], line["path"]),
                         ("POST", PREFIX + "login"))
        self.assertEqual(urllib.parse.parse_qs(line["body"])["account"],
                         ["玩家"])

    # -- everything else --------------------------------------------------------

    def test_unknown_addresses_are_404(self):
        for target in ("/", "/games/qlmr/dlq", PREFIX + "index.html",
                       PREFIX + "getClientVersion.phpx?" + CHECK_QUERY,
                       PREFIX + "download", "/games/qlmr/dlq/play.phpx"):
            with self.subTest(target=target):
                self.assertEqual(self.get(target)[0], 404)

    def test_stalled_client_does_not_block_others(self):
        with socket.create_connection(("127.0.0.1", self.port)) as idle:
            idle.sendall(b"GET ")
            start = time.monotonic()
            self.assertEqual(self.get(CHECK_PATH)[0], 200)
            self.assertLess(time.monotonic() - start, 2)


class PortalProcessTest(unittest.TestCase):

    def test_fixed_port_ready_file_and_clean_stop(self):
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            wanted = s.getsockname()[1]
        state = tempfile.mkdtemp(prefix="portal-test-")
        try:
            proc, port, err = start_portal(state, wanted)
            try:
                self.assertEqual(port, wanted)
                self.assertEqual(raw_get(port, CHECK_PATH)[2], b"-1")
            finally:
                stop_portal(proc, err)
            self.assertEqual(proc.returncode, 0)
            self.assertFalse(os.path.exists(os.path.join(state, "ready")))
        finally:
            shutil.rmtree(state, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
