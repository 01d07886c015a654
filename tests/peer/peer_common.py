"""What the peer scripts share: skipping (exit code 77) when mutagen or a
program is missing, a test tone, encoding with lame, and failed checks."""

import math
import random
import shutil
import struct
import subprocess
import sys
import wave

failures = []


def require(*programs):
    """The paths of the programs; exits with 77 when one or mutagen is missing."""
    try:
        import mutagen  # noqa: F401
    except ImportError:
        print("mutagen is not installed: skipped")
        sys.exit(77)
    paths = {name: shutil.which(name) for name in programs}
    missing = [name for name, path in paths.items() if path is None]
    if missing:
        print("missing %s: skipped" % ", ".join(missing))
        sys.exit(77)
    return paths


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


def finish(success):
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print(success)
    return 0


def run(arguments):
    subprocess.run(arguments, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_wave(path, seconds, rate=44100, channels=2):
    """A tone that wanders in pitch, with some noise, so that VBR encoders
    vary the bit rate: one second computed, then repeated."""
    rng = random.Random(rate * 10 + channels)
    second = bytearray()
    phase = 0.0
    for i in range(rate):
        phase += 2 * math.pi * (220 + 200 * math.sin(i / rate * 6.3)) / rate
        sample = int(8000 * math.sin(phase) + rng.randint(-1500, 1500))
        second += struct.pack("<h", sample) * channels
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(second) * seconds)


def lame(wav, mp3, *options):
    run([shutil.which("lame"), "--silent"] + list(options) + [wav, mp3])


def v1_fields(tag_bytes):
    """The ID3v1 tag's fields as mutagen reads them, the genre by its name."""
    from mutagen.id3 import ParseID3v1
    frames = ParseID3v1(tag_bytes) or {}
    fields = {key: str(frames[key]) for key in frames}
    if "TCON" in frames:
        fields["TCON"] = "/".join(frames["TCON"].genres)
    return fields
