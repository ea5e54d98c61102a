// A FITS file opened for reading: its size, and reads of byte ranges at
// absolute offsets into caller buffers (no system call per byte).
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace wendrel {

class InputFile {
public:
    // Opens a regular file. On failure returns nothing and sets `problem` to a
    // sentence naming `shownName` and what is wrong.
    static std::unique_ptr<InputFile> Open(const std::filesystem::path& path,
                                           const std::string& shownName, std::string& problem);

    // A file's bytes held in memory (a decompressed file), read as a file.
    static std::unique_ptr<InputFile> FromBytes(std::string bytes);

    int64_t Size() const { return size_; }
    // The bytes of a file made from bytes; empty for a file on disk.
    std::string_view Bytes() const { return std::string_view(bytes_).substr(0, static_cast<size_t>(size_)); }

    // Reads up to buffer.size() bytes from `offset`; returns how many were read
    // (fewer only at the end of the file), or -1 on a read error.
    int64_t ReadAt(int64_t offset, std::span<char> buffer);

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    InputFile(std::unique_ptr<std::FILE, Closer> file, int64_t size, std::string bytes = {})
        : bytes_(std::move(bytes)), file_(std::move(file)), size_(size) {}

    std::string bytes_;  // the memory a file made from bytes reads from
    std::unique_ptr<std::FILE, Closer> file_;
    int64_t size_;
    int64_t position_ = 0;
};

}  // namespace wendrel
