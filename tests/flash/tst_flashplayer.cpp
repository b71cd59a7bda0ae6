#include "flashplayer.h"
#include "testmovies.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestFlashPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void smoke();

private:
    QString write(const QString &name, const QByteArray &movie);
    QScopedPointer<QTemporaryDir> m_movies;
};

void TestFlashPlayer::initTestCase()
{
    QVERIFY(QDir::setCurrent(QStringLiteral(INSTALLATION_FOLDER)));
    m_movies.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("flashtest-XXXXXX"))));
    QVERIFY(m_movies->isValid());
}

QString TestFlashPlayer::write(const QString &name, const QByteArray &movie)
{
    QFile file(m_movies->filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(movie);
    return file.fileName();
}

void TestFlashPlayer::smoke()
{
    FlashPlayer player;
    player.resize(400, 300);
    player.show();
    QSignalSpy calls(&player, &FlashPlayer::FlashCall);
    QElapsedTimer t; t.start();
    player.SetFlashVars(QStringLiteral("a=%D0%9F%D1%80%D0%B8%D0%B2%D0%B5%D1%82&b=x%26y%3Dz&c=1+2"));
    player.SetMovie(write(QStringLiteral("echo.swf"), TestMovies::echo(3, QStringLiteral("no such name!"))));
    player.CallFunction(QStringLiteral("<invoke name=\"echo\" returntype=\"xml\"><arguments><string>hi</string></arguments></invoke>"));
    for (int i = 0; i < 100 && calls.size() < 4; ++i)
        calls.wait(200);
    qDebug() << t.elapsed();
    for (const auto &c : calls)
        qDebug() << c.at(0).toString();
    QCOMPARE(calls.size(), 4);
}

QTEST_MAIN(TestFlashPlayer)
#include "tst_flashplayer.moc"
