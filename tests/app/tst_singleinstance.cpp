// A second start of the shell in the same installation hands over to the running one and ends.

#include "singleinstance.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void secondStartHandsOverToTheFirst();
    void anotherInstallationRunsBesideIt();
};

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
    QTemporaryDir installation;
    {
        SingleInstance running(installation.path());
        QVERIFY(running.claim());
        QSignalSpy forwarded(&running, &SingleInstance::forwardRequested);
        // Without the hand-over the real shell would open its windows and never end.
        QCOMPARE(startShell(installation.path(), forwarded), 0);
        QCOMPARE(forwarded.count(), 1);

        SingleInstance second(installation.path());
        QVERIFY(!second.claim());
        QTRY_COMPARE(forwarded.count(), 2);
    }
    // Once the first has ended, the next start runs.
    SingleInstance next(installation.path());
    QVERIFY(next.claim());
}

void TestSingleInstance::anotherInstallationRunsBesideIt()
{
    QTemporaryDir one, two;
    SingleInstance first(one.path());
    SingleInstance second(two.path());
    QVERIFY(first.claim());
    QVERIFY(second.claim());
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
