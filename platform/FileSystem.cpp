#include "platform/FileSystem.h"

#include "platform/Platform.h"
#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Closes a descriptor on every way out of a function.
struct CFileDescriptor {
    int fd;
    explicit CFileDescriptor(int descriptor) : fd(descriptor) {}
    ~CFileDescriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
};

bool WriteAll(int fd, const std::string& content) {
    const char* data = content.data();
    std::size_t left = content.size();
    while (left > 0) {
        ssize_t written = write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Reads until the end of the file; more than limit bytes (a file that grew
// since it was measured) is TooLarge.
CReadStatus ReadUpTo(int fd, std::size_t limit, std::string& bytes, int& errorCode) {
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            errorCode = errno;
            return CReadStatus::Failed;
        }
        if (got == 0) {
            return CReadStatus::Read;
        }
        if (bytes.size() + static_cast<std::size_t>(got) > limit) {
            return CReadStatus::TooLarge;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

// The target of a symbolic link, relative to the link's folder; empty when
// path is no link.
std::string LinkTarget(const std::string& path) {
    std::vector<char> buffer(4096);
    ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) {
        return std::string();
    }
    std::string target(buffer.data(), static_cast<std::size_t>(length));
    std::size_t slash = path.rfind('/');
    if (target[0] == '/' || slash == std::string::npos) {
        return target;
    }
    return path.substr(0, slash + 1) + target;
}

// A byte-for-byte copy into a new file, for a file system without hard links.
bool CopyFileTo(const std::string& from, const std::string& to) {
    CFileDescriptor source(open(from.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (source.fd < 0) {
        return false;
    }
    CFileDescriptor copy(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (copy.fd < 0) {
        return false;
    }
    char buffer[65536];
    for (;;) {
        ssize_t got = read(source.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0 && fsync(copy.fd) == 0;
        }
        if (!WriteAll(copy.fd, std::string(buffer, static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

bool KeepRegularFile(const std::string& path, const std::string& keptAs) {
    if (linkat(AT_FDCWD, path.c_str(), AT_FDCWD, keptAs.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    if (CopyFileTo(SaveTarget(path), keptAs)) {
        return true;
    }
    int code = errno;
    unlink(keptAs.c_str());
    errno = code;
    return false;
}

} // namespace

CFileRead ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes) {
    bytes.clear();
    CFileRead read;
    read.limit = limit;
    // Checked before opening, so a device is never even opened.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        read.errorCode = errno;
        read.status = errno == ENOENT ? CReadStatus::Missing : CReadStatus::Failed;
        return read;
    }
    CFileDescriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0 || fstat(file.fd, &info) != 0) {
        read.errorCode = errno;
        read.status = CReadStatus::Failed;
        return read;
    }
    if (!S_ISREG(info.st_mode)) {
        read.status = CReadStatus::NotRegular;
        return read;
    }
    if (static_cast<std::uint64_t>(info.st_size) > limit) {
        read.status = CReadStatus::TooLarge;
        return read;
    }
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    read.status = ReadUpTo(file.fd, limit, bytes, read.errorCode);
    if (read.status != CReadStatus::Read) {
        bytes.clear();
    }
    return read;
}

std::string ReadFailureText(const std::string& path, const CFileRead& read) {
    switch (read.status) {
    case CReadStatus::Read:
        return std::string();
    case CReadStatus::NotRegular:
        return "“" + path + "”不是普通文件，无法读取。";
    case CReadStatus::TooLarge:
        return "“" + path + "”大于" + std::to_string(read.limit / (1024 * 1024)) +
               " MB，文件太大，无法读取。";
    case CReadStatus::Missing:
    case CReadStatus::Failed:
        break;
    }
    return path + ": " + std::strerror(read.errorCode);
}

void ReportReadFailure(const std::string& path, const CFileRead& read) {
    Platform().ShowMessage(ReadFailureText(path, read), kAppTitle, CMessageIcon::Error);
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    CFileRead read = ReadRegularFile(path, kStoreFileLimit, bytes);
    if (read.status == CReadStatus::Read) {
        return true;
    }
    errno = read.errorCode != 0 ? read.errorCode
                                : (read.status == CReadStatus::TooLarge ? EFBIG : EINVAL);
    return false;
}

std::size_t FindLineEnd(std::string_view text, std::size_t start, std::size_t& following) {
    // The usual short line ends in LF within a short reach: memchr finds it
    // fast. A long line or a file of CR ends falls back to a byte loop, so
    // no search ever runs to the end of the text once per line.
    const std::size_t reach =
        std::min<std::size_t>(text.size() - std::min(start, text.size()), 256);
    const char* first = text.data() + start;
    const char* lf =
        reach > 0 ? static_cast<const char*>(std::memchr(first, '\n', reach)) : nullptr;
    std::size_t end = start;
    if (lf != nullptr) {
        const void* cr = std::memchr(first, '\r', static_cast<std::size_t>(lf - first));
        end = static_cast<std::size_t>((cr != nullptr ? static_cast<const char*>(cr) : lf) -
                                       text.data());
    } else {
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') {
            ++end;
        }
    }
    if (end >= text.size()) {
        following = std::string_view::npos;
        return std::string_view::npos;
    }
    bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    following = end + (crlf ? 2 : 1);
    return end;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t following = 0;
        std::size_t end = FindLineEnd(text, start, following);
        if (end == std::string::npos) {
            end = following = text.size();
        }
        lines.emplace_back(text, start, end - start);
        start = following;
    }
    return lines;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        lines.clear();
        return false;
    }
    lines = SplitLines(DecodeText(bytes));
    return true;
}

void ReportFileError(const std::string& path, int errorCode) {
    Platform().ShowMessage(path + ": " + std::strerror(errorCode), kAppTitle, CMessageIcon::Error);
}

std::string FreeAsideName(const std::string& path) {
    std::string name = path + ".unreadable";
    struct stat info {};
    for (int number = 1; lstat(name.c_str(), &info) == 0; ++number) {
        name = path + ".unreadable." + std::to_string(number);
    }
    return name;
}

bool KeepFileAside(const std::string& path, std::string& keptAs) {
    keptAs.clear();
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        return true; // nothing there to lose
    }
    std::string name = FreeAsideName(path);
    bool regular = stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    bool kept = regular ? KeepRegularFile(path, name) : rename(path.c_str(), name.c_str()) == 0;
    if (!kept) {
        ReportFileError(path, errno);
        return false;
    }
    keptAs = name;
    return true;
}

std::string SaveTarget(const std::string& path) {
    std::string target = path;
    // As many links as the system itself follows; a loop saves onto path.
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target;
        }
        std::string next = LinkTarget(target);
        if (next.empty()) {
            return target;
        }
        target = next;
    }
    return path;
}

bool WriteFileAtomically(const std::string& linkOrPath, const std::string& content) {
    // The new file goes beside the link's target, so the rename keeps the link.
    std::string path = SaveTarget(linkOrPath);
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        ReportFileError(linkOrPath, errno);
        return false;
    }
    CFileDescriptor file(fd);
    // Keep the target's permissions; a new file is readable by all, as an
    // ordinary created file would be (mkstemp makes it 0600).
    struct stat existing {};
    mode_t mode = stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644;
    fchmod(file.fd, mode);

    if (!WriteAll(file.fd, content) || fsync(file.fd) != 0) {
        int code = errno;
        unlink(temporary.c_str());
        ReportFileError(linkOrPath, code);
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        int code = errno;
        unlink(temporary.c_str());
        ReportFileError(linkOrPath, code);
        return false;
    }
    return true;
}
