#include "singleinstance.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

static const QByteArray kForward = QByteArrayLiteral("forward\n");

// The runtime folder belongs to the user alone (mode 0700), so the user needs no part in the key.
static QString instancePath(const QString &dataFolder)
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString canonical = QFileInfo(dataFolder).canonicalFilePath();
    const QByteArray identity = (canonical.isEmpty() ? QDir::cleanPath(dataFolder) : canonical).toUtf8();
    const QString key = QString::fromLatin1(QCryptographicHash::hash(identity, QCryptographicHash::Sha1).toHex().left(16));
    return QDir(runtime).filePath(QStringLiteral("pellora-") + key);
}

QString SingleInstance::lockFileName(const QString &dataFolder)
{
    const QString path = instancePath(dataFolder);
    return path.isEmpty() ? QString() : path + QStringLiteral(".lock");
}

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent)
    : QObject(parent)
    , m_serverName(instancePath(dataFolder))
    , m_lock(lockFileName(dataFolder))
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
            m_answered = askRunningToComeForward();
            return false;
        }
        // No lock file can be made (no runtime folder): better two shells than none.
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
