#!/usr/bin/python3
"""Holds what Cricklet reads from and writes into music files against
mutagen, on files made by other programs (lame, ffmpeg, flac, id3v2, mutagen
and by hand). Exit code 77 when a program or mutagen is missing.

  peer.py lengths mp3-peer-info   lame MP3s: time within a second, sample rate,
                                  version, channels
  peer.py tags mp3-peer-info      title, artist and time as a song shows them
  peer.py editor tag-editor-peer  ID3v1 tags typed into the tag editor"""

import importlib.util
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

MODE, TOOL = sys.argv[1], sys.argv[2]
failures = []


def require(*programs):
    """The paths of the programs; exits with 77 when one or mutagen is missing."""
    paths = {name: shutil.which(name) for name in programs}
    missing = [name for name, path in paths.items() if path is None]
    missing += [] if importlib.util.find_spec("mutagen") else ["mutagen"]
    if missing:
        print("missing %s: skipped" % ", ".join(missing))
        sys.exit(77)
    return paths


def check(condition, message):
    if not condition:
        failures.append("FAIL: " + message)
        print(failures[-1])


def finish(success):
    print("%d check(s) failed" % len(failures) if failures else success)
    return 1 if failures else 0


def make_wave(path, seconds, rate=44100, channels=2):
    """A tone wandering in pitch, with noise, so that VBR encoders vary the
    bit rate: one second computed, then repeated."""
    rng, second, phase = random.Random(rate * 10 + channels), bytearray(), 0.0
    for i in range(rate):
        phase += 2 * math.pi * (220 + 200 * math.sin(i / rate * 6.3)) / rate
        sample = int(8000 * math.sin(phase) + rng.randint(-1500, 1500))
        second += struct.pack("<h", sample) * channels
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(second) * seconds)


