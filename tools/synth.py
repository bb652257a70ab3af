# SPDX-License-Identifier: GPL-3.0-or-later
"""Little synthesiser for Tobrin's music instruments and sound effects.

Pure Python, no outside sounds: every waveform is built here from sines,
seeded noise and a few simple filters.  All randomness comes from
random.Random(seed), so the same recipe always gives the same samples.
"""

import math
import random

TAU = 2.0 * math.pi
C4 = 261.6255653       # middle C; note C-4 in the modules


# ---------------------------------------------------------------- helpers

def remove_dc(x):
    m = sum(x) / len(x) if x else 0.0
    return [v - m for v in x]


def peak(x):
    return max((abs(v) for v in x), default=0.0)


def normalize(x, level=1.0):
    p = peak(x)
    return [v * level / p for v in x] if p > 0 else list(x)


def fade(x, sr, fade_in=0.003, fade_out=0.01):
    """raised-cosine fades at both ends so nothing starts or stops on a step"""
    y = list(x)
    n_in = min(len(y), max(1, int(fade_in * sr)))
    n_out = min(len(y), max(1, int(fade_out * sr)))
    for i in range(n_in):
        y[i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_in)
    for i in range(n_out):
        y[len(y) - 1 - i] *= 0.5 - 0.5 * math.cos(math.pi * i / n_out)
    return y


def onepole_lp(x, fc, sr, state=0.0):
    a = math.exp(-TAU * fc / sr)
    y, s = [], state
    for v in x:
        s = (1.0 - a) * v + a * s
        y.append(s)
    return y


def onepole_hp(x, fc, sr):
    lp = onepole_lp(x, fc, sr)
    return [a - b for a, b in zip(x, lp)]


def biquad(x, kind, f, q, sr):
    """RBJ cookbook low-pass / high-pass / band-pass"""
    w = TAU * f / sr
    cw, sw = math.cos(w), math.sin(w)
    al = sw / (2.0 * q)
    if kind == "lp":
        b0, b1, b2 = (1 - cw) / 2, 1 - cw, (1 - cw) / 2
    elif kind == "hp":
        b0, b1, b2 = (1 + cw) / 2, -(1 + cw), (1 + cw) / 2
    else:
        b0, b1, b2 = al, 0.0, -al
    a0, a1, a2 = 1 + al, -2 * cw, 1 - al
    b0, b1, b2, a1, a2 = b0 / a0, b1 / a0, b2 / a0, a1 / a0, a2 / a0
    y = []
    x1 = x2 = y1 = y2 = 0.0
    for v in x:
        o = b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2
        x2, x1, y2, y1 = x1, v, y1, o
        y.append(o)
    return y


def circular(filt, x, *args):
    """run a filter twice round a loop and keep the second lap, so the
    filtered noise joins up with itself at the loop point"""
    n = len(x)
    y = filt(x + x, *args)
    return y[n:]


def noise(n, rng):
    return [rng.uniform(-1.0, 1.0) for _ in range(n)]


def exp_env(n, sr, decay, attack=0.0):
    out = []
    na = int(attack * sr)
    for i in range(n):
        t = i / sr
        e = math.exp(-t / decay) if decay > 0 else 1.0
        if i < na:
            e *= 0.5 - 0.5 * math.cos(math.pi * i / na)
        out.append(e)
    return out


def harmonic_series(kind, count, tilt=0.0, duty=0.5):
    """amplitudes of classic band-limited shapes; tilt rolls the top off"""
    amps = []
    for k in range(1, count + 1):
        if kind == "saw":
            a = 1.0 / k
        elif kind == "square":
            a = 1.0 / k if k % 2 else 0.0
        elif kind == "pulse":
            a = abs(math.sin(math.pi * k * duty)) / k
        elif kind == "triangle":
            a = 1.0 / (k * k) if k % 2 else 0.0
        else:
            raise ValueError("unknown shape " + kind)
        amps.append(a * math.exp(-tilt * (k - 1)))
    return amps


