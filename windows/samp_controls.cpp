#include "windows/samp_controls.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/samp_settings.h"

namespace wendrel {

SampControls::SampControls(Workspace& ws, UiHooks& ui, QMainWindow& main, const std::filesystem::path& settingsPath)
    : QObject(&main),
      ws_(ws),
      ui_(ui),
      client_(this),
      receiver_(ws, ui, client_, {}, this),
      settingsFile_(SampSettingsPath(settingsPath)),
      status_(new QLabel(&main)) {
    QMenu* menu = new QMenu("SAMP", &main);
    // Before Help, the last of the menu bar.
    const QList<QAction*> bar = main.menuBar()->actions();
    main.menuBar()->insertMenu(bar.isEmpty() ? nullptr : bar.back(), menu);
    connect_ = menu->addAction("Connect");
    disconnect_ = menu->addAction("Disconnect");
    menu->addSeparator();
    QAction* atStart = menu->addAction("Connect at Start");
    atStart->setCheckable(true);
    atStart->setChecked(ReadConnectAtStart(settingsFile_));
    connect(connect_, &QAction::triggered, this, [this] { Connect(true); });
    connect(disconnect_, &QAction::triggered, &client_, &SampClient::Disconnect);
    connect(atStart, &QAction::toggled, this, [this](bool on) {
        if (!WriteConnectAtStart(settingsFile_, on))
            ui_.ShowMessage("The SAMP choice could not be written to \"" + settingsFile_.string() + "\".");
    });
    status_->setTextFormat(Qt::PlainText);
    status_->setContentsMargins(0, 0, 6, 0);
    main.menuBar()->setCornerWidget(status_, Qt::TopRightCorner);
    connect(&client_, &SampClient::stateChanged, this, &SampControls::ShowState);
    connect(&receiver_, &SampReceiver::activity, status_, &QLabel::setText);
    ShowState();
}

void SampControls::ConnectAtStartIfChosen() {
    if (ReadConnectAtStart(settingsFile_)) Connect(false);
}

void SampControls::Connect(bool tellWhenMissing) {
    const HubAddress hub = FindHub();
    if (!hub.error.empty()) {
        status_->setText("No SAMP hub.");
        if (tellWhenMissing) ui_.ShowMessage(hub.error);
        return;
    }
    tellFailure_ = tellWhenMissing;
    client_.Connect(hub);
}

void SampControls::ShowState() {
    const SampClient::State state = client_.state();
    connect_->setEnabled(state == SampClient::State::Disconnected);
    disconnect_->setEnabled(state != SampClient::State::Disconnected);
    status_->setText(client_.StatusText());
    const bool failed = shownState_ == SampClient::State::Connecting && state == SampClient::State::Disconnected;
    shownState_ = state;
    if (failed && tellFailure_) ui_.ShowMessage(client_.StatusText().toStdString());
}

void SampControls::AddSendMenu(QMenu& menu, int slot) {
    QMenu* send = menu.addMenu("Send to");
    const std::vector<SampPeer>& peers = client_.peers();
    send->setEnabled(client_.state() == SampClient::State::Connected && !peers.empty() && ws_.slot(slot).Loaded());
    connect(send->addAction("All Clients"), &QAction::triggered, this, [this, slot] { Send(slot, {}); });
    send->addSeparator();
    for (const SampPeer& peer : peers)
        connect(send->addAction(QString::fromStdString(peer.name)), &QAction::triggered, this,
                [this, slot, id = peer.id] { Send(slot, id); });
}

void SampControls::Send(int slot, const std::string& clientId) {
    std::string error;
    const std::filesystem::path file = outbox_.Write(ws_, slot, error);
    if (file.empty()) return ui_.ShowMessage(error);
    const std::string name = SentName(ws_, slot);
    const QString url = QUrl::fromLocalFile(QString::fromStdString(file.string())).toString();
    const int sent = client_.SendFits(clientId, url, name);
    status_->setText(QString::fromStdString(name + (sent > 0 ? " was sent." : " was sent to no client.")));
}

}  // namespace wendrel
