// The main window's SAMP menu (Connect, Disconnect, "Connect at Start"), the
// hub's state shown beside the menus, and the "Send to" menus of the rows and
// of the plot's legend. The messaging itself is app/samp_*.
#pragma once

#include <QObject>
#include <filesystem>

#include "app/samp_client.h"
#include "app/samp_receive.h"
#include "app/samp_send.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;

namespace wendrel {

class SampControls : public QObject {
    Q_OBJECT

public:
    SampControls(Workspace& ws, UiHooks& ui, QMainWindow& main, const std::filesystem::path& settingsPath);

    // Connects when "Connect at Start" was chosen; a missing hub is then only shown beside the menus.
    void ConnectAtStartIfChosen();
    // Adds "Send to" with the clients that take spectra or tables, and all of them.
    void AddSendMenu(QMenu& menu, int slot);

    SampClient& client() { return client_; }

private:
    void Connect(bool tellWhenMissing);
    void Send(int slot, const std::string& clientId);
    void ShowState();

    Workspace& ws_;
    UiHooks& ui_;
    SampClient client_;
    SampReceiver receiver_;
    SampOutbox outbox_;
    std::filesystem::path settingsFile_;
    QLabel* status_;
    QAction* connect_;
    QAction* disconnect_;
    SampClient::State shownState_ = SampClient::State::Disconnected;
    bool tellFailure_ = false;
};

}  // namespace wendrel
