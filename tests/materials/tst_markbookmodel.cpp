#include "answerboxes.h"
#include "environment.h"
#include "markbookmodel.h"
#include "treeitem.h"

#include <QAbstractItemModelTester>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

static const char kMarkbook[] = R"(<markbook>
    <chapter caption="Звуки">
        <object caption="Тест: гласные" mark="-1.0" id="t1"></object>
        <object caption="Тест: согласные" mark="много" id="t2">3/5</object>
    </chapter>
</markbook>
)";

class TestMarkbookModel : public QObject
{
    Q_OBJECT

private slots:
    void bandsLeaveNoGaps_data();
    void bandsLeaveNoGaps();
    void resultIsOnDiskAtOnceAndViewsHearOfIt();
    void failedWriteIsToldOnceAndKeptForTheNext();
    void everyAttemptSurvivesAKill();
    void recordThenDie(); // the child process of the one above
};

void TestMarkbookModel::bandsLeaveNoGaps_data()
{
    QTest::addColumn<QString>("mark");
    QTest::addColumn<int>("band");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("not taken") << "-1.0" << int(MarkbookModel::NotTaken) << "Не пройдено";
    QTest::newRow("nothing right") << "0" << int(MarkbookModel::NeedsWork) << "Нужно поработать ещё!";
    QTest::newRow("11 of 17") << "0.647" << int(MarkbookModel::NeedsWork) << "0.647";
    QTest::newRow("0.65") << "0.65" << int(MarkbookModel::Good) << "0.65";
    QTest::newRow("0.8") << "0.8" << int(MarkbookModel::Good) << "Хорошо!";
    QTest::newRow("16 of 17") << "0.941" << int(MarkbookModel::Good) << "0.941";
    QTest::newRow("0.95") << "0.95" << int(MarkbookModel::Excellent) << "0.95";
    QTest::newRow("all right") << "1" << int(MarkbookModel::Excellent) << "Молодец! Всё правильно!";
    QTest::newRow("negative") << "-0.5" << int(MarkbookModel::NoBand) << "-0.5";
    QTest::newRow("not a number") << "много" << int(MarkbookModel::NeedsWork) << "Нужно поработать ещё!";
    QTest::newRow("NaN") << "NaN" << int(MarkbookModel::NeedsWork) << "Нужно поработать ещё!";
    QTest::newRow("infinity") << "inf" << int(MarkbookModel::NeedsWork) << "Нужно поработать ещё!";
}

void TestMarkbookModel::bandsLeaveNoGaps()
{
    QFETCH(QString, mark);
    QFETCH(int, band);
    QFETCH(QString, toolTip);
    QCOMPARE(int(MarkbookModel::band(mark)), band);
    QCOMPARE(MarkbookModel::toolTip(mark), toolTip);
    QCOMPARE(MarkbookModel::bandIcon(MarkbookModel::Band(band)).isEmpty(), band == MarkbookModel::NoBand);
}

void TestMarkbookModel::resultIsOnDiskAtOnceAndViewsHearOfIt()
{
    QTemporaryDir pupil;
    pupilDir = QDir(pupil.path());
    QFile file(pupil.filePath("markbook.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kMarkbook);
    file.close();

    MarkbookModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.saveTestResult("t1", "0.8", "4/5 \u0001 <b>"));
    QCOMPARE(changed.count(), 1);
    const QString toolTip = model.index(0, 1, model.index(0, 0)).data(Qt::ToolTipRole).toString();
    QVERIFY2(toolTip.startsWith("Хорошо!\nПопыток: 1, последняя "), qPrintable(toolTip));
    QVERIFY(!model.saveTestResult("no-such-test", "1", ""));

    // Read back from the disk while the first model still lives: the result is there, and the
    // other test's stored text is kept as it was, though it counts as no mark.
    MarkbookModel reread;
    const TreeItem *t1 = reread.findObject("t1", reread.rootItem());
    QVERIFY(t1);
    QCOMPARE(t1->data(1).toString(), QString("0.8"));
    QCOMPARE(t1->data(4).toString(), QString("4/5  <b>"));
    const TreeItem *t2 = reread.findObject("t2", reread.rootItem());
    QCOMPARE(t2->data(1).toString(), QString("много"));
    QCOMPARE(t2->data(4).toString(), QString("3/5"));
    QVERIFY(!reread.findObject("Звуки", reread.rootItem())); // chapters have no id
}

void TestMarkbookModel::failedWriteIsToldOnceAndKeptForTheNext()
{
    QTemporaryDir home;
    const QString folder = home.filePath("Петя");
    QVERIFY(QDir().mkpath(folder));
    pupilDir = QDir(folder);
    QFile file(pupilDir.filePath("markbook.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kMarkbook);
    file.close();
    ensureMarkbookModel();

    // The pupil's folder goes away (a network share, a pulled stick) while two tests are taken.
    QVERIFY(QDir(home.path()).rename("Петя", "away"));
    QVERIFY(markbookModel->saveTestResult("t1", "0.8", "4/5"));
    QVERIFY(markbookModel->saveTestResult("t2", "1", "5/5"));
    const QStringList boxes = answerPendingBoxes();
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].contains(QDir::toNativeSeparators(folder)), qPrintable(boxes[0]));

    // Back again: the next write carries both results.
    QVERIFY(QDir(home.path()).rename("away", "Петя"));
    QVERIFY(markbookModel->save());
    MarkbookModel reread;
    QCOMPARE(reread.findObject("t1", reread.rootItem())->data(1).toString(), QString("0.8"));
    QCOMPARE(reread.findObject("t2", reread.rootItem())->data(4).toString(), QString("5/5"));
    const QList<AttemptLog::Attempt> attempts = AttemptLog::read(pupilDir);
    QCOMPARE(attempts.size(), 2);
    QCOMPARE(attempts.at(1).history, QString("5/5"));
}

// Every result is on disk, whole, the moment it is recorded: a pupil's computer switched
// off right after a retake loses neither the last mark nor the earlier attempts.
void TestMarkbookModel::everyAttemptSurvivesAKill()
{
    QTemporaryDir pupil;
    QFile file(pupil.filePath("markbook.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kMarkbook);
    file.close();
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PELLORA_RECORD_INTO", pupil.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"recordThenDie"});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    pupilDir = QDir(pupil.path());
    const QList<AttemptLog::Attempt> attempts = AttemptLog::read(pupilDir);
    QCOMPARE(attempts.size(), 3);
    QCOMPARE(QStringList({attempts[0].mark, attempts[1].mark, attempts[2].mark}), QStringList({"0.75", "0", "1"}));
    MarkbookModel reread;
    QCOMPARE(reread.findObject("t1", reread.rootItem())->data(1).toString(), QString("1"));
}

void TestMarkbookModel::recordThenDie()
{
    const QString folder = qEnvironmentVariable("PELLORA_RECORD_INTO");
    if (folder.isEmpty())
        QSKIP("run by everyAttemptSurvivesAKill");
    pupilDir = QDir(folder);
    MarkbookModel model;
    model.saveTestResult("t1", "0.75", "3/4");
    model.saveTestResult("t1", "0", "0/4");
    model.saveTestResult("t1", "1", "4/4");
    ::kill(::getpid(), SIGKILL);
}

QTEST_MAIN(TestMarkbookModel)
#include "tst_markbookmodel.moc"
