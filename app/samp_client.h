// The program as a SAMP client of the desktop's hub (Standard Profile): it
// registers as "Wendrel", declares what it receives, answers the hub's calls
// on its own loopback XML-RPC server (each checked against the private key
// the hub gave), replies to messages, and sends spectra to the other clients.
#pragma once

#include <QObject>
#include <QTemporaryFile>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "app/samp_hub_lock.h"
#include "app/samp_xmlrpc.h"

class QNetworkAccessManager;
class QTimer;

namespace wendrel {

class RpcServer;

inline constexpr const char* kSpectrumMtype = "spectrum.load.ssa-generic";
inline constexpr const char* kTableMtype = "table.load.fits";
inline constexpr const char* kImageMtype = "image.load.fits";
inline constexpr int kHubCallMilliseconds = 10000;
// While connected the hub is pinged this often, so that a hub that is gone is noticed.
inline constexpr int kHubPingMilliseconds = 15000;

// A message from another client: a call (msgId set) expects a reply.
struct SampMessage {
    std::string sender;
    std::string msgId;  // empty for a notification
    std::string mtype;
    RpcValue params;
};

// A client that receives spectra or FITS tables.
struct SampPeer {
    std::string id;
    std::string name;  // its samp.name, else its id
    bool spectra = false;
    bool tables = false;
};

class SampClient : public QObject {
    Q_OBJECT

public:
    enum class State { Disconnected, Connecting, Connected };

    explicit SampClient(QObject* parent = nullptr);
    ~SampClient() override;

    // Registers with the hub; stateChanged tells the outcome. Does nothing
    // unless disconnected.
    void Connect(const HubAddress& hub);
    // Unregisters (without waiting for the hub) and stops answering.
    void Disconnect();

    State state() const { return state_; }
    // A sentence of the connection's state for the window.
    QString StatusText() const { return status_; }
    // Clients that receive spectra or tables, as the hub last told.
    const std::vector<SampPeer>& peers() const { return peers_; }
    const std::string& privateKey() const { return privateKey_; }
    QString CallbackUrl() const;

    // Answers a call: success, or an error with its text.
    void Reply(const std::string& msgId, bool ok, const std::string& errorText = {});
    // Sends the FITS table at `url` to a client (by id), or to every peer
    // when `clientId` is empty: as a spectrum to those that take spectra,
    // as a table to those that take only tables. Returns how many were sent to.
    int SendFits(const std::string& clientId, const QString& url, const std::string& name);

signals:
    void stateChanged();
    void peersChanged();
    // A load message that a window or the logic acts on (a call waits for Reply).
    void messageReceived(const wendrel::SampMessage& message);

private:
    using Done = std::function<void(const RpcResponse& response, const std::string& failure)>;
    void CallHub(const std::string& method, RpcList params, Done done);
    RpcResponse Answer(const RpcCall& call);
    void Dispatch(const SampMessage& message);
    void RegisterNext(int step);
    void RefreshPeers();
    void Fail(const QString& status);
    void SetState(State state, const QString& status);

    QNetworkAccessManager* network_;
    RpcServer* server_;
    QTimer* hubPing_;
    State state_ = State::Disconnected;
    QString status_;
    HubAddress hub_;
    std::string privateKey_, selfId_;
    std::vector<SampPeer> peers_;
    int generation_ = 0;  // a connection's calls whose answers come after it ended are dropped
    int peerRefresh_ = 0;  // the latest question for the clients
    std::unique_ptr<QTemporaryFile> icon_;  // the picture of samp.icon.url, removed with the client
};

}  // namespace wendrel
