#!/usr/bin/env python3
r"""Local vendor services for the tests and the demo.

One process on 127.0.0.1 that plays every service Tiqora Desk talks to, keeps
a journal of every request it receives and answers from a scenario the test
picks.

    python3 tests/fakes/vendor_services.py --state DIR --port P1 [--port P2 ...]
                                          [--tls P,CERT,KEY ...]

Each --port is a port to listen on (0 = any free one) that speaks plain HTTP
only. Each --tls is a port that serves the same services over TLS only, with
the certificate chain in the PEM file CERT and its key KEY: every connection
must open with a TLS handshake, so a plain HTTP request there fails the
handshake, as a client that refuses the certificate ends it; nothing of
either reaches the journal (the handshake's end is logged on stderr). Once
every port listens, their numbers are written to DIR/ports, one per line, the
--port ports in the order given and then the --tls ports, and printed.
SIGTERM or SIGINT ends the process cleanly.

Services, by path (the query string does not take part in routing):

    POST /Android/SaveNewCall.aspx              call tracking (form body)
    POST /api/v2/sendMail/sendmail              help-desk mail (JSON)
    POST /api/it-ticket/create-ticket           web console: new ticket (JSON)
    POST /api/it-ticket/save-image-screenshot   web console: screenshot upload
                                                (multipart: CorpId, TicketGuid,
                                                ScreenShot file)
    GET  any path containing "ticket"           web console: ticket pages
         (/adminTicketExternal/..., /UserTicket...; case ignored), answered
         with a small HTML page naming the path
    POST /velmora/api/SubmitTicket.aspx         pending-ticket service
    POST /api/admintikitgeneration/post         LAN server: ticket (JSON)
    POST /DPXLAN/FileReceive                    LAN server: file delivery
                                                (multipart: text part "name" =
                                                remote file name, file part
                                                "file"); on success the file is
                                                saved as DIR/received/<name>
    anything else                               404 "no such service: <path>"
                                                (whatever the scenario); a known
                                                path with another method: 405

Every reply closes its connection (in the silence scenario the ticket
services close it without replying). A request must arrive whole within 4 s,
and no connection is served for more than 35 s (the slow scenario included).

Scenario: the one word in DIR/scenario, read again for every request (a
missing or empty file means "success"; an unknown word answers 500 "unknown
scenario" so that a typing error cannot pass for success).

    success             call tracking   200 "CT : 4711"
                        mail            200 "Msg sent"
                        create-ticket   200 {"message":"Ticket Created Successfully",
                                             "data":"WT1001$6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10",
                                             "status":1}
                        screenshot      200 {"message":"Image saved"}
                        pending ticket  200 "VEXO-OK"
                        LAN ticket      200 {"message":"request added successfully",
                                             "data":"1001$9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f",
                                             "status":1,"code":200}
                        file receive    200 "received"
                        ticket page     200 small HTML page naming the path
    lan-status-quoted   LAN ticket with "status":"1"; the rest as success
    lan-status-last     LAN ticket with status as its last member; the rest as
                        success
    lan-status-absent   LAN ticket without a status member; the rest as success
    html-error          every POST: 200 with a small HTML error page starting
                        "<!DOCTYPE HTML PUBLIC" and holding
                        "<html><body>Connection to server <b>"; GET as success
    no-data             as success, without "data": create-ticket
                        {"message":"Ticket Created Successfully","status":1},
                        LAN ticket {"message":"request added successfully","status":1},
                        call tracking "CT:pending" (the marker without
                        the "CT : " of an id)
    error-500           every request: 500 "Internal Server Error"
    slow                every request waits 30 s, then answers as success (the
                        client's time-out is meant to cut it first)
    big-reply           every POST: 200 with 102400 bytes of "0123456789abcdef"
                        repeated; GET as success
    redirect-to-http    every POST to a service over TLS: 302 with
                        "Location: http://127.0.0.1:<P><path>", P the first
                        --port port and <path> the request's own (query
                        included), and a short text body naming it (journaled
                        as ever, with its port and "tls: yes"); GET, and
                        everything over plain HTTP, as success

The scenarios below change only the call-tracking reply; every other service
answers as in success.

    ct-refused          200 "CONNECTION REFUSED" (what a proxy may send)
    ct-two-lines        200 "CT : 4711" CR LF "X#Y"

The scenarios below change only create-ticket and the LAN ticket; every other
service answers as in success. <web guid> stands for
6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10, <lan guid> for
9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f.

    ticket-failed       create-ticket   200 {"message":"Ticket could not be created",
                                             "status":0}
                        LAN ticket      200 {"message":"request could not be added",
                                             "status":0}
    data-last           "data" as the last member:
                        create-ticket   200 {"message":"Ticket Created Successfully",
                                             "status":1,
                                             "data":"WT1001$<web guid>"}
                        LAN ticket      200 {"message":"request added successfully",
                                             "status":1,"code":200,
                                             "data":"1001$<lan guid>"}
    long-id             as success with a 16-character id: create-ticket
                        "data":"WT10010000000016$<web guid>", LAN ticket
                        "data":"1001000000000016$<lan guid>"
    null-id             as success with an id holding "null": create-ticket
                        "data":"WTnull7$<web guid>", LAN ticket
                        "data":"null7$<lan guid>"
    phrase-case         the phrase in other letter cases, member names with
                        capitals:
                        create-ticket   200 {"Message":"TICKET CREATED SUCCESSFULLY",
                                             "Data":"WT1001$<web guid, upper case>",
                                             "status":1}
                        LAN ticket      200 {"Message":"Request Added Successfully",
                                             "Data":"TK-1001$<lan guid, upper case>",
                                             "status":1}
    unsafe-id           as success with ids that must not name a file:
                        create-ticket "data":"..\\evil$<web guid>" (as it
                        stands in the reply: a JSON-escaped backslash, so the
                        id reads ..\evil), LAN ticket "data":"../1001$<lan guid>"
    foreign-id          as success with an id outside the 8-bit code page:
                        create-ticket "data":"WT\u01011001$<web guid>" (a-macron,
                        sent as UTF-8)
    empty-reply         create-ticket and LAN ticket: 200 with an empty body
    silence             create-ticket and LAN ticket: the request is read whole
                        and journaled, then the connection is closed without
                        any answer (not even a status line)
    phrase-twice        the phrase twice, quotes and blanks around the id:
                        create-ticket   200 {"message":"Ticket Created Successfully",
                                             "data":"\"WT1001\"$<web guid>",
                                             "note":"Ticket Created Successfully"}
                        LAN ticket      200 {"message":"request added successfully",
                                             "data":" 1001 $<lan guid>",
                                             "note":"request added successfully"}

The scenarios below test the program's reply buffers and its resend; every
other service answers as in success.

    full-reply          a reply as long as the program's buffer at each call
                        site (NUL included): create-ticket and LAN ticket
                        20999 bytes, the pending-ticket service 8191, the mail
                        service 2047; the confirmation comes after 3000 bytes
                        of other members (1000 for the mail) and the rest is
                        padding: create-ticket
                        {"note":"x...","message":"Ticket Created Successfully",
                         "data":"WT1001$<web guid>","status":1,"padding":"y..."},
                        LAN ticket {"note":"x...","message":"request added
                        successfully","data":"1001$<lan guid>","status":1,
                        "code":200,"padding":"y..."}, pending ticket
                        "x..." " VEXO-OK " "y...", mail "x..." " Msg sent " "y..."
    filtered            create-ticket, LAN ticket and the pending-ticket
                        service close the connection without any answer when
                        the body holds "FILTERED" (as a filter on the way that
                        drops such a body); other bodies as success

The scenarios below change only the file deliveries to the LAN server
(/DPXLAN/FileReceive, told apart by their User-Agent: "DPXIntraPol" for
DPXIntraPol.dll's ReceiveClientReports, "WBX-LocalData" for WBX.DLL's
SendLocalData); every other service answers as in success.

    intrapol-refused    from DPXIntraPol: 500 "refused" (nothing saved);
                        from anyone else: as success
    intrapol-queued     from DPXIntraPol: 202 "queued" (nothing saved);
                        from anyone else: as success
    file-refused        every file delivery: 500 "refused" (nothing saved)

The scenarios below change only the screenshot upload
(/api/it-ticket/save-image-screenshot); every other service answers as in
success. The request is always read whole and journaled first.

    shot-201            201 {"message":"Image saved"}
    shot-204            204 with an empty body
    shot-500            500 "Internal Server Error"
    shot-silence        the connection is closed without any answer
    shot-stall          nothing is sent for 34 s, then 200 as in success (a
                        client that gives up on a stalled transfer after 30 s
                        never sees it)

Journal: every request to a service path or not (404s too) gets a folder
DIR/journal/NNNN (at least four digits, counting from 0001 in arrival order,
never reused while the process runs, even when a test deletes the folders) with

    body.bin        the raw body
    form-<i>.bin    application/x-www-form-urlencoded bodies: the decoded value
                    of field i (percent-decoding, "+" as blank), exact bytes
    part-<i>.bin    multipart bodies: the content of part i, exact bytes
    request.txt     UTF-8, one "key: value" line each, written last (under a
                    temporary name, then renamed):
                        method: POST
                        path: /x?y=z                 (as received, with query)
                        port: 41234                  (local port it came in on)
                        tls: yes                     (or no: plain HTTP)
                        header.<lower-case name>: <value as received>
                                                     (repeated headers joined
                                                     with ", ")
                        content-type-main: application/json   (lower case;
                                                     empty without Content-Type)
                        form.<i>.name / form.<i>.file
                        part.<i>.name / part.<i>.filename / part.<i>.content-type
                        / part.<i>.file
                    with i counting from 0. A body that ended early adds
                    "body-error: <what>". CR and LF in values become blanks.

So a reader that lists the folders in numeric order and stops at the first
without request.txt sees complete requests in arrival order.
"""

