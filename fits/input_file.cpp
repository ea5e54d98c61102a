#include "fits/input_file.h"
#include "fits/quoted_name.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <system_error>

namespace wendrel {

std::unique_ptr<InputFile> InputFile::Open(const std::filesystem::path& path,
                                           const std::string& shownName, std::string& problem) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) {
        problem = "Cannot open " + Quoted(shownName) + ": " + ec.message() + ".";
        return nullptr;
    }
    if (fs::is_directory(status)) {
        problem = Quoted(shownName) + " is a folder, not a FITS file.";
        return nullptr;
    }
    if (!fs::is_regular_file(status)) {
        // Devices and pipes have no size to check the header against.
        problem = Quoted(shownName) + " is not a regular file.";
        return nullptr;
    }

    errno = 0;
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "unknown error";
        problem = "Cannot open " + Quoted(shownName) + ": " + reason + ".";
        return nullptr;
    }
    // The file is unbuffered: every read goes straight into the caller's buffer.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);

    const uintmax_t size = fs::file_size(path, ec);
    if (ec) {
        problem = "Cannot read the size of " + Quoted(shownName) + ": " + ec.message() + ".";
        return nullptr;
    }
    if (size == 0) {
        problem = Quoted(shownName) + " is empty.";
        return nullptr;
    }
    return std::unique_ptr<InputFile>(new InputFile(std::move(file), static_cast<int64_t>(size)));
}

std::unique_ptr<InputFile> InputFile::FromBytes(std::string bytes) {
    const auto size = static_cast<int64_t>(bytes.size());
    std::unique_ptr<InputFile> file(new InputFile(nullptr, size, std::move(bytes)));
    // fmemopen refuses a buffer of no bytes; a file of one blank reads as empty all the same.
    if (file->bytes_.empty()) file->bytes_ = " ";
    file->file_.reset(::fmemopen(file->bytes_.data(), file->bytes_.size(), "rb"));
    if (!file->file_) throw std::bad_alloc();
    return file;
}

static_assert(sizeof(long) >= 8, "file offsets are passed to fseek as long");

int64_t InputFile::ReadAt(int64_t offset, std::span<char> buffer) {
    if (offset != position_) {
        if (std::fseek(file_.get(), static_cast<long>(offset), SEEK_SET) != 0) return -1;
        position_ = offset;
    }
    const size_t got = std::fread(buffer.data(), 1, buffer.size(), file_.get());
    position_ += static_cast<int64_t>(got);
    if (got < buffer.size() && std::ferror(file_.get())) return -1;
    return static_cast<int64_t>(got);
}

}  // namespace wendrel
