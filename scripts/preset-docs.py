#!/usr/bin/env python3
"""Regenerates docs/presets.md and its spectrogram pictures (docs/presets/).

    cmake --build --preset linux && python3 scripts/preset-docs.py

Every factory preset is rendered by nimhost from the preset file the build
wrote (bin/presets/NAME.NBP): middle C held 1.5 s, then the chord C-E-G held
1 s, at 22050 Hz. sox turns each render into a spectrogram PNG. The table's
values are read from the same preset files; the one-line characters are the
comments above each preset in synth/patches/FactoryBank.cpp. Needs python3,
sox and a native build (BUILD, default build/linux).
"""
import os
import re
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
BUILD = os.environ.get("BUILD", os.path.join(ROOT, "build", "linux"))
BIN = os.path.join(BUILD, "bin")
DOCS = os.path.join(ROOT, "docs")
PICTURES = os.path.join(DOCS, "presets")


def midi_file(path):
    """A one-track Standard MIDI File: C4 for 1.5 s, then C-E-G for 1 s."""
    ticks = 480  # per quarter note; 120 BPM, so 960 ticks a second

    def var(n):
        out = [n & 0x7F]
        n >>= 7
        while n:
            out.insert(0, (n & 0x7F) | 0x80)
            n >>= 7
        return bytes(out)

    events = [(0, [0x90, 60, 100]), (1440, [0x80, 60, 0])]
    for n in (60, 64, 67):
        events.append((1920, [0x90, n, 100]))
    for n in (60, 64, 67):
        events.append((2880, [0x80, n, 0]))
    track, now = b"", 0
    for at, data in events:
        track += var(at - now) + bytes(data)
        now = at
    track += b"\x00\xff\x2f\x00"
    with open(path, "wb") as f:
        f.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, ticks))
        f.write(b"MTrk" + struct.pack(">I", len(track)) + track)


def characters():
    """Preset name -> the comment above its entry in FactoryBank.cpp."""
    source = open(os.path.join(ROOT, "synth", "patches", "FactoryBank.cpp")).read()
    found = {}
    pattern = r"((?://[^\n]*\n)+)constexpr Patch \w+\(\)\n\{\n\s*Patch p = basePatch\(\"([^\"]+)\""
    for comment, name in re.findall(pattern, source):
        text = " ".join(line.strip()[2:].strip() for line in comment.strip().splitlines())
        found[name] = text
    return found


def record(name):
    data = open(os.path.join(BIN, "presets", name + ".NBP"), "rb").read()
    assert len(data) == 1908, name
    i = lambda offset: struct.unpack_from("<i", data, offset)[0]
    f = lambda offset: struct.unpack_from("<f", data, offset)[0]
    r = {
        "volume": i(24), "coarse": i(28), "fine": i(32), "pan": i(36), "res": i(40),
        "noise": i(44), "ranges": [i(48 + 4 * k) for k in range(5)], "q": i(68),
        "cutoff": i(72), "drive": i(76), "flight": [i(80 + 4 * k) for k in range(6)],
        "count": i(1292), "porta": i(1300), "poly": data[1308], "reseed": i(1356),
        "depth": i(1884), "lfo": i(1888), "sine": data[1897], "measure": i(1900),
    }
    env = 104
    r["points"] = i(env)
    r["attack"], r["decay"], r["release"] = f(env + 92), f(env + 96), f(env + 100)
    r["sustain"] = f(env + 84)
    return r


def slug(name):
    return name.lower().replace(" ", "-")


def fmt(seconds):
    return ("%.3f" % seconds).rstrip("0").rstrip(".")


