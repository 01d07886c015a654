#!/usr/bin/python3
"""Writes ID3v1 tags into a lame-encoded MP3 file through the tag editor
(tag-editor-peer) and checks that mutagen reads back what was typed: title,
artist, album, year, comment and genre, Chinese texts as GBK bytes, texts cut
at a character boundary, and the track number that the editor keeps.

Usage: tag_editor_peer.py PATH-OF-tag-editor-peer
Exit code 77 when lame or mutagen is missing."""

import os
import subprocess
import sys
import tempfile

from peer_common import check, finish, lame, make_wave, require, v1_fields

require("lame")
from mutagen.id3 import ID3, TCON, TIT2, TRCK  # noqa: E402
from mutagen.mp3 import MP3  # noqa: E402

TOOL = sys.argv[1]
KEYS = ("TIT2", "TPE1", "TALB", "TDRC", "COMM", "TCON")

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


def gbk(text):
    """What mutagen, reading ID3v1 texts as Latin-1, makes of GBK bytes."""
    return text.encode("gb18030").decode("latin1")


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="cricklet-tag-peer-") as folder:
        wav, path = os.path.join(folder, "tone.wav"), os.path.join(folder, "peer.mp3")
        make_wave(wav, 1, 22050, 1)
        lame(wav, path, "-b", "64")
        # A tag with a track number, written by mutagen, for the editor to keep.
        tag = ID3()
        for frame in (TIT2(encoding=0, text="Start"), TRCK(encoding=0, text="7"),
                      TCON(encoding=0, text="Blues")):
            tag.add(frame)
        tag.save(path, v1=2, v2_version=3)
        length = MP3(path).info.length
        for typed, expected in CASES:
            audio_before = open(path, "rb").read()[:-128]
            result = subprocess.run([TOOL, path] + list(typed), capture_output=True, text=True)
            check(result.returncode == 0, "%s: the editor failed: %s" % (typed[0], result.stderr))
            data = open(path, "rb").read()
            check(data[:-128] == audio_before, "%s: bytes before the tag changed" % typed[0])
            want = dict(zip(KEYS, [gbk(text) for text in expected[:3]] +
                            [expected[3], gbk(expected[4]), expected[5]]), TRCK="7")
            seen = v1_fields(data[-128:])
            check(seen == want, "%s: mutagen reads %r" % (typed[0], seen))
            check(abs(MP3(path).info.length - length) < 0.05,
                  "%s: mutagen's length changed" % typed[0])
    sys.exit(finish("all %d tags read back the same" % len(CASES)))
