"""A loopback SMTP server for the e-mail tests.

Listens on 127.0.0.1 on a free port, accepts AUTH LOGIN and AUTH PLAIN
without TLS for one login, and appends one JSON line per message it receives
to the file given. Prints "PORT <n>" once it listens; runs until killed.

    ZB_SMTP_PASSWORD=PASSWORD /usr/bin/python3 smtp_server.py MESSAGES_FILE USER
"""
import email
import email.policy
import json
import os
import socket
import sys
import time

from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def body_of(message):
    """The text of a message, decoded by its own charset."""
    part = message.get_body(preferencelist=("plain",))
    try:
        return part.get_content() if part is not None else ""
    except (LookupError, KeyError):
        return part.get_payload(decode=True).decode("utf-8", "replace")


class Recorder:
    def __init__(self, path):
        self.path = path

    async def handle_DATA(self, server, session, envelope):
        message = email.message_from_bytes(envelope.original_content, policy=email.policy.default)
        record = {
            "login": session.auth_data.login.decode("utf-8") if session.auth_data else None,
            "mail_from": envelope.mail_from,
            "rcpt_tos": envelope.rcpt_tos,
            "subject": str(message.get("Subject", "")),
            "from": str(message.get("From", "")),
            "to": str(message.get("To", "")),
            "cc": str(message.get("Cc", "")),
            "reply_to": str(message.get("Reply-To", "")),
            "bcc_header": str(message.get("Bcc", "")),
            "body": body_of(message),
            "raw": envelope.original_content.decode("utf-8", "replace"),
        }
        with open(self.path, "a", encoding="utf-8") as f:
            f.write(json.dumps(record) + "\n")
        return "250 OK"


def main():
    path, user, password = sys.argv[1], sys.argv[2], os.environ["ZB_SMTP_PASSWORD"]
    expected = (user.encode("utf-8"), password.encode("utf-8"))

    def authenticate(server, session, envelope, mechanism, auth_data):
        ok = (auth_data.login, auth_data.password) == expected
        return AuthResult(success=ok, handled=False, auth_data=auth_data)

    port = free_port()
    controller = Controller(
        Recorder(path),
        hostname="127.0.0.1",
        port=port,
        authenticator=authenticate,
        auth_require_tls=False,
        auth_required=True,
    )
    controller.start()
    print("PORT", port, flush=True)
    try:
        while True:
            time.sleep(3600)
    finally:
        controller.stop()


if __name__ == "__main__":
    main()
