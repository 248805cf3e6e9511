#!/usr/bin/env python3
"""The local vendor services as tools/vendor-services.sh starts them: a TLS
port speaks TLS only and a plain port HTTP only, each refusal certificate
fails openssl's verification for its own reason, and the redirect-to-http
scenario sends a POST over TLS to the first plain port."""
import http.client
import os
import shutil
import socket
import ssl
import subprocess
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]

# Starts the services, prints their variables, and stops them once the test
# closes its end of stdin (also when the test process dies).
START = r"""
source "$1/tools/vendor-services.sh"
vendor_services_start "$2" >&2 || exit 1
env | grep '^TIQORA_'
echo started
read -r _
vendor_services_stop
"""

# openssl's verification error numbers (X509_V_ERR_*).
CERT_NOT_YET_VALID = 9
CERT_HAS_EXPIRED = 10
DEPTH_ZERO_SELF_SIGNED_CERT = 18
INVALID_PURPOSE = 26

CREATE_TICKET = "/api/it-ticket/create-ticket"


class VendorServices(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.state = Path(cls.folder.name) / "vendor"
        cls.process = subprocess.Popen(["bash", "-c", START, "bash", str(ROOT), str(cls.state)],
                                       stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        cls.env = {}
        for line in cls.process.stdout:
            if line.strip() == "started":
                break
            name, _, value = line.rstrip("\n").partition("=")
            cls.env[name] = value
        else:
            cls.process.wait()
            cls.folder.cleanup()
            raise RuntimeError("the vendor services did not start")

    @classmethod
    def tearDownClass(cls):
        cls.process.stdin.close()
        cls.process.wait()
        cls.folder.cleanup()

    def setUp(self):
        self.set_scenario("success")
        journal = self.state / "journal"
        for entry in journal.iterdir():
            shutil.rmtree(entry)

    def set_scenario(self, word):
        (self.state / "scenario").write_text(word + "\n", encoding="utf-8")

    def port(self, name):
        return int(self.env["TIQORA_" + name + "_PORT"])

    def journal(self):
        """(method, path, port, tls) of every journal entry, in arrival order."""
        entries = []
        for entry in sorted((self.state / "journal").iterdir(), key=lambda p: int(p.name)):
            fields = dict(line.split(": ", 1) for line in (entry / "request.txt").read_text("utf-8").splitlines())
            entries.append((fields["method"], fields["path"], int(fields["port"]), fields["tls"]))
        return entries

    def tls_context(self):
        return ssl.create_default_context(cafile=self.env["TIQORA_TEST_ROOT"])

    def post(self, port, path, tls):
        """(status, Location, body) of a JSON POST to `path`, over TLS
        (trusting the test authority) or plain HTTP."""
        if tls:
            connection = http.client.HTTPSConnection("localhost", port, context=self.tls_context(), timeout=10)
        else:
            connection = http.client.HTTPConnection("127.0.0.1", port, timeout=10)
        try:
            connection.request("POST", path, body="{}", headers={"Content-Type": "application/json"})
            reply = connection.getresponse()
            return reply.status, reply.getheader("Location"), reply.read()
        finally:
            connection.close()

    def openssl_verdict(self, port):
        """What openssl s_client says of the certificate on `port`, checked
        against the test authority: "ok" or the number of its verify error."""
        said = subprocess.run(["openssl", "s_client", "-connect", "127.0.0.1:%d" % port,
                               "-CAfile", self.env["TIQORA_TEST_ROOT"], "-verify_return_error"],
                              stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=30)
        output = said.stdout + said.stderr
        if "Verify return code: 0 (ok)" in output:
            return "ok"
        marker = "verify error:num="
        start = output.find(marker)
        self.assertNotEqual(start, -1, output)
        return int(output[start + len(marker):].split(":", 1)[0])

    # In both tests below, a request that does go through comes after the
    # refused one: it is answered only once journaled, so by its answer the
    # journal holds whatever came before it.
    def test_a_tls_port_refuses_plain_http_and_journals_nothing_of_it(self):
        port = self.port("TLS")
        with self.assertRaises((ConnectionError, http.client.HTTPException)):
            self.post(port, CREATE_TICKET + "?plain", tls=False)
        self.assertEqual(self.post(port, CREATE_TICKET + "?after", tls=True)[0], 200)
        self.assertEqual(self.journal(), [("POST", CREATE_TICKET + "?after", port, "yes")])

    def test_a_plain_port_refuses_tls_and_journals_nothing_of_it(self):
        port = self.port("VENDOR")
        with socket.create_connection(("127.0.0.1", port), timeout=10) as raw:
            with self.assertRaises((ssl.SSLError, ConnectionError)):
                self.tls_context().wrap_socket(raw, server_hostname="localhost").close()
        self.assertEqual(self.post(port, CREATE_TICKET + "?after", tls=False)[0], 200)
        self.assertEqual(self.journal(), [("POST", CREATE_TICKET + "?after", port, "no")])

    def test_each_certificate_fails_openssl_verification_for_its_own_reason(self):
        cases = [
            ("TLS", "ok"),
            ("TLS_EXPIRED", CERT_HAS_EXPIRED),
            ("TLS_NOT_YET_VALID", CERT_NOT_YET_VALID),
            ("TLS_CLIENT_ONLY", INVALID_PURPOSE),
            ("TLS_SELF_SIGNED", DEPTH_ZERO_SELF_SIGNED_CERT),
        ]
        for name, verdict in cases:
            with self.subTest(port=name):
                self.assertEqual(self.openssl_verdict(self.port(name)), verdict)

    def test_redirect_to_http_sends_a_tls_post_to_the_first_plain_port(self):
        self.set_scenario("redirect-to-http")
        port, path = self.port("TLS"), CREATE_TICKET + "?corp=7"
        status, location, _ = self.post(port, path, tls=True)
        self.assertEqual(status, 302)
        self.assertEqual(location, "http://127.0.0.1:%d%s" % (self.port("VENDOR"), path))
        self.assertEqual(self.journal(), [("POST", path, port, "yes")])

    def test_redirect_to_http_answers_plain_http_as_success(self):
        self.set_scenario("redirect-to-http")
        port = self.port("VENDOR")
        status, location, body = self.post(port, CREATE_TICKET, tls=False)
        self.assertEqual((status, location), (200, None))
        self.assertIn(b"Ticket Created Successfully", body)
        self.assertEqual(self.journal(), [("POST", CREATE_TICKET, port, "no")])


if __name__ == "__main__":
    unittest.main()