import argparse
import html
import os
import re
import signal
import socket
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

# --- replies -----------------------------------------------------------------

WEB_GUID = "6f1c2a9e-0b7d-4c55-9f1e-2d7c8e5a4b10"
LAN_GUID = "9b2e4f60-5d1a-4c3b-8e7f-1a2b3c4d5e6f"


def web_created(data):
    """create-ticket success reply with `data` as the JSON text of the data value."""
    return '{"message":"Ticket Created Successfully","data":"' + data + '","status":1}'


def lan_added(data, tail=',"status":1,"code":200'):
    """LAN ticket success reply with `data` as the JSON text of the data value."""
    return '{"message":"request added successfully","data":"' + data + '"' + tail + '}'


# create-ticket and LAN ticket replies by scenario; a scenario not listed
# answers as success.
CREATE_TICKET = {
    "success": web_created("WT1001$" + WEB_GUID),
    "no-data": '{"message":"Ticket Created Successfully","status":1}',
    "ticket-failed": '{"message":"Ticket could not be created","status":0}',
    "data-last": '{"message":"Ticket Created Successfully","status":1,"data":"WT1001$' + WEB_GUID + '"}',
    "long-id": web_created("WT10010000000016$" + WEB_GUID),
    "null-id": web_created("WTnull7$" + WEB_GUID),
    "phrase-case": ('{"Message":"TICKET CREATED SUCCESSFULLY","Data":"WT1001$'
                    + WEB_GUID.upper() + '","status":1}'),
    # The JSON text holds two backslashes: the id is ..\evil once decoded.
    "unsafe-id": web_created(r"..\\evil$" + WEB_GUID),
    "foreign-id": web_created("WT\u01011001$" + WEB_GUID),
    "phrase-twice": ('{"message":"Ticket Created Successfully","data":"\\"WT1001\\"$' + WEB_GUID
                     + '","note":"Ticket Created Successfully"}'),
}
LAN_TICKET = {
    "success": lan_added("1001$" + LAN_GUID),
    "lan-status-quoted": lan_added("1001$" + LAN_GUID, ',"status":"1","code":200'),
    "lan-status-last": lan_added("1001$" + LAN_GUID, ',"code":200,"status":1'),
    "lan-status-absent": lan_added("1001$" + LAN_GUID, ',"code":200'),
    "no-data": '{"message":"request added successfully","status":1}',
    "ticket-failed": '{"message":"request could not be added","status":0}',
    "data-last": '{"message":"request added successfully","status":1,"code":200,"data":"1001$' + LAN_GUID + '"}',
    "long-id": lan_added("1001000000000016$" + LAN_GUID),
    "null-id": lan_added("null7$" + LAN_GUID),
    "phrase-case": ('{"Message":"Request Added Successfully","Data":"TK-1001$'
                    + LAN_GUID.upper() + '","status":1}'),
    "unsafe-id": lan_added("../1001$" + LAN_GUID),
    "phrase-twice": lan_added(" 1001 $" + LAN_GUID, ',"note":"request added successfully"'),
}
# Call-tracking replies by scenario; a scenario not listed answers as success.
CALL_TRACKING = {
    "success": "CT : 4711",
    "no-data": "CT:pending",
    "ct-refused": "CONNECTION REFUSED",
    "ct-two-lines": "CT : 4711\r\nX#Y",
}
TICKET_SERVICES = {"create-ticket", "lan-ticket"}
HTML_ERROR_PAGE = ('<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01//EN">\n'
                   '<html><body>Connection to server <b>vendor-gateway</b> could not be '
                   'established.</body></html>\n')
