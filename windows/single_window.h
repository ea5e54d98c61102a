// Owner of a window that exists at most once: created on first use, shown
// and brought forward on every use, forgotten when the user closes it (the
// window deletes itself then). Deleting the owner deletes an open window
// without running its closing handler, as at program end.
#pragma once

#include <QPointer>

namespace wendrel {

struct Workspace;

template <class Window>
class SingleWindow {
public:
    explicit SingleWindow(Workspace& ws) : ws_(ws) {}
    ~SingleWindow() { delete window_; }
    SingleWindow(const SingleWindow&) = delete;
    SingleWindow& operator=(const SingleWindow&) = delete;

    // Shows the window without waiting for it to close, opening it first
    // when it is not open.
    Window& Show() {
        if (!window_) window_ = new Window(ws_);
        window_->show();
        window_->raise();
        window_->activateWindow();
        return *window_;
    }

    // The open window, or nullptr.
    Window* Get() const { return window_; }

private:
    Workspace& ws_;
    QPointer<Window> window_;
};

}  // namespace wendrel
