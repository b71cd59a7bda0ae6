#include "singleinstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

static const QByteArray kForward = QByteArrayLiteral("forward\n");

static QString instanceKey(const QString &installation)
{
    // The home folder stands for the user: both share the temporary folder with other users.
    const QString canonical = QFileInfo(installation).canonicalFilePath();
    const QByteArray identity = (QDir::homePath() + QLatin1Char('\n') + (canonical.isEmpty() ? installation : canonical)).toUtf8();
    return QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(16));
}

SingleInstance::SingleInstance(const QString &installation, QObject *parent)
    : QObject(parent)
    , m_serverName(QStringLiteral("pellora-") + instanceKey(installation))
    , m_lock(QDir::temp().filePath(m_serverName + QStringLiteral(".lock")))
{
    // A lock left by a shell that crashed is taken over at once (its process is gone).
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    if (m_server)
        m_server->close();
}

bool SingleInstance::claim()
{
    if (!m_lock.tryLock(0)) {
        if (m_lock.error() == QLockFile::LockFailedError) {
            askRunningToComeForward();
            return false;
        }
        // No lock file can be made (a read-only temporary folder): better two shells than none.
        qWarning().noquote() << "cannot make the lock file" << m_lock.error();
        return true;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_serverName); // a socket left by a crashed shell
    if (!m_server->listen(m_serverName))
        qWarning().noquote() << "a second start cannot reach this shell:" << m_server->errorString();
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kForward.trimmed()))
                    emit forwardRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

bool SingleInstance::askRunningToComeForward()
{
    // The running shell may have taken the lock a moment ago and not be listening yet.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000) {
        QLocalSocket socket;
        socket.connectToServer(m_serverName);
        if (socket.waitForConnected(500)) {
            socket.write(kForward);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.waitForDisconnected(1000);
            return sent;
        }
        QThread::msleep(100);
    }
    qWarning().noquote() << "the shell already runs, but does not answer";
    return false;
}

void SingleInstance::bringForward(QWidget *mainWindow)
{
    for (QWidget *window : {mainWindow, QApplication::activeModalWidget()}) {
        if (!window)
            continue;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
    }
}
