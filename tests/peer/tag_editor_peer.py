#!/usr/bin/python3
"""Writes ID3v1 tags into a lame-encoded MP3 file through the tag editor
(tag-editor-peer) and checks that mutagen reads back what was typed: title,
artist, album, year, comment and genre, Chinese texts as GBK bytes, texts cut
at a character boundary, and the track number that the editor keeps.

Usage: tag_editor_peer.py PATH-OF-tag-editor-peer
Exit code 77 when lame or mutagen is missing."""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

try:
    from mutagen.id3 import ID3, TCON, TIT2, TRCK, ParseID3v1
    from mutagen.mp3 import MP3
except ImportError:
    print("mutagen is not installed: skipped")
    sys.exit(77)

LAME = shutil.which("lame")
if LAME is None:
    print("lame is not installed: skipped")
    sys.exit(77)

TOOL = sys.argv[1]

# typed: title, artist, album, year, comment, genre ("" chooses none)
# expected: the same fields as mutagen should read them, texts decoded as GBK
CASES = [
    (("Peer Title", "Peer Artist", "Peer Album", "2023", "Peer comment", "Jazz"),
     ("Peer Title", "Peer Artist", "Peer Album", "2023", "Peer comment", "Jazz")),
    (("中文歌名", "歌手", "专辑名字", "1999", "好听的歌", "Rock"),
     ("中文歌名", "歌手", "专辑名字", "1999", "好听的歌", "Rock")),
    # 20 characters are 40 GBK bytes: 15 fit; the genre stays when none is chosen.
    (("一二三四五六七八九十一二三四五六七八九十", "A", "B", "2001", "注释", ""),
     ("一二三四五六七八九十一二三四五", "A", "B", "2001", "注释", "Rock")),
]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message)


def make_mp3(folder):
    wav = os.path.join(folder, "tone.wav")
    with wave.open(wav, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(22050)
        out.writeframes(b"".join(struct.pack("<h", int(6000 * math.sin(i / 7.0)))
                                 for i in range(22050)))
    mp3 = os.path.join(folder, "peer.mp3")
    subprocess.run([LAME, "--silent", "-b", "64", wav, mp3], check=True)
    # A tag with a track number, written by mutagen, for the editor to keep.
    tag = ID3()
    tag.add(TIT2(encoding=0, text="Start"))
    tag.add(TRCK(encoding=0, text="7"))
    tag.add(TCON(encoding=0, text="Blues"))
    tag.save(mp3, v1=2, v2_version=3)
    return mp3


def gbk(text):
    """What mutagen, reading ID3v1 texts as Latin-1, makes of GBK bytes."""
    return text.encode("gb18030").decode("latin1")


def main():
    with tempfile.TemporaryDirectory(prefix="cricklet-tag-peer-") as folder:
        path = make_mp3(folder)
        length = MP3(path).info.length
        for typed, expected in CASES:
            audio_before = open(path, "rb").read()[:-128]
            result = subprocess.run([TOOL, path] + list(typed), capture_output=True, text=True)
            check(result.returncode == 0, "%s: the editor failed: %s" % (typed[0], result.stderr))
            data = open(path, "rb").read()
            check(data[:-128] == audio_before, "%s: bytes before the tag changed" % typed[0])
            frames = ParseID3v1(data[-128:]) or {}
            seen = {key: str(frames[key]) for key in frames}
            title, artist, album, year, comment, genre = expected
            check(seen.get("TIT2") == gbk(title) and seen.get("TPE1") == gbk(artist)
                  and seen.get("TALB") == gbk(album) and seen.get("TDRC") == year
                  and seen.get("COMM") == gbk(comment) and seen.get("TRCK") == "7"
                  and "TCON" in frames and frames["TCON"].genres == [genre],
                  "%s: mutagen reads %r" % (typed[0], seen))
            check(abs(MP3(path).info.length - length) < 0.05,
                  "%s: mutagen's length changed" % typed[0])
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all %d tags read back the same" % len(CASES))
    return 0


if __name__ == "__main__":
    sys.exit(main())
