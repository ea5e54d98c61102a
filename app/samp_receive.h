// Spectra that other programs send through SAMP: the file of a
// spectrum.load.ssa-generic, table.load.fits or image.load.fits message is
// fetched in the background (app/samp_fetch.h), loaded into the next empty
// row as a dropped file is (app/open_files.h), and the row is named by the
// message's name. A call gets its reply (success, or the reason it was
// refused, which names the file and never quotes it) before the window shows
// any message; a refusal shows one message.
#pragma once

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>
#include <string>

#include "app/samp_client.h"
#include "app/samp_fetch.h"
#include "app/ui_hooks.h"
#include "store/workspace.h"

class QNetworkAccessManager;

namespace wendrel {

// What a load message asks for: the file's address and the row's name, or why it cannot be taken.
struct LoadRequest {
    QUrl url;
    std::string name;
    std::string error;
};
LoadRequest ReadLoadRequest(const SampMessage& message);

class SampReceiver : public QObject {
    Q_OBJECT

public:
    SampReceiver(Workspace& ws, UiHooks& ui, SampClient& client, FetchLimits limits = {}, QObject* parent = nullptr);
    ~SampReceiver() override;

    // Acts on one load message; the client's messageReceived is connected to it.
    void Receive(const SampMessage& message);

signals:
    // A sentence of what is being received or was last received, for the window.
    void activity(const QString& text);

private:
    void Loaded(const SampMessage& message, const std::string& name, const std::filesystem::path& file,
                const std::string& error);
    void Refuse(const SampMessage& message, const std::string& reason);

    Workspace& ws_;
    UiHooks& ui_;
    SampClient& client_;
    FetchLimits limits_;
    QNetworkAccessManager* network_;
    QTemporaryDir downloads_;  // removed, with what was downloaded, when the program ends
};

}  // namespace wendrel
