#include "tests/support/fits_writer.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace wendrel {

namespace {

constexpr size_t kCard = 80;
constexpr size_t kBlock = 2880;

std::string RightAligned(std::string_view value) {
    std::string field(value.size() < 20 ? 20 - value.size() : 0, ' ');
    return field.append(value);
}

void AppendBigEndian(std::string& out, uint64_t bits, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((bits >> (8 * i)) & 0xFF));
}

void PadTo(std::string& bytes, size_t multiple, char fill) {
    if (bytes.size() % multiple != 0) bytes.append(multiple - bytes.size() % multiple, fill);
}

}  // namespace

std::string RawCard(std::string_view text) {
    std::string card(text.substr(0, kCard));
    card.resize(kCard, ' ');
    return card;
}

std::string ValueCard(std::string_view keyword, std::string_view value, std::string_view comment) {
    std::string key(keyword);
    key.resize(8, ' ');
    std::string text = key + "= " + std::string(value);
    if (!comment.empty()) text += " / " + std::string(comment);
    return RawCard(text);
}

std::string IntCard(std::string_view keyword, int64_t value, std::string_view comment) {
    return ValueCard(keyword, RightAligned(std::to_string(value)), comment);
}

std::string RealCard(std::string_view keyword, double value, std::string_view comment) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17G", value);
    return ValueCard(keyword, RightAligned(text), comment);
}

std::string LogicalCard(std::string_view keyword, bool value, std::string_view comment) {
    return ValueCard(keyword, RightAligned(value ? "T" : "F"), comment);
}

std::string StringCard(std::string_view keyword, std::string_view text, std::string_view comment) {
    std::string quoted;
    for (const char c : text) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    if (quoted.size() < 8) quoted.resize(8, ' ');
    return ValueCard(keyword, "'" + quoted + "'", comment);
}

std::string ToBytes(const FitsBytes& file) {
    std::string bytes;
    for (const std::string& card : file.cards) bytes += RawCard(card);
    if (file.end) bytes += RawCard("END");
    PadTo(bytes, kBlock, ' ');
    bytes += file.data;
    if (file.padData) PadTo(bytes, kBlock, '\0');
    return bytes;
}

std::string EncodePixels(int bitpix, std::span<const double> stored) {
    std::string out;
    const auto checkInteger = [](double v, int bits) {
        const double low = -std::ldexp(1.0, bits - 1), high = std::ldexp(1.0, bits) - 1;
        if (v != std::floor(v) || v < low || v > high)
            throw std::invalid_argument("not a stored " + std::to_string(bits) + "-bit integer: " +
                                        std::to_string(v));
    };
    for (const double v : stored) {
        switch (bitpix) {
            case 16:
            case 32:
                checkInteger(v, bitpix);
                AppendBigEndian(out, static_cast<uint64_t>(static_cast<int64_t>(v)), bitpix / 8);
                break;
            case -32: AppendBigEndian(out, std::bit_cast<uint32_t>(static_cast<float>(v)), 4); break;
            case -64: AppendBigEndian(out, std::bit_cast<uint64_t>(v), 8); break;
            default: throw std::invalid_argument("BITPIX " + std::to_string(bitpix) + " cannot be written");
        }
    }
    return out;
}

FitsBytes SpectrumCards(const SpectrumFile& s) {
    FitsBytes file;
    file.cards = {LogicalCard("SIMPLE", true), IntCard("BITPIX", s.bitpix), IntCard("NAXIS", 1),
                  IntCard("NAXIS1", static_cast<int64_t>(s.stored.size()))};
    if (s.bzero) file.cards.push_back(RealCard("BZERO", *s.bzero));
    if (s.bscale) file.cards.push_back(RealCard("BSCALE", *s.bscale));
    if (s.object) file.cards.push_back(StringCard("OBJECT", *s.object));
    if (s.crval1) file.cards.push_back(RealCard("CRVAL1", *s.crval1));
    if (s.cd1_1) file.cards.push_back(RealCard("CD1_1", *s.cd1_1));
    file.cards.insert(file.cards.end(), s.extraCards.begin(), s.extraCards.end());
    file.data = EncodePixels(s.bitpix, s.stored);
    return file;
}

std::string SpectrumBytes(const SpectrumFile& spectrum) { return ToBytes(SpectrumCards(spectrum)); }

void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace wendrel