BIG_REPLY = b"0123456789abcdef" * (102400 // 16)


def padded(before, confirmation, after_open, after_close, size):
    """`before` (a filler of other members), the confirmation, then a padding
    member, `size` characters in all."""
    head = before + confirmation + after_open
    return head + "y" * (size - len(head) - len(after_close)) + after_close


FULL_REPLIES = {
    "create-ticket": padded('{"note":"' + "x" * 3000 + '",',
                            '"message":"Ticket Created Successfully","data":"WT1001$' + WEB_GUID + '","status":1',
                            ',"padding":"', '"}', 20999),
    "lan-ticket": padded('{"note":"' + "x" * 3000 + '",',
                         '"message":"request added successfully","data":"1001$' + LAN_GUID + '","status":1,"code":200',
                         ',"padding":"', '"}', 20999),
    "pending-ticket": padded("x" * 3000, " VEXO-OK ", "", "", 8191),
    "mail": padded("x" * 1000, " Msg sent ", "", "", 2047),
}
FILTERED_SERVICES = {"create-ticket", "lan-ticket", "pending-ticket"}
SCENARIOS = {"success", "lan-status-quoted", "lan-status-last", "lan-status-absent",
             "html-error", "no-data", "error-500", "slow", "big-reply", "redirect-to-http",
             "ticket-failed", "data-last", "long-id", "null-id", "phrase-case",
             "unsafe-id", "foreign-id", "empty-reply", "silence", "phrase-twice",
             "intrapol-refused", "intrapol-queued", "file-refused",
             "shot-201", "shot-204", "shot-500", "shot-silence", "shot-stall",
             "ct-refused", "ct-two-lines", "full-reply", "filtered"}
# Screenshot upload replies by scenario: (status, content type, body).
SCREENSHOT_REPLIES = {
    "shot-201": (201, "application/json; charset=utf-8", '{"message":"Image saved"}'),
    "shot-204": (204, "text/plain; charset=utf-8", ""),
    "shot-500": (500, "text/plain; charset=utf-8", "Internal Server Error"),
}
STALL_SECONDS = 34

JSON = "application/json; charset=utf-8"
TEXT = "text/plain; charset=utf-8"
HTML = "text/html; charset=utf-8"

SLOW_SECONDS = 30
READ_SECONDS = 4   # the whole request must arrive within this
WRITE_SECONDS = 1  # per send of the reply
HANDLER_SECONDS = 35  # hard bound on one connection, whatever the client does


def success_reply(service, scenario, path):
    """(status, content type, body) of a service in a scenario that answers."""
    if service == "call-tracking":
        return 200, TEXT, CALL_TRACKING.get(scenario, CALL_TRACKING["success"])
    if service == "mail":
        return 200, TEXT, "Msg sent"
    if service == "create-ticket":
        return 200, JSON, CREATE_TICKET.get(scenario, CREATE_TICKET["success"])
    if service == "screenshot":
        return 200, JSON, '{"message":"Image saved"}'
    if service == "pending-ticket":
        return 200, TEXT, "VEXO-OK"
    if service == "lan-ticket":
        return 200, JSON, LAN_TICKET.get(scenario, LAN_TICKET["success"])
    if service == "file-receive":
        return 200, TEXT, "received"
    if service == "ticket-page":
        name = html.escape(path)
        return 200, HTML, ("<!DOCTYPE html>\n<html><head><title>Ticket page</title></head>"
                           "<body><h1>Ticket page</h1><p>" + name + "</p></body></html>\n")
    raise ValueError(service)


POST_SERVICES = {
    "/android/savenewcall.aspx": "call-tracking",
    "/api/v2/sendmail/sendmail": "mail",
    "/api/it-ticket/create-ticket": "create-ticket",
    "/api/it-ticket/save-image-screenshot": "screenshot",
    "/velmora/api/submitticket.aspx": "pending-ticket",
    "/api/admintikitgeneration/post": "lan-ticket",
    "/dpxlan/filereceive": "file-receive",
}


def route(method, path_only):
    """The service a request is for: (service or None, allowed method)."""
    key = path_only.lower()
    if key in POST_SERVICES:
        return POST_SERVICES[key], "POST"
    if "ticket" in key:
        return "ticket-page", "GET"
    return None, None


# --- body parsing --------------------------------------------------------------

def header_params(value):
    """Main value (lower case) and parameters of a header such as
    Content-Type or Content-Disposition. Quoted values may hold ';' and
    backslash-escaped quotes."""
    main, _, rest = value.partition(";")
    params = {}
    i, n = 0, len(rest)
    while i < n:
        while i < n and rest[i] in " \t;":
            i += 1
        start = i
        while i < n and rest[i] not in "=;":
            i += 1
        name = rest[start:i].strip().lower()
        val = ""
        if i < n and rest[i] == "=":
            i += 1
            while i < n and rest[i] in " \t":
                i += 1
            if i < n and rest[i] == '"':
                i += 1
                chars = []
                while i < n and rest[i] != '"':
                    if rest[i] == "\\" and i + 1 < n and rest[i + 1] in '"\\':
                        i += 1
                    chars.append(rest[i])
                    i += 1
                i += 1  # closing quote
                val = "".join(chars)
            else:
                start = i
                while i < n and rest[i] != ";":
                    i += 1
                val = rest[start:i].strip()
        if name:
            params[name] = val
    return main.strip().lower(), params


def parse_form(body):
    """application/x-www-form-urlencoded: [(name as text, value bytes)]."""
    fields = []
    for piece in body.split(b"&"):
        if not piece:
            continue
        name, _, value = piece.partition(b"=")
        decode = lambda raw: urllib.parse.unquote_to_bytes(raw.replace(b"+", b" "))
        fields.append((decode(name).decode("utf-8", "replace"), decode(value)))
    return fields


def parse_multipart(body, boundary):
    """multipart/form-data: [(name, filename, content type, data bytes)].
    Binary content is kept byte for byte: a part ends only at CRLF followed
    by the delimiter."""
    delimiter = b"--" + boundary
    parts = []
    pos = body.find(delimiter)
    if pos < 0:
        return parts
    pos += len(delimiter)
    while body[pos:pos + 2] != b"--":
        line_end = body.find(b"\r\n", pos)
        if line_end < 0:
            break
        start = line_end + 2
        end = body.find(b"\r\n" + delimiter, start)
        if end < 0:
            break
        parts.append(parse_part(body[start:end]))
        pos = end + 2 + len(delimiter)
    return parts


def parse_part(raw):
    if raw.startswith(b"\r\n"):
        head, data = b"", raw[2:]
    else:
        head, sep, data = raw.partition(b"\r\n\r\n")
        if not sep:
            head, data = raw, b""
    name = filename = content_type = ""
    for line in head.decode("utf-8", "replace").split("\r\n"):
        key, _, value = line.partition(":")
        key = key.strip().lower()
        if key == "content-disposition":
            _, params = header_params(value)
            name = params.get("name", "")
            filename = params.get("filename", "")
        elif key == "content-type":
            content_type = value.strip()
    return name, filename, content_type, data


# --- the server ----------------------------------------------------------------

class Journal:
    def __init__(self, state_dir):
        self.folder = os.path.join(state_dir, "journal")
        os.makedirs(self.folder, exist_ok=True)
        self.lock = threading.Lock()
        existing = [int(n) for n in os.listdir(self.folder) if n.isdigit()]
        self.last = max(existing, default=0)

    def new_entry(self):
        with self.lock:
            self.last += 1
            number = self.last
        entry = os.path.join(self.folder, "%04d" % number)
        os.makedirs(entry, exist_ok=True)
        return entry


def one_line(text):
    return text.replace("\r", " ").replace("\n", " ")


def as_received(text):
    """http.server decodes the request line and headers as Latin-1; this
    gives back the bytes as they came, read as UTF-8."""
    return text.encode("latin-1", "replace").decode("utf-8", "replace")


class VendorHandler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "VendorServices/1.0"
    timeout = READ_SECONDS

    def setup(self):
        super().setup()
        # Past the bound the connection is cut, which ends any read or write
        # the handler is blocked in.
        self.watchdog = threading.Timer(HANDLER_SECONDS, self.cut)
        self.watchdog.daemon = True
        self.watchdog.start()

    def cut(self):
        try:
            self.connection.shutdown(socket.SHUT_RDWR)
        except OSError:
            pass

    def finish(self):
        self.watchdog.cancel()
        super().finish()

    # Every method goes through one place: routing is by path.
    def do_GET(self):
        self.handle_request()

    do_POST = do_PUT = do_DELETE = do_HEAD = do_PATCH = do_OPTIONS = do_GET

    def read_body(self):
        """The raw body and, when it ended early, what went wrong."""
        deadline = time.monotonic() + READ_SECONDS
        chunks = []

        def read_exactly(count):
            got = 0
            while got < count:
                left = deadline - time.monotonic()
                if left <= 0:
                    raise TimeoutError("body not complete after %d s" % READ_SECONDS)
                self.connection.settimeout(left)
                data = self.rfile.read1(min(count - got, 65536))
                if not data:
                    raise ConnectionError("connection closed after %d of %d bytes" % (got, count))
                chunks.append(data)
                got += len(data)

        try:
            if "chunked" in self.headers.get("Transfer-Encoding", "").lower():
                while True:
                    self.connection.settimeout(max(0.01, deadline - time.monotonic()))
                    size_line = self.rfile.readline(1024)
                    if not size_line:
                        raise ConnectionError("connection closed inside a chunked body")
                    size = int(size_line.split(b";")[0].strip() or b"0", 16)
                    if size == 0:
                        while self.rfile.readline(1024) not in (b"\r\n", b"\n", b""):
                            pass
                        break
                    read_exactly(size)
                    self.rfile.readline(16)  # CRLF after the chunk
            else:
                read_exactly(int(self.headers.get("Content-Length", "0") or "0"))
            return b"".join(chunks), ""
        except (OSError, ValueError) as error:
            return b"".join(chunks), str(error) or type(error).__name__

    def record(self, body, body_error):
        entry = self.server.journal.new_entry()
        lines = [("method", self.command), ("path", as_received(self.path)),
                 ("port", str(self.connection.getsockname()[1])),
                 ("tls", "yes" if isinstance(self.connection, ssl.SSLSocket) else "no")]
        headers = {}
        for name, value in self.headers.items():
            key = name.lower()
            headers[key] = headers[key] + ", " + value if key in headers else value
        lines += [("header." + k, as_received(v)) for k, v in headers.items()]
        content_type, params = header_params(self.headers.get("Content-Type", ""))
        lines.append(("content-type-main", content_type))
        with open(os.path.join(entry, "body.bin"), "wb") as f:
            f.write(body)
        if content_type == "application/x-www-form-urlencoded":
            for i, (name, value) in enumerate(parse_form(body)):
                with open(os.path.join(entry, "form-%d.bin" % i), "wb") as f:
                    f.write(value)
                lines += [("form.%d.name" % i, name), ("form.%d.file" % i, "form-%d.bin" % i)]
        elif content_type.startswith("multipart/") and params.get("boundary"):
            boundary = params["boundary"].encode("latin-1", "replace")
            for i, (name, filename, part_type, data) in enumerate(parse_multipart(body, boundary)):
                with open(os.path.join(entry, "part-%d.bin" % i), "wb") as f:
                    f.write(data)
                lines += [("part.%d.name" % i, name), ("part.%d.filename" % i, filename),
                          ("part.%d.content-type" % i, part_type), ("part.%d.file" % i, "part-%d.bin" % i)]
        if body_error:
            lines.append(("body-error", body_error))
        text = "".join("%s: %s\n" % (k, one_line(v)) for k, v in lines)
        temporary = os.path.join(entry, "request.txt.part")
        with open(temporary, "wb") as f:
            f.write(text.encode("utf-8", "replace"))
        os.replace(temporary, os.path.join(entry, "request.txt"))

    def scenario(self):
        try:
            with open(os.path.join(self.server.state_dir, "scenario"), encoding="utf-8") as f:
                word = f.read().strip()
        except FileNotFoundError:
            word = ""
        return word or "success"

    def reply(self, status, content_type, body, headers=()):
        if isinstance(body, str):
            body = body.encode("utf-8")
        self.connection.settimeout(WRITE_SECONDS)
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)
        self.close_connection = True

    def save_received_file(self, body):
        """Stores the file of a file delivery as DIR/received/<name> (the
        "name" part, else the file part's own file name; folders dropped)."""
        _, params = header_params(self.headers.get("Content-Type", ""))
        parts = parse_multipart(body, params.get("boundary", "").encode("latin-1", "replace"))
        names = [data.decode("utf-8", "replace") for n, _, _, data in parts if n == "name"]
        files = [(filename, data) for n, filename, _, data in parts if n == "file"]
        if not files:
            return
        name = re.split(r"[\\/]", names[0] if names and names[0] else files[0][0])[-1]
        if name in ("", ".", ".."):
            return
        folder = os.path.join(self.server.state_dir, "received")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, name), "wb") as f:
            f.write(files[0][1])

    def file_refused(self, scenario):
        """Whether a file delivery is refused in this scenario."""
        if scenario == "file-refused":
            return True
        return scenario == "intrapol-refused" and self.headers.get("User-Agent", "") == "DPXIntraPol"

    def handle_request(self):
        body, body_error = self.read_body()
        try:
            self.record(body, body_error)
        except OSError as error:
            self.log_message("journal entry failed: %s", error)
        path_only = urllib.parse.urlsplit(self.path).path
        service, method = route(self.command, path_only)
        scenario = self.scenario()
        try:
            if service is None:
                self.reply(404, TEXT, "no such service: " + path_only)
            elif self.command != method and not (method == "GET" and self.command == "HEAD"):
                self.reply(405, TEXT, "use " + method + " for " + path_only)
            elif scenario not in SCENARIOS:
                self.log_message("unknown scenario %r", scenario)
                self.reply(500, TEXT, "unknown scenario " + scenario)
            elif scenario == "error-500":
                self.reply(500, TEXT, "Internal Server Error")
            elif scenario == "redirect-to-http" and self.command == "POST" and self.server.tls is not None:
                location = "http://127.0.0.1:%d%s" % (self.server.plain_port, self.path)
                self.reply(302, TEXT, "moved to " + location, [("Location", location)])
            elif scenario == "html-error" and self.command == "POST":
                self.reply(200, HTML, HTML_ERROR_PAGE)
            elif scenario == "big-reply" and self.command == "POST":
                self.reply(200, "application/octet-stream", BIG_REPLY)
            elif scenario == "empty-reply" and service in TICKET_SERVICES:
                self.reply(200, JSON, "")
            elif service == "screenshot" and scenario in SCREENSHOT_REPLIES:
                self.reply(*SCREENSHOT_REPLIES[scenario])
            elif service == "screenshot" and scenario == "shot-silence":
                self.close_connection = True
            elif service == "file-receive" and self.file_refused(scenario):
                self.reply(500, TEXT, "refused")
            elif (service == "file-receive" and scenario == "intrapol-queued"
                  and self.headers.get("User-Agent", "") == "DPXIntraPol"):
                self.reply(202, TEXT, "queued")
            elif scenario == "full-reply" and service in FULL_REPLIES:
                self.reply(200, TEXT if service in ("pending-ticket", "mail") else JSON, FULL_REPLIES[service])
            elif scenario == "filtered" and service in FILTERED_SERVICES and b"FILTERED" in (body or b""):
                self.close_connection = True  # journaled; dropped without a word
            elif scenario == "silence" and service in TICKET_SERVICES:
                # Already journaled; nothing is sent and the server closes
                # the connection once the handler returns.
                self.close_connection = True
            else:
                if scenario == "slow" and self.server.stopping.wait(SLOW_SECONDS):
                    return  # shutting down
                if (service == "screenshot" and scenario == "shot-stall"
                        and self.server.stopping.wait(STALL_SECONDS)):
                    return  # shutting down
                if service == "file-receive":
                    self.save_received_file(body)
                self.reply(*success_reply(service, scenario, path_only))
        except OSError:
            self.close_connection = True  # the client gave up (time-out); nothing to tell it


