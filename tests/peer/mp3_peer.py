#!/usr/bin/python3
"""Encodes short MP3 files with lame and checks what mp3-peer-info reads from
them against mutagen: the playing time within one second, the stream's
sample rate, version and channels, and ID3v1 tags written by WriteTag.

Usage: mp3_peer.py PATH-OF-mp3-peer-info
Exit code 77 when lame or mutagen is missing."""

import os
import random
import shutil
import subprocess
import sys
import tempfile

from peer_common import check, finish, lame, make_wave, require, v1_fields

require("lame")
from mutagen.id3 import APIC, ID3, TIT2, TPE1  # noqa: E402
from mutagen.mp3 import MP3  # noqa: E402

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


def tool(*arguments):
    """The tool's lines by path: the fields after it, or None for an error."""
    output = subprocess.run([TOOL] + list(arguments), capture_output=True, text=True).stdout
    lines = [line.split("\t") for line in output.splitlines()]
    return {f[1]: (f[2:] if f[0] != "error" else None) for f in lines if len(f) > 1}


def encode_all(folder):
    files = []
    for name, rate, channels, options, version in ENCODINGS:
        wav = os.path.join(folder, name + ".wav")
        # Lengths differ from file to file, so that no constant passes.
        make_wave(wav, 3 + len(files), rate, channels)
        mp3 = os.path.join(folder, name + ".mp3")
        lame(wav, mp3, "--noreplaygain", *options)
        covered = os.path.join(folder, name + "-cover.mp3")
        shutil.copyfile(mp3, covered)
        tag = ID3()
        tag.add(TIT2(encoding=3, text="Cover song"))
        tag.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="cover",
                     data=random.Random(7).randbytes(COVER_BYTES)))
        tag.save(covered, v1=0)
        files += [(mp3, rate, channels, version), (covered, rate, channels, version)]
    return files


def check_lengths(files):
    info = tool("info", *[f[0] for f in files])
    for path, rate, channels, version in files:
        ours, theirs, name = info.get(path), MP3(path).info, os.path.basename(path)
        if ours is None:
            check(False, "%s: Mp3Info could not open it" % name)
            continue
        seconds, bitrate, id3v2 = int(ours[0]), int(ours[1]), int(ours[5])
        print("%-28s %6d s, mutagen %8.3f s, %4d kbit/s" % (name, seconds, theirs.length, bitrate))
        check(abs(seconds - theirs.length) <= 1.0, "%s: %d s against mutagen's %.3f s"
              % (name, seconds, theirs.length))
        check(int(ours[6]) == theirs.sample_rate == rate, "%s: sample rate %s" % (name, ours[6]))
        check(int(ours[7]) == VERSION_BITS[version] and theirs.version == version,
              "%s: version bits %s" % (name, ours[7]))
        check(int(ours[8]) == (1 if channels == 1 else 0), "%s: mono flag %s" % (name, ours[8]))
        check(("-cover" in name) == (id3v2 > COVER_BYTES), "%s: ID3v2 size %d" % (name, id3v2))
        if name.startswith("cbr"):
            check(bitrate == round(theirs.bitrate / 1000), "%s: bit rate %d" % (name, bitrate))


def write(path, *fields):
    """Writes the fields through the tool; the file's bytes before and after."""
    before = open(path, "rb").read()
    check("write\t0" in subprocess.run([TOOL, "write", path] + list(fields),
                                       capture_output=True, text=True).stdout,
          "%s: writing %s failed" % (path, fields[0]))
    return before, open(path, "rb").read()


def check_written_tags(files, folder):
    for source, _, _, _ in files[:4]:
        path = os.path.join(folder, "tagged-" + os.path.basename(source))
        shutil.copyfile(source, path)
        length, name = MP3(path).info.length, os.path.basename(path)
        before, after = write(path, "Peer Title", "Peer Artist", "Peer Album", "2023",
                              "Peer comment", "7", "Jazz")
        check(len(after) == len(before) + 128 and after[:len(before)] == before,
              name + ": bytes before the appended tag changed")
        seen = v1_fields(after[-128:])
        check(seen == {"TIT2": "Peer Title", "TPE1": "Peer Artist", "TALB": "Peer Album",
                       "TDRC": "2023", "COMM": "Peer comment", "TRCK": "7", "TCON": "Jazz"},
              name + ": mutagen reads %r" % seen)
        check(abs(MP3(path).info.length - length) < 0.05, name + ": mutagen's length changed")

        # A second write keeps the fields given as n/a and replaces the tag.
        before, again = write(path, "中文歌名", "n/a", "n/a", "n/a", "n/a", "-1", "n/a")
        check(len(again) == len(before) and again[:-128] == before[:-128],
              name + ": second write changed more than the tag")
        check(again[-125:-95].rstrip(b"\0").decode("gb18030") == "中文歌名",
              name + ": title bytes %r" % again[-125:-95])
        seen = v1_fields(again[-128:])
        check(seen.get("TPE1") == "Peer Artist" and "TRCK" not in seen
              and seen.get("COMM") == "Peer comment",
              name + ": after the second write mutagen reads %r" % seen)

    # A tag that mutagen writes reads back the same through Mp3Info.
    path = os.path.join(folder, "mutagen-v1.mp3")
    shutil.copyfile(files[0][0], path)
    tag = ID3()
    tag.add(TIT2(encoding=0, text="Mutagen title"))
    tag.add(TPE1(encoding=0, text="Mutagen artist"))
    tag.save(path, v1=2, v2_version=3)
    ours = tool("info", path).get(path)
    check(ours is not None and ours[4] == "1" and ours[9:11] == ["Mutagen title", "Mutagen artist"],
          "mutagen's ID3v1 tag reads as %r" % (ours,))


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="cricklet-peer-") as folder:
        files = encode_all(folder)
        check_lengths(files)
        check_written_tags(files, folder)
    sys.exit(finish("all checks passed"))
