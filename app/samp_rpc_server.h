// The program's own XML-RPC server, which the SAMP hub calls: HTTP POST on
// 127.0.0.1 only, one call per connection. A request that is too large, too
// slow, not HTTP POST or not a well-formed XML-RPC call is answered with an
// HTTP error or an XML-RPC fault, and never reaches the handler.
#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "app/samp_xmlrpc.h"

class QTcpServer;
class QTcpSocket;

namespace wendrel {

// A fault (fault = true, faultCode, faultText) or a value to send back.
using RpcHandler = std::function<RpcResponse(const RpcCall&)>;

inline constexpr qint64 kMaxRpcRequestBytes = 4 * 1024 * 1024;
inline constexpr int kRpcRequestMilliseconds = 10000;

class RpcServer : public QObject {
    Q_OBJECT

public:
    explicit RpcServer(RpcHandler handler, QObject* parent = nullptr);
    ~RpcServer() override;

    // Listens on a free port of 127.0.0.1; returns whether it does.
    bool Listen();
    void Close();
    // "http://127.0.0.1:PORT/xmlrpc", empty while not listening.
    QString Url() const;

private:
    void Accept();
    void Read(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, int status, const std::string& body);

    RpcHandler handler_;
    QTcpServer* server_;
};

}  // namespace wendrel
