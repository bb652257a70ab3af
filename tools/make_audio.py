#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds every sound and tune of Tobrin and the Fish.

    python3 tools/make_audio.py            (run from the repository root)

Reads the scores and the effect recipes in assets/audio/ and writes
resources/audio/: briny.xm, attack.xm and the effect WAVs.  The output is
the same, byte for byte, on every run.

Score files (assets/audio/*.txt) are plain text:

    module NAME / speed N / tempo N / rows N / bar N / channels N / gain X
    inst NAME RECIPE key=value ...     an instrument (see below)
    kit  c=inst[/NOTE][@vol] ...       letters used by 'beat' lines
    pattern NAME [like OTHER]          a block of rows, ended by 'end';
                                       'like' starts from a copy of OTHER
      notes  CHS INST [hold=] : D5:3 E5@40 r:2 ~:4 | ...
      chords CHS INST [voices= lo= hi= hits= soft=] : D:12 Bm:12@30 r:12
      arp    CHS INST [oct= step= shape=1-3-5-1' hold=] : D:12 G:12
      beat   CHS : k..h..s..h..
      clear  CH[,CH]                   drop a line copied by 'like'
    end
    order NAME NAME ...   /   restart INDEX

CHS is one channel or a list (1,2): notes take the channels in turn and
each is keyed off as the next one starts ('hold=2': the one after), so it
fades through its envelope rather than being cut.  A chord line splits its
channels into sets of 'voices'.  The build checks that no channel starts a
note while the last one there is still loud, round the loop too, and that
the tune is still sounding on its last row, so it loops without a hole.
Durations are in rows; '|' marks bar lines and every bar is checked for
length.  'r' is a key-off (the instrument fades out), '~' holds.
Instrument keys: vol (0-64), env (tick:level,...), sus (point index),
fade (0-4095), vib (type,sweep,depth,rate), pan (0-255), bits (8|16),
ease (ms of fade-in at C4, to open a note softly); everything else goes to
the wave recipe in tools/synth.py.

The game plays the modules through SDL_mixer's libmikmod, which moves
volumes once a tick and, when its mixing buffer ends just after a note
starts, fades that note in from the wrong value.  So the build also holds
every instrument to gentle envelopes and soft note starts (see
check_smooth and check_soft_starts) and stops with a message if one is not.

Effect recipes (assets/audio/effects.txt): NAME KIND key=value ... per line.
"""

import os
import re
import struct
import sys
import wave

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import synth                        # noqa: E402
import xm_writer                    # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = os.path.join(ROOT, "assets", "audio")
OUT = os.path.join(ROOT, "resources", "audio")

SCORES = ["briny", "attack"]
EFFECTS_FILE = "effects.txt"

NOTE_RE = re.compile(r"^([A-Ga-g])([#b]?)(\d)$")
SEMI = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
CHORD_RE = re.compile(r"^([A-G])([#b]?)([a-z0-9]*)(?:/([A-G][#b]?))?$")
QUALITY = {
    "": [0, 4, 7], "m": [0, 3, 7], "7": [0, 4, 7, 10], "maj7": [0, 4, 7, 11],
    "m7": [0, 3, 7, 10], "sus2": [0, 2, 7], "sus4": [0, 5, 7],
    "dim": [0, 3, 6], "aug": [0, 4, 8], "add9": [0, 4, 7, 14],
    "6": [0, 4, 7, 9], "m6": [0, 3, 7, 9], "5": [0, 7], "madd9": [0, 3, 7, 14],
}
INST_KEYS = {"vol", "env", "sus", "envloop", "fade", "vib", "pan", "bits", "level", "ease"}


class ScoreError(Exception):
    pass


COMMENT_RE = re.compile(r"(^|\s)#.*$")


def strip_comment(raw):
    """'#' starts a comment at the line start or after a space (F#5 is a note)"""
    return COMMENT_RE.sub("", raw.rstrip("\n")).strip()


def note_number(name, where):
    """'C4' (middle C) -> 49, the tracker's C-4"""
    m = NOTE_RE.match(name)
    if not m:
        raise ScoreError("%s: '%s' is not a note" % (where, name))
    semi = SEMI[m.group(1).upper()] + {"": 0, "#": 1, "b": -1}[m.group(2)]
    n = 12 * int(m.group(3)) + semi + 1
    if not 1 <= n <= 96:
        raise ScoreError("%s: note %s out of range" % (where, name))
    return n


def pitch_class(root, acc):
    return (SEMI[root] + {"": 0, "#": 1, "b": -1}[acc]) % 12


def parse_chord(name, where):
    m = CHORD_RE.match(name)
    if not m or m.group(3) not in QUALITY:
        raise ScoreError("%s: '%s' is not a chord I know" % (where, name))
    return pitch_class(m.group(1), m.group(2)), QUALITY[m.group(3)]


def split_token(tok, last_len, where):
    """'D5:3@40' -> ('D5', 3, 40); the length carries over when left out"""
    vol = None
    if "@" in tok:
        tok, v = tok.split("@", 1)
        vol = int(v)
        if not 0 <= vol <= 64:
            raise ScoreError("%s: volume %d outside 0..64" % (where, vol))
    if ":" in tok:
        tok, ln = tok.split(":", 1)
        last_len = int(ln)
    if last_len is None or last_len <= 0:
        raise ScoreError("%s: '%s' needs a length" % (where, tok))
    return tok, last_len, vol


def timeline(body, bar, where):
    """tokens with lengths -> [(start_row, token, length, vol)], checking bars"""
    events, pos, last = [], 0, None
    bar_start, bar_no = 0, 1
    for tok in body.split():
        if tok == "|":
            if bar and pos - bar_start != bar:
                raise ScoreError("%s: bar %d holds %d rows, not %d"
                                 % (where, bar_no, pos - bar_start, bar))
            bar_start, bar_no = pos, bar_no + 1
            continue
        name, last, vol = split_token(tok, last, where)
        events.append((pos, name, last, vol))
        pos += last
    if bar and pos != bar_start and pos - bar_start != bar:
        raise ScoreError("%s: last bar holds %d rows, not %d"
                         % (where, pos - bar_start, bar))
    return events, pos


def parse_opts(words, where):
    opts = {}
    for w in words:
        if "=" not in w:
            raise ScoreError("%s: expected key=value, got '%s'" % (where, w))
        k, v = w.split("=", 1)
        opts[k] = v
    return opts


def parse_channels(text, nch, where):
    chans = []
    for c in text.split(","):
        c = int(c)
        if not 1 <= c <= nch:
            raise ScoreError("%s: no channel %d" % (where, c))
        chans.append(c - 1)
    return chans


class Score:
    def __init__(self, path):
        self.path = path
        self.name = "Untitled"
        self.speed, self.tempo, self.rows, self.bar = 6, 125, 64, 0
        self.channels, self.gain, self.seed = 8, 1.0, 1
        self.insts, self.inst_index = [], {}
        self.kit = {}
        self.patterns, self.pattern_rows = {}, {}
        self.order, self.restart = [], 0
        self.parse()

    def parse(self):
        with open(self.path) as f:
            lines = f.readlines()
        current = None
        for no, raw in enumerate(lines, 1):
            where = "%s:%d" % (os.path.basename(self.path), no)
            line = strip_comment(raw)
            if not line:
                continue
            words = line.split()
            key = words[0]
            if current is not None:
                if key == "end":
                    current = None
                    continue
                self.pattern_line(current, line, where)
                continue
            if key in ("module",):
                self.name = " ".join(words[1:])
            elif key in ("speed", "tempo", "rows", "bar", "channels", "seed", "restart"):
                setattr(self, key, int(words[1]))
            elif key == "gain":
                self.gain = float(words[1])
            elif key == "inst":
                self.add_inst(words[1], words[2], parse_opts(words[3:], where), where)
            elif key == "kit":
                for w in words[1:]:
                    ch, drum = w.split("=", 1)
                    vol = None
                    if "@" in drum:
                        drum, v = drum.split("@", 1)
                        vol = int(v)
                    note = "C4"
                    if "/" in drum:
                        drum, note = drum.split("/", 1)
                    if drum not in self.inst_index:
                        raise ScoreError("%s: kit uses unknown instrument '%s'" % (where, drum))
                    self.kit[ch] = (self.inst_index[drum], note_number(note, where), vol)
            elif key == "pattern":
                name = words[1]
                if name in self.patterns:
                    raise ScoreError("%s: pattern '%s' defined twice" % (where, name))
                lines_of = {}
                if len(words) >= 4 and words[2] == "like":
                    if words[3] not in self.patterns:
                        raise ScoreError("%s: unknown pattern '%s'" % (where, words[3]))
                    lines_of = dict(self.patterns[words[3]])
                self.patterns[name] = lines_of
                current = name
            elif key == "order":
                self.order += words[1:]
            else:
                raise ScoreError("%s: don't know '%s'" % (where, key))
        if current is not None:
            raise ScoreError("%s: pattern '%s' has no 'end'" % (self.path, current))
        for name in self.order:
            if name not in self.patterns:
                raise ScoreError("%s: order names unknown pattern '%s'" % (self.path, name))

    def add_inst(self, name, recipe, opts, where):
        if name in self.inst_index:
            raise ScoreError("%s: instrument '%s' defined twice" % (where, name))
        self.inst_index[name] = len(self.insts) + 1
        self.insts.append((name, recipe, opts, where))

    def pattern_line(self, pname, line, where):
        words = line.split()
        kind = words[0]
        lines_of = self.patterns[pname]
        if kind == "clear":
            for c in parse_channels(words[1], self.channels, where):
                for k in [k for k in lines_of if c in k]:
                    del lines_of[k]
            return
        if ":" not in line:
            raise ScoreError("%s: a '%s' line needs ':' before its notes" % (where, kind))
        head, body = line.split(":", 1)
        hw = head.split()
        if kind not in ("notes", "chords", "arp", "beat"):
            raise ScoreError("%s: unknown line kind '%s'" % (where, kind))
        chans = tuple(parse_channels(hw[1], self.channels, where))
        for k in [k for k in lines_of if set(k) & set(chans)]:
            del lines_of[k]                    # a new line replaces the copied one
        lines_of[chans] = (kind, hw[2:], body, where)

    # ------------------------------------------------------------ rendering
    def inst_no(self, name, where):
        if name not in self.inst_index:
            raise ScoreError("%s: unknown instrument '%s'" % (where, name))
        return self.inst_index[name]

    def render_pattern(self, name):
        rows = self.rows
        grid = [[None] * self.channels for _ in range(rows)]

        def put(row, ch, cell, where):
            old = grid[row][ch]
            if old is not None:
                if cell[0] == xm_writer.NOTE_OFF and old[0] == xm_writer.NOTE_OFF:
                    return
                raise ScoreError("%s: two notes meet on channel %d row %d"
                                 % (where, ch + 1, row))
            grid[row][ch] = cell

        for chans, (kind, hw, body, where) in self.patterns[name].items():
            where = "%s (pattern %s)" % (where, name)
            if kind == "beat":
                self.render_beat(chans, body, put, where)
            elif kind == "notes":
                self.render_notes(chans, hw, body, put, where)
            elif kind == "chords":
                self.render_chords(chans, hw, body, put, where)
            elif kind == "arp":
                self.render_arp(chans, hw, body, put, where)
        empty = (0, 0, 0, 0, 0)
        return [[c if c is not None else empty for c in r] for r in grid]

    def check_len(self, total, where):
        if total != self.rows:
            raise ScoreError("%s: line fills %d rows, the pattern has %d"
                             % (where, total, self.rows))

    @staticmethod
    def volcol(vol):
        return 0 if vol is None else 0x10 + vol

    def render_beat(self, chans, body, put, where):
        steps = [c for c in body if c not in " \t|"]
        if not steps or self.rows % len(steps):
            raise ScoreError("%s: a beat of %d steps does not fill %d rows"
                             % (where, len(steps), self.rows))
        hits = [(r, steps[r % len(steps)]) for r in range(self.rows)
                if steps[r % len(steps)] != "."]
        rot = Rotor(chans, 1, put, where, len([h for h in hits if h[1] != "^"]),
                    keyoff=False)
        for r, c in hits:
            if c == "^":
                rot.release(r)
                continue
            if c not in self.kit:
                raise ScoreError("%s: '%s' is not in the kit" % (where, c))
            ins, note, vol = self.kit[c]
            rot.strike(r, [note], ins, self.volcol(vol))
        rot.save()

    def render_notes(self, chans, hw, body, put, where):
        ins = self.inst_no(hw[0], where)
        events, total = timeline(body, self.bar, where)
        self.check_len(total, where)
        opts = parse_opts(hw[1:], where)
        strikes = len([e for e in events if e[1] not in ("r", "~")])
        rot = Rotor(chans, 1, put, where, strikes, hold=int(opts.get("hold", 1)))
        for pos, tok, ln, vol in events:
            if tok == "~":
                continue
            if tok == "r":
                rot.release(pos)
                continue
            rot.strike(pos, [note_number(tok, where)], ins, self.volcol(vol))
        rot.save()

    def render_chords(self, chans, hw, body, put, where):
        ins = self.inst_no(hw[0], where)
        opts = parse_opts(hw[1:], where)
        voices = int(opts.get("voices", len(chans)))
        if len(chans) % voices:
            raise ScoreError("%s: %d channels do not split into %d voices"
                             % (where, len(chans), voices))
        lo = note_number(opts.get("lo", "A3"), where)
        hi = note_number(opts.get("hi", "E5"), where)
        hits = [c for c in opts.get("hits", "") if c not in "|"]
        soft = int(opts.get("soft", 40))
        events, total = timeline(body, self.bar, where)
        self.check_len(total, where)
        plan, prev = [], None           # (row, voicing or None for release, vol)
        for pos, tok, ln, vol in events:
            if tok == "~":
                continue
            if tok == "r":
                plan.append((pos, None, None))
                continue
            root, iv = parse_chord(tok, where)
            voicing = self.voice(root, iv, voices, lo, hi, prev, where)
            prev = voicing
            if not hits:
                plan.append((pos, voicing, vol))
                continue
            for r in range(pos, pos + ln):
                c = hits[r % len(hits)]
                if c in "xo":
                    plan.append((r, voicing, vol if c == "x" else soft))
                elif c == "^":
                    plan.append((r, None, None))
        rot = Rotor(chans, voices, put, where, len([p for p in plan if p[1]]))
        for r, voicing, vol in plan:
            if voicing is None:
                rot.release(r)
            else:
                rot.strike(r, voicing, ins, self.volcol(vol))
        rot.save()

    @staticmethod
    def voice(root, iv, count, lo, hi, prev, where):
        """spread the chord over count voices inside lo..hi, moving as little
        as possible from the last chord (or sitting mid-range at first)"""
        pcs = [(root + i) % 12 for i in iv]
        if len(pcs) > count:                    # drop the fifth first
            if len(pcs) == 4 and count == 3:
                pcs = [pcs[0], pcs[1], pcs[3]]
            pcs = pcs[:count]
        while len(pcs) < count:
            pcs.append(pcs[0])
        options = []
        for pc in pcs:
            opt = [n for n in range(lo, hi + 1) if (n - 1) % 12 == pc]
            if not opt:
                raise ScoreError("%s: range too narrow for the chord" % where)
            options.append(opt)
        best, best_cost = None, None
        centre = (lo + hi) / 2.0

        def walk(i, picked):
            nonlocal best, best_cost
            if i == len(options):
                s = sorted(picked)
                if len(set(s)) < len(s) or s[-1] - s[0] > 14:
                    return
                if prev:
                    cost = sum(abs(a - b) for a, b in zip(s, prev))
                else:
                    cost = abs(sum(s) / len(s) - centre)
                cost += 0.01 * (s[-1] - s[0])
                if best_cost is None or cost < best_cost:
                    best, best_cost = s, cost
                return
            for n in options[i]:
                walk(i + 1, picked + [n])

        walk(0, [])
        if best is None:
            raise ScoreError("%s: cannot voice the chord in that range" % where)
        return best

    def render_arp(self, chans, hw, body, put, where):
        ins = self.inst_no(hw[0], where)
        opts = parse_opts(hw[1:], where)
        octave = int(opts.get("oct", 4))
        step = int(opts.get("step", 1))
        shape = opts.get("shape", "1-3-5-1'").split("-")
        events, total = timeline(body, self.bar, where)
        self.check_len(total, where)
        plan = []
        for pos, tok, ln, vol in events:
            if tok == "~":
                continue
            if tok == "r":
                plan.append((pos, None, None))
                continue
            root, iv = parse_chord(tok, where)
            base = 12 * octave + root + 1
            for i, r in enumerate(range(pos, pos + ln, step)):
                d = shape[i % len(shape)]
                if d == ".":
                    continue
                if d == "^":
                    plan.append((r, None, None))
                    continue
                dv = vol
                if "@" in d:
                    d, v = d.split("@", 1)
                    dv = int(v)
                shift = 12 * (d.count("'") - d.count(","))
                deg = d.strip("',")
                semis = {"1": iv[0], "2": 2, "4": 5, "6": 9,
                         "3": iv[1] if len(iv) > 1 else 12,
                         "5": iv[2] if len(iv) > 2 else 7,
                         "7": iv[3] if len(iv) > 3 else 12}.get(deg)
                if semis is None:
                    raise ScoreError("%s: arp step '%s' unknown" % (where, d))
                n = base + semis + shift
                if not 1 <= n <= 96:
                    raise ScoreError("%s: arp note out of range" % where)
                plan.append((r, n, dv))
        rot = Rotor(chans, 1, put, where, len([p for p in plan if p[1]]),
                    hold=int(opts.get("hold", 1)))
        for r, n, vol in plan:
            if n is None:
                rot.release(r)
            else:
                rot.strike(r, [n], ins, self.volcol(vol))
        rot.save()

    # ------------------------------------------------------------ building
    def build_instruments(self):
        out = []
        for i, (name, recipe, opts, where) in enumerate(self.insts):
            wopts = {k: v for k, v in opts.items() if k not in INST_KEYS}
            try:
                w = synth.make_wave(recipe, wopts, self.seed * 1000 + i)
            except (ValueError, KeyError) as e:
                raise ScoreError("%s: %s" % (where, e))
            if "ease" in opts:
                try:
                    w = synth.ease_in(w, int(float(opts["ease"]) / 1000.0 * w["rate"]))
                except ValueError as e:
                    raise ScoreError("%s: %s" % (where, e))
            bits = int(opts.get("bits", 16))
            level = float(opts.get("level", 1.0)) * self.gain
            data = synth.floats_to_ints(w["data"], bits, level)
            smp = xm_writer.Sample(data, w["rate"], bits, w["loop_start"],
                                   w["loop_len"], volume=int(opts.get("vol", 48)),
                                   panning=int(opts.get("pan", 128)), name=recipe)
            smp.true_rate = w["rate"]
            env = []
            if "env" in opts:
                for pt in opts["env"].split(","):
                    x, y = pt.split(":")
                    env.append((int(x), int(y)))
            sus = int(opts["sus"]) if "sus" in opts else None
            loop = tuple(int(v) for v in opts["envloop"].split(",")) if "envloop" in opts else None
            vib = tuple(int(v) for v in opts.get("vib", "0,0,0,0").split(","))
            ins = xm_writer.Instrument(name, smp, env, sus, loop,
                                       int(opts.get("fade", 0)), vib)
            check_smooth(ins, where)
            out.append(ins)
        return out

    def build(self, path):
        # render the song in order (the channel turns run on through it),
        # then store each distinct pattern once
        Rotor.turns = {}
        played = [self.render_pattern(n) for n in self.order]
        patterns, order = [], []
        for grid in played:
            if grid not in patterns:
                patterns.append(grid)
            order.append(patterns.index(grid))
        instruments = self.build_instruments()
        check_soft_starts(self, played, instruments)
        worst = check_clean_cuts(self, played, instruments)
        size = xm_writer.write_module(path, self.name, self.channels, self.speed,
                                      self.tempo, order, self.restart, patterns,
                                      instruments)
        row_s = 2.5 / self.tempo * self.speed
        seconds = row_s * self.rows * len(order)
        return size, seconds, worst[0], worst[1], worst[2]


class Rotor:
    """Hands the notes of one line round a few channels in turn.  A note is
    keyed off when the 'hold'-th note after it starts, so it rings out
    through its envelope's release and fade-out on a channel of its own
    instead of being cut short (a cut mid-wave is a click in some players).
    The turn carries on from one pattern to the next through the song; a
    line's first note in a pattern also releases anything else left on its
    channels."""

    turns = {}          # channel list -> (turn, sounding sets), song-wide

    def __init__(self, chans, width, put, where, strikes, keyoff=True, hold=1):
        self.sets = [list(chans[i:i + width]) for i in range(0, len(chans), width)]
        n = len(self.sets)
        if keyoff and n > 1 and hold >= n:
            raise ScoreError("%s: hold=%d needs more than %d channels" % (where, hold, n))
        self.put, self.where, self.keyoff, self.hold = put, where, keyoff, hold
        self.key = (tuple(chans), width)
        self.i, sounding = Rotor.turns.get(self.key, (-1, []))
        self.sounding = [self.sets[k] for k in sounding]
        self.first = True

    def save(self):
        Rotor.turns[self.key] = (self.i, [self.sets.index(s) for s in self.sounding])

    def _off(self, row, chans):
        for ch in chans:
            self.put(row, ch, (xm_writer.NOTE_OFF, 0, 0, 0, 0), self.where)

    def strike(self, row, notes, ins, volcol):
        self.i = (self.i + 1) % len(self.sets)
        s = self.sets[self.i]
        if self.keyoff:
            if self.first:                      # whatever the last pattern left
                for other in self.sets:
                    if other is not s and other not in self.sounding:
                        self._off(row, other)
            self.sounding = [x for x in self.sounding if x is not s]
            while len(self.sounding) >= self.hold:
                self._off(row, self.sounding.pop(0))
        self.first = False
        for ch, n in zip(s, notes):
            self.put(row, ch, (n, ins, volcol, 0, 0), self.where)
        self.sounding.append(s)

    def release(self, row):
        for s in (self.sets if self.first else self.sounding):
            self._off(row, s)
        self.sounding = []
        self.first = False


# The module player in SDL_mixer (libmikmod) sets a voice's volume once a
# tick and does not always glide between values, so a steep envelope step or
# a sample that starts or stops away from zero is heard as a click.  Every
# instrument is held to these limits.
MAX_STEP = 6.0        # volume units (of 64) an envelope may move in one tick
EDGE = 0.03           # largest sample value allowed at a start or a hard end


def check_smooth(ins, where):
    smp = ins.sample
    full = 32767.0 if smp.bits == 16 else 127.0
    scale = smp.volume / 64.0
    pts = ins.vol_env
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        if abs(y1 - y0) / float(x1 - x0) * scale > MAX_STEP:
            raise ScoreError("%s: envelope %d:%d -> %d:%d moves too fast "
                             "(more than %.0f a tick)" % (where, x0, y0, x1, y1, MAX_STEP))
    if ins.fadeout * 64.0 / 32768.0 * scale > MAX_STEP:
        raise ScoreError("%s: fade %d is too quick" % (where, ins.fadeout))
    if abs(smp.data[0]) / full > EDGE:
        raise ScoreError("%s: sample does not start near zero" % where)
    if not smp.loop_len and abs(smp.data[-1]) / full > EDGE:
        raise ScoreError("%s: sample does not end near zero" % where)


OUT_RATE = 44100      # the game opens its mixer at this rate
CLICK_WINDOW = 64     # output samples libmikmod fades a new note in over
MAX_BLIP = 0.08       # share of a voice's full level allowed in that window


def check_soft_starts(score, rows_in_order, instruments):
    """libmikmod fades each new note in over its first 64 output samples,
    but if its mixing buffer ends inside that fade it fades from the wrong
    value and ticks.  So every note must begin softly: the sample (times its
    volume and first envelope level) stays small through that window at the
    pitch it is played."""
    seen = set()
    for rows in rows_in_order:
        for row in rows:
            for note, ins, vol, eff, par in row:
                if ins and 0 < note < xm_writer.NOTE_OFF:
                    seen.add((ins, note, vol))
    for ins_no, note, vol in sorted(seen):
        ins = instruments[ins_no - 1]
        smp = ins.sample
        full = 32767.0 if smp.bits == 16 else 127.0
        v = (vol - 0x10 if 0x10 <= vol <= 0x50 else smp.volume) / 64.0
        env0 = (ins.vol_env[0][1] if ins.vol_env else 64) / 64.0
        step = smp.true_rate * 2.0 ** ((note - xm_writer.C4_NOTE) / 12.0) / OUT_RATE
        worst = 0.0
        for k in range(CLICK_WINDOW):
            i = int(k * step)
            if i >= len(smp.data):
                break
            worst = max(worst, abs(smp.data[i]) / full * (1.0 - k / float(CLICK_WINDOW)))
        if worst * v * env0 > MAX_BLIP:
            raise ScoreError("%s: instrument '%s' starts too sharply at note %d (%.2f); "
                             "give it a longer ease" % (os.path.basename(score.path), ins.name,
                                                        note, worst * v * env0))


def envelope_level(ins, ticks, off_at):
    """volume envelope (0..64) 'ticks' after the note began; off_at = tick of
    the key-off or None"""
    pts = ins.vol_env
    if not pts:
        return 64.0
    sus_x = pts[ins.vol_sustain][0] if ins.vol_sustain is not None else None
    if off_at is None or off_at > ticks:
        pos = min(ticks, sus_x) if sus_x is not None else ticks
    else:
        held = min(off_at, sus_x) if sus_x is not None else off_at
        pos = held + (ticks - off_at)
    if pos >= pts[-1][0]:
        return float(pts[-1][1])
    for (x0, y0), (x1, y1) in zip(pts, pts[1:]):
        if x0 <= pos < x1:
            return y0 + (y1 - y0) * (pos - x0) / float(x1 - x0)
    return float(pts[0][1])


MIN_AT_LOOP = 0.08    # how loud (summed over channels) the tune must still be as it loops


def check_clean_cuts(score, rows_in_order, instruments):
    """Walk the song as a player would, round the loop and through the
    pattern it starts over from, and make sure no channel starts a new note
    while the old note there is still loud: the old one must have faded
    through its envelope, fade-out or the end of its sample.  Notes may ring
    across the loop: xmp carries them on into the restart, and the game's
    player, which starts the module afresh, ramps them out over a few
    milliseconds without a click.  But the tune must not fall silent before
    it loops: that is a hole in the music every time round."""
    if score.restart != 0:
        raise ScoreError("%s: the game's player always starts over from the first "
                         "pattern, so 'restart' must be 0" % os.path.basename(score.path))
    tick_s = 2.5 / score.tempo
    speed = score.speed
    tails = []
    for ins in instruments:
        smp = ins.sample
        full = 32767.0 if smp.bits == 16 else 127.0
        tail, m = [0.0] * (len(smp.data) + 1), 0.0
        for i in range(len(smp.data) - 1, -1, -1):
            m = max(m, abs(smp.data[i]) / full)
            tail[i] = m
        loop_peak = max((abs(v) / full for v in
                         smp.data[smp.loop_start:smp.loop_start + smp.loop_len]), default=0.0)
        tails.append((tail, loop_peak))

    def residual(state, t):
        ins_no, note, start, off_at, vol = state
        ins = instruments[ins_no - 1]
        smp = ins.sample
        if off_at is not None and not ins.vol_env and off_at <= t:
            return 0.0
        rate = smp.true_rate * 2.0 ** ((note - xm_writer.C4_NOTE) / 12.0)
        pos = int((t - start) * tick_s * rate)
        tail, loop_peak = tails[ins_no - 1]
        if pos >= len(smp.data):
            amp = loop_peak if smp.loop_len else 0.0
        else:
            amp = tail[pos]
        env = envelope_level(ins, t - start,
                             None if off_at is None else off_at - start) / 64.0
        fade = 1.0
        if off_at is not None and off_at <= t:
            fade = max(0.0, 1.0 - ins.fadeout * (t - off_at) / 32768.0)
        return amp * env * fade * vol / 64.0

    state = [None] * score.channels
    worst, t = (0.0, ""), 0
    limit = 0.02
    problems = []
    looped = rows_in_order + [rows_in_order[score.restart]]
    at_loop = None
    for p_i, rows in enumerate(looped):
        if p_i == len(rows_in_order):
            at_loop = sum(residual(s, t) for s in state if s is not None)
        for r, row in enumerate(rows):
            for ch, (note, ins, vol, eff, par) in enumerate(row):
                if note == xm_writer.NOTE_OFF:
                    if state[ch] is not None and state[ch][3] is None:
                        if not instruments[state[ch][0] - 1].vol_env:
                            problems.append("order %d row %d channel %d: key-off on an "
                                            "instrument without envelope" % (p_i, r, ch + 1))
                        state[ch][3] = t
                elif note:
                    if state[ch] is not None:
                        res = residual(state[ch], t)
                        if res > worst[0]:
                            worst = (res, "order %d row %d channel %d" % (p_i, r, ch + 1))
                        if res > limit:
                            problems.append("order %d row %d channel %d: new note cuts one "
                                            "still at %.0f%%" % (p_i, r, ch + 1, 100 * res))
                    v = vol - 0x10 if 0x10 <= vol <= 0x50 else instruments[ins - 1].sample.volume
                    state[ch] = [ins, note, t, None, v]
            t += speed
    if at_loop < MIN_AT_LOOP:
        problems.append("the tune has faded to %.0f%% when it loops: keep it going to the "
                        "last row" % (100 * at_loop))
    if problems:
        raise ScoreError("%s: notes would click:\n  %s"
                         % (os.path.basename(score.path), "\n  ".join(problems[:20])))
    return worst[0], worst[1], at_loop


# ------------------------------------------------------------- effects

def write_wav(path, samples, sr):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(sr)
        w.writeframes(b"".join(struct.pack("<h", v) for v in samples))


def build_effects(path):
    sr, peak_db, made = 44100, -4.5, []
    with open(path) as f:
        lines = f.readlines()
    for no, raw in enumerate(lines, 1):
        where = "%s:%d" % (os.path.basename(path), no)
        line = strip_comment(raw)
        if not line:
            continue
        words = line.split()
        if words[0] == "rate":
            sr = int(words[1])
            continue
        if words[0] == "peak":
            peak_db = float(words[1])
            continue
        name, kind = words[0], words[1]
        opts = parse_opts(words[2:], where)
        seed = int(opts.pop("seed", no))
        pk = float(opts.pop("peak", peak_db))
        fin = float(opts.pop("fade_in", 0.003))
        fout = float(opts.pop("fade_out", 0.02))
        try:
            x = synth.make_effect(kind, opts, sr, seed)
        except (ValueError, KeyError) as e:
            raise ScoreError("%s: %s" % (where, e))
        x = synth.remove_dc(x)
        x = synth.fade(x, sr, fin, fout)
        x = synth.normalize(x, 10.0 ** (pk / 20.0))
        ints = synth.floats_to_ints(x, 16)
        out = os.path.join(OUT, name + ".wav")
        write_wav(out, ints, sr)
        made.append((name + ".wav", len(ints) / sr, pk))
    return made


def main():
    os.makedirs(OUT, exist_ok=True)
    try:
        for name, secs, pk in build_effects(os.path.join(SRC, EFFECTS_FILE)):
            print("made resources/audio/%-16s %5.2f s  peak %.1f dBFS" % (name, secs, pk))
        for name in SCORES:
            score = Score(os.path.join(SRC, name + ".txt"))
            size, secs, cut, where, at_loop = score.build(os.path.join(OUT, name + ".xm"))
            print("made resources/audio/%-16s %6d bytes  %5.1f s before it loops"
                  "  (loudest cut %.1f%%, %s; %.0f%% still sounding at the loop)"
                  % (name + ".xm", size, secs, 100 * cut, where or "none", 100 * at_loop))
    except (ScoreError, ValueError, OSError) as e:
        print("make_audio: %s" % e, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