class VendorServer(ThreadingHTTPServer):
    daemon_threads = True

    def __init__(self, port, state_dir, journal, stopping, tls=None, plain_port=None):
        super().__init__(("127.0.0.1", port), VendorHandler)
        self.state_dir = state_dir
        self.journal = journal
        self.stopping = stopping
        self.tls = tls  # an ssl.SSLContext for a --tls port
        self.plain_port = plain_port  # where redirect-to-http sends a --tls port's posts

    def finish_request(self, request, client_address):
        if self.tls is None:
            return super().finish_request(request, client_address)
        request.settimeout(READ_SECONDS)  # the handshake too must come in time
        try:
            secured = self.tls.wrap_socket(request, server_side=True)
        except (ssl.SSLError, OSError) as error:
            self.log_message_tls("TLS handshake from %s:%d ended: %s", client_address[0], client_address[1], error)
            return
        try:
            super().finish_request(secured, client_address)
        finally:
            secured.close()

    def log_message_tls(self, fmt, *args):
        sys.stderr.write("[tls] " + (fmt % args) + "\n")


def tls_context(cert, key):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    return context


def tls_port(text):
    try:
        port, cert, key = text.split(",", 2)
        return int(port), cert, key
    except ValueError:
        raise argparse.ArgumentTypeError("--tls wants PORT,CERT,KEY")


