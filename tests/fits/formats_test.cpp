// Spectra stored other than as a primary 1-D image: image extensions, tables of either shape, gzip and
// tile-compressed files, text files, and files of several spectra; written here with cfitsio or as bytes.
#include <fitsio.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <tuple>

#include "app/open_files.h"
#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

// A file written with cfitsio: an empty primary header, then what `write` adds.
template <typename Write>
std::filesystem::path CfitsioFile(const std::filesystem::path& path, Write write) {
    fitsfile* f = nullptr;
    int status = 0;
    fits_create_file(&f, ("!" + path.string()).c_str(), &status);
    fits_create_img(f, 8, 0, nullptr, &status);
    write(f, status);
    fits_close_file(f, &status);
    EXPECT_EQ(status, 0) << path;
    return path;
}

void Key(fitsfile* f, const char* key, const char* text, int& status) {
    fits_write_key(f, TSTRING, key, const_cast<char*>(text), nullptr, &status);
}
void Key(fitsfile* f, const char* key, double value, int& status) {
    fits_write_key(f, TDOUBLE, key, &value, nullptr, &status);
}

// A table of double columns, each of `repeat` values per row.
void Table(fitsfile* f, std::vector<const char*> names, long repeat, long rows, std::vector<std::vector<double>> data,
           int& status) {
    const std::string form = std::to_string(repeat) + "D";
    std::vector<char*> forms(names.size(), const_cast<char*>(form.c_str()));
    fits_create_tbl(f, BINARY_TBL, rows, static_cast<int>(names.size()), const_cast<char**>(names.data()),
                    forms.data(), nullptr, nullptr, &status);
    for (size_t c = 0; c < data.size(); ++c)
        fits_write_col(f, TDOUBLE, static_cast<int>(c + 1), 1, 1, std::ssize(data[c]), data[c].data(), &status);
}

