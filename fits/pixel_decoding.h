// Decoding of big-endian FITS pixels into floating values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace wendrel {

enum class PixelType {
    UInt16,   // 16-bit read as unsigned 0..65535 (data without BZERO)
    Int16,    // 16-bit two's complement
    Int32,    // 32-bit two's complement
    Float32,  // IEEE 754 single precision
    Float64,  // IEEE 754 double precision
};

constexpr int BytesPerPixel(PixelType type) {
    switch (type) {
        case PixelType::UInt16:
        case PixelType::Int16: return 2;
        case PixelType::Int32:
        case PixelType::Float32: return 4;
        case PixelType::Float64: return 8;
    }
    return 0;
}

// value = zero + scale * stored value.
struct PixelScaling {
    double zero = 0;
    double scale = 1;
};

// Decodes out.size() pixels from `bytes` (which holds at least that many).
// A pixel whose value is not finite (NaN, an infinity, or an overflow of the
// scaling) is stored as NaN: a blank pixel.
void DecodePixels(PixelType type, std::span<const std::byte> bytes, PixelScaling scaling,
                  std::span<double> out);

}  // namespace wendrel
