#!/usr/bin/env python3
"""Moves and presses the pointer of a VNC server (wayvnc on a loopback port)
with just enough of the RFB protocol: version 3.8, security type None,
ClientInit, then 6-byte PointerEvent messages. Nothing but loopback.

  rfb-pointer.py PORT STEP...
  rfb-pointer.py PORT -

A STEP is X,Y (the pointer there, no button held), X,Y,down (left button
held there) or wait:MS. With "-" the steps are read from standard input, one
a line, each sent as soon as it arrives, until the input ends. The pointer
ends without a button held."""
import socket
import struct
import sys
import time


def receive(sock, size):
    data = b""
    while len(data) < size:
        chunk = sock.recv(size - len(data))
        if not chunk:
            sys.exit("rfb-pointer: the server closed the connection")
        data += chunk
    return data


def handshake(sock):
    version = receive(sock, 12)
    if not version.startswith(b"RFB 003."):
        sys.exit(f"rfb-pointer: not an RFB server: {version!r}")
    sock.sendall(b"RFB 003.008\n")
    (count,) = struct.unpack("B", receive(sock, 1))
    types = receive(sock, count)
    if 1 not in types:
        sys.exit(f"rfb-pointer: no security type None among {list(types)}")
    sock.sendall(b"\x01")
    (result,) = struct.unpack(">I", receive(sock, 4))
    if result != 0:
        sys.exit("rfb-pointer: security handshake refused")
    sock.sendall(b"\x01")  # ClientInit: share the desktop
    width, height = struct.unpack(">HH", receive(sock, 4))
    receive(sock, 16)  # pixel format
    (name_length,) = struct.unpack(">I", receive(sock, 4))
    receive(sock, name_length)
    return width, height


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    port = int(sys.argv[1])
    with socket.create_connection(("127.0.0.1", port), timeout=10) as sock:
        handshake(sock)
        x = y = 0
        steps = sys.stdin if sys.argv[2:] == ["-"] else sys.argv[2:]
        for step in (line.strip() for line in steps):
            if step.startswith("wait:"):
                time.sleep(int(step[5:]) / 1000)
                continue
            parts = step.split(",")
            x, y = int(parts[0]), int(parts[1])
            buttons = 1 if parts[2:] == ["down"] else 0
            sock.sendall(struct.pack(">BBHH", 5, buttons, x, y))
        sock.sendall(struct.pack(">BBHH", 5, 0, x, y))
        time.sleep(0.1)  # let the server read the last event before the close


if __name__ == "__main__":
    main()
