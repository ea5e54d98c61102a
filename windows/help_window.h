// The help window: a title and three fixed paragraphs whose layout follows
// the window's width, and below them the reference section in a scrolling
// box; the window's height always follows from its width.
#pragma once

#include <QWidget>
#include <array>

#include "app/help_layout.h"
#include "windows/single_window.h"

class QLabel;
class QTextBrowser;

namespace wendrel {

struct Workspace;

class frmHelp : public QWidget {
    Q_OBJECT

public:
    // Opens the window at the stored place and width, laid out; it is shown
    // by the caller and deletes itself when closed.
    explicit frmHelp(Workspace& ws);

    QLabel* Label0() const { return title_; }
    // Paragraph label i, 1 to 3.
    QLabel* Label1(int i) const { return paragraphs_.at(static_cast<size_t>(i - 1)); }
    QTextBrowser* Reference() const { return reference_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();

    Workspace& ws_;
    bool loaded_ = false;  // Form_Load has placed the window: from then on resizes lay it out
    QLabel* title_;
    QTextBrowser* reference_;
    std::array<QLabel*, kNumHelpParas> paragraphs_{};
};

// Help, Help - Intro: helpWindow.Show().
using HelpWindowHost = SingleWindow<frmHelp>;

}  // namespace wendrel
