// The settings file's fields: the two keyword names the spectra are read with
// and the window places, in twips. Their in-class values are the defaults
// used when the file is missing or cannot be read.
#pragma once

#include <string>

namespace wendrel {

struct Settings {
    std::string Lambda0Key = "CRVAL1";
    std::string DLambdaKey = "CD1_1";
    int MainLeft = 200, MainTop = 200;
    int LoadLeft = 500, LoadTop = 500;
    int HdrLeft = 500;
    double HdrTop = 500;  // kept as read: it may carry a fraction
    int HdrWidth = 3000, HdrHeight = 10000;
    int SpareLeft = 500, SpareTop = 500, SpareWidth = 3000, SpareHeight = 10000;
    int PlotWinLeft = 100, PlotWinTop = 2000, PlotWinWidth = 10000, PlotWinHeight = 1000;
    int HelpLeft = 500, HelpTop = 500, HelpWidth = 10000, HelpHeight = 500;
    int AboutLeft = 500, AboutTop = 500;

    bool operator==(const Settings&) const = default;
};

}  // namespace wendrel
