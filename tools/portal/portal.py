#!/usr/bin/env python3
"""Development portal: plays the vexo web server for the Quellmoor launcher.

Serves, on 127.0.0.1 only:

  /games/qlmr/dlq/                         sign-in page (account, password)
  /games/qlmr/dlq/login                    signs in (GET or POST), sets the
                                           session cookie, leads on to the game
  /games/qlmr/dlq/framed                   news page holding the game address
                                           in an <iframe> (the marker in a frame)
  /games/qlmr/dlq/play.php?play_gamecode=... game page; shows the session state
  /games/qlmr/dlq/getClientVersion.php     version check (also with "//")
  /games/qlmr/dlq/download/<name>          package download from
                                           <state-dir>/packages/<name>

Everything else answers 404. Every answer carries Content-Length (unless a
test asks for it to be missing) and Connection: close.

Control files in the state directory are read on every request, so a test
may change them between requests:

  version-answer   body of the version check, bytes as-is; "{base}" becomes
                   http://127.0.0.1:<port>. Missing: "-1" (no update).
  version-status   HTTP status code of the version check instead of 200.
  download-length  Content-Length value sent with a download instead of the
                   real size (the real body follows, then the connection is
                   closed); an empty file sends no Content-Length at all.

Every request is appended as one JSON line to <state-dir>/requests.log.
"""

import argparse
import html
import http.server
import json
import os
import secrets
import signal
import socketserver
import sys
import tempfile
import threading
import urllib.parse

PREFIX = "/games/qlmr/dlq/"
# Under the launcher page: the launcher hands the sign-in's cookies to its
# game process for the launcher page address, and cookies set that way
# without a path belong to that folder.
GAME_PATH = PREFIX + "play.php"
SERVER_NAME = "双月一服"
SESSION_COOKIE = "qlmr_session"
MAX_FORM_BYTES = 64 * 1024

NO_CACHE = [
    # WinINet keeps plain GET answers in its URL cache; a test that changes
    # the answer between two launcher runs must see the new one.
    ("Cache-Control", "no-cache, no-store, must-revalidate"),
    ("Pragma", "no-cache"),
    ("Expires", "0"),
]


def game_address_path():
    """Path and query of the game address the sign-in leads to."""
    svname = urllib.parse.quote(SERVER_NAME.encode("utf-8"), safe="")
    return GAME_PATH + "?play_gamecode=qlmr&svname=" + svname + "/"


class Response:
    """One answer: status, body and the Content-Length header text.

    length=... (the default) announces the real body size; None sends no
    Content-Length header at all; any text is sent as the header value.
    """

    def __init__(self, status, body=b"", content_type="text/plain",
                 headers=(), length=...):
        self.status = status
        self.body = body
        self.content_type = content_type
        self.headers = list(headers)
        self.length = str(len(body)) if length is ... else length


def html_page(title, body_html, head_extra=""):
    page = (
        "<!DOCTYPE html>\n"
        "<html lang=\"zh-CN\">\n<head>\n"
        "<meta charset=\"utf-8\">\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
        "<title>" + html.escape(title) + "</title>\n" + head_extra +
        "<style>body{font-family:\"Microsoft YaHei\",SimSun,sans-serif;"
        "background:#1d2233;color:#e8e2cc;margin:40px}"
        "a{color:#f0c060}label{display:inline-block;width:4em}"
        ".error{color:#ff7070}</style>\n"
        "</head>\n<body>\n" + body_html + "</body>\n</html>\n"
    )
    return page.encode("utf-8")


