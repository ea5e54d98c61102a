#include "app/file_replace.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wendrel {

namespace {

// A new file in the folder of path, open for writing, for the bytes that are
// to replace the file at path. Returns -1 with errno set when none can be made.
int CreateFileBeside(const std::filesystem::path& path, std::filesystem::path& created) {
    const std::string prefix = "." + path.filename().string() + "-" + std::to_string(::getpid()) + "-";
    for (unsigned attempt = 0;; ++attempt) {
        created = path.parent_path() / (prefix + std::to_string(attempt));
        const int fd = ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            if (count == 0) errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(count));
    }
    return true;
}

}  // namespace

int ReplaceFileWith(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temp;
    const int fd = CreateFileBeside(path, temp);
    if (fd < 0) return errno;
    struct stat old;
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) (void)::fchmod(fd, old.st_mode & 07777);
    bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) written = false, error = errno;
    if (written && std::rename(temp.c_str(), path.c_str()) != 0) written = false, error = errno;
    if (written) return 0;
    ::unlink(temp.c_str());
    return error;
}

}  // namespace wendrel