def main():
    parser = argparse.ArgumentParser(description="Local vendor services for tests and the demo.")
    parser.add_argument("--state", required=True, help="folder for ports, scenario, journal, received files")
    parser.add_argument("--port", type=int, action="append", required=True, help="port to listen on (0: any)")
    parser.add_argument("--tls", type=tls_port, action="append", default=[],
                        help="PORT,CERT,KEY: a port that speaks TLS only, with this certificate chain and key")
    args = parser.parse_args()
    if not args.state:
        parser.error("--state needs a folder")

    state_dir = os.path.abspath(args.state)
    os.makedirs(state_dir, exist_ok=True)
    journal = Journal(state_dir)
    stopping = threading.Event()
    signal.signal(signal.SIGTERM, lambda *_: stopping.set())
    signal.signal(signal.SIGINT, lambda *_: stopping.set())

    servers = [VendorServer(port, state_dir, journal, stopping) for port in args.port]
    plain_port = servers[0].server_address[1]
    servers += [VendorServer(port, state_dir, journal, stopping, tls_context(cert, key), plain_port)
                for port, cert, key in args.tls]
    threads = [threading.Thread(target=s.serve_forever, kwargs={"poll_interval": 0.2}, daemon=True)
               for s in servers]
    for t in threads:
        t.start()

    ports = "".join("%d\n" % s.server_address[1] for s in servers)
    temporary = os.path.join(state_dir, "ports.part")
    with open(temporary, "w", encoding="ascii") as f:
        f.write(ports)
    os.replace(temporary, os.path.join(state_dir, "ports"))
    sys.stdout.write(ports)
    sys.stdout.flush()

    while not stopping.wait(1.0):
        pass
    for s in servers:
        s.shutdown()
        s.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