std::filesystem::path Gzipped(const std::filesystem::path& file, std::string_view bytes) {
    const std::filesystem::path path = file.string() + ".gz";
    gzFile gz = gzopen(path.c_str(), "wb");
    gzwrite(gz, bytes.data(), static_cast<unsigned>(bytes.size()));
    gzclose(gz);
    return path;
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<double> Values(size_t n, double first, double step) {
    std::vector<double> v(n);
    for (size_t k = 0; k < n; ++k) v[k] = first + step * static_cast<double>(k);
    return v;
}

class FormatsTest : public FitsFileTest {
protected:
    void ExpectSpectrum(int slot, const std::string& name, const std::vector<double>& centres,
                        const std::vector<double>& flux) {
        SCOPED_TRACE(name);
        const Row& s = S(slot);
        ASSERT_TRUE(s.Loaded() && s->FileName == name && s->Flux.size() == centres.size()) << s->FileName;
        EXPECT_EQ(s->Flux, flux);
        for (size_t k = 0; k < centres.size(); ++k) EXPECT_NEAR(s->Lambda0 + k * s->DLambda, centres[k], 1e-9 * centres[k]) << k;
    }
};

TEST_F(FormatsTest, ExtensionsTablesCompressedAndTextFiles) {
    const std::vector<double> rise = Values(100, 10, 1), waves = Values(100, 4000, 2);
    std::vector<double> blanked = rise;
    blanked[7] = std::nan("");
    CfitsioFile(dir_ / "ext.fits", [&](fitsfile* f, int& status) {
        long n = 100;
        fits_create_img(f, FLOAT_IMG, 1, &n, &status);
        Key(f, "CRVAL1", 400.0, status);
        Key(f, "CDELT1", 0.2, status);
        Key(f, "CUNIT1", "nm", status);
        fits_write_img(f, TDOUBLE, 1, n, const_cast<double*>(rise.data()), &status);
    });
    CfitsioFile(dir_ / "sdss.fits", [&](fitsfile* f, int& status) {
        std::vector<double> loglam(100);
        for (size_t k = 0; k < 100; ++k) loglam[k] = std::log10(waves[k]);
        Table(f, {"flux", "loglam", "ivar"}, 1, 100, {blanked, loglam, rise}, status);
    });
    CfitsioFile(dir_ / "eso.fits", [&](fitsfile* f, int& status) {
        std::vector<double> nm = waves;
        for (double& w : nm) w /= 10;
        std::reverse(nm.begin(), nm.end());
        std::vector<double> falling(blanked.rbegin(), blanked.rend());
        Table(f, {"WAVE", "FLUX", "ERR"}, 100, 1, {nm, falling, rise}, status);
        Key(f, "TUNIT1", "nm", status);
    });
    CfitsioFile(dir_ / "tile.fz", [&](fitsfile* f, int& status) {
        long n = 100;
        fits_set_compression_type(f, RICE_1, &status);
        fits_create_img(f, LONG_IMG, 1, &n, &status);
        Key(f, "CRVAL1", 4000.0, status);
        Key(f, "CD1_1", 2.0, status);
        fits_write_img(f, TDOUBLE, 1, n, const_cast<double*>(rise.data()), &status);
    });
    const std::string plain = FloatSpectrum(rise, {}, 4000, 2);
    Gzipped(dir_ / "plain.fits", plain);
    Write("# observed 2026\nwavelength (nm), flux\n400, 10\n400.2, 11\n400.4, nan\n", "comma.csv");
    Write("\xEF\xBB\xBF" "4000\t10\n4002\t11\n4004\t12\n", "tabs.dat");  // after a byte-order mark
    Write("4.0D+03 1.0d1\n4.002D3 11\n4004 1.2D+01\n", "fortran.txt");  // Fortran's double-precision exponents

    const struct { const char* file; std::vector<double> flux; size_t pixels = 100; } cases[] = {
        {"ext.fits", rise}, {"sdss.fits", blanked}, {"eso.fits", blanked}, {"tile.fz", rise},
        {"plain.fits.gz", rise}, {"comma.csv", {10, 11, std::nan("")}, 3}, {"tabs.dat", {10, 11, 12}, 3},
        {"fortran.txt", {10, 11, 12}, 3}};
    for (const auto& c : cases) {
        ASSERT_TRUE(LoadFile(dir_ / c.file)) << c.file << ": " << ::testing::PrintToString(ui_.messages);
        const std::vector<double> centres(waves.begin(), waves.begin() + static_cast<long>(c.pixels));
        ASSERT_EQ(S()->Flux.size(), c.pixels);
        EXPECT_NEAR(S()->LambdaEnd - S()->LambdaStart, 2.0 * c.pixels, 1e-6);  // half a step beyond the outer centres
        EXPECT_EQ(S()->Medium, std::string(c.file) == "sdss.fits" ? "vacuum" : "");  // SDSS: vacuum wavelengths
        for (size_t k = 0; k < c.pixels; ++k) {
            EXPECT_TRUE(S()->Flux[k] == c.flux[k] || (std::isnan(S()->Flux[k]) && std::isnan(c.flux[k]))) << c.file << k;
            EXPECT_NEAR(S()->Dispersion == "linear" ? S()->Lambda0 + k * S()->DLambda : S()->PixelCentre[k], centres[k], 1e-8)
                << c.file << k;
        }
    }
    // Every shape loads gzipped as it does unpacked.
    const auto blanksAsZero = [](Spectrum s) {
        for (std::vector<double>* values : {&s.Flux, &s.FluxPct, &s.Sigma})
            for (double& v : *values) v = std::isnan(v) ? 0 : v;
        return s;
    };
    for (const char* file : {"ext.fits", "sdss.fits", "eso.fits", "tile.fz", "comma.csv"}) {
        ASSERT_TRUE(LoadFile(dir_ / file)) << file;
        Spectrum unpacked = blanksAsZero(S().spectrum());
        const std::filesystem::path gzipped = Gzipped(dir_ / file, FileBytes(dir_ / file));
        unpacked.FileName += ".gz", unpacked.SourcePath = gzipped.string();
        ASSERT_TRUE(LoadFile(gzipped)) << file << ": " << ui_.messages.front();
        EXPECT_TRUE(Fields(blanksAsZero(S().spectrum())) == Fields(unpacked)) << file;
    }
}

// Uncertainties: the error, inverse-variance or variance column of a table (the one named after the flux column
// first, or the one the user names), a text column named err or the third of three unnamed ones; turned round with
// the flux; an inverse variance of 0 blanks its pixel.
TEST_F(FormatsTest, UncertaintiesFromTablesAndText) {
    const std::vector<double> flux = {10, 11, 12, 13}, waves = {4000, 4001, 4002, 4003}, values = {4, 0.25, 0, 1};
    const double inf = INFINITY;
    const struct { std::vector<const char*> names; std::vector<double> sigma; std::vector<double> flux; std::string extra = ""; } cases[] = {
        {{"WAVE", "FLUX", "ERR"}, {4, 0.25, 0, 1}, flux},
        {{"WAVE", "FLUX", "IVAR"}, {0.5, 2, NAN, 1}, {10, 11, NAN, 13}},
        {{"WAVE", "FLUX", "VARIANCE"}, {2, 0.5, 0, 1}, flux},
        {{"WAVE", "FLUX_REDUCED", "ERR", "ERR_REDUCED"}, {4, 0.25, 0, 1}, flux},  // not ERR, which holds infinities
        {{"WAVE", "FLUX", "SIGMA", "STATERROR"}, {4, 0.25, 0, 1}, flux, "STATERROR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.back());
        std::vector<std::vector<double>> columns = {waves, flux};
        for (size_t k = 2; k < c.names.size(); ++k) columns.push_back(k + 1 == c.names.size() ? values : std::vector<double>(4, inf));
        CfitsioFile(dir_ / "errs.fits", [&](fitsfile* f, int& status) { Table(f, c.names, 1, 4, columns, status); });
        const std::optional<ColumnChoice> named =
            c.extra.empty() ? std::nullopt : std::optional(ColumnChoice{"WAVE", "FLUX", c.extra});
        const LoadResult read = LoadFitsFile(dir_ / "errs.fits", ws_.Config, named);
        ASSERT_EQ(read.spectra.size(), 1u) << ::testing::PrintToString(read.messages);
        EXPECT_EQ(::testing::PrintToString(read.spectra[0].Sigma), ::testing::PrintToString(c.sigma));
        EXPECT_EQ(::testing::PrintToString(read.spectra[0].Flux), ::testing::PrintToString(c.flux));
    }
    // Falling wavelengths turn the uncertainties round with the flux.
    CfitsioFile(dir_ / "falling.fits", [&](fitsfile* f, int& status) {
        Table(f, {"WAVE", "FLUX", "ERR"}, 4, 1, {{4003, 4002, 4001, 4000}, {13, 12, 11, 10}, {1, 2, 3, 4}}, status);
    });
    Write("wavelength (nm), flux, err\n400, 10, 0.5\n400.1, 11, x\n400.2, 12, 2\n", "named.csv");
    Write("4000 10 0.5\n4001 11 1\n4002 12 2\n", "three.txt");
    Write("wavelength flux percent\n4000 10 50\n4001 11 55\n4002 12 60\n", "percent.txt");
    const std::pair<const char*, std::vector<double>> files[] = {
        {"falling.fits", {4, 3, 2, 1}}, {"named.csv", {0.5, NAN, 2}}, {"three.txt", {0.5, 1, 2}}, {"percent.txt", {}}};
    for (const auto& [file, sigma] : files) {
        ASSERT_TRUE(LoadFile(dir_ / file)) << file;
        EXPECT_EQ(::testing::PrintToString(S()->Sigma), ::testing::PrintToString(sigma)) << file;
    }
}

// Uncertainties of images: an image extension ERR (16-bit with its own BSCALE; turned round with falling
// wavelengths), ivar (a pixel of 0 is blank) or VARIANCE after a primary or an extension image; IRAF's band whose
// BANDIDn starts with "sigma", of each aperture of a 3-D image or of a single one whose bands are its lines.
TEST_F(FormatsTest, UncertaintiesFromImagesAndBands) {
    struct Hdu {
        std::vector<long> axes;
        std::vector<double> stored;
        std::vector<std::string> cards;
        int bitpix = -32;
    };
    const std::vector<std::string> rising = {RealCard("CRVAL1", 4000), RealCard("CD1_1", 1)};
    const std::vector<double> flux = {10, 11, 12, 13}, values = {4, 0.25, 0, 1}, ramp = Values(32, 1, 1);
    const std::string sigmaBand = StringCard("BANDID4", "sigma - clean no, weights variance");
    const struct {
        const char* file;
        std::vector<Hdu> hdus;
        std::vector<std::vector<double>> sigma, flux;  // of each spectrum
        std::string message = "";
    } cases[] = {
        {"err.fits",
         {{{4}, flux, {RealCard("CRVAL1", 4003), RealCard("CD1_1", -1)}}, {{4}, {4, 8, 12, 16}, {StringCard("EXTNAME", "ERR"), RealCard("BSCALE", 0.25)}, 16}},
         {{4, 3, 2, 1}}, {{13, 12, 11, 10}}},
        {"ivar.fits", {{{4}, flux, rising}, {{4}, values, {StringCard("EXTNAME", "ivar")}}}, {{0.5, 2, NAN, 1}}, {{10, 11, NAN, 13}}},
        {"var.fits", {{{}, {}, {}}, {{4}, flux, rising}, {{2}, {1, 1}, {StringCard("EXTNAME", "SIGMA")}}, {{4}, values, {StringCard("EXTNAME", "VARIANCE")}}},
         {{2, 0.5, 0, 1}}, {flux}},
        {"apertures.fits", {{{4, 2, 4}, ramp, {RealCard("CRVAL1", 4000), RealCard("CD1_1", 1), IntCard("APNUM1", 1), IntCard("APNUM2", 2), sigmaBand}}},
         {Values(4, 25, 1), Values(4, 29, 1)}, {Values(4, 1, 1), Values(4, 5, 1)}},
        {"bands.fits", {{{4, 4}, Values(16, 1, 1), {RealCard("CRVAL1", 4000), RealCard("CD1_1", 1), StringCard("BANDID2", "raw"), sigmaBand}}},
         {Values(4, 13, 1)}, {Values(4, 1, 1)}},
        {"short.fits", {{{4}, flux, rising}, {{3}, {1, 1, 1}, {StringCard("EXTNAME", "ERR")}}}, {{}}, {flux},
         "\"short.fits\": its uncertainty image ERR holds 3 values for 4 pixels, so the uncertainties are left out."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        fitsfile* f = nullptr;
        int status = 0;
        fits_create_file(&f, ("!" + (dir_ / c.file).string()).c_str(), &status);
        for (const Hdu& h : c.hdus) {
            std::vector<long> axes = h.axes;
            fits_create_img(f, h.bitpix, static_cast<int>(axes.size()), axes.data(), &status);
            for (const std::string& card : h.cards) fits_write_record(f, card.c_str(), &status);
            std::vector<double> stored = h.stored;
            if (stored.empty()) continue;
            fits_set_bscale(f, 1, 0, &status);  // the values as stored
            fits_write_img(f, TDOUBLE, 1, std::ssize(stored), stored.data(), &status);
        }
        fits_close_file(f, &status);
        ASSERT_EQ(status, 0);
        const LoadResult read = LoadFitsFile(dir_ / c.file, ws_.Config);
        EXPECT_EQ(read.messages, c.message.empty() ? std::vector<std::string>{} : std::vector{c.message});
        ASSERT_EQ(read.spectra.size(), c.sigma.size());
        for (size_t k = 0; k < c.sigma.size(); ++k) {
            EXPECT_EQ(::testing::PrintToString(read.spectra[k].Sigma), ::testing::PrintToString(c.sigma[k])) << k;
            EXPECT_EQ(::testing::PrintToString(read.spectra[k].Flux), ::testing::PrintToString(c.flux[k])) << k;
        }
    }
}

// A tile-compressed image that was an extension (ZTENSION, as astropy and fpack write it) or the primary image
// (ZSIMPLE), lossless or quantised, loads the values cfitsio reads from it, with the unpacked image's header.
TEST_F(FormatsTest, TileCompressedImagesLoadAsCfitsioReadsThem) {
    std::vector<double> noisy(300);
    for (size_t k = 0; k < noisy.size(); ++k) noisy[k] = 1000 + 37.25 * std::sin(0.3 * static_cast<double>(k));
    const auto image = [&](fitsfile* f, int bitpix, int& status) {
        long n = std::ssize(noisy);
        fits_create_img(f, bitpix, 1, &n, &status);
        Key(f, "CRVAL1", 5000.0, status);
        Key(f, "CD1_1", 0.5, status);
        fits_write_img(f, TDOUBLE, 1, n, noisy.data(), &status);
    };
    const struct { const char* name; int type; int bitpix; bool extension; } cases[] = {
        {"rice_int_ext.fz", RICE_1, LONG_IMG, true}, {"gzip_float_ext.fz", GZIP_1, DOUBLE_IMG, true},
        {"quantised_ext.fz", RICE_1, FLOAT_IMG, true}, {"gzip_short_primary.fz", GZIP_1, SHORT_IMG, false},
        {"quantised_primary.fz", RICE_1, FLOAT_IMG, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path plain = dir_ / (std::string(c.name) + ".fits"), packed = dir_ / c.name;
        fitsfile *in = nullptr, *out = nullptr;
        int status = 0;
        fits_create_file(&in, ("!" + plain.string()).c_str(), &status);
        if (c.extension) fits_create_img(in, 8, 0, nullptr, &status);
        image(in, c.bitpix, status);
        fits_create_file(&out, ("!" + packed.string()).c_str(), &status);
        fits_create_img(out, 8, 0, nullptr, &status);
        fits_set_compression_type(out, c.type, &status);
        fits_img_compress(in, out, &status);
        fits_close_file(in, &status);
        // A float image unpacks to single precision, which the reader widens.
        std::vector<float> singles(noisy.size());
        std::vector<double> expected(noisy.size());
        int anyNull = 0;
        if (c.bitpix == FLOAT_IMG) {
            fits_read_img(out, TFLOAT, 1, std::ssize(singles), nullptr, singles.data(), &anyNull, &status);
            expected.assign(singles.begin(), singles.end());
        } else {
            fits_read_img(out, TDOUBLE, 1, std::ssize(expected), nullptr, expected.data(), &anyNull, &status);
        }
        char zkey[FLEN_VALUE] = {};
        int missing = 0;
        fits_read_key(out, TSTRING, c.extension ? "ZTENSION" : "ZSIMPLE", zkey, nullptr, &missing);
        fits_close_file(out, &status);
        ASSERT_EQ(status, 0);
        ASSERT_EQ(missing, 0);  // the compressed file says what the image was
        ASSERT_TRUE(LoadFile(packed)) << ui_.messages.front();
        EXPECT_EQ(S()->Flux, expected);
        EXPECT_DOUBLE_EQ(S()->Lambda0, 5000);
        EXPECT_EQ(S()->HdrCard.front().substr(0, 8), c.extension ? "XTENSION" : "SIMPLE  ");
        EXPECT_TRUE(std::none_of(S()->HdrCard.begin(), S()->HdrCard.end(), [](const std::string& card) { return card.starts_with("ZCMPTYPE"); }));
    }
}

TEST_F(FormatsTest, RefusalsSayWhatWasFound) {
    CfitsioFile(dir_ / "nowave.fits", [&](fitsfile* f, int& status) { Table(f, {"A", "FLUX"}, 1, 3, {}, status); });
    const std::pair<std::string, std::string> cases[] = {
        {"nowave.fits", "\"nowave.fits\" holds no spectrum: no wavelength column (columns: A, FLUX)."},
        {"zigzag.txt", "\"zigzag.txt\": the wavelengths neither rise nor fall (pixels 2 and 3 break the order)."},
        {"words.txt", "\"words.txt\": line 2 does not hold a wavelength and a flux (column 1, \"see\", is not a "
                      "number): \"see the notes\"."},
        {"flux.txt", "\"flux.txt\": line 2 does not hold a wavelength and a flux (column 2, \"1.5Q3\", is not a "
                     "number): \"4002 1.5Q3\"."},
        {"empty.tsv", "\"empty.tsv\": the file holds no lines of a wavelength and a flux."},
    };
    Write("1 5\n2 5\n1.5 5\n", "zigzag.txt");
    Write("wavelength flux\nsee the notes\n", "words.txt");
    Write("4000 1\n4002 1.5Q3\n", "flux.txt");
    Write("# nothing\n", "empty.tsv");
    for (const auto& [file, message] : cases) {
        ExpectRefusedFile(dir_ / file, message);
        EXPECT_EQ(ui_.messages.back(), message);
    }
}

// Flux columns of other names: ESO's FLUX_REDUCED is found, any other pair the user names (the columns are offered
// with their units). Padding after the used length of the arrays (wavelength NaN or 0) is left out; the name comes
// from OBJECT, then TARGNAME, then the primary OBJECT; VACUUM = T in the primary header means vacuum.
TEST_F(FormatsTest, TablesOfOtherColumnNames) {
    const double nan = std::nan("");
    CfitsioFile(dir_ / "eso.fits", [&](fitsfile* f, int& status) {
        Key(f, "OBJECT", "primary", status);
        fits_write_key_log(f, "VACUUM", 1, nullptr, &status);
        Table(f, {"WAVE", "FLUX_REDUCED"}, 6, 1, {{4000, 4002, 4004, 4006, nan, 0}, {1, 2, 3, 4, 0, 0}}, status);
        Key(f, "TARGNAME", "HD 1", status);
    });
    CfitsioFile(dir_ / "other.fits", [&](fitsfile* f, int& status) {
        Key(f, "OBJECT", "primary", status);
        Table(f, {"LAM", "COUNTS"}, 1, 3, {{400, 400.2, 400.4}, {5, 6, 7}}, status);
        Key(f, "TUNIT1", "nm", status);
    });
    CfitsioFile(dir_ / "image.fits", [&](fitsfile* f, int& status) {
        Key(f, "OBJECT", "primary", status);
        long n = 3;
        fits_create_img(f, FLOAT_IMG, 1, &n, &status);
        Key(f, "TARGNAME", "HD 2", status);
        const double values[] = {1, 2, 3};
        fits_write_img(f, TDOUBLE, 1, n, const_cast<double*>(values), &status);
    });
    ASSERT_TRUE(LoadFile(dir_ / "eso.fits")) << ::testing::PrintToString(ui_.messages);
    ExpectSpectrum(1, "eso.fits", {4000, 4002, 4004, 4006}, {1, 2, 3, 4});
    EXPECT_EQ(std::tuple(S()->ObjectName, S()->Medium), std::tuple("HD 1", "vacuum"));
    ASSERT_TRUE(LoadFile(dir_ / "image.fits"));
    EXPECT_EQ(S()->ObjectName, "HD 2    ");

    ExpectRefusedFile(dir_ / "other.fits", "\"other.fits\" holds no spectrum: no wavelength column (columns: LAM, COUNTS).");
    const std::vector<TableColumn> offered = {{"LAM", "nm"}, {"COUNTS", ""}};
    EXPECT_EQ(ui_.offeredColumns, (std::vector{std::pair(std::string("other.fits"), offered)}));
    ui_.columnAnswer = ColumnChoice{"lam", "Counts", ""};
    ASSERT_TRUE(LoadIntoSlot(ws_, 1, dir_ / "other.fits", ui_)) << ::testing::PrintToString(ui_.messages);
    ExpectSpectrum(1, "other.fits", {4000, 4002, 4004}, {5, 6, 7});
    EXPECT_EQ(std::tuple(S()->ObjectName, S()->Medium), std::tuple("primary", ""));
    const LoadResult wrong = LoadFitsFile(dir_ / "other.fits", ws_.Config, ColumnChoice{"LAM", "FLUX", ""});
    EXPECT_EQ(wrong.messages, std::vector<std::string>{"\"other.fits\" holds no spectrum: no column named FLUX "
                                                       "(columns: LAM, COUNTS)."});
}

// Three apertures of a multispec image fill rows 2 to 4; "name#2" loads the second alone.
TEST_F(FormatsTest, AperturesFillTheEmptyRowsFromTheChosenOne) {
    ASSERT_TRUE(Load(FloatSpectrum(Values(50, 1, 1)), 3, "other.fits"));
    std::vector<double> pixels = Values(150, 1, 1);
    const std::string wat = "wtype=multispec spec1 = \"1 1 0 4000 1. 50 0. 1 2\" spec2 = \"2 2 0 8000 1. 50 0. 1 2\" "
                            "spec3 = \"3 3 0 12000 1. 50 0. 1 2\"";
    std::vector<std::string> cards = {IntCard("NAXIS", 2), IntCard("NAXIS2", 3)};
    for (size_t at = 0, n = 1; at < wat.size(); at += 68, ++n)
        cards.push_back(StringCard("WAT2_00" + std::to_string(n), wat.substr(at, 68)));
    SpectrumFile file{-32, pixels, {}, {}, {}, std::nullopt, std::nullopt, cards};
    FitsBytes bytes = SpectrumCards(file);
    bytes.cards[3] = IntCard("NAXIS1", 50);
    const std::filesystem::path ech = Write(ToBytes(bytes), "ech.fits");
    ASSERT_TRUE(LoadFile(ech, 2));
    EXPECT_EQ(ui_.messages, std::vector<std::string>{"ech.fits: its 3 spectra were loaded, into rows 2, 4 and 5."});
    ExpectSpectrum(2, "ech.fits#1", Values(50, 4000, 1), Values(50, 1, 1));
    ExpectSpectrum(4, "ech.fits#2", Values(50, 8000, 1), Values(50, 51, 1));
    ExpectSpectrum(5, "ech.fits#3", Values(50, 12000, 1), Values(50, 101, 1));
    ASSERT_TRUE(LoadFile(dir_ / "ech.fits#2", 1));
    ExpectSpectrum(1, "ech.fits#2", Values(50, 8000, 1), Values(50, 51, 1));
    // In a batch, the file after one of several spectra takes the next row left empty.
    ws_ = Workspace();
    EXPECT_EQ(LoadFiles(ws_, PlanIntoEmptyRows(ws_, {ech, dir_ / "other.fits"}), ui_), 2);
    EXPECT_EQ(S(4)->FileName, "other.fits");
}

}  // namespace
}  // namespace wendrel::testing
