#include "fuzztarget.h"

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
    QTest::addColumn<int>("reader");
    QTest::addColumn<QString>("path");

    const QList<QPair<FuzzTarget::Reader, QString>> readers{{FuzzTarget::Contents, QStringLiteral("contents")},
                                                            {FuzzTarget::Favorites, QStringLiteral("favorites")},
                                                            {FuzzTarget::Markbook, QStringLiteral("markbook")}};
    for (const auto &[reader, name] : readers) {
        const QDir dir(QStringLiteral(FUZZ_CORPUS_DIR) + u'/' + name);
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        QVERIFY2(!files.isEmpty(), qPrintable(dir.path() + QStringLiteral(" holds no seeds")));
        for (const QString &file : files)
            QTest::addRow("%s/%s", qPrintable(name), qPrintable(file)) << int(reader) << dir.filePath(file);
    }
}

void TestFuzzReplay::corpus()
{
    QFETCH(int, reader);
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));

    const QString problem = FuzzTarget::run(FuzzTarget::Reader(reader), file.readAll());

    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "tst_fuzzreplay.moc"
