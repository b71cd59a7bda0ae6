// Files that movies load in Ruffle: by paths relative to the movie, by the absolute paths
// the material viewer hands them ("\" separators), and nothing outside the installation.

#include "flashplayer.h"
#include "testmovies.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList debugLines;

void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg)
        debugLines.append(message);
}

QString loaded(const QString &path, const QString &what)
{
    return QStringLiteral("<invoke name=\"loaded\" returntype=\"xml\"><arguments><string>%1</string>%2</arguments></invoke>")
        .arg(path.toHtmlEscaped(), what);
}

QString text(const QString &content)
{
    return QStringLiteral("<string>%1</string>").arg(content);
}

const QString nothing = QStringLiteral("<undefined/>");

QString backslashed(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

} // namespace

class TestFlashLoads : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();

    void filesBesideTheMovieAndByFullPath();
    void filesOutsideAreRefusedWithOneLineEach();
    void movieLoadsAMovieBesideIt();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QStringList callsDuring(const QString &movie, int expected, const QString &name);

    QScopedPointer<QTemporaryDir> m_folder;
    QScopedPointer<FlashPlayer> m_player;
};

void TestFlashLoads::initTestCase()
{
    // Movies and their files lie in the installation folder, the current directory.
    QVERIFY(QDir::setCurrent(QStringLiteral(INSTALLATION_FOLDER)));
    m_folder.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("flashtest-XXXXXX"))));
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("con_01/sub")));
    m_player.reset(new FlashPlayer);
    m_player->setFixedSize(400, 300);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.data()));
    QVERIFY(m_player->isPlaying());
}

void TestFlashLoads::cleanupTestCase()
{
    m_player.reset();
    qInstallMessageHandler(nullptr);
}

QString TestFlashLoads::write(const QString &name, const QByteArray &bytes)
{
    QFile file(m_folder->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return file.fileName();
}

// The calls named `name` the movie makes until `expected` of them have come.
QStringList TestFlashLoads::callsDuring(const QString &movie, int expected, const QString &name)
{
    QSignalSpy calls(m_player.data(), &FlashPlayer::FlashCall);
    m_player->SetMovie(movie);
    QStringList named;
    const QString head = QStringLiteral("<invoke name=\"%1\"").arg(name);
    QElapsedTimer clock;
    clock.start();
    while (named.size() < expected && clock.elapsed() < 20000) {
        QTest::qWait(50);
        named.clear();
        for (const QList<QVariant> &call : std::as_const(calls)) {
            if (call.at(0).toString().startsWith(head))
                named.append(call.at(0).toString());
        }
    }
    QTest::qWait(300);   // nothing more may come
    return named;
}

void TestFlashLoads::filesBesideTheMovieAndByFullPath()
{
    const QString questions = write(QStringLiteral("con_01/questions.xml"), "<q>вопрос 1</q>");
    write(QStringLiteral("con_01/sub/more.xml"), "<q>ещё</q>");
    const QStringList paths = {QStringLiteral("questions.xml"), QStringLiteral("sub\\more.xml"),
                               QStringLiteral("sub/../questions.xml"), backslashed(questions), questions};
    const QString movie = write(QStringLiteral("con_01/loader.swf"), TestMovies::fileLoader(paths, QStringLiteral("XML")));

    QStringList calls = callsDuring(movie, paths.size(), QStringLiteral("loaded"));
    calls.sort();
    QStringList expected = {loaded(paths[0], text(QStringLiteral("&lt;q&gt;вопрос 1&lt;/q&gt;"))),
                            loaded(paths[1], text(QStringLiteral("&lt;q&gt;ещё&lt;/q&gt;"))),
                            loaded(paths[2], text(QStringLiteral("&lt;q&gt;вопрос 1&lt;/q&gt;"))),
                            loaded(paths[3], text(QStringLiteral("&lt;q&gt;вопрос 1&lt;/q&gt;"))),
                            loaded(paths[4], text(QStringLiteral("&lt;q&gt;вопрос 1&lt;/q&gt;")))};
    expected.sort();
    QCOMPARE(calls, expected);
}

void TestFlashLoads::filesOutsideAreRefusedWithOneLineEach()
{
    QTemporaryDir outside;
    const QString secret = outside.filePath(QStringLiteral("secret.txt"));
    QFile file(secret);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("secret");
    file.close();
    QVERIFY(QFile::link(secret, m_folder->filePath(QStringLiteral("con_01/link.txt"))));
    const QString missing = m_folder->filePath(QStringLiteral("con_01/missing.xml"));
    const QStringList paths = {backslashed(secret), secret, QStringLiteral("link.txt"),
                               QStringLiteral("file://") + secret, QStringLiteral("C:\\Windows\\win.ini"),
                               QStringLiteral("http://127.0.0.1:9/questions.xml"), QStringLiteral("missing.xml")};
    const QString movie = write(QStringLiteral("con_01/outside.swf"), TestMovies::fileLoader(paths));

    debugLines.clear();
    qInstallMessageHandler(collect);
    QStringList calls = callsDuring(movie, paths.size(), QStringLiteral("loaded"));
    qInstallMessageHandler(nullptr);

    calls.sort();
    QStringList expected;
    for (const QString &path : paths)
        expected.append(loaded(path, nothing));
    expected.sort();
    QCOMPARE(calls, expected);
    // The same file asked for three ways is reported once; each line names the movie.
    const QString line = QStringLiteral("Flash player: %1 warning: cannot load %2 - %3");
    const QString out = QStringLiteral("it is outside the installation folder");
    QStringList expectedLines = {line.arg(movie, secret, out),
                                 line.arg(movie, m_folder->filePath(QStringLiteral("con_01/link.txt")), out),
                                 line.arg(movie, QStringLiteral("C:/Windows/win.ini"), out),
                                 line.arg(movie, QStringLiteral("http://127.0.0.1:9/questions.xml"),
                                          QStringLiteral("only files of the installation folder can be loaded")),
                                 line.arg(movie, missing, QStringLiteral("no such file"))};
    QStringList lines = debugLines.filter(QStringLiteral("Flash player"));
    lines.sort();
    expectedLines.sort();
    QCOMPARE(lines, expectedLines);
}

void TestFlashLoads::movieLoadsAMovieBesideIt()
{
    const QString child = write(QStringLiteral("con_01/child.swf"), TestMovies::whoAmI());
    const QString movie = write(QStringLiteral("con_01/parent.swf"), TestMovies::movieLoader(QStringLiteral("child.swf")));
    const QStringList calls = callsDuring(movie, 1, QStringLiteral("child"));
    const QString url = QStringLiteral("pellora://app/%1").arg(QDir::current().relativeFilePath(child));
    QCOMPARE(calls, QStringList{QStringLiteral("<invoke name=\"child\" returntype=\"xml\"><arguments>"
                                               "<string>%1</string></arguments></invoke>").arg(url)});
}

QTEST_MAIN(TestFlashLoads)
#include "tst_flashloads.moc"
