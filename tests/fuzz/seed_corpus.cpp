#include "tests/fuzz/seed_corpus.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "app/settings_file.h"
#include "tests/support/fits_writer.h"

namespace wendrel::fuzzing {

namespace {

// A continuum near `level` with a few lines, as whole numbers that fit every BITPIX.
std::vector<double> Continuum(size_t pixels, double level) {
    std::vector<double> v(pixels);
    for (size_t i = 0; i < pixels; ++i) v[i] = std::round(level * (1 - 0.3 * std::exp(-std::pow((i % 40) - 20.0, 2) / 8)));
    return v;
}

std::string Name(int bitpix, const char* what) {
    return "bitpix" + std::string(bitpix < 0 ? "m" : "") + std::to_string(std::abs(bitpix)) + "_" + what;
}

std::vector<std::string> ManyCards(size_t count) {
    std::vector<std::string> cards;
    for (size_t i = 0; i < count; ++i)
        cards.push_back(i % 3 == 0 ? RealCard("EXPTIME", 30.0 + static_cast<double>(i), "seconds")
                        : i % 3 == 1 ? StringCard("HISTORY", "step " + std::to_string(i))
                                     : RawCard("COMMENT   free text with / a slash"));
    return cards;
}

std::string Bytes(const SpectrumFile& s, bool padData = true) {
    FitsBytes f = SpectrumCards(s);
    f.padData = padData;
    return ToBytes(f);
}

// IRAF's multispec description of a 60-pixel spectrum: the WAT2 text cut
// into the 68 characters each card holds.
std::vector<std::string> MultispecCards(const std::string& spec1) {
    const std::string text = "wtype=multispec spec1 = \"" + spec1 + "\"";
    std::vector<std::string> cards = {RealCard("LTV1", 0), RealCard("LTM1_1", 1)};
    for (size_t at = 0, n = 1; at < text.size(); at += 68, ++n) {
        char keyword[16];
        std::snprintf(keyword, sizeof keyword, "WAT2_%03zu", n);
        cards.push_back(StringCard(keyword, text.substr(at, 68)));
    }
    return cards;
}

}  // namespace

std::vector<Seed> FitsReaderSeeds() {
    std::vector<Seed> seeds;
    for (const int bitpix : {16, 32, -32, -64}) {
        SpectrumFile s;
        s.bitpix = bitpix;
        s.stored = Continuum(120, 1000);
        s.object = "HD 12345";
        seeds.push_back({Name(bitpix, "plain"), Bytes(s)});

        s.bzero = bitpix == 16 ? 32768 : 1000;
        s.bscale = 2;
        seeds.push_back({Name(bitpix, "bzero_bscale"), Bytes(s, false)});

        s.bscale.reset();
        seeds.push_back({Name(bitpix, "bzero"), Bytes(s)});

        // Short header: no object, no wavelength keywords, one pixel.
        SpectrumFile bare;
        bare.bitpix = bitpix;
        bare.stored = {7};
        bare.crval1.reset();
        bare.cd1_1.reset();
        seeds.push_back({Name(bitpix, "short_header"), Bytes(bare, false)});

        // Long header: the END card lands in the third block.
        SpectrumFile longHeader = s;
        longHeader.extraCards = ManyCards(70);
        longHeader.extraCards.push_back(RealCard("CRPIX1", 3));
        seeds.push_back({Name(bitpix, "long_header"), Bytes(longHeader, false)});
    }

    SpectrumFile blanks;
    blanks.stored = Continuum(60, 50);
    blanks.stored[3] = std::numeric_limits<double>::quiet_NaN();
    blanks.stored[9] = std::numeric_limits<double>::infinity();
    blanks.cd1_1.reset();
    blanks.extraCards = {RealCard("CDELT1", 0.5), StringCard("OBJECT", "second"), RawCard("end")};
    seeds.push_back({"float_blanks_cdelt", Bytes(blanks)});

    FitsBytes noEnd = SpectrumCards(blanks);
    noEnd.end = false;
    seeds.push_back({"no_end_card", ToBytes(noEnd)});

    FitsBytes eightBit;
    eightBit.cards = {LogicalCard("SIMPLE", true), IntCard("BITPIX", 8), IntCard("NAXIS", 1), IntCard("NAXIS1", 10)};
    eightBit.data = std::string(10, '\x40');
    seeds.push_back({"eight_bit", ToBytes(eightBit)});

    std::string carriageReturn = Bytes(blanks);
    carriageReturn[5 * 80 + 40] = '\r';
    seeds.push_back({"carriage_return", carriageReturn});

    SpectrumFile exponents;
    exponents.bitpix = -64;
    exponents.stored = Continuum(55, 3e5);
    exponents.crval1.reset();
    exponents.cd1_1.reset();
    exponents.extraCards = {RawCard("CRVAL1  =              6.5D+03"), RawCard("CD1_1   = 1 . 2 5E-1 / blanks inside"),
                            RawCard("OBJECT  = 'Vega    '"), RawCard("BITPIX  =                  -64"),
                            RawCard("NAXIS1  =                   55 / again")};
    seeds.push_back({"exponents_and_repeats", Bytes(exponents)});

    SpectrumFile logLinear;
    logLinear.stored = Continuum(60, 500);
    logLinear.crval1 = 3.6;
    logLinear.cd1_1 = 1e-4;
    logLinear.extraCards = {IntCard("DC-FLAG", 1)};
    seeds.push_back({"log_linear", Bytes(logLinear)});

    const std::pair<const char*, const char*> multispec[] = {
        {"multispec_linear", "1 1 0 4000. 2. 60 0. 1 60"},
        {"multispec_log", "1 1 1 3.6 1E-4 60 0.001 1 60"},
        {"multispec_chebyshev", "1 1 2 4000. 1. 60 0. 1 60 1. 0. 1 3 1. 60. 4000. 30. 0.5"},
        {"multispec_legendre", "1 1 2 4000. 1. 60 0. 1 60 1. 5. 2 2 1. 60. 4100. 25."},
        {"multispec_cubic_spline", "1 1 2 4000. 1. 60 0. 1 60 1. 0. 3 2 1. 60. 4000. 4010. 4030. 4060. 4100."},
        {"multispec_linear_spline", "1 1 2 4000. 1. 60 0. 1 60 1. 0. 4 3 1. 60. 4000. 4020. 4040. 4060."},
        {"multispec_pixel_array", "1 1 2 4000. 1. 60 0. 1 60 1. 0. 5 4 4000. 4001. 4003. 4006."},
        {"multispec_sampled_array", "1 1 2 4000. 1. 60 0. 1 60 1. 0. 6 3 0. 1. 4000. 30. 4050. 60. 4100. "
                                    "0.5 0. 1 3 1. 60. 1. 2. 0."},
    };
    for (const auto& [name, spec1] : multispec) {
        SpectrumFile m;
        m.stored = Continuum(60, 800);
        m.extraCards = MultispecCards(spec1);
        seeds.push_back({name, Bytes(m)});
    }
    return seeds;
}

std::vector<Seed> SettingsFileSeeds() {
    Settings distinct;
    distinct.Lambda0Key = "WAVE,0";
    distinct.DLambdaKey = "STEP";
    int next = -3;
    for (int* field : {&distinct.MainLeft, &distinct.MainTop, &distinct.LoadLeft, &distinct.LoadTop,
                       &distinct.HdrLeft, &distinct.HdrWidth, &distinct.HdrHeight, &distinct.SpareLeft,
                       &distinct.SpareTop, &distinct.SpareWidth, &distinct.SpareHeight, &distinct.PlotWinLeft,
                       &distinct.PlotWinTop, &distinct.PlotWinWidth, &distinct.PlotWinHeight, &distinct.HelpLeft,
                       &distinct.HelpTop, &distinct.HelpWidth, &distinct.HelpHeight, &distinct.AboutLeft,
                       &distinct.AboutTop})
        *field = (next++) * 1531;
    distinct.HdrTop = -1234.5625;

    std::string lineFeeds = SettingsFileText(Settings{});
    for (size_t at; (at = lineFeeds.find("\r\n")) != std::string::npos;) lineFeeds.erase(at, 1);
    return {
        {"defaults", SettingsFileText(Settings{})},
        {"distinct", SettingsFileText(distinct)},
        {"line_feeds", lineFeeds},
        {"one_line", "CRVAL1 , CD1_1,\"c\",200,200,500,500,500,500.25,3000,10000,500,500,3000,10000,"
                     "100,2000,10000,1000,500,500,10000,500,500,\"500\"\r\ntrailing text"},
        {"extremes", "\"\",\"\",\"\"\r\n-32768,32767\r\n+0,-0\r\n1e3,.5,32767.49,-32768.5\r\n"
                     "0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n0,0\r\n"},
    };
}

std::vector<Seed> NumberTextSeeds() {
    // Texts for the numeric parse, then binary inputs: a double's 8 bytes,
    // then a 16-bit width and 16-bit decimals, then a fill character.
    std::vector<Seed> seeds = {
        {"text_wavelength", "6562.817"},     {"text_d_exponent", "1.5D+03"},
        {"text_blanks", " - 1 2 . 5 e - 3"}, {"text_overflow", "1e99999"},
        {"text_underflow", "-1.0E-99999"},   {"text_logical", "T"},
        {"text_tiny", "4.9406564584124654E-324"},
    };
    const double values[] = {120,  20,   0,      0.4,  98.6, 6562.817, 6500,  1.5,    0.5, -0.5, 12345.678,
                             1234567, 100000, 12345, -12345, 0.00012345, 5, 1e-300, -1e308, 0.999999, -0.95, 9.5e15};
    int n = 0;
    for (const double v : values) {
        std::string bytes(8, '\0');
        std::memcpy(bytes.data(), &v, 8);
        const int16_t width = static_cast<int16_t>(6 + n % 3), decimals = static_cast<int16_t>(n % 3);
        bytes.append(reinterpret_cast<const char*>(&width), 2);
        bytes.append(reinterpret_cast<const char*>(&decimals), 2);
        bytes += '0';
        seeds.push_back({"value_" + std::to_string(n++), bytes});
    }
    return seeds;
}

std::vector<Seed> SeedsFor(std::string_view target) {
    if (target == "fits_reader") return FitsReaderSeeds();
    if (target == "settings_file") return SettingsFileSeeds();
    if (target == "number_text") return NumberTextSeeds();
    return {};
}

}  // namespace wendrel::fuzzing
