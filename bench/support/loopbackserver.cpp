#include "loopbackserver.h"

#include "flashfiles.h"

#include <QFile>
#include <QTcpSocket>
#include <QUrl>

LoopbackServer::LoopbackServer(const QString &root)
    : m_root(root)
{
    listen(QHostAddress::LocalHost);
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QString LoopbackServer::url(const QString &path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(serverPort()).arg(path);
}

void LoopbackServer::answer(QTcpSocket *socket)
{
    const QByteArray request = socket->readAll();
    const QString path = QUrl::fromPercentEncoding(request.split(' ').value(1)).section(QLatin1Char('?'), 0, 0);
    QByteArray body;
    if (path == QLatin1String("/bare.html")) {
        body = barePage;
    } else {
        QFile file(m_root + path);
        if (path.contains(QLatin1String("..")) || !file.open(QIODevice::ReadOnly)) {
            socket->write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
            socket->disconnectFromHost();
            return;
        }
        body = file.readAll();
    }
    socket->write("HTTP/1.1 200 OK\r\nContent-Type: " + FlashFiles::mimeType(path).toLatin1() + "\r\nContent-Length: "
                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n");
    socket->write(body);
    socket->disconnectFromHost();
}
