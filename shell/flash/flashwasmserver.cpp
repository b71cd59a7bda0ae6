#include "flashwasmserver.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

constexpr qsizetype requestLimit = 8192;   // request line and headers; a page's are under 1 KB
constexpr int connectionLimit = 16;
// A client that stops reading (or never asks) does not keep its socket and file for ever;
// 14 MB take well under a second here.
constexpr int connectionLifetimeMs = 30000;
constexpr qint64 chunkSize = 256 * 1024;

// The pages are of our own scheme, so every answer is cross-origin. Without no-store the
// profile's memory cache would keep a copy of each file.
const QByteArray commonHeaders = "Access-Control-Allow-Origin: *\r\n"
                                 "Cache-Control: no-store\r\n"
                                 "Connection: close\r\n";

void replyEmpty(QTcpSocket *socket, const QByteArray &status, const QByteArray &headers = {})
{
    socket->write("HTTP/1.1 " + status + "\r\nContent-Length: 0\r\n" + commonHeaders + headers + "\r\n");
    socket->disconnectFromHost();
}

} // namespace

FlashWasmServer::FlashWasmServer(const QString &ruffleFolder, QObject *parent)
    : QObject(parent),
      m_folder(ruffleFolder),
      m_names(QDir(ruffleFolder).entryList({QStringLiteral("*.wasm")}, QDir::Files))
{
    quint32 words[4];
    QRandomGenerator::system()->fillRange(words);
    m_token = QByteArray(reinterpret_cast<const char *>(words), sizeof words).toHex();
    connect(&m_server, &QTcpServer::newConnection, this, &FlashWasmServer::acceptConnections);
    if (!m_names.isEmpty() && !m_server.listen(QHostAddress::LocalHost))
        qDebug().noquote() << "Flash player: Ruffle's wasm is read through the scheme, no loopback server:"
                           << m_server.errorString();
}

QUrl FlashWasmServer::baseUrl() const
{
    if (!m_server.isListening())
        return {};
    return QUrl(QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_server.serverPort()).arg(QString::fromLatin1(m_token)));
}

bool FlashWasmServer::serves(const QUrl &url) const
{
    const QUrl base = baseUrl();
    if (base.isEmpty() || url.scheme() != base.scheme() || url.host() != base.host() || url.port() != base.port()
        || url.hasQuery())
        return false;
    const QString path = url.path(QUrl::FullyEncoded);
    return path.startsWith(base.path()) && m_names.contains(path.mid(base.path().size()));
}

void FlashWasmServer::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (m_server.findChildren<QTcpSocket *>().size() > connectionLimit) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        QTimer::singleShot(connectionLifetimeMs, socket, &QTcpSocket::abort);
        auto request = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, request] { readRequest(socket, request.get()); });
    }
}

void FlashWasmServer::readRequest(QTcpSocket *socket, QByteArray *request)
{
    request->append(socket->readAll());
    const qsizetype headersEnd = request->indexOf("\r\n\r\n");
    if (headersEnd < 0) {
        if (request->size() > requestLimit)
            socket->abort();
        return;
    }
    // One request per connection: whatever else comes is read and dropped.
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    connect(socket, &QTcpSocket::readyRead, socket, [socket] { socket->readAll(); });
    answer(socket, request->left(request->indexOf("\r\n")));
}

void FlashWasmServer::answer(QTcpSocket *socket, const QByteArray &requestLine)
{
    const QList<QByteArray> parts = requestLine.split(' ');
    if (parts.size() != 3 || !parts.at(2).startsWith("HTTP/1.")) {
        replyEmpty(socket, "400 Bad Request");
        return;
    }
    const QByteArray &method = parts.at(0);
    if (method == "OPTIONS") {
        // A preflight: Chromium may ask before a page of another origin reads from loopback.
        replyEmpty(socket, "204 No Content",
                   "Access-Control-Allow-Methods: GET\r\nAccess-Control-Allow-Private-Network: true\r\n");
        return;
    }
    const QByteArray prefix = '/' + m_token + '/';
    const QByteArray &target = parts.at(1);
    const QString name = target.startsWith(prefix) ? QString::fromLatin1(target.mid(prefix.size())) : QString();
    if (method != "GET" || !m_names.contains(name)) {
        replyEmpty(socket, "404 Not Found");
        return;
    }
    sendFile(socket, name);
}

void FlashWasmServer::sendFile(QTcpSocket *socket, const QString &name)
{
    auto *file = new QFile(QDir(m_folder).filePath(name), socket);
    if (!file->open(QIODevice::ReadOnly)) {
        replyEmpty(socket, "404 Not Found");
        return;
    }
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/wasm\r\nContent-Length: " + QByteArray::number(file->size())
                  + "\r\n" + commonHeaders + "\r\n");
    // A chunk at a time as the socket drains: the shell never holds the whole file.
    auto sendMore = [socket, file] {
        while (socket->bytesToWrite() < chunkSize) {
            const QByteArray chunk = file->read(chunkSize);
            if (chunk.isEmpty()) {
                QObject::disconnect(socket, &QTcpSocket::bytesWritten, file, nullptr);
                if (file->atEnd())
                    socket->disconnectFromHost();
                else
                    socket->abort();   // a read error: the page sees a short file and reads it elsewhere
                return;
            }
            socket->write(chunk);
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, file, sendMore);
    sendMore();
}
