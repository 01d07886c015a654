#!/usr/bin/python3
"""Encodes short MP3 files with lame and checks what mp3-peer-info reads from
them against mutagen: the playing time within one second, the stream's
sample rate, version and channels, and ID3v1 tags written by WriteTag.

Usage: mp3_peer.py PATH-OF-mp3-peer-info
Exit code 77 when lame or mutagen is missing."""

import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

try:
    from mutagen.id3 import APIC, ID3, TIT2, TPE1, ParseID3v1
    from mutagen.mp3 import MP3
except ImportError:
    print("mutagen is not installed: skipped")
    sys.exit(77)

LAME = shutil.which("lame")
if LAME is None:
    print("lame is not installed: skipped")
    sys.exit(77)

TOOL = sys.argv[1]
COVER_BYTES = 300 * 1024

# name, sample rate, channels, lame options, mutagen's version
ENCODINGS = [
    ("cbr-mpeg1-stereo", 44100, 2, ["-b", "128"], 1),
    ("vbr-mpeg1-stereo", 44100, 2, ["-V", "2"], 1),
    ("cbr-mpeg1-mono", 48000, 1, ["-b", "96", "-m", "m"], 1),
    ("vbr-mpeg1-mono", 32000, 1, ["-V", "5", "-m", "m"], 1),
    ("cbr-mpeg2-stereo", 22050, 2, ["-b", "64"], 2),
    ("vbr-mpeg2-mono", 24000, 1, ["-V", "4", "-m", "m"], 2),
    ("cbr-mpeg25-mono", 8000, 1, ["-b", "16", "-m", "m"], 2.5),
    ("vbr-mpeg25-stereo", 11025, 2, ["-V", "6"], 2.5),
]

VERSION_BITS = {1: 3, 2: 2, 2.5: 0}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


def make_wave(path, rate, channels, seconds):
    """A tone that wanders in pitch, with some noise, so VBR varies: one
    second computed, then repeated."""
    rng = random.Random(rate * 10 + channels)
    second = bytearray()
    phase = 0.0
    for i in range(rate):
        freq = 220 + 200 * math.sin(i / rate * 6.3)
        phase += 2 * math.pi * freq / rate
        sample = int(8000 * math.sin(phase) + rng.randint(-1500, 1500))
        second += struct.pack("<h", sample) * channels
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(second) * seconds)


def add_cover(path):
    tag = ID3()
    tag.add(TIT2(encoding=3, text="Cover song"))
    tag.add(TPE1(encoding=3, text="Cover artist"))
    tag.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="cover",
                 data=random.Random(7).randbytes(COVER_BYTES)))
    tag.save(path, v1=0)


def tool_info(paths):
    output = subprocess.run([TOOL, "info"] + paths, capture_output=True, text=True).stdout
    result = {}
    for line in output.splitlines():
        fields = line.split("\t")
        if fields[0] == "info":
            result[fields[1]] = fields[2:]
        elif fields[0] == "error":
            result[fields[1]] = None
    return result


def tool_write(path, title, artist, album, year, comment, track, genre):
    completed = subprocess.run([TOOL, "write", path, title, artist, album, year, comment,
                                track, genre], capture_output=True, text=True)
    return completed.returncode == 0 and "write\t0" in completed.stdout


def encode_all(folder):
    files = []
    for name, rate, channels, options, version in ENCODINGS:
        wav = os.path.join(folder, name + ".wav")
        # Lengths differ from file to file, so that no constant passes.
        make_wave(wav, rate, channels, 3 + len(files))
        mp3 = os.path.join(folder, name + ".mp3")
        subprocess.run([LAME, "--silent", "--noreplaygain"] + options + [wav, mp3], check=True)
        covered = os.path.join(folder, name + "-cover.mp3")
        shutil.copyfile(mp3, covered)
        add_cover(covered)
        files += [(mp3, rate, channels, version), (covered, rate, channels, version)]
    return files