def run(arguments):
    subprocess.run(arguments, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def lame(wav, mp3, *options):
    run(["lame", "--silent"] + list(options) + [wav, mp3])


def v1_fields(tag_bytes):
    """The ID3v1 tag's fields as mutagen reads them, the genre by its name."""
    frames = ParseID3v1(tag_bytes) or {}
    fields = {key: str(frames[key]) for key in frames}
    if "TCON" in frames:
        fields["TCON"] = "/".join(frames["TCON"].genres)
    return fields


PROGRAMS = require("lame", *(("ffmpeg", "flac", "id3v2") if MODE == "tags" else ()))
import mutagen  # noqa: E402
from mutagen.id3 import APIC, ID3, TCON, TIT2, TPE1, TRCK, ParseID3v1  # noqa: E402
from mutagen.mp3 import MP3  # noqa: E402

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
    """Each encoding plain and with a cover picture; lengths differ from file
    to file, so that no constant passes."""
    files = []
    for name, rate, channels, options, version in ENCODINGS:
        wav, mp3 = os.path.join(folder, name + ".wav"), os.path.join(folder, name + ".mp3")
        make_wave(wav, 3 + len(files), rate, channels)
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
        seconds, bitrate, id3v2 = int(ours[0]), int(ours[1]), int(ours[2])
        print("%-28s %6d s, mutagen %8.3f s, %4d kbit/s" % (name, seconds, theirs.length, bitrate))
        check(abs(seconds - theirs.length) <= 1.0, "%s: %d s, mutagen %.3f s"
              % (name, seconds, theirs.length))
        check(int(ours[3]) == theirs.sample_rate == rate, "%s: sample rate %s" % (name, ours[3]))
        check(int(ours[4]) == VERSION_BITS[version] and theirs.version == version,
              "%s: version bits %s" % (name, ours[4]))
        check(int(ours[5]) == (channels == 1), "%s: mono flag %s" % (name, ours[5]))
        check(("-cover" in name) == (id3v2 > COVER_BYTES), "%s: ID3v2 size %d" % (name, id3v2))
        check(not name.startswith("cbr") or bitrate == round(theirs.bitrate / 1000),
              "%s: bit rate %d" % (name, bitrate))


def frames_of(ids, title, artist, size_bytes, flags):
    """ID3v2 text frames of UTF-16 with a BOM (which puts 0xFF bytes in them)."""
    frames = b""
    for frame_id, text in zip(ids, (title, artist)):
        body = b"\x01" + text.encode("utf-16")
        frames += frame_id + len(body).to_bytes(size_bytes, "big") + flags + body
    return frames


def with_tag(source, path, header, frames):
    """The audio of source after an ID3v2 tag of the header and frames."""
    size = bytes((len(frames) >> shift) & 0x7F for shift in (21, 14, 7, 0))
    audio = open(source, "rb").read()
    audio = audio[ID3(source).size:] if audio.startswith(b"ID3") else audio
    open(path, "wb").write(header + size + frames + audio)


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

    def add(name):  # the path of a new file to check
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
    # Mutagen reads 2.2 but does not write it; the 2.3 tag is unsynchronised as a whole.
    v22 = frames_of((b"TT2", b"TP1"), "后来", "刘若英", 3, b"") + bytes(64)
    with_tag(plain, add("handmade-v22.mp3"), b"ID3\x02\x00\x00", v22)
    v23 = frames_of((b"TIT2", b"TPE1"), "ÿ 童年", "罗大佑", 4, b"\0\0")
    with_tag(plain, add("handmade-v23-unsync.mp3"), b"ID3\x03\x00\x80",
             v23.replace(b"\xff", b"\xff\0"))
    with_vbri_header(plain, add("vbri.mp3"))
    return files


def mp3_text(frame):
    """The first value of a frame; a GBK text in a Latin-1 frame as GBK."""
    text = str(frame.text[0]) if frame and frame.text else ""
    try:
        gbk = frame is not None and frame.encoding == 0
        return text.encode("latin-1").decode("gbk") if gbk else text
    except UnicodeError:
        return text


def mutagen_view(path):
    """The title, artist and length mutagen reads, as a song shows them."""
    if path.endswith(".mp3"):
        audio = MP3(path)
        texts = [mp3_text((audio.tags or {}).get(key)) for key in ("TIT2", "TPE1")]
    else:
        audio = mutagen.File(path)
        keys = ("\xa9nam", "\xa9ART") if path.endswith(".m4a") else ("title", "artist")
        texts = [audio.tags.get(key, [""])[0] if audio.tags else "" for key in keys]
    return texts[0], texts[1], audio.info.length


KEYS = ("TIT2", "TPE1", "TALB", "TDRC", "COMM", "TCON")

# typed: title, artist, album, year, comment, genre ("" chooses none); then
# the fields as mutagen should read them, texts decoded as GBK, when they differ
CASES = [
    (("Peer Title", "Peer Artist", "Peer Album", "2023", "Peer comment", "Jazz"), None),
    (("中文歌名", "歌手", "专辑名字", "1999", "好听的歌", "Rock"), None),
    # 20 characters are 40 GBK bytes: 15 fit; the genre stays when none is chosen.
    (("一二三四五六七八九十一二三四五六七八九十", "A", "B", "2001", "注释", ""),
     ("一二三四五六七八九十一二三四五", "A", "B", "2001", "注释", "Rock")),
]


def lengths_main():
    with tempfile.TemporaryDirectory(prefix="cricklet-peer-") as folder:
        files = encode_all(folder)
        check_lengths(files)
    return finish("all checks passed")


def tags_main():
    with tempfile.TemporaryDirectory(prefix="cricklet-peer-") as folder:
        files = make_files(folder)
        output = subprocess.run([TOOL, "song"] + files, capture_output=True, text=True).stdout
        ours = {f[1]: f[2:] for f in (line.split("\t") for line in output.splitlines())
                if f[0] == "song"}
        for path in files:
            name = os.path.basename(path)
            title, artist, length = mutagen_view(path)
            expected = [title or os.path.splitext(name)[0], artist or "N/A"]
            got = ours.get(path, ["(not read)", "", "-9"])
            print("%-26s %-18s %-14s %5s | mutagen %7.2f s" % (name, *got, length))
            check(got[:2] == expected, "%s: texts %r, mutagen %r" % (name, got[:2], expected))
            check(abs(int(got[2]) - length) <= 1.0, "%s: %s s, mutagen %.2f s"
                  % (name, got[2], length))
    return finish("all %d files agree" % len(files))


def editor_main():
    with tempfile.TemporaryDirectory(prefix="cricklet-peer-") as folder:
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
            # Mutagen reads ID3v1 texts as Latin-1, so GBK bytes as such.
            want = dict(zip(KEYS, [t.encode("gb18030").decode("latin1")
                                   for t in (expected or typed)]), TRCK="7")
            seen = v1_fields(data[-128:])
            check(seen == want, "%s: mutagen reads %r" % (typed[0], seen))
            check(abs(MP3(path).info.length - length) < 0.05,
                  "%s: mutagen's length changed" % typed[0])
    return finish("all %d tags read back the same" % len(CASES))


if __name__ == "__main__":
    sys.exit({"lengths": lengths_main, "tags": tags_main, "editor": editor_main}[MODE]())
