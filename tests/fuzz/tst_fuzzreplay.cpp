#include "descriptiontarget.h"
#include "flashrequesttarget.h"
#include "fuzztarget.h"
#include "swftarget.h"

#include <QDir>
#include <QtTest>

// Replays the fuzzers' seed corpus (and any crash input added to it) on every test run.
class TestFuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void corpus_data();
    void corpus();
};

void TestFuzzReplay::corpus_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("path");

    for (const QString &target : {QStringLiteral("contents"), QStringLiteral("favorites"), QStringLiteral("markbook"),
                                  QStringLiteral("flashrequest"), QStringLiteral("description"),
                                  QStringLiteral("swf")}) {
        const QDir dir(QStringLiteral(FUZZ_CORPUS_DIR) + u'/' + target);
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(dir.path() + QStringLiteral(" holds no seeds")));
        for (const QString &file : files)
            QTest::addRow("%s/%s", qPrintable(target), qPrintable(file)) << target << dir.filePath(file);
    }
}

void TestFuzzReplay::corpus()
{
    QFETCH(QString, target);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();

    const QString problem = target == QLatin1String("flashrequest") ? FlashRequestTarget::run(input)
                          : target == QLatin1String("description")  ? DescriptionTarget::run(input)
                          : target == QLatin1String("swf")          ? SwfTarget::run(input)
                          : target == QLatin1String("contents")     ? FuzzTarget::run(FuzzTarget::Contents, input)
                          : target == QLatin1String("favorites")    ? FuzzTarget::run(FuzzTarget::Favorites, input)
                                                                    : FuzzTarget::run(FuzzTarget::Markbook, input);

    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
