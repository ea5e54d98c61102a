#include "fits/pixel_decoding.h"

#include <bit>
#include <cmath>
#include <limits>

#include "fits/wide_vectors.h"

namespace wendrel {

namespace {

uint16_t BigEndian16(const unsigned char* b) { return static_cast<uint16_t>(b[0] << 8 | b[1]); }

uint32_t BigEndian32(const unsigned char* b) {
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}

uint64_t BigEndian64(const unsigned char* b) {
    return uint64_t{BigEndian32(b)} << 32 | BigEndian32(b + 4);
}

double Stored(PixelType type, const unsigned char* b) {
    switch (type) {
        case PixelType::Int16: return static_cast<int16_t>(BigEndian16(b));
        case PixelType::Int32: return static_cast<int32_t>(BigEndian32(b));
        case PixelType::Float32: return std::bit_cast<float>(BigEndian32(b));
        case PixelType::Float64: return std::bit_cast<double>(BigEndian64(b));
    }
    return 0;
}

// Single precision without scaling: the blank test looks at the exponent bits
// (all ones for infinities and NaN) and makes such a pixel a quiet NaN before
// it is widened to double, which gives the same blank as the test after
// widening. The loop then has only integer steps and one conversion, which the
// compiler runs on several pixels at once.
WENDREL_WIDE_VECTORS_IF_PRESENT
void DecodeFloat32(const unsigned char* bytes, std::span<double> out) {
    constexpr uint32_t kExponentBits = 0x7f800000;
    constexpr uint32_t kQuietNaN = 0x7fc00000;
    double* values = out.data();
    for (size_t i = 0; i < out.size(); ++i) {
        const uint32_t bits = BigEndian32(bytes + 4 * i);
        // All ones for a blank pixel, else 0: a choice without a branch.
        const uint32_t blank = 0u - static_cast<uint32_t>((bits & kExponentBits) == kExponentBits);
        values[i] = std::bit_cast<float>((bits & ~blank) | (kQuietNaN & blank));
    }
}

template <PixelType type, bool scaled, bool blanks = false>
void Decode(const unsigned char* bytes, PixelScaling scaling, std::span<double> out) {
    constexpr int kBytes = BytesPerPixel(type);
    constexpr double kBlank = std::numeric_limits<double>::quiet_NaN();
    const double blank = blanks ? static_cast<double>(*scaling.blank) : 0;
    for (double& value : out) {
        double v = Stored(type, bytes);
        bytes += kBytes;
        if constexpr (blanks) {
            if (v == blank) {
                value = kBlank;
                continue;
            }
        }
        if constexpr (scaled) v = scaling.zero + scaling.scale * v;
        if constexpr (scaled || type == PixelType::Float32 || type == PixelType::Float64)
            v = std::isfinite(v) ? v : kBlank;
        value = v;
    }
}

template <PixelType type>
void DecodeAs(const unsigned char* bytes, PixelScaling scaling, std::span<double> out) {
    constexpr bool kInteger = type == PixelType::Int16 || type == PixelType::Int32;
    if (kInteger && scaling.blank)
        Decode<type, true, kInteger>(bytes, scaling, out);
    else if (scaling.zero != 0 || scaling.scale != 1)
        Decode<type, true>(bytes, scaling, out);
    else if constexpr (type == PixelType::Float32)
        DecodeFloat32(bytes, out);
    else
        Decode<type, false>(bytes, scaling, out);
}

}  // namespace

void DecodePixels(PixelType type, std::span<const std::byte> bytes, PixelScaling scaling,
                  std::span<double> out) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    switch (type) {
        case PixelType::Int16: DecodeAs<PixelType::Int16>(b, scaling, out); break;
        case PixelType::Int32: DecodeAs<PixelType::Int32>(b, scaling, out); break;
        case PixelType::Float32: DecodeAs<PixelType::Float32>(b, scaling, out); break;
        case PixelType::Float64: DecodeAs<PixelType::Float64>(b, scaling, out); break;
    }
}

}  // namespace wendrel
