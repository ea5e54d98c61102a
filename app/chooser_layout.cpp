#include "app/chooser_layout.h"

#include <fnmatch.h>

#include <initializer_list>
#include <string>

namespace wendrel {

bool FileTypeLists(std::string_view type, std::string_view name) {
    const size_t open = type.find('('), close = type.rfind(')');
    const std::string_view patterns =
        open != std::string_view::npos && close != std::string_view::npos && close > open
            ? type.substr(open + 1, close - open - 1) : type;
    const std::string file(name);
    for (size_t at = 0; at < patterns.size();) {
        const size_t end = std::min(patterns.find(' ', at), patterns.size());
        std::string pattern(patterns.substr(at, end - at));
        at = end + 1;
        if (pattern.empty()) continue;
        if (pattern == "*.*") pattern = "*";  // as on the systems the pattern comes from
        if (::fnmatch(pattern.c_str(), file.c_str(), FNM_CASEFOLD) == 0) return true;
    }
    return false;
}

ChooserLayout LayOutChooser(double width, double height) {
    ChooserLayout c;
    // Design places; the rules below move and stretch what follows the size.
    c.label1 = {120, 120, 975, 255};
    c.text1 = {120, 360, 2415, 315};
    c.file1 = {120, 840, 2415, 3345};
    c.label2 = {120, 4320, 2415, 255};
    c.combo1 = {120, 4560, 2415, 315};
    c.label3 = {2880, 120, 2295, 255};
    c.label4 = {2880, 360, 3975, 255};
    c.dir1 = {2880, 720, 2415, 3465};
    c.label5 = {2880, 4320, 1335, 255};
    c.drive1 = {2880, 4560, 2415, 315};
    c.command1 = {5520, 720, 1335, 375};
    c.command2 = {5520, 1200, 1335, 375};

    c.file1.height = height - 2100;
    c.label2.top = c.file1.height + 990;
    c.combo1.top = c.file1.height + 1230;

    c.dir1.height = height - 1890;
    c.label5.top = c.dir1.height + 780;
    c.drive1.top = c.dir1.height + 1020;

    const double d = (width - 7830) / 2;
    c.text1.width = c.file1.width = c.combo1.width = d + 3015;
    c.dir1.width = c.drive1.width = d + 2655;

    const double rightColumn = c.text1.width + 345;
    for (TwipsRect* r : {&c.label3, &c.label4, &c.dir1, &c.label5, &c.drive1}) r->left = rightColumn;
    c.command1.left = c.command2.left = c.dir1.width + c.text1.width + 570;
    return c;
}

}  // namespace wendrel
