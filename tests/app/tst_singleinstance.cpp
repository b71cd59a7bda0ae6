// A second start of the shell on the same course data hands over to the running one and ends.

#include "environment.h"
#include "singleinstance.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void secondStartHandsOverToTheFirst();
    void anotherCourseRunsBesideItAndNothingLivesInTheSharedTemp();

private:
    QTemporaryDir m_home;
    QTemporaryDir m_runtime;
    QTemporaryDir m_temp;
};

void TestSingleInstance::initTestCase()
{
    qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", m_runtime.path().toUtf8());
    qputenv("TMPDIR", m_temp.path().toUtf8());
    courseTitle = QStringLiteral("Веларин");
}

static int startShell(const QString &installation, QSignalSpy &forwarded)
{
    QProcess shell;
    shell.setWorkingDirectory(installation);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    shell.setProcessEnvironment(env);
    shell.start(QStringLiteral(SHELL_PROGRAM), {});
    // Our event loop must run meanwhile: the second start waits for our answer.
    if (!QTest::qWaitFor([&] { return shell.state() == QProcess::NotRunning; }, 15000)) {
        shell.kill();
        shell.waitForFinished();
        return -1;
    }
    forwarded.wait(100);
    return shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -2;
}

void TestSingleInstance::secondStartHandsOverToTheFirst()
{
    // The shell started from another installation of the same course works on the same
    // pupils' files: it must hand over too.
    QTemporaryDir installation, otherInstallation;
    {
        SingleInstance running(courseDataPath());
        QVERIFY(running.claim());
        QSignalSpy forwarded(&running, &SingleInstance::forwardRequested);
        // Without the hand-over the real shell would open its windows and never end.
        QCOMPARE(startShell(installation.path(), forwarded), 0);
        QCOMPARE(forwarded.count(), 1);
        QCOMPARE(startShell(otherInstallation.path(), forwarded), 0);
        QCOMPARE(forwarded.count(), 2);

        SingleInstance second(courseDataPath());
        QVERIFY(!second.claim());
        QVERIFY(second.runningAnswered());
        QTRY_COMPARE(forwarded.count(), 3);
    }
    // Once the first has ended, the next start runs.
    SingleInstance next(courseDataPath());
    QVERIFY(next.claim());
}

void TestSingleInstance::anotherCourseRunsBesideItAndNothingLivesInTheSharedTemp()
{
    SingleInstance first(m_home.filePath("one"));
    SingleInstance second(m_home.filePath("two"));
    QVERIFY(first.claim());
    QVERIFY(second.claim());
    // Another account could plant a lock or a socket in the shared temporary folder.
    QCOMPARE(QDir(m_temp.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), QStringList());
    QCOMPARE(QDir(m_runtime.path()).entryList({"pellora-*"}, QDir::AllEntries | QDir::System).size(), 4);
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
