#include "platform/RenameFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// For file systems that know neither the no-replace flag nor hard links
// (FAT, some network shares): look, then rename. Another program could
// still create the name in between; nothing better is offered there.
bool CheckThenRename(const std::string& from, const std::string& to, int& errorCode) {
    struct stat existing {};
    if (lstat(to.c_str(), &existing) == 0) {
        errorCode = EEXIST;
        return false;
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        errorCode = errno;
        return false;
    }
    return true;
}

// A hard link cannot replace an existing name either; the old name is
// removed once the new one is in place.
bool LinkThenUnlink(const std::string& from, const std::string& to, int& errorCode) {
    if (link(from.c_str(), to.c_str()) != 0) {
        if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) {
            return CheckThenRename(from, to, errorCode);
        }
        errorCode = errno;
        return false;
    }
    if (unlink(from.c_str()) != 0) {
        errorCode = errno;
        unlink(to.c_str());
        return false;
    }
    return true;
}

} // namespace

bool RenameWithoutReplacing(const std::string& from, const std::string& to, int& errorCode) {
    errorCode = 0;
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        errorCode = errno;
        return false;
    }
    return LinkThenUnlink(from, to, errorCode);
}