def main():
    names = sorted(n[:-4] for n in os.listdir(os.path.join(BIN, "presets")) if n.endswith(".NBP"))
    names.sort(key=lambda n: n.encode())
    character = characters()
    os.makedirs(PICTURES, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        midi = os.path.join(tmp, "phrase.mid")
        midi_file(midi)
        for name in names:
            wav = os.path.join(tmp, slug(name) + ".wav")
            subprocess.run([os.path.join(BIN, "nimhost"), "render",
                            os.path.join(BIN, "nimbulator.so"), "--preset", name, "--midi", midi,
                            "--rate", "22050", "--seconds", "5", "-o", wav],
                           check=True, stdout=subprocess.DEVNULL)
            subprocess.run(["sox", wav, "-n", "remix", "1v0.5,2v0.5", "rate", "11025", "spectrogram", "-x", "400", "-y",
                            "181", "-z", "90", "-t", name, "-c", "nimhost render --preset",
                            "-o", os.path.join(PICTURES, slug(name) + ".png")], check=True)

    depth = {0: "12 dB", 1: "24 dB", 2: "48 dB"}
    rates = ["1/4", "1/3", "1/2", "2/3", "1", "4/3", "2", "8/3", "4"]
    lines = [
        "# Factory presets",
        "",
        "The 45 presets compiled into Nimbulator, in the order of its Presets menu.",
        "Their source is `synth/patches/FactoryBank.cpp` (one commented entry per",
        "preset); the build also writes each one to `bin/presets/NAME.NBP`, so any of",
        "them plays without the editor:",
        "",
        "    nimhost render build/linux/bin/nimbulator.so --preset \"Large Pad\" -o pad.wav",
        "",
        "The table and the pictures are made by `python3 scripts/preset-docs.py`",
        "(after `cmake --build --preset linux`): each picture is a sox spectrogram",
        "(0 to 5.5 kHz, 90 dB range) of middle C held 1.5 s, then the chord C-E-G",
        "held 1 s, rendered at 22050 Hz from the preset file.",
        "",
        "Columns: oscillators; home resonance / noise (percent) and tune",
        "(semitones); the flock's box (volume, pitch, pan, resonance, noise ranges);",
        "low-pass cutoff (note number), Q and slope; overdrive; flight (speed,",
        "std. dev., reflection, attract, repel, proximity); the volume envelope",
        "(attack points, attack, decay half-life, sustain level, release); play mode",
        "and the tempo-synced speed LFO (depth, cycles per beat, shape).",
        "",
        "| Preset | Character | Osc. | Res / noise, tune | Ranges | Low-pass | Drive | Flight |"
        " Volume envelope | Play, LFO |",
        "|---|---|---|---|---|---|---|---|---|---|",
    ]
    for name in names:
        r = record(name)
        tune = "%+d" % r["coarse"] + (" %+d ct" % r["fine"] if r["fine"] else "")
        envelope = "%d pts, %s / %s s, sus %s, rel %s s" % (
            r["points"], fmt(r["attack"]), fmt(r["decay"]), fmt(r["sustain"]), fmt(r["release"]))
        play = ("poly" if r["poly"] else "mono, glide %d ms" % r["porta"])
        if r["lfo"] > 0:
            play += "; LFO %d%%, %s/beat, %s" % (r["lfo"], rates[r["measure"]],
                                                "sine" if r["sine"] else "square")
        lines.append("| [%s](#%s) | %s | %d | %d / %d, %s | %s | %d, Q %d, %s | %d | %s | %s | %s |" % (
            name, slug(name), character.get(name, ""), r["count"], r["res"], r["noise"], tune,
            " ".join(str(v) for v in r["ranges"]), r["cutoff"], r["q"],
            depth.get(r["depth"], "?"), r["drive"], " ".join(str(v) for v in r["flight"]),
            envelope, play))
    lines += ["", "## Spectrograms", ""]
    for name in names:
        lines += ["### %s" % name, "", character.get(name, ""), "",
                  "![%s](presets/%s.png)" % (name, slug(name)), ""]
    with open(os.path.join(DOCS, "presets.md"), "w") as f:
        f.write("\n".join(lines))
    print("wrote docs/presets.md and %d pictures" % len(names))


if __name__ == "__main__":
    sys.exit(main())
