// Without Ruffle's files the player is an empty widget: every call does nothing, and the
// debug output says once what is missing.

#include "flashplayer.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QStringList warnings;

void collect(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        warnings.append(message);
}
} // namespace

class TestFlashMissing : public QObject
{
    Q_OBJECT
private slots:
    void playersStayEmptyWithOneWarning();
};

void TestFlashMissing::playersStayEmptyWithOneWarning()
{
    QTemporaryDir installation;
    QVERIFY(QDir::setCurrent(installation.path()));
    QFile movie(installation.filePath(QStringLiteral("movie.swf")));
    QVERIFY(movie.open(QIODevice::WriteOnly));
    movie.write("FWS");
    movie.close();

    const QtMessageHandler previous = qInstallMessageHandler(collect);
    {
        FlashPlayer first;
        FlashPlayer second;
        QSignalSpy calls(&first, &FlashPlayer::FlashCall);
        for (FlashPlayer *player : {&first, &second}) {
            player->SetFlashVars(QStringLiteral("a=1"));
            player->SetMovie(movie.fileName());
            player->SetBGColor(QStringLiteral("#ffffff"));
            player->CallFunction(QStringLiteral("<invoke name=\"f\" returntype=\"xml\"><arguments/></invoke>"));
            QVERIFY(!player->isPlaying());
            QVERIFY(player->children().size() <= 1); // its layout, and no web view
        }
        QTest::qWait(100);
        QVERIFY(calls.isEmpty());
    }
    qInstallMessageHandler(previous);

    QCOMPARE(warnings.size(), 1);
    QVERIFY2(warnings.first().contains(QStringLiteral("ruffle.js")), qPrintable(warnings.first()));
}

QTEST_MAIN(TestFlashMissing)
#include "tst_flashmissing.moc"
