#ifndef FLASHWASMSERVER_H
#define FLASHWASMSERVER_H

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// Serves Ruffle's wasm files to the player pages over HTTP on 127.0.0.1. Qt 6.4 gives a page
// no fetch() on our own scheme, so the page read the 14 MB whole before compiling; over HTTP
// the compiler works on the file as it arrives. Nothing else is served: the wasm files of
// one folder, under a path that holds a random token, GET only. A page that cannot reach the
// server reads the wasm through the scheme as before.
class FlashWasmServer : public QObject
{
    Q_OBJECT
public:
    explicit FlashWasmServer(const QString &ruffleFolder, QObject *parent = nullptr);

    // Where the files are, ending in '/'; empty when the server could not listen.
    QUrl baseUrl() const;
    // Whether `url` names one of the files served.
    bool serves(const QUrl &url) const;

private:
    void acceptConnections();
    void readRequest(QTcpSocket *socket, QByteArray *request);
    void answer(QTcpSocket *socket, const QByteArray &requestLine);
    void sendFile(QTcpSocket *socket, const QString &name);

    QTcpServer m_server;
    QString m_folder;
    QStringList m_names;
    QByteArray m_token;
};

#endif
