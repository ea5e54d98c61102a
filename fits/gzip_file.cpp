#include "fits/gzip_file.h"

#include <unistd.h>
#include <zlib.h>

#include <array>
#include <memory>

namespace wendrel {

bool IsGzip(InputFile& file) {
    std::array<char, 2> start{};
    return file.ReadAt(0, start) == 2 && static_cast<unsigned char>(start[0]) == 0x1f &&
           static_cast<unsigned char>(start[1]) == 0x8b;
}

std::optional<std::string> Gunzip(InputFile& file, std::string& problem) {
    constexpr size_t kChunk = 1 << 18;
    const double memory = static_cast<double>(::sysconf(_SC_PHYS_PAGES)) * static_cast<double>(::sysconf(_SC_PAGE_SIZE));
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK) {  // 15 + 32: a gzip or zlib header, told apart by zlib
        problem = "its gzip stream cannot be unpacked (zlib could not start).";
        return std::nullopt;
    }
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
    std::string in(kChunk, '\0'), out;
    int64_t offset = 0;
    int result = Z_OK;
    for (int64_t got; (got = file.ReadAt(offset, in)) != 0; offset += got) {
        if (got < 0) {
            problem = "it cannot be read.";
            return std::nullopt;
        }
        stream.next_in = reinterpret_cast<Bytef*>(in.data());
        stream.avail_in = static_cast<uInt>(got);
        while (stream.avail_in > 0) {
            if (result == Z_STREAM_END) inflateReset(&stream);  // another member follows
            const size_t before = out.size();
            if (static_cast<double>(before + kChunk) > memory) {
                problem = "it unpacks to more bytes than the memory of this computer can hold.";
                return std::nullopt;
            }
            out.resize(before + kChunk);
            stream.next_out = reinterpret_cast<Bytef*>(out.data() + before);
            stream.avail_out = static_cast<uInt>(kChunk);
            result = inflate(&stream, Z_NO_FLUSH);
            out.resize(before + kChunk - stream.avail_out);
            if (result != Z_OK && result != Z_STREAM_END) {
                problem = "its gzip stream is damaged (" + std::string(stream.msg ? stream.msg : "no reason given") + ").";
                return std::nullopt;
            }
        }
    }
    if (result != Z_STREAM_END) {
        problem = "its gzip stream ends before its last byte: the file is cut short.";
        return std::nullopt;
    }
    return out;
}

}  // namespace wendrel
