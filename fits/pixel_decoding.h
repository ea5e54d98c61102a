// Decoding of big-endian FITS pixels into floating values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace wendrel {

enum class PixelType {
    Int16,    // 16-bit two's complement
    Int32,    // 32-bit two's complement
    Float32,  // IEEE 754 single precision
    Float64,  // IEEE 754 double precision
};

constexpr int BytesPerPixel(PixelType type) {
    switch (type) {
        case PixelType::Int16: return 2;
        case PixelType::Int32:
        case PixelType::Float32: return 4;
        case PixelType::Float64: return 8;
    }
    return 0;
}

// value = zero + scale * stored value. An integer pixel whose stored value
// is `blank` (the header's BLANK) is blank.
struct PixelScaling {
    double zero = 0;
    double scale = 1;
    std::optional<int64_t> blank;
};

// Decodes out.size() pixels from `bytes` (which holds at least that many).
// A pixel whose value is not finite (NaN, an infinity, or an overflow of the
// scaling), or an integer pixel equal to BLANK, is stored as NaN: a blank pixel.
void DecodePixels(PixelType type, std::span<const std::byte> bytes, PixelScaling scaling,
                  std::span<double> out);

}  // namespace wendrel
