#include "tests/fuzz/seed_corpus.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "app/settings_file.h"
#include "tests/support/fits_writer.h"

namespace wendrel::fuzzing {

std::vector<std::pair<std::string, std::string>> SeedsFor(std::string_view target) {
    std::vector<std::pair<std::string, std::string>> seeds;
    if (target == "fits_reader") {
        // Every BITPIX plain and scaled with END in block 3; blanks, odd numbers, no END, CR, 8 bits; each scale.
        std::vector<double> line(120);
        for (size_t i = 0; i < line.size(); ++i) line[i] = std::round(1000 - 300 * std::exp(-std::pow(i % 40 - 20.0, 2) / 8));
        for (const int bitpix : {16, 32, -32, -64}) {
            SpectrumFile s{bitpix, line, {}, {}, "HD 12345", 4000, 1, {}};
            seeds.emplace_back("bitpix" + std::to_string(bitpix), SpectrumBytes(s));
            s.bzero = bitpix == 16 ? 32768 : 1000, s.bscale = 2;
            s.extraCards.assign(70, RealCard("CRPIX1", 3));
            seeds.emplace_back("bitpix" + std::to_string(bitpix) + "_scaled", SpectrumBytes(s));
        }
        SpectrumFile odd{-32, line, {}, {}, {}, {}, {}, {RawCard("CRVAL1  = 6.5D+03"), RawCard("CD1_1   = 1 . 2 5E-1 / x"),
                                                         RealCard("BITPIX", -32), RawCard("end")}};
        odd.stored[3] = NAN, odd.stored[9] = INFINITY;
        FitsBytes noEnd = SpectrumCards(odd);
        noEnd.end = false;
        seeds.emplace_back("odd", SpectrumBytes(odd));
        seeds.emplace_back("no_end_card", ToBytes(noEnd));
        seeds.emplace_back("carriage_return", SpectrumBytes(odd).replace(440, 1, "\r"));
        seeds.emplace_back("eight_bit", ToBytes({{LogicalCard("SIMPLE", true), IntCard("BITPIX", 8), IntCard("NAXIS1", 10)},
                                                 true, std::string(10, '@'), true}));
        seeds.emplace_back("log_linear", SpectrumBytes({-32, line, {}, {}, {}, 3.6, 1e-4, {IntCard("DC-FLAG", 1)}}));
        const std::string text = "wtype=multispec spec1 = \"1 1 2 4000. 1. 120 0. 1 120 1. 0. 1 3 1. 120. 4000. 30. 0.5 "
                                 "1. 5. 2 2 1. 120. 41. 25. 0.5 0. 3 1 1. 120. 4000. 4010. 4030. 4060. 0.5 0. 4 1 1 120 0 1 "
                                 "0.5 0. 5 2 1 2 0.5 0. 6 2 0. 1. 4000. 120. 4100.\" spec2 = \"2 1 1 3.6 1E-4 120 0 1 120\"";
        std::vector<std::string> cards = {RealCard("LTV1", 0), RealCard("LTM1_1", 1)};
        for (size_t at = 0; at < text.size(); at += 68)
            cards.push_back(StringCard("WAT2_00" + std::to_string(at / 68 + 1), text.substr(at, 68)));
        seeds.emplace_back("multispec", SpectrumBytes({-32, line, {}, {}, {}, 1, 1, cards}));
    } else if (target == "settings_file") {
        Settings distinct;
        distinct.Lambda0Key = "WAVE,0", distinct.HdrTop = -1234.5625, distinct.MainLeft = -32768, distinct.AboutTop = 32767;
        std::string lineFeeds = SettingsFileText(Settings{});
        std::erase(lineFeeds, '\r');
        seeds = {{"defaults", SettingsFileText(Settings{})}, {"distinct", SettingsFileText(distinct)}, {"line_feeds", lineFeeds},
                 {"one_line", "CRVAL1 , CD1_1,\"c\",200,200,500,500,500,500.25,3000,10000,500,500,3000,10000,"
                              "100,2000,10000,1000,500,500,10000,500,500,\"500\"\r\ntrailing text"},
                 {"extremes", "\"\",\"\",\"\"\r\n-32768,32767\r\n+0,-0\r\n1e3,.5,32767.49,-32768.5\r\n"
                              "0,0,0,0\r\n0,0,0,0\r\n0,0,0,0\r\n0,0\r\n"}};
    } else if (target == "number_text") {
        // Texts, then a double's 8 bytes, a 16-bit width and decimals, and a fill character.
        for (const char* text : {"6562.817", "1.5D+03", " - 1 2 . 5 e - 3", "1e99999", "-1.0E-99999", "T", "4.9406564584124654E-324"})
            seeds.emplace_back("text" + std::to_string(seeds.size()), text);
        int16_t n = 0;
        for (const double v : {120.0, 0.0, 0.4, 98.6, 6562.817, -0.5, 1234567.0, -12345.0, 0.00012345, 1e-300, -1e308, 0.999999,
                               -0.95, 9.5e15}) {
            const int16_t width = static_cast<int16_t>(6 + n % 3), decimals = static_cast<int16_t>(n++ % 3);
            std::string bytes(13, '0');
            std::memcpy(bytes.data(), &v, 8), std::memcpy(&bytes[8], &width, 2), std::memcpy(&bytes[10], &decimals, 2);
            seeds.emplace_back("value" + std::to_string(n), bytes);
        }
    }
    return seeds;
}

}  // namespace wendrel::fuzzing
