#include "plot/line_marks.h"

#include <array>
#include <string>

namespace wendrel {

namespace {

constexpr std::array kBalmer = {
    MarkedLine{"H\u03b1", 6562.80}, MarkedLine{"H\u03b2", 4861.33}, MarkedLine{"H\u03b3", 4340.47},
    MarkedLine{"H\u03b4", 4101.74}, MarkedLine{"H\u03b5", 3970.07}, MarkedLine{"H8", 3889.05},
};
constexpr std::array kCalciumHK = {MarkedLine{"Ca H", 3968.47}, MarkedLine{"Ca K", 3933.66}};
constexpr std::array kSodiumD = {MarkedLine{"Na D2", 5889.95}, MarkedLine{"Na D1", 5895.92}};
constexpr std::array kMagnesiumB = {MarkedLine{"Mg b4", 5167.32}, MarkedLine{"Mg b2", 5172.68},
                                    MarkedLine{"Mg b1", 5183.60}};
constexpr std::array kHelium = {MarkedLine{"He I", 4471.48}, MarkedLine{"He I", 5875.62},
                                MarkedLine{"He I", 6678.15}};
constexpr std::array kOxygenIII = {MarkedLine{"[O III]", 4958.91}, MarkedLine{"[O III]", 5006.84}};
constexpr std::array kNitrogenSulphur = {MarkedLine{"[N II]", 6548.05}, MarkedLine{"[N II]", 6583.45},
                                         MarkedLine{"[S II]", 6716.44}, MarkedLine{"[S II]", 6730.82}};
constexpr std::array kTelluricOxygen = {MarkedLine{"O2 B", 6867.2}, MarkedLine{"O2 A", 7594.0}};

constexpr std::array kSets = {
    LineSet{"balmer", "Balmer", kBalmer},
    LineSet{"cahk", "Ca II H and K", kCalciumHK},
    LineSet{"nad", "Na I D", kSodiumD},
    LineSet{"mgb", "Mg I b", kMagnesiumB},
    LineSet{"hei", "He I", kHelium},
    LineSet{"oiii", "[O III]", kOxygenIII},
    LineSet{"nii-sii", "[N II] and [S II]", kNitrogenSulphur},
    LineSet{"o2", "Telluric O2", kTelluricOxygen},
};

}  // namespace

std::span<const LineSet> LineSets() { return kSets; }

const LineSet* FindLineSet(std::string_view key) {
    for (const LineSet& set : kSets)
        if (set.Key == key) return &set;
    return nullptr;
}

bool LineSetToggled(Workspace& ws, std::string_view key, bool shown) {
    if (!FindLineSet(key)) return false;
    if (shown)
        ws.View.LineMarkSets.emplace(key);
    else
        ws.View.LineMarkSets.erase(std::string(key));
    return ws.DataReady;
}

bool LineMediumChosen(Workspace& ws, bool vacuum) {
    if (ws.View.LineMarksInVacuum == vacuum) return false;
    ws.View.LineMarksInVacuum = vacuum;
    return ws.DataReady && !ws.View.LineMarkSets.empty();
}

double MarkWavelength(const Workspace& ws, const MarkedLine& line) {
    return ws.View.LineMarksInVacuum ? AirToVacuum(line.Wavelength) : line.Wavelength;
}

}  // namespace wendrel
