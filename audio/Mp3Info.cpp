#include "audio/Mp3Info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The argument of WriteTag that keeps a field as it is.
const char* const kKeepField = "n/a";
// Most files have their first frame within a few bytes of the audio start,
// so the search reads a small piece first and the rest only when needed.
const std::size_t kFirstReadSize = 4096;
const std::size_t kFramesReadSize = 8192;
const std::size_t kId3v2HeaderSize = 10;
const std::size_t kXingSize = 12;
const std::size_t kVbriSize = 18;
// Fraunhofer's encoder puts its VBRI header 32 bytes after the frame header.
const std::int64_t kVbriOffset = 4 + 32;

class CFileHandle {
public:
    explicit CFileHandle(int descriptor) : fd(descriptor) {}
    ~CFileHandle() {
        if (fd >= 0) {
            close(fd);
        }
    }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;

    const int fd;
};

// Reads up to count bytes at offset; fewer only at the end of the file or
// on an error.
std::size_t ReadAt(int fd, unsigned char* buffer, std::size_t count, std::int64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t got = pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

bool WriteAt(int fd, const unsigned char* buffer, std::size_t count, std::int64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t put = pwrite(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// Non-blocking, so that a named pipe given as a path cannot hang the open;
// it is refused as not a regular file right after.
int OpenRegularFile(const std::string& path, int flags, std::int64_t& size) {
    int fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    size = static_cast<std::int64_t>(info.st_size);
    return fd;
}

// The whole size of an ID3v2 tag that starts at bytes (header, body and
// footer), or 0 when the bytes do not start one.
std::int64_t Id3v2TagSize(const std::vector<unsigned char>& bytes) {
    if (bytes.size() < kId3v2HeaderSize || std::memcmp(bytes.data(), "ID3", 3) != 0 ||
        bytes[3] == 0xFF || bytes[4] == 0xFF) {
        return 0;
    }
    std::int64_t body = 0;
    for (std::size_t i = 6; i < kId3v2HeaderSize; ++i) {
        if (bytes[i] >= 0x80) {
            return 0;
        }
        body = (body << 7) | bytes[i];
    }
    const unsigned char kFooterFlag = 0x10;
    std::int64_t footer = (bytes[5] & kFooterFlag) != 0 ? 10 : 0;
    return static_cast<std::int64_t>(kId3v2HeaderSize) + body + footer;
}

// Index of the first valid header in region at or after from, or -1.
long FindHeaderIn(const std::vector<unsigned char>& region, std::size_t from, MpegHeader& header) {
    for (std::size_t p = from; p + 4 <= region.size(); ++p) {
        if (region[p] != 0xFF) {
            continue;
        }
        header.Load(&region[p]);
        if (header.IsValid()) {
            return static_cast<long>(p);
        }
    }
    return -1;
}

// Looks for the first valid header at start .. start + kSearchLimit, before
// audioEnd (where the ID3v1 tag begins: its text is no audio). The region
// holds the bytes from start that were read already and grows, read once,
// as the search needs it. Returns the header's offset or -1.
std::int64_t FindFirstHeader(int fd, std::int64_t start, std::int64_t audioEnd,
                             std::vector<unsigned char>& region, MpegHeader& header) {
    if (start >= audioEnd) {
        return -1;
    }
    std::int64_t end = std::min(audioEnd, start + Mp3Info::kSearchLimit + 4);
    if (static_cast<std::int64_t>(region.size()) > end - start) {
        region.resize(static_cast<std::size_t>(end - start));
    }
    std::size_t regionSize = static_cast<std::size_t>(end - start);
    std::size_t from = 0;
    for (;;) {
        long found = FindHeaderIn(region, from, header);
        if (found >= 0) {
            return start + found;
        }
        std::size_t have = region.size();
        if (have >= regionSize) {
            return -1;
        }
        from = have >= 3 ? have - 3 : 0;
        region.resize(regionSize);
        std::size_t got = ReadAt(fd, region.data() + have, regionSize - have, start + have);
        region.resize(have + got);
        if (got == 0) {
            return -1;
        }
    }
}

// The count bytes at offset, from the region when it holds them; zeros past
// the end of the file.
void ReadFrameBytes(int fd, const std::vector<unsigned char>& region, std::int64_t regionStart,
                    std::int64_t offset, unsigned char* bytes, std::size_t count) {
    std::memset(bytes, 0, count);
    std::int64_t inRegion = offset - regionStart;
    if (inRegion >= 0 && static_cast<std::size_t>(inRegion) + count <= region.size()) {
        std::memcpy(bytes, region.data() + inRegion, count);
    } else {
        ReadAt(fd, bytes, count, offset);
    }
}

// Reads the first bytes of the audio into region: from the start of the
// file, or past an ID3v2 tag there, whose texts go into tagV2. Returns the
// tag's size, 0 when none.
std::int64_t ReadAudioStart(int fd, std::int64_t fileSize, std::vector<unsigned char>& region,
                            Id3v2Tag& tagV2) {
    region.resize(static_cast<std::size_t>(std::min<std::int64_t>(fileSize, kFirstReadSize)));
    region.resize(ReadAt(fd, region.data(), region.size(), 0));
    std::int64_t tagSize = Id3v2TagSize(region);
    if (tagSize == 0) {
        return 0;
    }
    // The frames wanted mostly lie in the first read. Past a cover picture
    // one read of kFramesReadSize takes the frames after it and, with them,
    // usually the start of the audio.
    std::vector<unsigned char> later;
    std::int64_t laterStart = -1;
    auto inLater = [&](std::int64_t offset, std::size_t count) {
        return laterStart >= 0 && offset >= laterStart &&
               offset - laterStart + static_cast<std::int64_t>(count) <=
                   static_cast<std::int64_t>(later.size());
    };
    tagV2.Read([&](std::int64_t offset, unsigned char* buffer, std::size_t count) {
        if (offset >= 0 && static_cast<std::size_t>(offset) + count <= region.size()) {
            std::memcpy(buffer, region.data() + offset, count);
            return count;
        }
        if (!inLater(offset, count)) {
            later.resize(std::max(count, kFramesReadSize));
            later.resize(ReadAt(fd, later.data(), later.size(), offset));
            laterStart = offset;
        }
        std::size_t copied = std::min<std::size_t>(
            count, static_cast<std::size_t>(std::max<std::int64_t>(
                       0, static_cast<std::int64_t>(later.size()) - (offset - laterStart))));
        std::memcpy(buffer, later.data() + (offset - laterStart), copied);
        return copied;
    });
    std::int64_t left = std::max<std::int64_t>(0, fileSize - tagSize);
    std::size_t wanted = static_cast<std::size_t>(std::min<std::int64_t>(left, kFirstReadSize));
    if (tagSize < static_cast<std::int64_t>(region.size())) {
        region.erase(region.begin(), region.begin() + static_cast<std::ptrdiff_t>(tagSize));
    } else if (inLater(tagSize, wanted)) {
        auto from = later.begin() + static_cast<std::ptrdiff_t>(tagSize - laterStart);
        region.assign(from, from + static_cast<std::ptrdiff_t>(wanted));
    } else {
        region.resize(wanted);
        region.resize(ReadAt(fd, region.data(), region.size(), tagSize));
    }
    return tagSize;
}

bool ReadId3v1Tag(int fd, std::int64_t fileSize, Id3v1Tag& tag) {
    const auto size = static_cast<std::int64_t>(Id3v1Tag::kSize);
    unsigned char bytes[Id3v1Tag::kSize];
    return fileSize >= size &&
           ReadAt(fd, bytes, Id3v1Tag::kSize, fileSize - size) == Id3v1Tag::kSize &&
           tag.Parse(bytes);
}

// Writes a tag image over the file's ID3v1 tag, or appends it when the file
// ends without one. The file as it is now decides, so a tag written earlier
// through the same object is replaced, not followed by a second one. On
// failure the file is put back as it was. Returns the new size, or -1.
std::int64_t PutTagImage(int fd, std::int64_t size, const unsigned char image[Id3v1Tag::kSize]) {
    const auto tagSize = static_cast<std::int64_t>(Id3v1Tag::kSize);
    unsigned char old[Id3v1Tag::kSize];
    bool replace = size >= tagSize &&
                   ReadAt(fd, old, Id3v1Tag::kSize, size - tagSize) == Id3v1Tag::kSize &&
                   std::memcmp(old, "TAG", 3) == 0;
    std::int64_t offset = replace ? size - tagSize : size;
    if (WriteAt(fd, image, Id3v1Tag::kSize, offset)) {
        return offset + tagSize;
    }
    if (replace) {
        WriteAt(fd, old, Id3v1Tag::kSize, offset);
    } else if (ftruncate(fd, static_cast<off_t>(size)) != 0) {
        // Nothing more can be done; the caller hears of the failure.
    }
    return -1;
}

int DecimalValue(const std::string& text) {
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int ClampToInt(double value) {
    return value >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

} // namespace

Mp3Result Mp3Info::Open(const std::string& filePath) {
    std::string requested = filePath;
    *this = Mp3Info();
    path = requested;
    int descriptor = OpenRegularFile(path, O_RDONLY, fileSize);
    if (descriptor < 0) {
        ReportMp3Error(MP3_CANNOT_READ, path);
        return MP3_CANNOT_READ;
    }
    CFileHandle file(descriptor);

    std::vector<unsigned char> region;
    id3v2Size = ReadAudioStart(file.fd, fileSize, region, tagV2);
    hasTagV2 = tagV2.version != 0;
    hasTag = ReadId3v1Tag(file.fd, fileSize, tag);
    std::int64_t audioEnd = fileSize - (hasTag ? static_cast<std::int64_t>(Id3v1Tag::kSize) : 0);
    std::int64_t headerOffset = FindFirstHeader(file.fd, id3v2Size, audioEnd, region, header);
    if (headerOffset < 0) {
        *this = Mp3Info();
        path = requested;
        ReportMp3Error(MP3_NO_HEADER, path);
        return MP3_NO_HEADER;
    }

    unsigned char xing[kXingSize];
    ReadFrameBytes(file.fd, region, id3v2Size, headerOffset + header.XingOffset(), xing, kXingSize);
    isVbr = vbr.Load(xing) == 1;
    if (!isVbr) {
        unsigned char vbri[kVbriSize];
        ReadFrameBytes(file.fd, region, id3v2Size, headerOffset + kVbriOffset, vbri, kVbriSize);
        isVbr = vbr.LoadVbri(vbri) == 1;
    }
    m_opened = true;
    return MP3_OK;
}

std::int64_t Mp3Info::AudioSize() const {
    std::int64_t tagSize = hasTag ? static_cast<std::int64_t>(Id3v1Tag::kSize) : 0;
    return std::max<std::int64_t>(0, fileSize - id3v2Size - tagSize);
}

// A count of frames that no file of this size could hold (each frame is at
// least one byte) is damage, and the first header times the file instead.
bool Mp3Info::UsesXingFrameCount() const {
    return m_opened && isVbr && vbr.frameCount > 0 && vbr.frameCount <= AudioSize();
}

// The average bit rate from the frame count; 0 when there is none.
int Mp3Info::XingAverageBitrate() const {
    if (!UsesXingFrameCount()) {
        return 0;
    }
    double averageFrame = static_cast<double>(AudioSize()) / vbr.frameCount;
    return ClampToInt(header.SampleRate() * averageFrame / (header.BytesPerFrameFactor() * 1000.0));
}

int Mp3Info::Bitrate() const {
    if (!m_opened) {
        return 0;
    }
    int average = vbr.constantBitrate ? 0 : XingAverageBitrate();
    return average > 0 ? average : header.TableBitrate();
}

int Mp3Info::FrameCount() const {
    if (!m_opened) {
        return 0;
    }
    if (UsesXingFrameCount()) {
        return vbr.frameCount;
    }
    // Multiplied out before the one division, so that a frame of whole bytes
    // is counted exactly.
    double frameLength =
        header.TableBitrate() * 1000.0 * header.BytesPerFrameFactor() / header.SampleRate();
    return ClampToInt(static_cast<double>(AudioSize()) / frameLength);
}

int Mp3Info::LengthSeconds() const {
    std::int64_t seconds = 0;
    if (UsesXingFrameCount() && header.SampleRate() > 0) {
        // Exact for every header that counts frames, whatever their sizes.
        seconds = static_cast<std::int64_t>(vbr.frameCount) * header.SamplesPerFrame() /
                  header.SampleRate();
    } else if (m_opened && header.TableBitrate() > 0) {
        seconds = AudioSize() * 8 / 1000 / header.TableBitrate();
    }
    return static_cast<int>(std::min<std::int64_t>(seconds, INT_MAX));
}

void Mp3Info::SetTagFields(const std::string& title, const std::string& artist,
                           const std::string& album, const std::string& year,
                           const std::string& comment, const std::string& track,
                           const std::string& genre) {
    if (title != kKeepField) {
        tag.SetTitle(title);
    }
    if (artist != kKeepField) {
        tag.SetArtist(artist);
    }
    if (album != kKeepField) {
        tag.SetAlbum(album);
    }
    if (year != kKeepField) {
        tag.SetYear(DecimalValue(year));
    }
    if (comment != kKeepField) {
        tag.SetComment(comment);
    }
    if (track != kKeepField) {
        tag.SetTrack(DecimalValue(track));
    }
    if (genre != kKeepField) {
        tag.SetGenreByName(genre);
    }
}

Mp3Result Mp3Info::WriteTag(const std::string& title, const std::string& artist,
                            const std::string& album, const std::string& year,
                            const std::string& comment, const std::string& track,
                            const std::string& genre) {
    if (!m_opened) {
        return MP3_CANNOT_WRITE;
    }
    SetTagFields(title, artist, album, year, comment, track, genre);
    unsigned char image[Id3v1Tag::kSize];
    tag.Build(image);

    std::int64_t size = 0;
    int descriptor = OpenRegularFile(path, O_RDWR, size);
    if (descriptor < 0) {
        return MP3_CANNOT_WRITE;
    }
    CFileHandle file(descriptor);
    std::int64_t newSize = PutTagImage(file.fd, size, image);
    if (newSize < 0) {
        return MP3_CANNOT_WRITE;
    }
    hasTag = true;
    fileSize = newSize;
    return MP3_OK;
}