def cycle(period, amps, phases=None):
    """one period of sum a_k sin(2 pi k n / P): loops without a seam"""
    out = [0.0] * period
    for k, a in enumerate(amps, 1):
        if a == 0.0 or 2 * k >= period:
            continue
        ph = phases[k - 1] if phases else 0.0
        for n in range(period):
            out[n] += a * math.sin(TAU * k * n / period + ph)
    return out


def start_at_zero(x):
    """turn a whole-sample loop round so it begins at a quiet upward
    zero crossing: the note then starts without a step"""
    n = len(x)
    best = min(range(n), key=lambda i: (abs(x[i]) + abs(x[(i + 1) % n] - x[i]) * 0.1
                                        if x[(i + 1) % n] >= x[i] else 9.0 + abs(x[i])))
    return x[best:] + x[:best]


def gentle_origin(wave):
    """index of the softest upward zero crossing of one period: starting a
    note there (rather than on a steep edge) keeps its first sample quiet"""
    n = len(wave)
    best, best_cost = 0, None
    for i in range(n):
        a, b = wave[i], wave[(i + 1) % n]
        if a <= 0.0 <= b or (abs(a) < 1e-9):
            cost = abs(b - a) + abs(a)
            if best_cost is None or cost < best_cost:
                best, best_cost = i, cost
    return best


def floats_to_ints(x, bits, level=1.0):
    full = 32767 if bits == 16 else 127
    return [int(round(max(-1.0, min(1.0, v * level)) * full)) for v in x]


# ------------------------------------------------- module instrument waves
# Each recipe returns dict(data=floats, rate=playback rate at C-4,
# loop_start, loop_len).  Tonal waves are built from whole periods so the
# loop is seamless and tuned: period P at C-4 means rate = C4 * P.

def _parse_list(v, default):
    if v is None:
        return default
    if isinstance(v, (list, tuple)):
        return [float(a) for a in v]
    return [float(a) for a in str(v).split(",")]


def wave_tone(p, rng):
    """a plain sustained tone from a harmonic list or a classic shape.
    'attack' cycles of smooth swell come first, so the note opens from
    silence inside the sample (a steep volume envelope would click); the
    last, full period is the loop."""
    period = int(p.get("period", 256))
    amps = _shape_amps(p)
    phases = [rng.uniform(0, TAU) for _ in amps] if p.get("scatter") else None
    one = normalize(cycle(period, amps, phases))
    o = gentle_origin(one)
    one = one[o:] + one[:o]
    swell = int(p.get("attack", 0))
    data = []
    n_att = swell * period
    for i in range(n_att):
        u = i / n_att
        data.append(one[i % period] * (0.5 - 0.5 * math.cos(math.pi * u)))
    data += one
    return dict(data=data, rate=C4 * period, loop_start=n_att, loop_len=period)


def _shape_amps(p):
    if "harm" in p:
        return _parse_list(p["harm"], [1.0])
    return harmonic_series(p.get("shape", "saw"), int(p.get("count", 24)),
                           float(p.get("tilt", 0.0)), float(p.get("duty", 0.5)))


def wave_chorus(p, rng):
    """several slightly detuned copies in one loop: a gently beating pad.
    Copy v runs cycles+d_v whole periods inside the loop, so it still joins."""
    period = int(p.get("period", 64))
    cycles = int(p.get("cycles", 128))
    spread = [int(s) for s in str(p.get("spread", "-1,0,1")).split(",")]
    amps = _shape_amps(p)
    n = period * cycles
    data = [0.0] * n
    for d in spread:
        c = cycles + d
        for k, a in enumerate(amps, 1):
            if a == 0.0 or 2 * k >= period:
                continue
            ph = rng.uniform(0, TAU)
            step = TAU * k * c / n
            for i in range(n):
                data[i] += a * math.sin(step * i + ph)
    return dict(data=start_at_zero(normalize(data)), rate=C4 * period,
                loop_start=0, loop_len=n)


