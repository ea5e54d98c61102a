// cfitsio as an independent writer and reader: files it writes for every BITPIX and scaling load to its values.
#include <fitsio.h>
#include <gtest/gtest.h>

#include "tests/fits/fits_test_support.h"

namespace wendrel::testing {
namespace {

TEST_F(FitsFileTest, FilesCfitsioWritesLoadAsCfitsioReadsThem) {
    const struct { int bitpix; std::optional<double> bzero, bscale; } combinations[] = {
        {16, {}, {}}, {16, 32768.0, {}}, {16, 1000.0, {}}, {16, -5.0, 0.25}, {16, {}, 2.0}, {16, 0.0, {}},
        {16, 32768.0, 3.0}, {32, {}, {}}, {32, 2147483648.0, {}}, {32, 100.0, 0.5}, {32, {}, 1e-3}, {-32, {}, {}},
        {-32, 10.0, 2.0}, {-64, {}, {}}, {-64, 1e5, 1e-2}};
    const auto path = (dir_ / "cfitsio.fits").string();
    for (const auto& c : combinations) {
        double zero = c.bzero.value_or(0), scale = c.bscale.value_or(1), crval = 4000, cd = 0.5;
        SCOPED_TRACE(std::to_string(c.bitpix) + " " + std::to_string(zero) + " " + std::to_string(scale));
        std::vector<double> values = c.bitpix == 16   ? std::vector<double>{-32768, -1, 0, 1, 1234, 32767}
                                     : c.bitpix == 32 ? std::vector<double>{-2147483648.0, -1, 0, 1, 2147483647}
                                                      : std::vector<double>{-1.5, 0, 1e-30, 3.25, 6.02e23, -7e-3};
        for (double& v : values) v = zero + scale * v;
        fitsfile* f = nullptr;
        int status = 0, anyNull = 0;
        long n = std::ssize(values);
        fits_create_file(&f, ("!" + path).c_str(), &status);
        fits_create_img(f, c.bitpix, 1, &n, &status);
        if (c.bzero) fits_write_key(f, TDOUBLE, "BZERO", &zero, nullptr, &status);
        if (c.bscale) fits_write_key(f, TDOUBLE, "BSCALE", &scale, nullptr, &status);
        fits_write_key(f, TDOUBLE, "CRVAL1", &crval, nullptr, &status);
        fits_write_key(f, TDOUBLE, "CD1_1", &cd, nullptr, &status);
        fits_write_key(f, TSTRING, "OBJECT", const_cast<char*>("HD 12345"), nullptr, &status);
        fits_write_img(f, TDOUBLE, 1, n, values.data(), &status);
        fits_close_file(f, &status);
        std::vector<double> oracle(values.size());
        fits_open_file(&f, path.c_str(), READONLY, &status);
        fits_read_img(f, TDOUBLE, 1, n, nullptr, oracle.data(), &anyNull, &status);
        fits_close_file(f, &status);
        ASSERT_EQ(status, 0);

        ASSERT_TRUE(LoadFile(path));
        ASSERT_TRUE(S()->ObjectName == "HD 12345" && S()->Lambda0 == 4000 && S()->DLambda == 0.5 && S()->Flux.size() == oracle.size());
        for (size_t i = 0; i < oracle.size(); ++i) EXPECT_DOUBLE_EQ(S()->Flux[i], oracle[i]) << i;
    }
}

}  // namespace
}  // namespace wendrel::testing
