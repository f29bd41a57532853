#!/usr/bin/env python3
"""Pointer and key events into a Wayland session through wayvnc's virtual
devices, as a minimal RFB client on wayvnc's UNIX socket.

Usage: vnc_input.py SOCKET STEP...
       vnc_input.py SOCKET -      (steps from standard input, a line at a time)
Steps: move X Y (output pixels), press B, release B (1 left, 2 middle,
3 right), click B, key NAME (Return, Escape, space, or one character).
The events are sent in order and arrive in order. Once the server has taken
them all, the client leaves, or, reading standard input, prints "ok" and
reads the next line: a button held stays held between lines.
"""
import socket
import struct
import sys

KEYSYMS = {"Return": 0xFF0D, "Escape": 0xFF1B, "space": 0x20, "Tab": 0xFF09}


def read_exactly(sock, size):
    data = b""
    while len(data) < size:
        chunk = sock.recv(size - len(data))
        if not chunk:
            raise SystemExit("vnc_input: the server closed the connection")
        data += chunk
    return data


def handshake(sock):
    version = read_exactly(sock, 12)
    if not version.startswith(b"RFB 003."):
        raise SystemExit(f"vnc_input: not an RFB server: {version!r}")
    sock.sendall(b"RFB 003.008\n")
    (count,) = struct.unpack("!B", read_exactly(sock, 1))
    types = read_exactly(sock, count)
    if 1 not in types:
        raise SystemExit(f"vnc_input: the server wants authentication ({list(types)})")
    sock.sendall(b"\x01")
    (result,) = struct.unpack("!I", read_exactly(sock, 4))
    if result != 0:
        raise SystemExit("vnc_input: the server refused the connection")
    sock.sendall(b"\x01")  # shared
    read_exactly(sock, 4)  # width, height
    bits_per_pixel = read_exactly(sock, 16)[0]  # pixel format
    (name_length,) = struct.unpack("!I", read_exactly(sock, 4))
    read_exactly(sock, name_length)
    sock.sendall(struct.pack("!BBHi", 2, 0, 1, 0))  # SetEncodings: raw only
    return bits_per_pixel // 8


def barrier(sock, bytes_per_pixel):
    """Asks for one pixel of the screen and reads the answer: the server
    answers only after the events sent before the request."""
    sock.sendall(struct.pack("!BBHHHH", 3, 0, 0, 0, 1, 1))
    while True:
        (kind,) = struct.unpack("!B", read_exactly(sock, 1))
        if kind == 0:  # FramebufferUpdate
            (rects,) = struct.unpack("!xH", read_exactly(sock, 3))
            for _ in range(rects):
                _, _, w, h, encoding = struct.unpack("!HHHHi", read_exactly(sock, 12))
                if encoding != 0:
                    raise SystemExit(f"vnc_input: unexpected encoding {encoding}")
                read_exactly(sock, w * h * bytes_per_pixel)
            return
        if kind == 2:  # Bell
            continue
        if kind == 3:  # ServerCutText
            (length,) = struct.unpack("!3xI", read_exactly(sock, 7))
            read_exactly(sock, length)
            continue
        raise SystemExit(f"vnc_input: unexpected server message {kind}")


class Input:
    def __init__(self, sock):
        self.sock = sock
        self.buttons = 0
        self.x = self.y = 0

    def pointer(self):
        self.sock.sendall(struct.pack("!BBHH", 5, self.buttons, self.x, self.y))

    def key(self, name):
        keysym = KEYSYMS.get(name, ord(name[0]) if len(name) == 1 else None)
        if keysym is None:
            raise SystemExit(f"vnc_input: unknown key {name}")
        for down in (1, 0):
            self.sock.sendall(struct.pack("!BBHI", 4, down, 0, keysym))

    def run(self, steps):
        i = 0
        while i < len(steps):
            step = steps[i]
            if step == "move":
                self.x, self.y = int(steps[i + 1]), int(steps[i + 2])
                self.pointer()
                i += 3
                continue
            if step in ("press", "release", "click"):
                bit = 1 << (int(steps[i + 1]) - 1)
                if step in ("press", "click"):
                    self.buttons |= bit
                    self.pointer()
                if step in ("release", "click"):
                    self.buttons &= ~bit
                    self.pointer()
                i += 2
                continue
            if step == "key":
                self.key(steps[i + 1])
                i += 2
                continue
            raise SystemExit(f"vnc_input: unknown step {step}")


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as sock:
        sock.connect(sys.argv[1])
        bytes_per_pixel = handshake(sock)
        device = Input(sock)
        if sys.argv[2:] != ["-"]:
            device.run(sys.argv[2:])
            barrier(sock, bytes_per_pixel)
            return
        for line in sys.stdin:
            device.run(line.split())
            barrier(sock, bytes_per_pixel)
            print("ok", flush=True)


if __name__ == "__main__":
    main()