def wave_pluck(p, rng):
    """a struck / plucked tone: bright partials (and any inharmonic ones)
    die away over the attack, ending on one steady period that loops.
    The volume envelope does the long decay."""
    period = int(p.get("period", 256))
    attack_cycles = int(p.get("attack", 24))
    amps = _shape_amps(p)
    keep = _parse_list(p.get("keep"), [])          # share of each partial kept
    inharm = _parse_list(p.get("inharm"), [])      # ratio,amp,ratio,amp...
    click = float(p.get("click", 0.0))
    n_att = period * attack_cycles
    final = []
    for k, a in enumerate(amps, 1):
        kk = keep[k - 1] if k - 1 < len(keep) else (keep[-1] if keep else 1.0)
        final.append(a * kk if 2 * k < period else 0.0)
    o = gentle_origin(cycle(period, final))
    data = []
    curve = float(p.get("curve", 3.0))
    for i in range(n_att + period):
        u = min(1.0, i / n_att)
        fall = (1.0 - u) ** curve                   # reaches exactly 0 at the loop
        v = 0.0
        for k, a in enumerate(amps, 1):
            if a == 0.0 or 2 * k >= period:
                continue
            kk = keep[k - 1] if k - 1 < len(keep) else (keep[-1] if keep else 1.0)
            amp = a * (kk + (1.0 - kk) * fall)
            v += amp * math.sin(TAU * k * (i + o) / period)
        for j in range(0, len(inharm) - 1, 2):
            r, a = inharm[j], inharm[j + 1]
            v += a * fall * fall * math.sin(TAU * r * i / period)
        data.append(v)
    edge = max(4, period // 8)                      # ease into the first sample
    for i in range(edge):
        data[i] *= 0.5 - 0.5 * math.cos(math.pi * i / edge)
    if click > 0.0:
        nz = int(period * 2)
        burst = onepole_lp(noise(nz, rng), 4000.0, C4 * period)
        for i in range(nz):
            opening = min(1.0, i / 12.0)             # no step at the very start
            data[i] += click * burst[i] * opening * (1.0 - i / nz) ** 2
    return dict(data=normalize(data), rate=C4 * period, loop_start=n_att,
                loop_len=period)


def wave_kick(p, rng):
    sr = int(p.get("sr", 16000))
    length = float(p.get("length", 0.3))
    f_hi, f_lo = float(p.get("hi", 140)), float(p.get("lo", 48))
    bend, decay = float(p.get("bend", 0.03)), float(p.get("decay", 0.11))
    click = float(p.get("click", 0.15))
    n = int(length * sr)
    ph, out = 0.0, []
    env = exp_env(n, sr, decay, 0.002)
    for i in range(n):
        t = i / sr
        ph += TAU * (f_lo + (f_hi - f_lo) * math.exp(-t / bend)) / sr
        out.append(math.sin(ph) * env[i])
    if click:
        tick = onepole_lp(noise(int(0.006 * sr), rng), 3000.0, sr)
        for i, v in enumerate(tick):
            out[i] += click * v * (1.0 - i / len(tick))
    out = fade(remove_dc(out), sr, 0.0005, 0.02)
    return dict(data=normalize(out), rate=sr, loop_start=0, loop_len=0)


def wave_snare(p, rng):
    sr = int(p.get("sr", 22050))
    length = float(p.get("length", 0.22))
    n = int(length * sr)
    tone_f = float(p.get("tone", 185))
    body = float(p.get("body", 0.5))
    nz = biquad(noise(n, rng), "bp", float(p.get("color", 3200)), 0.6, sr)
    nz = onepole_hp(nz, 400.0, sr)
    env_n = exp_env(n, sr, float(p.get("decay", 0.07)), 0.001)
    env_t = exp_env(n, sr, 0.045, 0.001)
    ph, out = 0.0, []
    for i in range(n):
        ph += TAU * tone_f * (1.0 + 0.4 * math.exp(-i / (0.01 * sr))) / sr
        out.append(body * math.sin(ph) * env_t[i] + 2.5 * nz[i] * env_n[i])
    out = fade(remove_dc(out), sr, 0.0005, 0.02)
    return dict(data=normalize(out), rate=sr, loop_start=0, loop_len=0)


def wave_hat(p, rng):
    """hats and shakers: high noise with a short swell and fall"""
    sr = int(p.get("sr", 22050))
    length = float(p.get("length", 0.08))
    n = int(length * sr)
    x = noise(n, rng)
    x = biquad(x, "hp", float(p.get("hp", 6000)), 0.7, sr)
    if "bp" in p:
        x = biquad(x, "bp", float(p["bp"]), float(p.get("q", 1.0)), sr)
    env = exp_env(n, sr, float(p.get("decay", 0.025)), float(p.get("attack", 0.0005)))
    out = fade(remove_dc([a * b for a, b in zip(x, env)]), sr, 0.0005, 0.01)
    return dict(data=normalize(out), rate=sr, loop_start=0, loop_len=0)


def wave_knock(p, rng):
    """a short woody knock (rim, block, tom when low and long)"""
    sr = int(p.get("sr", 22050))
    length = float(p.get("length", 0.12))
    n = int(length * sr)
    freqs = _parse_list(p.get("freqs"), [820.0, 1370.0])
    decay = float(p.get("decay", 0.025))
    bend = float(p.get("bend", 0.0))
    out = [0.0] * n
    for j, f in enumerate(freqs):
        ph = 0.0
        a = 1.0 / (j + 1)
        for i in range(n):
            t = i / sr
            ph += TAU * f * (1.0 + bend * math.exp(-t / 0.02)) / sr
            out[i] += a * math.sin(ph) * math.exp(-t / (decay / (1 + 0.5 * j)))
    tick = onepole_lp(noise(int(0.003 * sr), rng), 5000.0, sr)
    for i, v in enumerate(tick):
        out[i] += float(p.get("click", 0.2)) * v
    out = fade(remove_dc(out), sr, 0.0005, 0.01)
    return dict(data=normalize(out), rate=sr, loop_start=0, loop_len=0)


def wave_noise_loop(p, rng):
    """filtered noise that loops without a seam: sea wash, cymbal body"""
    sr = int(p.get("sr", 12000))
    n = int(float(p.get("length", 1.0)) * sr)
    x = noise(n, rng)
    if "lp" in p:
        x = circular(onepole_lp, x, float(p["lp"]), sr)
        x = circular(onepole_lp, x, float(p["lp"]), sr)
    if "hp" in p:
        lo = circular(onepole_lp, x, float(p["hp"]), sr)
        x = [a - b for a, b in zip(x, lo)]
    x = remove_dc(x)
    return dict(data=start_at_zero(normalize(x)), rate=sr, loop_start=0, loop_len=n)


def ease_in(w, frames):
    """soften the first frames of a wave so a note opens from silence.  A
    loop that starts too early gets a short run-in copied from its own end,
    so the loop itself is untouched and still joins without a seam."""
    data = list(w["data"])
    start, length = w["loop_start"], w["loop_len"]
    if length and frames > start:
        if start:
            raise ValueError("ease is longer than the wave's own attack")
        lead = frames - start
        loop = data[start:start + length]
        reps = (lead + length - 1) // length
        run_in = (loop * (reps + 1))[-lead:] if lead else []
        data = data[:start] + run_in + data[start:] if start else run_in + data
        start += lead
    for i in range(min(frames, len(data))):
        data[i] *= 0.5 - 0.5 * math.cos(math.pi * i / frames)
    return dict(w, data=data, loop_start=start)


WAVES = {
    "tone": wave_tone,
    "chorus": wave_chorus,
    "pluck": wave_pluck,
    "kick": wave_kick,
    "snare": wave_snare,
    "hat": wave_hat,
    "knock": wave_knock,
    "noiseloop": wave_noise_loop,
}


def make_wave(recipe, params, seed):
    if recipe not in WAVES:
        raise ValueError("unknown wave recipe '%s'" % recipe)
    return WAVES[recipe](params, random.Random(seed))


# ------------------------------------------------------------ sound effects
# Each effect returns floats at rate sr; make_audio.py fades, levels and
# writes them.

def _sweep_tone(n, sr, freq_at, amps=(1.0,), env=None):
    ph, out = 0.0, []
    for i in range(n):
        ph += TAU * freq_at(i / sr) / sr
        v = 0.0
        for k, a in enumerate(amps, 1):
            v += a * math.sin(k * ph)
        out.append(v * (env[i] if env else 1.0))
    return out


def fx_gulp(p, sr, rng):
    """a quick upward blip, like a bubble swallowed: a rising sine with a
    little second bubble on its tail"""
    dur = float(p.get("dur", 0.16))
    f0, f1 = float(p.get("f0", 420)), float(p.get("f1", 1100))
    rise = float(p.get("rise", 0.05))
    n = int(dur * sr)
    env = exp_env(n, sr, float(p.get("decay", 0.05)), 0.004)
    main = _sweep_tone(n, sr, lambda t: f1 - (f1 - f0) * math.exp(-t / rise),
                       (1.0, 0.25, 0.08), env)
    echo = float(p.get("echo", 0.0))
    if echo > 0.0:
        d = int(float(p.get("echo_at", 0.06)) * sr)
        m = n - d
        env2 = exp_env(m, sr, 0.03, 0.003)
        g0, g1 = f0 * 1.5, f1 * 1.35
        tail = _sweep_tone(m, sr, lambda t: g1 - (g1 - g0) * math.exp(-t / (rise * 0.6)),
                           (1.0, 0.2), env2)
        for i in range(m):
            main[d + i] += echo * tail[i]
    return main


def fx_bump(p, sr, rng):
    """a soft bump: a low thud whose pitch sags, a springy wobble if asked,
    and a muffled tap of noise on top"""
    dur = float(p.get("dur", 0.3))
    n = int(dur * sr)
    f_hi, f_lo = float(p.get("hi", 190)), float(p.get("lo", 80))
    bend = float(p.get("bend", 0.04))
    wob_depth, wob_rate = float(p.get("wobble", 0.0)), float(p.get("wobble_rate", 14))
    env = exp_env(n, sr, float(p.get("decay", 0.08)), 0.003)

    def freq(t):
        f = f_lo + (f_hi - f_lo) * math.exp(-t / bend)
        return f * (1.0 + wob_depth * math.sin(TAU * wob_rate * t) * math.exp(-t / 0.15))

    out = _sweep_tone(n, sr, freq, _parse_list(p.get("harm"), [1.0, 0.3, 0.1]), env)
    tap = float(p.get("tap", 0.3))
    if tap:
        m = int(0.03 * sr)
        nz = biquad(noise(m, rng), "lp", float(p.get("tap_color", 900)), 0.7, sr)
        for i in range(m):
            out[i] += tap * 3.0 * nz[i] * (1.0 - i / m) ** 2
    return out


def fx_chomp(p, sr, rng):
    """the big fish's jaws: two hard snaps with a crunch of grit between"""
    dur = float(p.get("dur", 0.42))
    n = int(dur * sr)
    out = [0.0] * n
    snaps = _parse_list(p.get("snaps"), [0.0, 0.16])
    for j, at in enumerate(snaps):
        s = int(at * sr)
        m = min(n - s, int(0.12 * sr))
        body = _sweep_tone(m, sr, lambda t: 70 + 170 * math.exp(-t / 0.018),
                           (1.0, 0.4), exp_env(m, sr, 0.045, 0.001))
        crack = biquad(noise(m, rng), "bp", 2300.0 - 500.0 * j, 0.9, sr)
        cenv = exp_env(m, sr, 0.012, 0.0005)
        for i in range(m):
            out[s + i] += 0.9 * body[i] + 2.2 * crack[i] * cenv[i]
    # crunch: a scatter of tiny gritty clicks fading out after the first snap
    grit_from, grit_to = int(0.03 * sr), int(float(p.get("grit_to", 0.36)) * sr)
    g = biquad(noise(n, rng), "bp", 1500.0, 0.8, sr)
    grains = int(p.get("grains", 26))
    for _ in range(grains):
        at = rng.randint(grit_from, grit_to)
        ln = rng.randint(int(0.004 * sr), int(0.012 * sr))
        amp = rng.uniform(0.4, 1.0) * (1.0 - (at - grit_from) / (grit_to - grit_from + 1)) * 1.4
        for i in range(min(ln, n - at)):
            out[at + i] += amp * g[at + i] * math.sin(math.pi * i / ln)
    return onepole_lp(out, float(p.get("tone_lp", 6000)), sr)


def _blep(t, dt):
    if t < dt:
        t /= dt
        return t + t - t * t - 1.0
    if t > 1.0 - dt:
        t = (t - 1.0) / dt
        return t * t + t + t + 1.0
    return 0.0


def fx_wahwah(p, sr, rng):
    """the sad brass "wah wah wah waaah": a falling line of saw notes through
    a resonant filter that opens and closes on every note"""
    notes = _parse_list(p.get("notes"), [233.08, 220.0, 207.65, 196.0])
    lens = _parse_list(p.get("lens"), [0.42, 0.42, 0.42, 1.5])
    gap = float(p.get("gap", 0.04))
    tail = float(p.get("tail", 0.25))
    total = int((sum(lens) + tail) * sr)
    out = [0.0] * total
    pos = 0
    for j, (f, ln) in enumerate(zip(notes, lens)):
        n = int(ln * sr)
        last = j == len(notes) - 1
        ph, lp, bp = 0.0, 0.0, 0.0
        for i in range(n + (int(tail * sr) if last else 0)):
            t = i / sr
            # sag a little into each note; vibrato that grows on the last
            bend = 1.0 - 0.03 * math.exp(-t / 0.05)
            vib = 1.0 + (0.012 * min(1.0, t / 0.5) * math.sin(TAU * 5.2 * t) if last else 0.0)
            fall = (1.0 - 0.06 * min(1.0, t / ln)) if last else 1.0
            freq = f * bend * vib * fall
            dt = freq / sr
            ph += dt
            if ph >= 1.0:
                ph -= 1.0
            saw = 2.0 * ph - 1.0 - _blep(ph, dt)
            # the "wah": filter opens quickly then closes over the note
            u = t / ln
            wah = math.sin(math.pi * min(1.0, u * (1.6 if not last else 1.1))) ** 0.7
            fc = 300.0 + 1500.0 * wah
            fq = 2.0 * math.sin(math.pi * min(fc, sr / 6) / sr)
            hp = saw - lp - 0.35 * bp
            bp += fq * hp
            lp += fq * bp
            # note amplitude: soft attack, short release before the next
            amp = min(1.0, t / 0.025)
            if not last:
                amp *= min(1.0, max(0.0, (ln - gap - t) / 0.03))
            else:
                amp *= min(1.0, max(0.0, (ln + tail - t) / (tail + 0.5)))
            if pos + i < total:
                out[pos + i] += (0.7 * lp + 0.5 * bp) * amp
        pos += n
    return out


EFFECTS = {
    "gulp": fx_gulp,
    "bump": fx_bump,
    "chomp": fx_chomp,
    "wahwah": fx_wahwah,
}


def make_effect(kind, params, sr, seed):
    if kind not in EFFECTS:
        raise ValueError("unknown effect kind '%s'" % kind)
    return EFFECTS[kind](params, sr, random.Random(seed))
