// A minimal HTTP/1.1 file server on 127.0.0.1 for the bare comparison page: GET only, one
// request per connection, refuses "..".
#ifndef LOOPBACKSERVER_H
#define LOOPBACKSERVER_H

#include <QTcpServer>

class QTcpSocket;

class LoopbackServer : public QTcpServer
{
public:
    explicit LoopbackServer(const QString &root);
    QString url(const QString &path) const;
    QByteArray barePage;   // served as /bare.html

private:
    void answer(QTcpSocket *socket);
    QString m_root;
};

#endif
