// The header viewer: the header cards of one loaded slot, one card per text
// line, paged with a vertical scroll bar whose value stands for the card in
// the middle of the page.
#pragma once

#include <QFont>
#include <QWidget>
#include <string>
#include <vector>

#include "app/header_paging.h"
#include "windows/single_window.h"

class QScrollBar;

namespace wendrel {

struct Workspace;

class frmDisplayHdr : public QWidget {
    Q_OBJECT

public:
    // Opens the viewer at the stored place and size, for the workspace's
    // CurSlot; it is shown by the caller and deletes itself when closed.
    explicit frmDisplayHdr(Workspace& ws);

    // Clears the window and writes every card of CurSlot from card 1.
    void WriteAllCards();

    // The lines written since the window was last cleared, top first.
    const std::vector<std::string>& Lines() const { return lines_; }
    QScrollBar* VScroll1() const { return vscroll_; }

    static constexpr HdrLineMetrics kMetrics{};

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void VScroll1_Change();

    int NumCards() const;
    void Cls();
    void WriteCards(const CardPage& page);
    double LinePitchPixels() const;

    Workspace& ws_;
    bool loading_ = false;  // Form_Load is placing the window: its resizes are not the user's
    QScrollBar* vscroll_;
    QFont cardFont_;
    std::vector<std::string> lines_;
};

// The "Hdr" buttons' way to the one header viewer.
class HeaderViewerHost {
public:
    explicit HeaderViewerHost(Workspace& ws) : ws_(ws), viewer_(ws) {}

    // The "Hdr" button of row `slot`: CurSlot = slot; when the slot is
    // loaded, shows the viewer (opening it first when it is closed) and
    // writes the slot's cards from card 1. A viewer already open keeps its
    // scroll range until it is next resized.
    void HdrPressed(int slot);

    // The open viewer, or nullptr.
    frmDisplayHdr* Window() const { return viewer_.Get(); }

private:
    Workspace& ws_;
    SingleWindow<frmDisplayHdr> viewer_;
};

}  // namespace wendrel
