// How a session keeps the plot's look (store/plot_look.h): optional fields of
// its "view" object, each taking the classic look's value when absent, so
// that sessions written before them open as they were.
//   "axes": "classic" | "every", "legendPlace": "inside" | "outside",
//   "legendAt": [left, top] (twips, a dragged legend), "palette": "design" |
//   "contrast", "lineWidth": 1 .. 8, "stackCurves": true | false
#pragma once

#include <QJsonObject>
#include <string>

#include "store/plot_look.h"

namespace wendrel {

// Adds the look's fields to a session's view object.
void WriteLook(QJsonObject& view, const PlotLook& look);

// The look a view object holds; `wrong` gets a description of a field of the
// wrong shape ("\"axes\" is neither classic nor every"), else stays empty.
PlotLook ReadLook(const QJsonObject& view, std::string& wrong);

}  // namespace wendrel
