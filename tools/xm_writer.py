# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes FastTracker 2 style Extended Modules (.xm, format 0x0104).

Only what our tunes need: packed patterns, one sample per instrument,
volume envelopes, instrument auto-vibrato, 8- or 16-bit delta samples.
"""

import math
import struct

NOTE_OFF = 97          # key-off in the note column
C4_NOTE = 49           # the note byte shown as C-4 in a tracker


def _text(s, n):
    b = s.encode("ascii", "replace")[:n]
    return b + b"\0" * (n - len(b))


def tuning_for_rate(rate_at_c4):
    """relative note and finetune so that note C-4 plays the sample at
    rate_at_c4 samples a second (linear frequency table)."""
    semis = 12.0 * math.log2(rate_at_c4 / 8363.0)
    rel = int(round(semis))
    fine = int(round((semis - rel) * 128.0))
    fine = max(-128, min(127, fine))
    if not -96 <= rel <= 95:
        raise ValueError("sample rate %.1f out of reach" % rate_at_c4)
    return rel, fine


class Sample:
    def __init__(self, data, rate_at_c4, bits=16, loop_start=0, loop_len=0,
                 loop_type=1, volume=64, panning=128, name=""):
        self.data = list(data)             # signed ints
        self.bits = bits
        self.loop_start = loop_start       # in sample frames
        self.loop_len = loop_len           # 0 = no loop
        self.loop_type = loop_type if loop_len else 0
        self.volume = volume
        self.panning = panning
        self.name = name
        self.rel, self.fine = tuning_for_rate(rate_at_c4)

    def header(self):
        w = 2 if self.bits == 16 else 1
        typ = self.loop_type | (0x10 if self.bits == 16 else 0)
        return struct.pack("<IIIBbBBbB", len(self.data) * w,
                           self.loop_start * w, self.loop_len * w,
                           self.volume, self.fine, typ, self.panning,
                           self.rel, 0) + _text(self.name, 22)

    def body(self):
        out = bytearray()
        prev = 0
        if self.bits == 16:
            for v in self.data:
                if not -32768 <= v <= 32767:
                    raise ValueError("16-bit sample value out of range")
                out += struct.pack("<h", ((v - prev + 32768) & 0xFFFF) - 32768)
                prev = v
        else:
            for v in self.data:
                if not -128 <= v <= 127:
                    raise ValueError("8-bit sample value out of range")
                out.append((v - prev) & 0xFF)
                prev = v
        return bytes(out)


class Instrument:
    def __init__(self, name, sample, vol_env=None, vol_sustain=None,
                 vol_loop=None, fadeout=0, vibrato=(0, 0, 0, 0)):
        self.name = name
        self.sample = sample
        self.vol_env = vol_env or []       # [(tick, 0..64), ...] max 12
        self.vol_sustain = vol_sustain     # point index or None
        self.vol_loop = vol_loop           # (start, end) point indexes or None
        self.fadeout = fadeout             # 0..4095
        self.vibrato = vibrato             # (type, sweep, depth, rate)

    def encode(self):
        if len(self.vol_env) > 12:
            raise ValueError("%s: envelope has more than 12 points" % self.name)
        xs = [p[0] for p in self.vol_env]
        if xs and (xs[0] != 0 or any(b <= a for a, b in zip(xs, xs[1:]))):
            raise ValueError("%s: envelope ticks must start at 0 and rise" % self.name)
        head = struct.pack("<I", 263) + _text(self.name, 22) + struct.pack("<BH", 0, 1)
        head += struct.pack("<I", 40)
        head += bytes(96)                                   # every key -> sample 0
        env = b"".join(struct.pack("<HH", x, y) for x, y in self.vol_env)
        head += env + bytes(48 - len(env))
        head += bytes(48)                                   # no panning envelope
        vtype = 0
        if self.vol_env:
            vtype |= 1
            if self.vol_sustain is not None:
                vtype |= 2
            if self.vol_loop is not None:
                vtype |= 4
        ls, le = self.vol_loop if self.vol_loop else (0, 0)
        head += struct.pack("<BBBBBBBBBB", len(self.vol_env), 0,
                            self.vol_sustain or 0, ls, le, 0, 0, 0, vtype, 0)
        head += struct.pack("<BBBB", *self.vibrato)
        head += struct.pack("<HH", self.fadeout, 0)
        head += bytes(263 - len(head))
        assert len(head) == 263
        return head + self.sample.header() + self.sample.body()


def pack_pattern(rows):
    """rows: list of rows, each a list (one per channel) of
    (note, instrument, volume, effect, param) with 0 meaning empty."""
    out = bytearray()
    for row in rows:
        for cell in row:
            note, ins, vol, eff, par = cell
            flags = 0x80
            parts = []
            for bit, val in ((1, note), (2, ins), (4, vol), (8, eff), (16, par)):
                if val:
                    flags |= bit
                    parts.append(val)
            if flags == 0x9F:
                out += bytes(parts)                         # all five: plain form
            else:
                out.append(flags)
                out += bytes(parts)
    return bytes(out)


def write_module(path, name, channels, speed, tempo, order, restart,
                 patterns, instruments, tracker="Tobrin audio tools"):
    if len(order) > 256 or not order:
        raise ValueError("order list must hold 1..256 entries")
    if not 0 <= restart < len(order):
        raise ValueError("restart position outside the order list")
    out = bytearray()
    out += b"Extended Module: " + _text(name, 20) + b"\x1a" + _text(tracker, 20)
    out += struct.pack("<HI", 0x0104, 276)
    out += struct.pack("<HHHHHHHH", len(order), restart, channels,
                       len(patterns), len(instruments), 1, speed, tempo)
    out += bytes(order) + bytes(256 - len(order))
    assert len(out) == 60 + 276
    for rows in patterns:
        for row in rows:
            assert len(row) == channels
        data = pack_pattern(rows)
        out += struct.pack("<IBHH", 9, 0, len(rows), len(data)) + data
    for ins in instruments:
        out += ins.encode()
    with open(path, "wb") as f:
        f.write(out)
    return len(out)
