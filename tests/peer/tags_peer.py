#!/usr/bin/python3
"""Makes music files with other programs (lame, ffmpeg, flac, id3v2 and
mutagen writing ID3v2 2.2/2.3/2.4 tags) and checks that the title, artist and
time that song-peer-info reads from each agree with mutagen: texts exactly,
times within one second. Prints one line per file.

Usage: tags_peer.py PATH-OF-song-peer-info
Exit code 77 when a program or mutagen is missing."""

import math
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

try:
    import mutagen
    from mutagen.id3 import ID3, TIT2, TPE1, APIC
    from mutagen.mp3 import MP3
except ImportError:
    print("mutagen is not installed: skipped")
    sys.exit(77)

PROGRAMS = {name: shutil.which(name) for name in ("lame", "ffmpeg", "flac", "id3v2")}
missing = [name for name, path in PROGRAMS.items() if path is None]
if missing:
    print("missing %s: skipped" % ", ".join(missing))
    sys.exit(77)

TOOL = sys.argv[1]
failures = []


def run(arguments):
    subprocess.run(arguments, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def make_wave(path, seconds, rate=44100, channels=2):
    """A tone that wanders in pitch, so that VBR encoders vary the bit rate."""
    frames = bytearray()
    phase = 0.0
    for i in range(rate):
        phase += 2 * math.pi * (300 + 200 * math.sin(i / rate * 9)) / rate
        frames += struct.pack("<h", int(9000 * math.sin(phase))) * channels
    with wave.open(path, "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames) * seconds)


def syncsafe(size):
    return bytes((size >> shift) & 0x7F for shift in (21, 14, 7, 0))


def v22_tag(title, artist):
    """An ID3v2.2 tag (mutagen reads 2.2 but writes 2.3 and 2.4 only)."""
    frames = b""
    for frame_id, text in ((b"TT2", title), (b"TP1", artist)):
        body = b"\x01" + text.encode("utf-16")
        frames += frame_id + len(body).to_bytes(3, "big") + body
    return b"ID3\x02\x00\x00" + syncsafe(len(frames) + 64) + frames + bytes(64)


def unsync_v23_tag(title, artist):
    """An ID3v2.3 tag unsynchronised as a whole; UTF-16 puts 0xFF bytes in it."""
    frames = b""
    for frame_id, text in ((b"TIT2", title), (b"TPE1", artist)):
        body = b"\x01" + text.encode("utf-16")
        frames += frame_id + len(body).to_bytes(4, "big") + b"\x00\x00" + body
    coded = frames.replace(b"\xff", b"\xff\x00")
    return b"ID3\x03\x00\x80" + syncsafe(len(coded)) + coded


def with_tag_bytes(source, path, tag):
    with open(source, "rb") as data:
        audio = data.read()
    audio = audio[ID3(source).size:] if audio.startswith(b"ID3") else audio
    with open(path, "wb") as out:
        out.write(tag + audio)


def with_vbri_header(source, path):
    """Moves a lame VBR file's Xing frame count into a Fraunhofer VBRI header
    32 bytes after the first frame's header, where such encoders put it."""
    with open(source, "rb") as data:
        audio = bytearray(data.read())
    xing = audio.find(b"Xing")
    frame = audio.rfind(b"\xff", 0, xing)
    while audio[frame + 1] & 0xE0 != 0xE0:
        frame = audio.rfind(b"\xff", 0, frame)
    frames = struct.unpack(">I", audio[xing + 8:xing + 12])[0]
    vbri = b"VBRI" + struct.pack(">HHHIIHHHH", 1, 0, 75, len(audio), frames, 0, 1, 2, 0)
    audio[frame + 4:frame + 36 + len(vbri)] = bytes(32) + vbri
    with open(path, "wb") as out:
        out.write(bytes(audio))


def make_files(folder):
    wav = os.path.join(folder, "tone.wav")
    make_wave(wav, 7)
    files = []

    def add(name):
        path = os.path.join(folder, name)
        files.append(path)
        return path

    run([PROGRAMS["lame"], "--silent", "-V", "3", "--id3v2-only", "--id3v2-utf16",
         "--tt", "月亮代表我的心", "--ta", "邓丽君", wav, add("lame-utf16.mp3")])
    run([PROGRAMS["lame"], "--silent", "-b", "128", "--tt", "Short", "--ta", "Lame CBR",
         wav, add("lame-cbr-v1-and-v2.mp3")])
    ffmpeg = [PROGRAMS["ffmpeg"], "-nostdin", "-loglevel", "error", "-y", "-i", wav,
              "-metadata", "title=夜来香 (ffmpeg)", "-metadata", "artist=李香兰"]
    run(ffmpeg + ["-c:a", "libmp3lame", "-q:a", "4", add("ffmpeg-vbr.mp3")])
    run(ffmpeg + ["-c:a", "libmp3lame", "-b:a", "96k", "-id3v2_version", "3",
                  add("ffmpeg-cbr-v23.mp3")])
    run(ffmpeg + ["-c:a", "flac", add("ffmpeg.flac")])
    run(ffmpeg + ["-c:a", "libvorbis", add("ffmpeg.ogg")])
    run(ffmpeg + ["-c:a", "libopus", add("ffmpeg.opus")])
    run(ffmpeg + ["-c:a", "aac", "-b:a", "96k", add("ffmpeg.m4a")])
    run([PROGRAMS["flac"], "--silent", "-f", "-T", "TITLE=甜蜜蜜", "-T", "ARTIST=邓丽君",
         "-T", "ARTIST=Second artist", wav, "-o", add("flac-tool.flac")])

    plain = os.path.join(folder, "plain.mp3")
    run([PROGRAMS["lame"], "--silent", "-V", "5", wav, plain])

    path = add("id3v2-tool.mp3")
    shutil.copyfile(plain, path)
    run([PROGRAMS["id3v2"], "-t", "Caf\u00e9 au lait", "-a", "Id3v2 Tool", path])

    for version in (3, 4):
        path = add("mutagen-v2%d.mp3" % version)
        shutil.copyfile(plain, path)
        tag = ID3()
        tag.add(TIT2(encoding=1 if version == 3 else 3, text=["但愿人长久", "第二个值"]))
        tag.add(TPE1(encoding=1 if version == 3 else 3, text=["王菲", "Second"]))
        tag.add(APIC(encoding=3, mime="image/jpeg", type=3, desc="cover",
                     data=bytes(range(256)) * 1200))
        tag.save(path, v2_version=version, v1=0)

    path = add("mutagen-gbk-latin1.mp3")
    shutil.copyfile(plain, path)
    tag = ID3()
    tag.add(TIT2(encoding=0, text="千千阙歌".encode("gbk").decode("latin-1")))
    tag.add(TPE1(encoding=0, text="陈慧娴".encode("gbk").decode("latin-1")))
    tag.save(path, v2_version=3, v1=0)

    with_tag_bytes(plain, add("handmade-v22.mp3"), v22_tag("后来", "刘若英"))
    with_tag_bytes(plain, add("handmade-v23-unsync.mp3"), unsync_v23_tag("ÿ 童年", "罗大佑"))
    with_vbri_header(plain, add("vbri.mp3"))
    return files


def mutagen_view(path):
    """The title, artist and length mutagen reads, as a song would show
    them: the first value of each; a GBK text in a Latin-1 frame as GBK."""
    if path.endswith(".mp3"):
        audio = MP3(path)
        tags = audio.tags or {}
        texts = []
        for key in ("TIT2", "TPE1"):
            frame = tags.get(key)
            text = frame.text[0] if frame and frame.text else ""
            if frame is not None and frame.encoding == 0:
                try:
                    text = text.encode("latin-1").decode("gbk")
                except UnicodeError:
                    pass
            texts.append(str(text))
        return texts[0], texts[1], audio.info.length
    audio = mutagen.File(path)
    keys = (("\xa9nam", "\xa9ART") if path.endswith(".m4a") else ("title", "artist"))
    texts = [audio.tags.get(key, [""])[0] if audio.tags else "" for key in keys]
    return texts[0], texts[1], audio.info.length


def main():
    with tempfile.TemporaryDirectory(prefix="cricklet-tags-peer-") as folder:
        files = make_files(folder)
        output = subprocess.run([TOOL] + files, capture_output=True, text=True).stdout
        ours = {}
        for line in output.splitlines():
            fields = line.split("\t")
            if fields[0] == "song":
                ours[fields[1]] = (fields[2], fields[3], int(fields[4]))
        print("%-26s %-18s %-14s %5s | %-18s %-14s %7s" %
              ("file", "title", "artist", "s", "mutagen title", "artist", "s"))
        for path in files:
            name = os.path.basename(path)
            title, artist, length = mutagen_view(path)
            expected = (title or os.path.splitext(name)[0], artist or "N/A")
            got = ours.get(path)
            if got is None:
                failures.append(name + ": not read")
                print("FAIL: %s was not read" % name)
                continue
            print("%-26s %-18s %-14s %5d | %-18s %-14s %7.2f" %
                  (name, got[0], got[1], got[2], title, artist, length))
            if (got[0], got[1]) != expected:
                failures.append(name)
                print("FAIL: %s: texts %r, mutagen %r" % (name, got[:2], expected))
            if abs(got[2] - length) > 1.0:
                failures.append(name)
                print("FAIL: %s: %d s, mutagen %.2f s" % (name, got[2], length))
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("all %d files agree" % len(files))
    return 0


if __name__ == "__main__":
    sys.exit(main())
