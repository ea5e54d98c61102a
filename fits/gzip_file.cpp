#include "fits/gzip_file.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <memory>

#include "fits/unpacked_stream.h"

namespace wendrel {

bool IsGzip(InputFile& file) {
    std::array<char, 2> start{};
    return file.ReadAt(0, start) == 2 && static_cast<unsigned char>(start[0]) == 0x1f &&
           static_cast<unsigned char>(start[1]) == 0x8b;
}

std::optional<std::string> Gunzip(InputFile& file, std::string& problem) {
    constexpr size_t kChunk = 1 << 18;
    constexpr int64_t kLargestDeflateRatio = 1032;
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK) {  // 15 + 32: a gzip or zlib header, told apart by zlib
        problem = "its gzip stream cannot be unpacked (zlib could not start).";
        return std::nullopt;
    }
    const std::unique_ptr<z_stream, int (*)(z_stream*)> end(&stream, inflateEnd);
    UnpackedStreamCheck check;
    std::string in(kChunk, '\0'), out;
    int64_t offset = 0;
    int result = Z_OK;
    const auto judge = [&](bool ended) {
        switch (check.Look(out, ended)) {
            case UnpackedStreamCheck::Verdict::More: return true;
            case UnpackedStreamCheck::Verdict::Enough: out.resize(static_cast<size_t>(check.End())); return false;
            case UnpackedStreamCheck::Verdict::Refuse: problem = check.Problem(); return false;
        }
        return false;
    };
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
            if (static_cast<int64_t>(before) >= kMaxUnpackedBytes) {
                problem = "it unpacks to more than the 4 GiB this program unpacks.";
                return std::nullopt;
            }
            // Room for what the headers declare at once, as far as deflate's
            // largest ratio lets the file hold it, else growing by half: never
            // twice what the stream holds.
            if (before + kChunk > out.capacity()) {
                const int64_t declared = std::min(check.Expected(), file.Size() * kLargestDeflateRatio);
                out.reserve(std::max({before + kChunk, before + before / 2, static_cast<size_t>(declared)}));
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
            if (!judge(false)) return problem.empty() ? std::optional(std::move(out)) : std::nullopt;
        }
    }
    if (result != Z_STREAM_END) {
        problem = "its gzip stream ends before its last byte: the file is cut short.";
        return std::nullopt;
    }
    if (!judge(true) && !problem.empty()) return std::nullopt;
    return out;
}

}  // namespace wendrel
