// The plot window's picture as lines, boxes and texts rather than pixels, for
// saving it as a drawing (SVG) or a document (PDF) that stays sharp at any
// size and keeps its texts as text. QtGui only: no widgets.
//
// Units are the plot window's device pixels (a picture of a window W x H
// pixels is W x H units), y downward; coordinates are floating, so a line
// lies where the twips put it, not where a pixel grid rounds it.
#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "plot/plot_surface.h"
#include "store/workspace.h"

class QPainter;

namespace wendrel {

struct VectorPicture {
    // Connected lines in one colour: each polyline is a run of points joined
    // in turn. Lines are one unit wide with square ends, so that a line
    // covers the pixels it meets, both ends included, as on screen; dashed
    // ones run in dashes of kDash units with gaps of kGap, from their start.
    struct Stroke {
        QColor color;
        bool dashed = false;
        std::vector<std::vector<QPointF>> polylines;
    };
    static constexpr double kDash = 4;
    static constexpr double kGap = 3;
    // A filled rectangle, with an edge one unit wide when edge is valid.
    struct Box {
        QRectF rect;
        QColor fill;
        QColor edge;
    };
    // One line of text: `origin` is the start of its baseline, or with
    // `centred` its middle.
    struct Text {
        QPointF origin;
        QString text;
        QFont font;  // with a pixel size, in units
        QColor color = Qt::black;
        bool centred = false;
    };

    // A control's box or caption; controls are drawn in their order, each
    // over those before it.
    using Control = std::variant<Box, Text>;

    QSizeF size;
    QColor background = Qt::white;
    std::vector<Stroke> strokes;     // the plot, drawn first
    std::vector<Text> texts;         // the plot's labels and texts, over its lines
    std::vector<Control> controls;  // controls over the plot, in their order
};

// The start of the baseline of `text` in `font` written from the top-left
// corner `topLeft` of a line of text `lineHeight` high (text centred in it
// vertically, as labels and buttons place it); with `centred` the middle of
// the baseline instead, for text centred across `width`.
QPointF TextOrigin(const QFont& font, const QPointF& topLeft, double lineHeight, double width = 0,
                   bool centred = false);

// The fonts of a picture's texts, with pixel sizes in units.
struct PictureFonts {
    QFont labels;     // the placed labels (tick values, axis title)
    QFont plotTexts;  // texts drawn into the plot itself (names of marked lines)
};

// Records a redraw as a vector picture: lines join into polylines while each
// begins where the one before ended in the same colour, and each placed
// label becomes a text whose top-left corner is the label's place.
class VectorSurface : public PlotSurface {
public:
    // `twipsPerUnit`: twips per unit of the picture (the window's twips per
    // pixel); `outerWidth`: the window's outer width in twips.
    VectorSurface(QSizeF size, double twipsPerUnit, double outerWidth, const PictureFonts& fonts);

    void Show() override {}
    void Cls() override;
    void SetForeColor(int32_t color) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void DashedLine(float x1, float y1, float x2, float y2) override;
    void CentredText(float x, float baseline, const std::string& text) override;
    void SetLabel(PlotLabel label, double left, double top, const std::string& caption) override;
    double OuterWidth() const override { return outerWidth_; }
    // A quarter of a window pixel: curves with many pixels per column are
    // drawn as their envelopes at four times the screen's resolution.
    double TwipsPerColumn() const override { return twipsPerUnit_ / 4; }

    // The lines drawn since the last Cls() and every label placed, over a
    // background of `background`.
    VectorPicture Picture(const QColor& background) const;

private:
    void Add(float x1, float y1, float x2, float y2, bool dashed);

    QSizeF size_;
    double twipsPerUnit_;
    double outerWidth_;
    PictureFonts fonts_;
    QColor color_ = Qt::black;
    std::vector<VectorPicture::Stroke> strokes_;
    std::vector<VectorPicture::Text> plotTexts_;
    std::map<PlotLabel, VectorPicture::Text> labels_;
};

// Runs the redraw once more onto a VectorSurface, for a window of
// `size` units at `twipsPerUnit` whose outer width is `outerWidth` twips,
// and returns what it drew. Everything the redraw writes to the workspace is
// put back afterwards, so the workspace is as it was.
VectorPicture ReplayPlot(Workspace& ws, QSizeF size, double twipsPerUnit, double outerWidth,
                         const PictureFonts& fonts, const QColor& background);

// Paints the picture with the painter's coordinates in the picture's units.
void PaintVectorPicture(QPainter& painter, const VectorPicture& picture);

// The picture as an SVG document, one unit per SVG pixel.
std::string SvgDocument(const VectorPicture& picture);

}  // namespace wendrel
