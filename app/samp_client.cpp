#include "app/samp_client.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <QTcpSocket>
#include <algorithm>
#include <memory>
#include <set>

#include "app/samp_icon.h"
#include "app/samp_rpc_server.h"

namespace wendrel {

namespace {

constexpr const char* kPingMtype = "samp.app.ping";
constexpr const char* kShutdownMtype = "samp.hub.event.shutdown";
constexpr const char* kDisconnectMtype = "samp.hub.disconnect";

RpcValue Metadata(const QTemporaryFile* icon) {
    RpcMap map{{"samp.name", "Wendrel"},
               {"samp.description.text", "Overlays up to ten one-dimensional FITS spectra, each in percent of "
                                         "its continuum level."},
               {"author.name", "The Wendrel developers"},
               {"wendrel.version", WENDREL_VERSION}};
    if (icon) map.emplace_back("samp.icon.url", QUrl::fromLocalFile(icon->fileName()).toString().toStdString());
    return map;
}

RpcValue Subscriptions() {
    RpcMap map;
    for (const char* mtype : {kSpectrumMtype, kTableMtype, kImageMtype, kPingMtype, "samp.hub.event.*",
                              kDisconnectMtype})
        map.emplace_back(mtype, RpcMap{});
    return map;
}

RpcResponse Fault(const std::string& text) { return {true, {}, 1, text}; }

}  // namespace

SampClient::SampClient(QObject* parent)
    : QObject(parent),
      network_(new QNetworkAccessManager(this)),
      server_(new RpcServer([this](const RpcCall& call) { return Answer(call); }, this)),
      hubPing_(new QTimer(this)),
      status_("Not connected to a SAMP hub."),
      icon_(WriteSampIcon()) {
    hubPing_->setInterval(kHubPingMilliseconds);
    // A ping that fails disconnects (CallHub).
    connect(hubPing_, &QTimer::timeout, this,
            [this] { CallHub("samp.hub.ping", {}, [](const RpcResponse&, const std::string&) {}); });
}

SampClient::~SampClient() {
    if (state_ == State::Disconnected || privateKey_.empty()) return;
    // The event loop may have ended already: the hub is told at once, waiting at most a second.
    const QUrl url(QString::fromStdString(hub_.xmlrpcUrl));
    const QByteArray body = QByteArray::fromStdString(RpcCallText({"samp.hub.unregister", {privateKey_}}));
    QTcpSocket socket;
    socket.connectToHost(url.host(), static_cast<quint16>(url.port(80)));
    if (!socket.waitForConnected(1000)) return;
    socket.write("POST " + url.path(QUrl::FullyEncoded).toUtf8() + (url.path().isEmpty() ? "/" : "") +
                 " HTTP/1.0\r\nHost: " + url.host().toUtf8() + "\r\nContent-Type: text/xml\r\nContent-Length: " +
                 QByteArray::number(body.size()) + "\r\n\r\n" + body);
    if (socket.waitForBytesWritten(1000)) socket.waitForReadyRead(1000);
}

QString SampClient::CallbackUrl() const { return server_->Url(); }

void SampClient::Connect(const HubAddress& hub) {
    if (state_ != State::Disconnected) return;
    if (!hub.error.empty()) return Fail(QString::fromStdString(hub.error));
    hub_ = hub;
    ++generation_;
    if (!server_->Listen()) return Fail("SAMP: the program cannot listen on 127.0.0.1 for the hub's calls.");
    SetState(State::Connecting, "Connecting to the SAMP hub ...");
    RegisterNext(0);
}

// Registration, metadata, the address of the callable server and the
// subscriptions, one hub call after the other.
void SampClient::RegisterNext(int step) {
    const auto next = [this, step](const RpcResponse& response, const std::string& failure) {
        if (!failure.empty())
            return Fail(QString::fromStdString("The SAMP hub refused the registration: " + failure));
        if (step == 0) {
            const auto text = [&](const char* name) {
                const RpcValue* value = response.value.member(name);
                return value ? value->text() : std::string();
            };
            privateKey_ = text("samp.private-key");
            selfId_ = text("samp.self-id");
            if (privateKey_.empty()) return Fail("The SAMP hub gave no private key.");
        }
        if (step == 3) {
            SetState(State::Connected, "Connected to the SAMP hub as " + QString::fromStdString(selfId_) + ".");
            return RefreshPeers();
        }
        RegisterNext(step + 1);
    };
    switch (step) {
    case 0: return CallHub("samp.hub.register", {hub_.secret}, next);
    case 1: return CallHub("samp.hub.declareMetadata", {privateKey_, Metadata(icon_.get())}, next);
    case 2: return CallHub("samp.hub.setXmlrpcCallback", {privateKey_, server_->Url().toStdString()}, next);
    default: return CallHub("samp.hub.declareSubscriptions", {privateKey_, Subscriptions()}, next);
    }
}

void SampClient::Disconnect() {
    if (state_ == State::Disconnected) return;
    if (!privateKey_.empty())
        CallHub("samp.hub.unregister", {privateKey_}, [](const RpcResponse&, const std::string&) {});
    SetState(State::Disconnected, "Disconnected from the SAMP hub.");
}

void SampClient::Fail(const QString& status) { SetState(State::Disconnected, status); }

void SampClient::SetState(State state, const QString& status) {
    if (state == State::Connected) hubPing_->start();
    if (state == State::Disconnected) {
        hubPing_->stop();
        ++generation_;
        server_->Close();
        privateKey_.clear();
        selfId_.clear();
        if (!peers_.empty()) {
            peers_.clear();
            emit peersChanged();
        }
    }
    state_ = state;
    status_ = status;
    emit stateChanged();
}

void SampClient::CallHub(const std::string& method, RpcList params, Done done) {
    QNetworkRequest request(QUrl(QString::fromStdString(hub_.xmlrpcUrl)));
    request.setHeader(QNetworkRequest::ContentTypeHeader, "text/xml");
    request.setTransferTimeout(kHubCallMilliseconds);
    const std::string body = RpcCallText({method, std::move(params)});
    QNetworkReply* reply = network_->post(request, QByteArray::fromStdString(body));
    const int generation = generation_;
    connect(reply, &QNetworkReply::finished, this, [this, reply, done, generation, method] {
        reply->deleteLater();
        if (generation != generation_ && method != "samp.hub.unregister") return;
        if (reply->error() != QNetworkReply::NoError) {
            // A hub that does not answer has gone: the connection ends.
            const std::string failure = "the hub did not answer (" + reply->errorString().toStdString() + ")";
            if (state_ == State::Connected && generation == generation_)
                Fail("The SAMP hub stopped answering, so the program is disconnected.");
            return done({}, failure);
        }
        const QByteArray bytes = reply->read(kMaxRpcRequestBytes);
        const RpcParsed<RpcResponse> parsed =
            ParseRpcResponse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        if (!parsed.error.empty()) return done({}, "its answer to " + method + " is malformed (" + parsed.error + ")");
        if (parsed.result.fault) return done(parsed.result, parsed.result.faultText);
        done(parsed.result, {});
    });
}

RpcResponse SampClient::Answer(const RpcCall& call) {
    if (state_ == State::Disconnected || call.params.empty() || call.params.front().text() != privateKey_ ||
        privateKey_.empty())
        return Fault("The call does not carry this client's private key.");
    SampMessage message;
    const RpcValue* body = nullptr;
    if (call.method == "samp.client.receiveNotification" && call.params.size() == 3) {
        message.sender = call.params[1].text();
        body = &call.params[2];
    } else if (call.method == "samp.client.receiveCall" && call.params.size() == 4) {
        message.sender = call.params[1].text();
        message.msgId = call.params[2].text();
        body = &call.params[3];
        if (message.msgId.empty()) return Fault("The call has no message id.");
    } else if (call.method == "samp.client.receiveResponse" && call.params.size() == 4) {
        return {};  // the program sends notifications only; a late response needs nothing
    } else {
        return Fault("Unknown method or wrong parameters: " + call.method);
    }
    const RpcValue* mtype = body->member("samp.mtype");
    if (!mtype || mtype->text().empty()) return Fault("The message has no samp.mtype.");
    message.mtype = mtype->text();
    if (const RpcValue* params = body->member("samp.params")) message.params = *params;
    // The hub gets its answer first; the message is acted on afterwards.
    QTimer::singleShot(0, this, [this, message, generation = generation_] {
        if (generation == generation_) Dispatch(message);
    });
    return {};
}

void SampClient::Dispatch(const SampMessage& message) {
    if (message.mtype == kShutdownMtype || message.mtype == kDisconnectMtype)
        return SetState(State::Disconnected, "The SAMP hub has shut down or disconnected the program.");
    if (message.mtype.starts_with("samp.hub.event.")) return RefreshPeers();
    if (message.mtype == kPingMtype) {
        if (!message.msgId.empty()) Reply(message.msgId, true);
        return;
    }
    if (message.mtype == kSpectrumMtype || message.mtype == kTableMtype || message.mtype == kImageMtype)
        return emit messageReceived(message);
    if (!message.msgId.empty()) Reply(message.msgId, false, "Wendrel does not take " + message.mtype + ".");
}

void SampClient::Reply(const std::string& msgId, bool ok, const std::string& errorText) {
    if (state_ != State::Connected || msgId.empty()) return;
    RpcMap response{{"samp.status", ok ? "samp.ok" : "samp.error"}, {"samp.result", RpcMap{}}};
    if (!ok) response.emplace_back("samp.error", RpcMap{{"samp.errortxt", errorText}});
    CallHub("samp.hub.reply", {privateKey_, msgId, response}, [](const RpcResponse&, const std::string&) {});
}

int SampClient::SendFits(const std::string& clientId, const QString& url, const std::string& name) {
    if (state_ != State::Connected) return 0;
    int sent = 0;
    for (const SampPeer& peer : peers_) {
        if (!clientId.empty() && peer.id != clientId) continue;
        RpcMap params{{"url", url.toStdString()}, {"name", name}};
        std::string mtype = kTableMtype;
        if (peer.spectra) {
            mtype = kSpectrumMtype;
            params.emplace_back("spectrum-id", url.toStdString());
            params.emplace_back("meta", RpcMap{{"Access.Format", "application/fits"}});
        } else {
            params.emplace_back("table-id", url.toStdString());
        }
        const RpcMap message{{"samp.mtype", mtype}, {"samp.params", params}};
        CallHub("samp.hub.notify", {privateKey_, peer.id, message}, [](const RpcResponse&, const std::string&) {});
        ++sent;
    }
    return sent;
}

// Asks which clients take spectra and which take tables, then their names.
void SampClient::RefreshPeers() {
    struct Query {
        std::vector<SampPeer> peers;
        int pending = 0;
    };
    auto query = std::make_shared<Query>();
    const int generation = generation_, refresh = ++peerRefresh_;
    const auto finish = [this, query, generation, refresh] {
        // Only the latest question is answered: an earlier one may finish after it with what is past.
        if (--query->pending > 0 || generation != generation_ || refresh != peerRefresh_) return;
        peers_ = query->peers;
        emit peersChanged();
    };
    const auto subscribed = [this, query, finish](bool spectra) {
        return [this, query, finish, spectra](const RpcResponse& response, const std::string& failure) {
            if (failure.empty() && response.value.map()) {
                for (const auto& [id, ignored] : *response.value.map()) {
                    if (id == selfId_) continue;
                    auto peer = std::find_if(query->peers.begin(), query->peers.end(),
                                             [&](const SampPeer& p) { return p.id == id; });
                    if (peer == query->peers.end()) {
                        query->peers.push_back({id, id});
                        peer = query->peers.end() - 1;
                        ++query->pending;
                        CallHub("samp.hub.getMetadata", {privateKey_, id},
                                [query, finish, id](const RpcResponse& metadata, const std::string&) {
                                    const RpcValue* name = metadata.value.member("samp.name");
                                    for (SampPeer& p : query->peers)
                                        if (p.id == id && name && !name->text().empty()) p.name = name->text();
                                    finish();
                                });
                    }
                    (spectra ? peer->spectra : peer->tables) = true;
                }
            }
            finish();
        };
    };
    query->pending = 2;
    CallHub("samp.hub.getSubscribedClients", {privateKey_, kSpectrumMtype}, subscribed(true));
    CallHub("samp.hub.getSubscribedClients", {privateKey_, kTableMtype}, subscribed(false));
}

}  // namespace wendrel
