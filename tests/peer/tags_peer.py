#!/usr/bin/python3
"""Makes music files with other programs (lame, ffmpeg, flac, id3v2 and
mutagen writing ID3v2 2.2/2.3/2.4 tags) and checks that the title, artist and
time that `mp3-peer-info song` reads from each agree with mutagen: texts
exactly, times within one second. Prints one line per file.

Usage: tags_peer.py PATH-OF-mp3-peer-info
Exit code 77 when a program or mutagen is missing."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile

from peer_common import check, finish, lame, make_wave, require, run

PROGRAMS = require("lame", "ffmpeg", "flac", "id3v2")
import mutagen  # noqa: E402
from mutagen.id3 import APIC, ID3, TIT2, TPE1  # noqa: E402
from mutagen.mp3 import MP3  # noqa: E402

TOOL = sys.argv[1]


def frames_of(ids, title, artist, size_bytes, flags):
    """ID3v2 text frames of UTF-16 with a BOM (which puts 0xFF bytes in them)."""
    frames = b""
    for frame_id, text in zip(ids, (title, artist)):
        body = b"\x01" + text.encode("utf-16")
        frames += frame_id + len(body).to_bytes(size_bytes, "big") + flags + body
    return frames


def syncsafe(size):
    return bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))


def v22_tag(title, artist):
    """An ID3v2.2 tag (mutagen reads 2.2 but writes 2.3 and 2.4 only)."""
    frames = frames_of((b"TT2", b"TP1"), title, artist, 3, b"")
    return b"ID3\x02\x00\x00" + syncsafe(len(frames) + 64) + frames + bytes(64)


def unsync_v23_tag(title, artist):
    """An ID3v2.3 tag unsynchronised as a whole."""
    coded = frames_of((b"TIT2", b"TPE1"), title, artist, 4, b"\0\0").replace(b"\xff", b"\xff\0")
    return b"ID3\x03\x00\x80" + syncsafe(len(coded)) + coded


def with_tag_bytes(source, path, tag):
    audio = open(source, "rb").read()
    audio = audio[ID3(source).size:] if audio.startswith(b"ID3") else audio
    open(path, "wb").write(tag + audio)


def with_vbri_header(source, path):
    """Moves a lame VBR file's Xing frame count into a Fraunhofer VBRI header
    32 bytes after the first frame's header, where such encoders put it."""
    audio = bytearray(open(source, "rb").read())
    xing = audio.find(b"Xing")
    frame = audio.rfind(b"\xff", 0, xing)
    while audio[frame + 1] & 0xE0 != 0xE0:
        frame = audio.rfind(b"\xff", 0, frame)
    frames = struct.unpack(">I", audio[xing + 8:xing + 12])[0]
    vbri = b"VBRI" + struct.pack(">HHHIIHHHH", 1, 0, 75, len(audio), frames, 0, 1, 2, 0)
    audio[frame + 4:frame + 36 + len(vbri)] = bytes(32) + vbri
    open(path, "wb").write(bytes(audio))


