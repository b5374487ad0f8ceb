#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into this folder, one subfolder per target.

The controller's answers are taken from zavsim on a pseudo-terminal (a live poll and a read
of registers 80 to 102); the requests are the tool's own frames; the settings file is the
demo library; the upload is a whole exchange as the controller answers it.
Usage: fuzz/corpus/make_seeds.py ZAVSIM"""

import os
import subprocess
import sys
import termios
import time
import tty

HERE = os.path.dirname(os.path.abspath(__file__))
NO_PAUSES = bytes(8)  # the mask of pauses or silences that two targets read first


def request(letter, address, value=0):
    high, low = value >> 8, value & 0xFF
    return bytes([2, ord(letter), address, high, low,
                  (2 + ord(letter) + address + high + low) & 0xFF, 0x0D])


def write(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as out:
        out.write(data)


def ask_simulator(zavsim, requests):
    """What zavsim answers to the given request frames, each given 800 ms."""
    sim = subprocess.Popen([zavsim, "--pty"], stdout=subprocess.PIPE)
    try:
        path = sim.stdout.readline().decode().strip()
        fd = os.open(path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        tty.setraw(fd)
        answers = []
        for frame in requests:
            os.write(fd, frame)
            time.sleep(0.8)
            got = b""
            try:
                while True:
                    got += os.read(fd, 4096)
            except BlockingIOError:
                pass
            answers.append(got)
        os.close(fd)
        return answers
    finally:
        sim.terminate()
        sim.wait()


def word(value):
    return bytes([value & 0xFF, value >> 8])


def car(values):
    return b"".join(word(v) for v in values) + word(0x3130)


def record(name, values):
    return name.encode().ljust(64, b"\0") + b"".join(word(v) for v in values) + bytes(2)


FACTORY = [40, 500, 650, 500, 200, 500, 3300, 599, 4000, 48160, 5, 2000, 0, 0, 0]
VAN = [45, 520, 680, 400, 220, 450, 3000, 650, 3900, 47500, 6, 1900, 0, 0, 0]


def image_packets(blocks):
    data = bytes((i * 251 + 17) & 0xFF for i in range(blocks * 128))
    out = b""
    for n in range(1, blocks + 1):
        chunk = data[(n - 1) * 128:n * 128]
        out += bytes([1, n, 255 - n]) + chunk + bytes([sum(chunk) & 0xFF])
    return out


def main():
    zavsim = sys.argv[1]
    live, block = ask_simulator(zavsim, [request("Q", 32)] +
                                [b"".join(request("Q", a) for a in range(80, 103))])
    write("receiver_fuzz", "live_poll", live)
    write("receiver_fuzz", "block_read", block)
    write("receiver_fuzz", "noisy_live_poll", b"\x15\x02" + live[:9] + live[3:])

    writes = b"".join(request("S", 80 + i, v) for i, v in enumerate(VAN[:13]))
    write("request_receiver_fuzz", "poll_and_read",
          NO_PAUSES + request("Q", 32) + b"".join(request("Q", a) for a in range(80, 103)))
    write("request_receiver_fuzz", "write_set", NO_PAUSES + writes)
    write("request_receiver_fuzz", "switch_clear_upgrade",
          NO_PAUSES + request("B", 0) + request("C", 0) + request("U", 0))
    write("request_receiver_fuzz", "broken_then_whole",
          b"\x00\x00\x00\x00\x00\x00\x00\x04" + request("Q", 32)[:4] + request("Q", 32))

    write("xmodem_receiver_fuzz", "three_blocks_and_eot", NO_PAUSES + image_packets(3) + b"\x04")
    resent = image_packets(2)
    write("xmodem_receiver_fuzz", "block_resent_and_cancel",
          NO_PAUSES + resent + resent[132:] + b"\x18\x18")

    # Image size (two bytes, high first), then one controller byte per 20 ms tick.
    whole = bytes([0x78, 0x00]) + b"\x15" + b"\x06" * 241
    write("upload_fuzz", "whole_upload", whole)
    write("upload_fuzz", "nak_bursts", bytes([0x10, 0x00]) + b"\x06\x15" + b"\x15\x15\x06" * 40)
    write("upload_fuzz", "cancelled", bytes([0x00, 0x80]) + b"\x15\x06\x18\x18\x01")

    write("parameter_file_fuzz", "van.car", car(VAN))
    write("parameter_file_fuzz", "factory.car", car(FACTORY))

    write("config_library_fuzz", "demo.cfg",
          b"COM1" + record("Simulator factory values", FACTORY) +
          record("Van 2.0 sequential", VAN))
    write("config_library_fuzz", "port_only.cfg", b"COM3")


if __name__ == "__main__":
    main()
