// A UiHooks that records what the logic asked of the windows, for tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ui_hooks.h"

namespace wendrel::testing {

class RecordingUi : public UiHooks {
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void ShowLoadedRow(int slot) override { events.push_back("show row " + std::to_string(slot)); }
    void HideLoadedRow(int slot) override { events.push_back("hide row " + std::to_string(slot)); }
    void RedrawPlot() override {
        ++redraws;
        events.push_back("redraw");
    }
    void ClearPlotWindow() override { events.push_back("clear plot"); }
    void HidePlotWindow() override { events.push_back("hide plot"); }
    bool PlotShown() const override { return plotShown; }
    std::optional<ColumnChoice> ChooseTableColumns(const std::string& fileName,
                                                   const std::vector<TableColumn>& columns) override {
        offeredColumns.emplace_back(fileName, columns);
        return columnAnswer;
    }

    std::vector<std::string> messages;
    std::vector<std::string> events;
    int redraws = 0;
    bool plotShown = false;  // what PlotShown answers
    // The tables whose columns were offered to choose from, and the answer given.
    std::vector<std::pair<std::string, std::vector<TableColumn>>> offeredColumns;
    std::optional<ColumnChoice> columnAnswer;
};

}  // namespace wendrel::testing
