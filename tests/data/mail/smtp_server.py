"""An SMTP server on loopback for the mail tests, built on aiosmtpd.

Prints one JSON object per line on stdout: first {"event": "ready", "port": N}, then what the
client did (ehlo, starttls, auth, mail, rcpt, data). A received message is parsed with Python's
email module and reported as headers and parts. Ends when stdin closes.
"""
import argparse
import asyncio
import email
import email.policy
import email.utils
import hashlib
import json
import os
import ssl
import sys
import time

from aiosmtpd.smtp import SMTP, AuthResult, LoginPassword


def emit(**record):
    sys.stdout.write(json.dumps(record) + "\n")
    sys.stdout.flush()


def tls_of(server):
    return server.transport is not None and server.transport.get_extra_info("ssl_object") is not None


def age_of_date(header):
    """Seconds between a Date header and now; None when it is missing, unreadable or has no zone."""
    try:
        when = email.utils.parsedate_to_datetime(header)
    except (TypeError, ValueError):
        return None
    return abs(time.time() - when.timestamp()) if when.tzinfo is not None else None


def parse_message(raw):
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    date_age = age_of_date(msg["Date"])
    parts = []
    for part in msg.iter_parts() if msg.is_multipart() else []:
        payload = part.get_payload(decode=True) or b""
        entry = {
            "type": part.get_content_type(),
            "charset": part.get_content_charset(),
            "encoding": part.get("Content-Transfer-Encoding", ""),
            "filename": part.get_filename(),
            "sha256": hashlib.sha256(payload).hexdigest(),
            "size": len(payload),
        }
        if part.get_content_maintype() == "text":
            entry["text"] = part.get_content().replace("\r\n", "\n")
        parts.append(entry)
    def mailboxes(name):
        header = msg[name]
        return [[a.display_name, a.addr_spec] for a in header.addresses] if header is not None else []

    return {
        "from": str(msg["From"]),
        "from_mailboxes": mailboxes("From"),
        "to_mailboxes": mailboxes("To"),
        "to": str(msg["To"]),
        "subject": str(msg["Subject"]),
        "x_mailer": str(msg["X-Mailer"]),
        "date_age": date_age,
        "type": msg.get_content_type(),
        "defects": len(msg.defects),
        # Defects of single headers (undecodable bytes, a broken encoded word) are kept there.
        "header_defects": sum(len(value.defects) for value in msg.values()),
        "parts": parts,
    }


class Recorder:
    def __init__(self, refused):
        self.refused = refused

    async def handle_EHLO(self, server, session, envelope, hostname, responses):
        session.host_name = hostname
        emit(event="ehlo", tls=tls_of(server))
        return responses

    def handle_STARTTLS(self, server, session, envelope):
        emit(event="starttls")
        return True

    async def handle_MAIL(self, server, session, envelope, address, options):
        emit(event="mail", address=address, options=options, tls=tls_of(server),
             authenticated=bool(session.authenticated))
        envelope.mail_from = address
        envelope.mail_options.extend(options)
        return "250 OK"

    async def handle_RCPT(self, server, session, envelope, address, options):
        accepted = address != self.refused
        emit(event="rcpt", address=address, accepted=accepted)
        if not accepted:
            return "550 5.1.1 No such user here"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        raw = envelope.original_content
        emit(event="data", tls=tls_of(server), size=len(raw), message=parse_message(raw))
        return "250 Message accepted for delivery"


def authenticator(user, password):
    def check(server, session, envelope, mechanism, auth_data):
        ok = (isinstance(auth_data, LoginPassword) and auth_data.login.decode() == user
              and auth_data.password.decode() == password)
        emit(event="auth", mechanism=mechanism, ok=ok)
        # handled=False: the server itself answers a refused login with 535.
        return AuthResult(success=ok, handled=False)
    return check


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--tls", choices=["none", "starttls", "implicit"], default="none")
    ap.add_argument("--cert")
    ap.add_argument("--key")
    ap.add_argument("--user")
    ap.add_argument("--password", default="")
    ap.add_argument("--require-starttls", action="store_true")
    ap.add_argument("--refuse-rcpt", default="")
    args = ap.parse_args()

    context = None
    if args.tls != "none":
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.cert, args.key)

    handler = Recorder(args.refuse_rcpt)
    loop = asyncio.new_event_loop()
    asyncio.set_event_loop(loop)

    def factory():
        return SMTP(handler, hostname="smtp.test", loop=loop,
                    tls_context=context if args.tls == "starttls" else None,
                    require_starttls=args.require_starttls,
                    authenticator=authenticator(args.user, args.password) if args.user else None,
                    auth_require_tls=False)

    server = loop.run_until_complete(loop.create_server(
        factory, host="127.0.0.1", port=args.port,
        ssl=context if args.tls == "implicit" else None))
    emit(event="ready", port=server.sockets[0].getsockname()[1])

    def on_stdin():
        if not os.read(sys.stdin.fileno(), 4096):
            loop.stop()
    loop.add_reader(sys.stdin.fileno(), on_stdin)
    try:
        loop.run_forever()
    finally:
        server.close()


if __name__ == "__main__":
    main()
