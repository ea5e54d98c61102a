#include "app/samp_rpc_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace wendrel {

namespace {

constexpr qsizetype kMaxHeaderBytes = 16 * 1024;
const char* const kBuffer = "wendrelRequest";

QByteArray StatusLine(int status) {
    switch (status) {
    case 200: return "200 OK";
    case 400: return "400 Bad Request";
    case 405: return "405 Method Not Allowed";
    case 411: return "411 Length Required";
    default: return "413 Content Too Large";
    }
}

}  // namespace

RpcServer::RpcServer(RpcHandler handler, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &RpcServer::Accept);
}

RpcServer::~RpcServer() = default;

bool RpcServer::Listen() { return server_->isListening() || server_->listen(QHostAddress::LocalHost, 0); }

void RpcServer::Close() { server_->close(); }

QString RpcServer::Url() const {
    if (!server_->isListening()) return {};
    return QString("http://127.0.0.1:%1/xmlrpc").arg(server_->serverPort());
}

void RpcServer::Accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        // A caller that never finishes its request is cut off.
        QTimer::singleShot(kRpcRequestMilliseconds, socket, [socket] { socket->abort(); });
    }
}

void RpcServer::Read(QTcpSocket* socket) {
    QByteArray request = socket->property(kBuffer).toByteArray() + socket->readAll();
    socket->setProperty(kBuffer, request);
    const qsizetype headerEnd = request.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        if (request.size() > kMaxHeaderBytes) Answer(socket, 413, {});
        return;
    }
    const QList<QByteArray> lines = request.left(headerEnd).split('\n');
    if (!lines.front().startsWith("POST ")) return Answer(socket, 405, {});
    qint64 length = -1;
    for (const QByteArray& line : lines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length") {
            bool ok = false;
            length = line.mid(colon + 1).trimmed().toLongLong(&ok);
            if (!ok || length < 0) return Answer(socket, 400, {});
        }
    }
    if (length < 0) return Answer(socket, 411, {});
    if (length > kMaxRpcRequestBytes) return Answer(socket, 413, {});
    const qsizetype bodyStart = headerEnd + 4;
    if (request.size() - bodyStart < length) return;
    const QByteArray body = request.mid(bodyStart, length);
    socket->setProperty(kBuffer, QByteArray());
    const RpcParsed<RpcCall> call = ParseRpcCall(std::string_view(body.constData(), static_cast<size_t>(body.size())));
    if (!call.error.empty()) return Answer(socket, 200, RpcFaultText(1, "Malformed XML-RPC call: " + call.error));
    const RpcResponse response = handler_(call.result);
    Answer(socket, 200, response.fault ? RpcFaultText(response.faultCode, response.faultText)
                                       : RpcResponseText(response.value));
}

void RpcServer::Answer(QTcpSocket* socket, int status, const std::string& body) {
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    QByteArray reply = "HTTP/1.1 " + StatusLine(status) + "\r\nContent-Type: text/xml\r\nContent-Length: " +
                       QByteArray::number(static_cast<qint64>(body.size())) + "\r\nConnection: close\r\n\r\n";
    reply.append(body.data(), static_cast<qsizetype>(body.size()));
    socket->write(reply);
    socket->disconnectFromHost();
}

}  // namespace wendrel
