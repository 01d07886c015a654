#include "platform/FileSystem.h"

#include "platform/Platform.h"
#include "platform/TextEncoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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

} // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes) {
    bytes.clear();
    CFileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.fd < 0) {
        return false;
    }
    struct stat info {};
    if (fstat(file.fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    if (info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[65536];
    for (;;) {
        ssize_t got = read(file.fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (got == 0) {
            return true;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::size_t lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == '\r') {
            --lineEnd;
        }
        lines.emplace_back(text, start, lineEnd - start);
        start = end + 1;
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

bool WriteFileAtomically(const std::string& path, const std::string& content) {
    std::string temporary = path + ".XXXXXX";
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        ReportFileError(path, errno);
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
        ReportFileError(path, code);
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        int code = errno;
        unlink(temporary.c_str());
        ReportFileError(path, code);
        return false;
    }
    return true;
}
