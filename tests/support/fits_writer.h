// Writes FITS spectra as bytes: header cards, END, padding to 2880-byte
// blocks and big-endian pixels. Used by tests, benchmarks and sample makers;
// it writes whatever it is given, broken files included.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace wendrel {

// Header cards of 80 characters in the fixed format: the keyword in columns
// 1-8, "= " in 9-10, numbers and logicals right-aligned to column 30, texts
// quoted from column 11, an optional " / comment" after the value.
std::string RawCard(std::string_view text);  // padded with blanks or cut to 80
std::string ValueCard(std::string_view keyword, std::string_view value, std::string_view comment = {});
std::string IntCard(std::string_view keyword, int64_t value, std::string_view comment = {});
std::string RealCard(std::string_view keyword, double value, std::string_view comment = {});
std::string LogicalCard(std::string_view keyword, bool value, std::string_view comment = {});
std::string StringCard(std::string_view keyword, std::string_view text, std::string_view comment = {});

// A file as bytes: the cards (each padded to 80), END, blanks up to the next
// 2880-byte boundary, then the data bytes as given.
struct FitsBytes {
    std::vector<std::string> cards;  // the cards before END
    bool end = true;                 // write the END card
    std::string data;                // data bytes as stored
    bool padData = true;             // pad the data with zero bytes to a whole block
};
std::string ToBytes(const FitsBytes& file);

// Big-endian stored pixel values for BITPIX 16, 32, -32 or -64; integers modulo 2^16 or 2^32 (40000
// and -25536 both give 9C 40). Throws std::invalid_argument for another BITPIX or an integer out of range.
std::string EncodePixels(int bitpix, std::span<const double> stored);

// A one-dimensional spectrum with the usual header: SIMPLE, BITPIX, NAXIS,
// NAXIS1, the optional BZERO, BSCALE, OBJECT, CRVAL1 and CD1_1, then the extra
// cards in their order.
struct SpectrumFile {
    int bitpix = -32;
    std::vector<double> stored;  // pixel values as stored, before BZERO/BSCALE
    std::optional<double> bzero;
    std::optional<double> bscale;
    std::optional<std::string> object;
    std::optional<double> crval1 = 4000;
    std::optional<double> cd1_1 = 1;
    std::vector<std::string> extraCards;
};
FitsBytes SpectrumCards(const SpectrumFile& spectrum);
std::string SpectrumBytes(const SpectrumFile& spectrum);

// Writes bytes to a file, replacing it. Throws std::runtime_error on failure.
void WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace wendrel
