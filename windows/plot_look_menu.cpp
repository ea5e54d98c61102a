// The plot window's View menu items that choose the plot's look: "Label
// Every Tick", the Legend's place, the curves' Colours and Line Width, and
// "Stack Curves".
#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "windows/plot_window.h"

namespace wendrel {

void frmPlot_Spectra::BuildLookMenu() {
    PlotLook* const look = &ws_.View.Look;
    // A checkable item that applies `choose` and redraws; checked while `checked` holds.
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, std::function<void()> choose,
                             std::function<bool()> checked, QActionGroup* group = nullptr) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setCheckable(true);
        if (group) group->addAction(action);
        connect(action, &QAction::triggered, this, [this, choose] { choose(), ViewChanged(); });
        lookChecks_.emplace_back(action, std::move(checked));
        return action;
    };
    item(mView_, "mEveryTick", "Label Every Tick",
         [look] { look->AxisLabels = look->AxisLabels == PlotLook::Axes::Every ? PlotLook::Axes::Classic : PlotLook::Axes::Every; },
         [look] { return look->AxisLabels == PlotLook::Axes::Every; });

    QMenu* legend = mView_->addMenu("Legend");
    legend->setObjectName("mLegendPlace");
    auto* places = new QActionGroup(legend);
    // A new place forgets where the legend was dragged to.
    const auto place = [this, look](bool shown, bool outside) {
        return [this, look, shown, outside] {
            ws_.View.ShowLegend = shown;
            look->LegendOutside = outside;
            look->LegendMoved = false;
        };
    };
    mLegend_ = item(legend, "mLegend", "Inside", place(true, false),
                    [this, look] { return ws_.View.ShowLegend && !look->LegendOutside; }, places);
    item(legend, "mLegendOutside", "Outside", place(true, true),
         [this, look] { return ws_.View.ShowLegend && look->LegendOutside; }, places);
    item(legend, "mLegendOff", "Off", [this, look] { ws_.View.ShowLegend = false, look->LegendMoved = false; },
         [this] { return !ws_.View.ShowLegend; }, places);

    QMenu* colours = mView_->addMenu("Colours");
    colours->setObjectName("mColours");
    auto* palettes = new QActionGroup(colours);
    for (const bool contrast : {false, true})
        item(colours, contrast ? "mHighContrast" : "mDesignColours", contrast ? "High Contrast" : "Design",
             [look, contrast] { look->HighContrast = contrast; }, [look, contrast] { return look->HighContrast == contrast; },
             palettes);

    QMenu* widths = mView_->addMenu("Line Width");
    widths->setObjectName("mLineWidth");
    auto* widthGroup = new QActionGroup(widths);
    for (const int width : {1, 2, 3}) {
        const std::string name = "mLineWidth" + std::to_string(width);
        item(widths, name.c_str(), QString("%1 Pixel%2").arg(width).arg(width > 1 ? "s" : ""),
             [look, width] { look->LineWidth = width; }, [look, width] { return look->LineWidth == width; }, widthGroup);
    }

    item(mView_, "mStackCurves", "Stack Curves", [look] { look->StackCurves = !look->StackCurves; },
         [look] { return look->StackCurves; });
}

}  // namespace wendrel
