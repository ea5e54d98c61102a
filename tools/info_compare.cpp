#include "tools/info_compare.h"

#include <algorithm>

#include "app/row_combination.h"
#include "app/row_smoothing.h"
#include "app/slot_rows.h"
#include "app/velocity_search.h"

namespace wendrel {

namespace {

int RowOfFile(const std::vector<int>& fileRows, int file) {
    return file >= 1 && static_cast<size_t>(file) <= fileRows.size() ? fileRows[static_cast<size_t>(file - 1)] : 0;
}

}  // namespace

std::vector<std::string> SmoothRequestedRows(Workspace& ws, const InfoComparisons& c, const std::vector<int>& fileRows) {
    std::vector<std::string> messages;
    for (const InfoComparisons::SmoothRequest& request : c.smooth) {
        const int row = RowOfFile(fileRows, request.row);
        if (row == 0) {
            messages.push_back("File " + std::to_string(request.row) + " loaded nothing to smooth.");
            continue;
        }
        if (std::string why = SmoothRow(ws, row, request.how); !why.empty()) messages.push_back(std::move(why));
    }
    return messages;
}

std::vector<CombinedLine> MakeRequestedCombinations(Workspace& ws, const InfoComparisons& c,
                                                    const std::vector<int>& fileRows,
                                                    const std::vector<std::string>& files) {
    std::vector<CombinedLine> lines;
    for (const CombinedRows& request : c.combine) {
        CombinedLine line;
        line.how = {request.Kind, RowOfFile(fileRows, request.A), RowOfFile(fileRows, request.B)};
        line.name = CombinedName(request.Kind, files[static_cast<size_t>(request.A - 1)],
                                 files[static_cast<size_t>(request.B - 1)]);
        int target = 1;
        while (target <= kMaxSlots && ws.slot(target).Loaded()) ++target;
        if (target > kMaxSlots)
            line.refusal = "Every row holds a spectrum, so " + line.name + " has no row.";
        else if (line.how.A == 0 || line.how.B == 0)
            line.refusal = line.name + " cannot be made: a file of it loaded nothing.";
        else
            line.refusal = FillCombinedRow(ws, target, line.how);
        if (line.refusal.empty()) line.row = target;
        lines.push_back(std::move(line));
    }
    if (std::ranges::any_of(lines, [](const CombinedLine& l) { return l.row > 0; })) RecalcLambdaRange(ws);
    return lines;
}

JsonLine XcorrObject(const Workspace& ws, int templateRow, int row, const VelocitySearch& search) {
    const FoundVelocity found = FindVelocities(ws, templateRow, {row}, search).front();
    if (!found.Result.Refusal.empty()) return JsonLine().Text("refused", found.Result.Refusal);
    return JsonLine()
        .Number("velocity", found.Result.VelocityKms)
        .Number("error", found.Result.ErrorKms)
        .Number("r", found.Result.R);
}

}  // namespace wendrel
