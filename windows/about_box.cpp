#include "windows/about_box.h"

#include <QCloseEvent>
#include <QLabel>
#include <string>

#include "store/rounding.h"
#include "store/workspace.h"
#include "windows/outer_frame.h"
#include "windows/twips.h"

namespace wendrel {
namespace {

// Twips.
constexpr double kAboutClientWidth = 4710;
constexpr double kAboutClientHeight = 2505;
constexpr double kLineLeft = 120;
constexpr double kLineWidth = 4455;

struct AboutLine {
    double top;
    double height;
    const char* text;
};

// Top first; the first line is the title.
constexpr AboutLine kAboutLines[] = {
    {120, 375, "Wendrel Software"},
    {600, 255, "Spectrum overlay viewer"},
    {960, 255, "Version 1.4 of 2007-04-093"},
    {1200, 255, nullptr},  // a rule of dashes
    {1440, 255, "Up to ten 1-D FITS spectra"},
    {1800, 255, "Written in C++ with Qt"},
    {2160, 255, "Questions: see the README file"},
};

constexpr int kRuleLength = 61;

}  // namespace

frmAbout::frmAbout(Workspace& ws) : ws_(ws) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("About");
    setFixedSize(TwipsToPixels(kAboutClientWidth), TwipsToPixels(kAboutClientHeight));
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(224, 224, 224));
    setPalette(background);
    setAutoFillBackground(true);

    QFont titleFont("Times New Roman");
    titleFont.setStyleHint(QFont::Serif);
    titleFont.setPointSizeF(13.5);
    titleFont.setBold(true);
    QFont lineFont("Sans Serif");
    lineFont.setStyleHint(QFont::SansSerif);
    lineFont.setPointSizeF(8.25);
    lineFont.setBold(true);

    for (const AboutLine& line : kAboutLines) {
        const QString text = line.text ? QString(line.text) : QString(kRuleLength, '-');
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(TwipsToPixels(kLineLeft), TwipsToPixels(line.top), TwipsToPixels(kLineWidth),
                           TwipsToPixels(line.height));
        label->setFont(lines_.empty() ? titleFont : lineFont);
        lines_.push_back(label);
    }
    QPalette titlePalette = lines_.front()->palette();
    titlePalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    lines_.front()->setPalette(titlePalette);
    Form_Load();
}

void frmAbout::Form_Load() {
    winId();  // the window system's frame is known from here on
    MoveOuterTwips(*this, ws_.Config.AboutLeft, ws_.Config.AboutTop);
    KeepOnScreen(*this);
}

void frmAbout::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void frmAbout::Form_Unload() {
    const QRectF outer = OuterGeometryTwips(*this);
    ws_.Config.AboutLeft = Nearest16(outer.left());
    ws_.Config.AboutTop = Nearest16(outer.top());
}

}  // namespace wendrel