def make_files(folder):
    wav = os.path.join(folder, "tone.wav")
    make_wave(wav, 7)
    files = []

    def add(name):
        files.append(os.path.join(folder, name))
        return files[-1]

    lame(wav, add("lame-utf16.mp3"), "-V", "3", "--id3v2-only", "--id3v2-utf16",
         "--tt", "月亮代表我的心", "--ta", "邓丽君")
    lame(wav, add("lame-cbr-v1-and-v2.mp3"), "-b", "128", "--tt", "Short", "--ta", "Lame CBR")
    ffmpeg = [PROGRAMS["ffmpeg"], "-nostdin", "-loglevel", "error", "-y", "-i", wav,
              "-metadata", "title=夜来香 (ffmpeg)", "-metadata", "artist=李香兰"]
    for options, name in ((["libmp3lame", "-q:a", "4"], "ffmpeg-vbr.mp3"),
                          (["libmp3lame", "-b:a", "96k", "-id3v2_version", "3"],
                           "ffmpeg-cbr-v23.mp3"),
                          (["flac"], "ffmpeg.flac"), (["libvorbis"], "ffmpeg.ogg"),
                          (["libopus"], "ffmpeg.opus"), (["aac", "-b:a", "96k"], "ffmpeg.m4a")):
        run(ffmpeg + ["-c:a"] + options + [add(name)])
    run([PROGRAMS["flac"], "--silent", "-f", "-T", "TITLE=甜蜜蜜", "-T", "ARTIST=邓丽君",
         "-T", "ARTIST=Second artist", wav, "-o", add("flac-tool.flac")])

    plain = os.path.join(folder, "plain.mp3")
    lame(wav, plain, "-V", "5")
    shutil.copyfile(plain, add("id3v2-tool.mp3"))
    run([PROGRAMS["id3v2"], "-t", "Caf\u00e9 au lait", "-a", "Id3v2 Tool", files[-1]])
    for version in (3, 4):
        shutil.copyfile(plain, add("mutagen-v2%d.mp3" % version))
        tag = ID3()
        tag.add(TIT2(encoding=1 if version == 3 else 3, text=["但愿人长久", "第二个值"]))
        tag.add(TPE1(encoding=1 if version == 3 else 3, text=["王菲", "Second"]))
        tag.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="cover",
                     data=bytes(range(256)) * 1200))
        tag.save(files[-1], v2_version=version, v1=0)
    shutil.copyfile(plain, add("mutagen-gbk-latin1.mp3"))
    tag = ID3()
    tag.add(TIT2(encoding=0, text="千千阙歌".encode("gbk").decode("latin-1")))
    tag.add(TPE1(encoding=0, text="陈慧娴".encode("gbk").decode("latin-1")))
    tag.save(files[-1], v2_version=3, v1=0)
    with_tag_bytes(plain, add("handmade-v22.mp3"), v22_tag("后来", "刘若英"))
    with_tag_bytes(plain, add("handmade-v23-unsync.mp3"), unsync_v23_tag("ÿ 童年", "罗大佑"))
    with_vbri_header(plain, add("vbri.mp3"))
    return files


def mutagen_view(path):
    """The title, artist and length mutagen reads, as a song would show
    them: the first value of each; a GBK text in a Latin-1 frame as GBK."""
    if path.endswith(".mp3"):
        audio = MP3(path)
        texts = []
        for key in ("TIT2", "TPE1"):
            frame = (audio.tags or {}).get(key)
            text = str(frame.text[0]) if frame and frame.text else ""
            if frame is not None and frame.encoding == 0:
                try:
                    text = text.encode("latin-1").decode("gbk")
                except UnicodeError:
                    pass
            texts.append(text)
        return texts[0], texts[1], audio.info.length
    audio = mutagen.File(path)
    keys = ("\xa9nam", "\xa9ART") if path.endswith(".m4a") else ("title", "artist")
    texts = [audio.tags.get(key, [""])[0] if audio.tags else "" for key in keys]
    return texts[0], texts[1], audio.info.length


if __name__ == "__main__":
    with tempfile.TemporaryDirectory(prefix="cricklet-tags-peer-") as folder:
        files = make_files(folder)
        output = subprocess.run([TOOL, "song"] + files, capture_output=True, text=True).stdout
        ours = {f[1]: f[2:] for f in (line.split("\t") for line in output.splitlines())
                if f[0] == "song"}
        for path in files:
            name = os.path.basename(path)
            title, artist, length = mutagen_view(path)
            expected = [title or os.path.splitext(name)[0], artist or "N/A"]
            got = ours.get(path)
            check(got is not None, name + ": not read")
            if got is not None:
                print("%-26s %-18s %-14s %5s | mutagen %7.2f s" % (name, *got, length))
                check(got[:2] == expected, "%s: texts %r, mutagen %r" % (name, got[:2], expected))
                check(abs(int(got[2]) - length) <= 1.0, "%s: %s s, mutagen %.2f s"
                      % (name, got[2], length))
    sys.exit(finish("all %d files agree" % len(files)))
