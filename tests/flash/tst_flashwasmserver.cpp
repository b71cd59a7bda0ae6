// The loopback server for Ruffle's wasm: it hands out exactly the wasm files of its folder,
// whole, and nothing else, whatever a local client sends.
#include "flashwasmserver.h"

#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Sends `request` and returns all the server sent until it closed the connection.
QByteArray exchange(const QUrl &base, const QByteArray &request)
{
    QTcpSocket socket;
    QByteArray received;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, quint16(base.port()));
    if (!socket.waitForConnected(5000))
        return "not connected";
    socket.write(request);
    if (!QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 10000))
        return "never closed";
    return received + socket.readAll();
}

QByteArray get(const QUrl &base, const QByteArray &path, const QByteArray &method = "GET")
{
    return exchange(base, method + ' ' + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nOrigin: pellora://player\r\n\r\n");
}

} // namespace

class TestFlashWasmServer : public QObject
{
    Q_OBJECT
private slots:
    void servesTheWasmFilesWholeAndNothingElse();
    void closesOnOverlongOrMalformedRequests();
};

void TestFlashWasmServer::servesTheWasmFilesWholeAndNothingElse()
{
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString folder = root.filePath(QStringLiteral("ruffle"));
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/sub")));
    // Several of the server's chunks, not a multiple of them.
    QByteArray wasm;
    for (int i = 0; wasm.size() < 700 * 1024 + 13; ++i)
        wasm += QByteArray::number(i * 7919) + ',';
    writeFile(folder + QStringLiteral("/core.wasm"), wasm);
    writeFile(folder + QStringLiteral("/notes.txt"), "not served");
    writeFile(folder + QStringLiteral("/sub/inner.wasm"), "not served");
    writeFile(root.filePath(QStringLiteral("outside.wasm")), "not served");

    FlashWasmServer server(folder);
    const QUrl base = server.baseUrl();
    QVERIFY(base.isValid() && base.host() == QLatin1String("127.0.0.1") && base.path().endsWith('/'));
    const QByteArray prefix = base.path().toLatin1();

    const QByteArray answer = get(base, prefix + "core.wasm");
    const qsizetype headersEnd = answer.indexOf("\r\n\r\n");
    QVERIFY2(answer.startsWith("HTTP/1.1 200 OK\r\n"), answer.left(200).constData());
    const QByteArray headers = answer.left(headersEnd).toLower();
    QVERIFY(headers.contains("content-type: application/wasm\r\n"));
    QVERIFY(headers.contains("access-control-allow-origin: *\r\n"));
    QVERIFY(headers.contains(QByteArray("content-length: " + QByteArray::number(wasm.size()) + "\r\n")));
    QCOMPARE(answer.mid(headersEnd + 4), wasm);
    QVERIFY(server.serves(base.resolved(QUrl(QStringLiteral("core.wasm")))));

    const QList<QByteArray> refused = {
        "/0123456789abcdef0123456789abcdef/core.wasm", prefix + "notes.txt", prefix + "sub/inner.wasm",
        prefix + "../outside.wasm", prefix + "%2e%2e/outside.wasm", prefix + "core.wasm?x=1", prefix,
    };
    for (const QByteArray &path : refused) {
        QVERIFY2(get(base, path).startsWith("HTTP/1.1 404 "), path.constData());
        QVERIFY2(!server.serves(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(base.port()) + QString::fromLatin1(path))),
                 path.constData());
    }
    QVERIFY(get(base, prefix + "core.wasm", "POST").startsWith("HTTP/1.1 404 "));
    QVERIFY(get(base, prefix + "core.wasm", "OPTIONS").startsWith("HTTP/1.1 204 "));
    QUrl otherHost = base.resolved(QUrl(QStringLiteral("core.wasm")));
    otherHost.setHost(QStringLiteral("localhost"));
    QVERIFY(!server.serves(otherHost));
}

void TestFlashWasmServer::closesOnOverlongOrMalformedRequests()
{
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("core.wasm")), "wasm");
    FlashWasmServer server(folder.path());
    const QUrl base = server.baseUrl();
    QVERIFY(!base.isEmpty());

    // Headers that never end: dropped without an answer once past any real request's size.
    QCOMPARE(exchange(base, "GET /" + QByteArray(9000, 'a')), QByteArray());
    QVERIFY(exchange(base, "NONSENSE\r\n\r\n").startsWith("HTTP/1.1 400 "));
    QVERIFY(exchange(base, "GET /x HTTP/9\r\n\r\n").startsWith("HTTP/1.1 400 "));
    // Still serving after all that.
    QVERIFY(get(base, base.path().toLatin1() + "core.wasm").endsWith("\r\n\r\nwasm"));
}

QTEST_GUILESS_MAIN(TestFlashWasmServer)
#include "tst_flashwasmserver.moc"
