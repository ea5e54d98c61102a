// The "measure" and "fit" objects of wendrel-info's lines: a line measured
// or fitted on a slot, each value with its error, or why it was refused.
#pragma once

#include <utility>

#include "plot/line_measure.h"
#include "store/workspace.h"
#include "tools/info_options.h"
#include "tools/json_line.h"

namespace wendrel {

JsonLine MeasureObject(const Row& s, std::pair<double, double> span, const ContinuumChoice& continuum);
JsonLine FitObject(const Row& s, const InfoOptions::FitRequest& request);

}  // namespace wendrel
