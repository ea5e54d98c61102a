// Spectra the tests build by hand in a row (a loaded spectrum is never
// changed by the program, so only tests write into one).
#pragma once

#include <memory>
#include <utility>

#include "store/row.h"

namespace wendrel {

// Gives the row a new spectrum (`start`, empty by default) for the test to
// fill in.
inline Spectrum& Fill(Row& row, Spectrum start = {}) {
    auto data = std::make_shared<Spectrum>(std::move(start));
    row.Data = data;
    return *data;
}

// A copy of the row's spectrum, put in its place for the test to change.
inline Spectrum& Change(Row& row) { return Fill(row, row.spectrum()); }

// A row holding `s`, at `velocity`.
inline Row RowOf(Spectrum s, double velocity = 0) {
    Row row;
    row.Data = std::make_shared<const Spectrum>(std::move(s));
    row.Velocity = velocity;
    return row;
}

}  // namespace wendrel
