#include "tests/fuzz/seed_corpus.h"

#include <fitsio.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "app/samp_xmlrpc.h"
#include "app/settings_file.h"
#include "tests/support/fits_writer.h"

namespace wendrel::fuzzing {

namespace {

// The bytes of a FITS file that cfitsio writes in memory: an empty primary
// header, then what `write` adds.
std::string CfitsioBytes(const std::function<void(fitsfile*, int&)>& write, bool emptyPrimary = true) {
    size_t size = 2880;
    void* memory = std::malloc(size);
    fitsfile* f = nullptr;
    int status = 0;
    fits_create_memfile(&f, &memory, &size, 2880, std::realloc, &status);
    if (emptyPrimary) fits_create_img(f, 8, 0, nullptr, &status);
    write(f, status);
    fits_close_file(f, &status);
    std::string bytes(static_cast<const char*>(memory), size);
    std::free(memory);
    return status == 0 ? bytes : std::string();
}

void DoubleTable(fitsfile* f, std::vector<const char*> names, long repeat, const std::vector<std::vector<double>>& columns,
                 int& status) {
    const std::string form = std::to_string(repeat) + "D";
    std::vector<char*> forms(names.size(), const_cast<char*>(form.c_str()));
    const long rows = std::ssize(columns.front()) / repeat;
    fits_create_tbl(f, BINARY_TBL, rows, static_cast<int>(names.size()), const_cast<char**>(names.data()), forms.data(),
                    nullptr, nullptr, &status);
    for (size_t c = 0; c < columns.size(); ++c)
        fits_write_col(f, TDOUBLE, static_cast<int>(c + 1), 1, 1, std::ssize(columns[c]),
                       const_cast<double*>(columns[c].data()), &status);
}

void Image(fitsfile* f, int bitpix, const std::vector<double>& values, int& status) {
    long n = std::ssize(values);
    fits_create_img(f, bitpix, 1, &n, &status);
    double crval = 4000, cd = 0.5;
    fits_write_key(f, TDOUBLE, "CRVAL1", &crval, nullptr, &status);
    fits_write_key(f, TDOUBLE, "CD1_1", &cd, nullptr, &status);
    fits_write_img(f, TDOUBLE, 1, n, const_cast<double*>(values.data()), &status);
}

std::string Gzip(const std::string& bytes) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);  // 15 + 16: a gzip header
    std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

// Tables of either shape, an image extension, tile-compressed images of each
// kind, text spectra, and each of them gzipped.
void AddOtherShapes(const std::vector<double>& line, std::vector<std::pair<std::string, std::string>>& seeds) {
    const std::vector<double> flux(line.begin(), line.begin() + 60);
    std::vector<double> waves(flux.size()), loglam(flux.size()), sigma(flux.size(), 3);
    for (size_t k = 0; k < flux.size(); ++k) waves[k] = 4000 + 0.5 * static_cast<double>(k), loglam[k] = std::log10(waves[k]);
    std::vector<std::pair<std::string, std::string>> shapes = {
        {"table_rows", CfitsioBytes([&](fitsfile* f, int& s) { DoubleTable(f, {"flux", "loglam", "ivar"}, 1, {flux, loglam, sigma}, s); })},
        {"table_arrays", CfitsioBytes([&](fitsfile* f, int& s) {
             DoubleTable(f, {"WAVE", "FLUX", "ERR"}, std::ssize(flux), {waves, flux, sigma}, s);
             fits_write_key(f, TSTRING, "TUNIT1", const_cast<char*>("nm"), nullptr, &s);
         })},
        {"image_extension", CfitsioBytes([&](fitsfile* f, int& s) { Image(f, FLOAT_IMG, flux, s); })},
        {"text_columns", "# wavelength flux\nwavelength (nm), flux\n400, 10\n400.05, 1.5D+01\n400.1, nan\n400.15, 12\n"},
        {"text_tabs", "\xEF\xBB\xBF" "4000\t10\t1\n4000.5\t11\t1\n4001\t12\t1\n"},
    };
    const struct { const char* name; int type; int bitpix; bool extension; } packed[] = {
        {"fz_rice_int", RICE_1, LONG_IMG, true}, {"fz_gzip_double", GZIP_1, DOUBLE_IMG, true},
        {"fz_quantised", RICE_1, FLOAT_IMG, true}, {"fz_primary_short", GZIP_1, SHORT_IMG, false}};
    for (const auto& p : packed) {
        const std::string plain = CfitsioBytes([&](fitsfile* f, int& s) { Image(f, p.bitpix, flux, s); }, p.extension);
        shapes.emplace_back(p.name, CfitsioBytes([&](fitsfile* f, int& s) {
            void* memory = const_cast<char*>(plain.data());
            size_t size = plain.size();
            fitsfile* in = nullptr;
            fits_open_memfile(&in, "plain", READONLY, &memory, &size, 0, nullptr, &s);
            fits_movabs_hdu(in, p.extension ? 2 : 1, nullptr, &s);
            fits_set_compression_type(f, p.type, &s);
            fits_img_compress(in, f, &s);
            fits_close_file(in, &s);
        }));
    }
    for (auto& [name, bytes] : shapes) {
        seeds.emplace_back(name + "_gz", Gzip(bytes));
        seeds.emplace_back(std::move(name), std::move(bytes));
    }
}

}  // namespace

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
        seeds.emplace_back("bitpix-32_gz", Gzip(SpectrumBytes({-32, line, {}, {}, "HD 12345", 4000, 1, {}})));
        AddOtherShapes(line, seeds);
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
    } else if (target == "xmlrpc") {
        // A hub's call with a message, a registration answer, a fault, and untyped and other scalars.
        const RpcMap message{{"samp.mtype", "spectrum.load.ssa-generic"},
                             {"samp.params", RpcMap{{"url", "file:///tmp/a%20b.fits"}, {"name", "Vega & <b>"},
                                                    {"meta", RpcMap{{"Access.Format", "application/fits"}}}}}};
        seeds.emplace_back("call", RpcCallText({"samp.client.receiveCall", {"key", "hub", "msg-1", message}}));
        seeds.emplace_back("response", RpcResponseText(RpcMap{{"samp.private-key", "k"}, {"list", RpcList{"a", RpcList{}}}}));
        seeds.emplace_back("fault", RpcFaultText(1, "no such client"));
        seeds.emplace_back("scalars", "<?xml version='1.0'?>\n<methodCall><methodName>m</methodName><params>"
                                      "<param><value>plain</value></param><param><value><int>-3</int></value></param>"
                                      "<param><value><boolean>1</boolean></value></param><!-- c --></params></methodCall>");
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