class PortalState:
    """What the handler threads share: the state folder, the port, sessions."""

    def __init__(self, state_dir):
        self.state_dir = state_dir
        self.port = 0
        self.sessions = {}          # cookie value -> account
        self.lock = threading.Lock()

    def base(self):
        return "http://127.0.0.1:%d" % self.port

    def control(self, name):
        """Content of a control file as bytes, or None when it is absent."""
        try:
            with open(os.path.join(self.state_dir, name), "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    def log_request(self, entry):
        line = json.dumps(entry, ensure_ascii=False, sort_keys=True) + "\n"
        with self.lock:
            with open(os.path.join(self.state_dir, "requests.log"), "a",
                      encoding="utf-8") as f:
                f.write(line)

    def new_session(self, account):
        token = secrets.token_hex(16)
        with self.lock:
            self.sessions[token] = account
        return token

    def session_account(self, token):
        with self.lock:
            return self.sessions.get(token)


class PortalHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "vexo-devportal/1.0"
    portal = None   # PortalState, set on the class by make_server

    # -- request plumbing ---------------------------------------------------

    def do_GET(self):
        self._serve(send_body=True)

    def do_POST(self):
        self._serve(send_body=True)

    def do_HEAD(self):
        self._serve(send_body=False)

    def _split_target(self):
        target = self.path
        # A proxy-style absolute target: keep only the path and query.
        if target.lower().startswith(("http://", "https://")):
            rest = target.split("://", 1)[1]
            slash = rest.find("/")
            target = rest[slash:] if slash >= 0 else "/"
        target = target.split("#", 1)[0]
        path, _, query = target.partition("?")
        return path, query

    def _read_body(self):
        if self.command != "POST":
            return b""
        try:
            n = int(self.headers.get("Content-Length", "0"))
        except ValueError:
            n = 0
        n = max(0, min(n, MAX_FORM_BYTES))
        return self.rfile.read(n) if n else b""

    def _serve(self, send_body):
        path, query = self._split_target()
        body = self._read_body()
        try:
            resp = self._route(path, query, body)
        except Exception as e:   # keep serving; the test sees a 500
            self.log_error("internal error: %r", e)
            resp = Response(500, ("internal error: %r" % e).encode())
        entry = {
            "method": self.command,
            "target": self.path,
            "path": path,
            "query": query,
            "cookie": self.headers.get("Cookie"),
            "user_agent": self.headers.get("User-Agent"),
            "headers": [[k, v] for k, v in self.headers.items()],
            "status": resp.status,
        }
        if body:
            entry["body"] = body.decode("utf-8", "replace")
        self.portal.log_request(entry)
        self._send(resp, send_body)

    def _send(self, resp, send_body):
        self.close_connection = True
        self.send_response(resp.status)
        self.send_header("Content-Type", resp.content_type)
        if resp.length is not None:
            self.send_header("Content-Length", resp.length)
        for k, v in resp.headers:
            self.send_header(k, v)
        self.send_header("Connection", "close")
        self.end_headers()
        if send_body and resp.body:
            try:
                self.wfile.write(resp.body)
            except (BrokenPipeError, ConnectionResetError):
                pass

    # -- routes -------------------------------------------------------------

    def _route(self, path, query, body):
        if path == PREFIX:
            return self._signin_page()
        if path == PREFIX + "login":
            return self._login(query, body)
        if path == PREFIX + "framed":
            return self._framed_page()
        if path in (PREFIX + "getClientVersion.php",
                    PREFIX + "/getClientVersion.php"):
            return self._version_check()
        if path.startswith(PREFIX + "download/"):
            return self._download(path[len(PREFIX + "download/"):])
        if path == GAME_PATH:
            return self._game_page(query)
        return not_found()

    def _signin_page(self, error=None, account=""):
        err = ""
        if error:
            err = "<p class=\"error\">" + html.escape(error) + "</p>\n"
        page = html_page("《Quellmoor》微端登录", (
            "<h1>《Quellmoor》登录</h1>\n" + err +
            "<form method=\"post\" action=\"login\" accept-charset=\"utf-8\">\n"
            "<p><label for=\"account\">账号</label>"
            "<input id=\"account\" name=\"account\" type=\"text\" value=\"" +
            html.escape(account) + "\"></p>\n"
            "<p><label for=\"password\">密码</label>"
            "<input id=\"password\" name=\"password\" type=\"password\"></p>\n"
            "<p><input type=\"submit\" value=\"登录\"></p>\n"
            "</form>\n"))
        return Response(200, page, "text/html; charset=utf-8", NO_CACHE)

    def _login(self, query, body):
        fields = urllib.parse.parse_qs(query, keep_blank_values=True)
        if body:
            form = urllib.parse.parse_qs(body.decode("utf-8", "replace"),
                                         keep_blank_values=True)
            fields.update(form)
        account = fields.get("account", [""])[0].strip()
        password = fields.get("password", [""])[0]
        if not account or not password:
            return self._signin_page("请输入账号和密码。", account)
        token = self.portal.new_session(account)
        host = self.headers.get("Host") or "127.0.0.1:%d" % self.portal.port
        game = "http://" + host + game_address_path()
        g = html.escape(game, quote=True)
        page = html_page("《Quellmoor》登录成功", (
            "<p>登录成功，欢迎 " + html.escape(account) + "。正在进入游戏……</p>\n"
            "<p><a id=\"play\" href=\"" + g + "\">如果没有自动跳转，请点击这里进入游戏</a></p>\n"),
            "<meta http-equiv=\"refresh\" content=\"0; url=" + g + "\">\n")
        headers = NO_CACHE + [
            ("Set-Cookie", "%s=%s; Path=/" % (SESSION_COOKIE, token))]
        return Response(200, page, "text/html; charset=utf-8", headers)

    def _framed_page(self):
        host = self.headers.get("Host") or "127.0.0.1:%d" % self.portal.port
        game = html.escape("http://" + host + game_address_path(), quote=True)
        page = html_page("《Quellmoor》公告", (
            "<h1>《Quellmoor》公告</h1>\n"
            "<p>新服「双月一服」今日开放。</p>\n"
            "<iframe id=\"game\" src=\"" + game + "\" width=\"600\" height=\"200\">"
            "</iframe>\n"))
        return Response(200, page, "text/html; charset=utf-8", NO_CACHE)

    def _game_page(self, query):
        fields = urllib.parse.parse_qs(query, keep_blank_values=True)
        svname = fields.get("svname", [""])[0]
        # The launcher ends the server name at the first "/".
        svname = svname.split("/", 1)[0]
        account = None
        cookies = cookies_from_header(self.headers.get("Cookie"))
        token = cookies.get(SESSION_COOKIE)
        if token:
            account = self.portal.session_account(token)
        if account is not None:
            state = ("<p id=\"session\" data-state=\"signed-in\">已登录：" +
                     html.escape(account) + "</p>\n")
        elif token:
            state = ("<p id=\"session\" data-state=\"unknown-session\">"
                     "会话 Cookie 无效，请重新登录。</p>\n")
        else:
            state = ("<p id=\"session\" data-state=\"no-cookie\">"
                     "未登录：没有收到会话 Cookie。</p>\n")
        page = html_page("《Quellmoor》" + svname, (
            "<h1>《Quellmoor》 [ " + html.escape(svname) + " ]</h1>\n" + state))
        return Response(200, page, "text/html; charset=utf-8", NO_CACHE)

    def _version_check(self):
        answer = self.portal.control("version-answer")
        if answer is None:
            answer = b"-1"
        answer = answer.replace(b"{base}", self.portal.base().encode("ascii"))
        status = 200
        raw = self.portal.control("version-status")
        if raw is not None:
            try:
                status = int(raw.decode("ascii").strip())
                if not 100 <= status <= 999:
                    raise ValueError(status)
            except ValueError:
                return Response(
                    500, b"bad version-status control file: " + raw)
        return Response(status, answer, "text/plain", NO_CACHE)

    def _download(self, raw_name):
        try:
            name = urllib.parse.unquote(raw_name, errors="strict")
        except UnicodeDecodeError:
            return not_found()
        if (not name or name in (".", "..") or "/" in name or "\\" in name
                or "\0" in name or ":" in name):
            return not_found()
        packages = os.path.realpath(
            os.path.join(self.portal.state_dir, "packages"))
        full = os.path.realpath(os.path.join(packages, name))
        if os.path.dirname(full) != packages or not os.path.isfile(full):
            return not_found()
        with open(full, "rb") as f:
            data = f.read()
        length = str(len(data))
        override = self.portal.control("download-length")
        if override is not None:
            text = override.decode("ascii", "replace").strip()
            length = text if text else None
        return Response(200, data, "application/octet-stream",
                             NO_CACHE, length=length)


def not_found():
    return Response(404, b"not found", "text/plain", NO_CACHE)


def cookies_from_header(value):
    """Cookie header -> {name: value}; the first of a repeated name wins.

    http.cookies would reject values the browser control sends as they are;
    a plain split is all this server needs.
    """
    out = {}
    for part in (value or "").split(";"):
        name, sep, val = part.strip().partition("=")
        if sep and name and name not in out:
            out[name] = val
    return out


class PortalServer(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def server_bind(self):
        # HTTPServer.server_bind looks the host name up (getfqdn), which can
        # stall on machines without working name resolution.
        socketserver.TCPServer.server_bind(self)
        host, port = self.server_address[:2]
        self.server_name = host
        self.server_port = port


def make_server(port, state_dir):
    state = PortalState(state_dir)
    handler = type("BoundPortalHandler", (PortalHandler,), {"portal": state})
    server = PortalServer(("127.0.0.1", port), handler)
    state.port = server.server_address[1]
    return server, state


def write_ready_file(path, port):
    tmp = path + ".tmp"
    with open(tmp, "w", encoding="ascii") as f:
        f.write("%d\n" % port)
    os.replace(tmp, path)


def main(argv=None):
    ap = argparse.ArgumentParser(
        description="Development portal for the Quellmoor launcher.")
    ap.add_argument("--port", type=int, default=8080,
                    help="port on 127.0.0.1 (0 picks a free one; default 8080)")
    ap.add_argument("--state-dir",
                    help="folder of control files, packages/ and requests.log "
                         "(default: a new temporary folder)")
    ap.add_argument("--ready-file",
                    help="file that receives the port number once listening")
    args = ap.parse_args(argv)

    state_dir = args.state_dir or tempfile.mkdtemp(prefix="qlmr-portal-")
    os.makedirs(state_dir, exist_ok=True)
    state_dir = os.path.abspath(state_dir)

    server, state = make_server(args.port, state_dir)

    def stop(signum, frame):
        raise SystemExit(0)
    signal.signal(signal.SIGTERM, stop)

    sys.stderr.write("portal: listening on %s%s, state in %s\n"
                     % (state.base(), PREFIX, state_dir))
    sys.stderr.flush()
    if args.ready_file:
        write_ready_file(args.ready_file, state.port)
    try:
        server.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
        if args.ready_file:
            try:
                os.remove(args.ready_file)
            except OSError:
                pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