def check_lengths(files):
    info = tool_info([f[0] for f in files])
    print("%-28s %10s %10s %8s %6s" % ("file", "ours (s)", "mutagen", "kbit/s", "xing"))
    for path, rate, channels, version in files:
        ours = info.get(path)
        theirs = MP3(path).info
        name = os.path.basename(path)
        if ours is None:
            check(False, "%s: Mp3Info could not open it" % name)
            continue
        seconds, bitrate, isVbr, id3v2 = int(ours[0]), int(ours[1]), ours[3], int(ours[5])
        print("%-28s %10d %10.3f %8d %6s" % (name, seconds, theirs.length, bitrate, isVbr))
        check(abs(seconds - theirs.length) <= 1.0,
              "%s: %d s against mutagen's %.3f s" % (name, seconds, theirs.length))
        check(int(ours[6]) == theirs.sample_rate == rate, "%s: sample rate %s" % (name, ours[6]))
        check(int(ours[7]) == VERSION_BITS[version] and theirs.version == version,
              "%s: version bits %s" % (name, ours[7]))
        check(int(ours[8]) == (1 if channels == 1 else 0), "%s: mono flag %s" % (name, ours[8]))
        check(("-cover" in name) == (id3v2 > COVER_BYTES), "%s: ID3v2 size %d" % (name, id3v2))
        if name.startswith("cbr"):
            check(bitrate == round(theirs.bitrate / 1000), "%s: bit rate %d" % (name, bitrate))


def check_written_tags(files, folder):
    for source, _, _, _ in files[:4]:
        path = os.path.join(folder, "tagged-" + os.path.basename(source))
        shutil.copyfile(source, path)
        before = open(path, "rb").read()
        length_before = MP3(path).info.length
        name = os.path.basename(path)
        check(tool_write(path, "Peer Title", "Peer Artist", "Peer Album", "2023",
                         "Peer comment", "7", "Jazz"), name + ": first write failed")
        after = open(path, "rb").read()
        check(len(after) == len(before) + 128 and after[:len(before)] == before,
              name + ": bytes before the appended tag changed")
        frames = ParseID3v1(after[-128:])
        seen = {key: str(frames[key]) for key in frames} if frames else {}
        check(seen.get("TIT2") == "Peer Title" and seen.get("TPE1") == "Peer Artist"
              and seen.get("TALB") == "Peer Album" and seen.get("TDRC") == "2023"
              and seen.get("COMM") == "Peer comment" and seen.get("TRCK") == "7"
              and frames["TCON"].genres == ["Jazz"], name + ": mutagen reads %r" % seen)
        check(abs(MP3(path).info.length - length_before) < 0.05,
              name + ": mutagen's length changed")

        # A second write keeps the fields given as n/a and replaces the tag.
        check(tool_write(path, "中文歌名", "n/a", "n/a", "n/a", "n/a", "-1", "n/a"),
              name + ": second write failed")
        again = open(path, "rb").read()
        check(len(again) == len(after) and again[:-128] == after[:-128],
              name + ": second write changed more than the tag")
        frames = ParseID3v1(again[-128:])
        check(again[-125:-95].rstrip(b"\0").decode("gb18030") == "中文歌名",
              name + ": title bytes %r" % again[-125:-95])
        check(str(frames["TPE1"]) == "Peer Artist" and "TRCK" not in frames
              and str(frames["COMM"]) == "Peer comment",
              name + ": after the second write mutagen reads %r"
              % {key: str(frames[key]) for key in frames})

    # A tag that mutagen writes reads back the same through Mp3Info.
    path = os.path.join(folder, "mutagen-v1.mp3")
    shutil.copyfile(files[0][0], path)
    tag = ID3()
    tag.add(TIT2(encoding=0, text="Mutagen title"))
    tag.add(TPE1(encoding=0, text="Mutagen artist"))
    tag.save(path, v1=2, v2_version=3)
    ours = tool_info([path]).get(path)
    check(ours is not None and ours[4] == "1" and ours[9] == "Mutagen title"
          and ours[10] == "Mutagen artist", "mutagen's ID3v1 tag reads as %r" % (ours,))


def main():
    with tempfile.TemporaryDirectory(prefix="cricklet-peer-") as folder:
        files = encode_all(folder)
        check_lengths(files)
        check_written_tags(files, folder)
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
