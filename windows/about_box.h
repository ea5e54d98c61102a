// The about box: the program's name, version and credits, at a fixed size.
#pragma once

#include <QWidget>
#include <vector>

#include "windows/single_window.h"

class QLabel;

namespace wendrel {

struct Workspace;

class frmAbout : public QWidget {
    Q_OBJECT

public:
    // Opens the box at the stored place; it is shown by the caller and
    // deletes itself when closed.
    explicit frmAbout(Workspace& ws);

    // The box's lines, top first.
    const std::vector<QLabel*>& Lines() const { return lines_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();

    Workspace& ws_;
    std::vector<QLabel*> lines_;
};

// Help, About: aboutBox.Show().
using AboutBoxHost = SingleWindow<frmAbout>;

}  // namespace wendrel
