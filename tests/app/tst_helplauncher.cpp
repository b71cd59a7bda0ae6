#include "environment.h"
#include "helplauncher.h"

#include <QTemporaryDir>
#include <QTest>

// A stand-in viewer on the search path: it writes its process id and arguments to a log
// and stays until the test lets it go.
static const char FakeViewer[] = R"(#!/bin/sh
echo "$$ $*" >> "$(dirname "$0")/started.log"
while [ ! -e "$(dirname "$0")/quit" ]; do /bin/sleep 0.05; done
)";

class TestHelpLauncher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void oneViewerAtATimeKeyedOnItsProcess();
    void missingViewerOrHelpFileIsSaid();

private:
    QStringList started() const;
    QTemporaryDir m_installation;
    QTemporaryDir m_bin;
    QByteArray m_path = qgetenv("PATH");
};

void TestHelpLauncher::initTestCase()
{
    QFile viewer(m_bin.filePath("xchm"));
    QVERIFY(viewer.open(QIODevice::WriteOnly));
    viewer.write(FakeViewer);
    viewer.close();
    viewer.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile help(m_installation.filePath("help.chm"));
    QVERIFY(help.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(m_installation.path()));
}

void TestHelpLauncher::cleanupTestCase()
{
    QFile(m_bin.filePath("quit")).open(QIODevice::WriteOnly);
    QTRY_VERIFY(!HelpLauncher::isRunning(helpProcessId));
}

QStringList TestHelpLauncher::started() const
{
    QFile log(m_bin.filePath("started.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

void TestHelpLauncher::oneViewerAtATimeKeyedOnItsProcess()
{
    qputenv("PATH", m_bin.path().toLocal8Bit() + ':' + m_path);
    QString error;
    QVERIFY(HelpLauncher::show(&error));
    QVERIFY(HelpLauncher::show(&error));
    QTRY_COMPARE(started().size(), 1);
    const qint64 first = helpProcessId;
    QCOMPARE(started().first(), QStringLiteral("%1 help.chm").arg(first));
    QVERIFY(HelpLauncher::isRunning(first));
    QVERIFY(HelpLauncher::show(&error));
    QTest::qWait(300);
    QCOMPARE(started().size(), 1);

    // The pupil closes the viewer; the next press opens a new one.
    QFile quit(m_bin.filePath("quit"));
    QVERIFY(quit.open(QIODevice::WriteOnly));
    QTRY_VERIFY(!HelpLauncher::isRunning(first));
    QVERIFY(quit.remove());
    QVERIFY(HelpLauncher::show(&error));
    QTRY_COMPARE(started().size(), 2);
    QVERIFY(helpProcessId != first);
    QCOMPARE(started().last(), QStringLiteral("%1 help.chm").arg(helpProcessId));
}

void TestHelpLauncher::missingViewerOrHelpFileIsSaid()
{
    const qint64 running = helpProcessId;
    helpProcessId = 0;
    QTemporaryDir empty;
    qputenv("PATH", empty.path().toLocal8Bit());
    QString error;
    QVERIFY(!HelpLauncher::show(&error));
    QVERIFY2(error.contains(QStringLiteral("xchm")), qPrintable(error));

    qputenv("PATH", m_bin.path().toLocal8Bit() + ':' + m_path);
    QVERIFY(QFile::rename(m_installation.filePath("help.chm"), m_installation.filePath("other.chm")));
    QVERIFY(!HelpLauncher::show(&error));
    QVERIFY2(error.contains(QStringLiteral("help.chm")), qPrintable(error));
    QVERIFY(QFile::rename(m_installation.filePath("other.chm"), m_installation.filePath("help.chm")));
    helpProcessId = running;
}

QTEST_MAIN(TestHelpLauncher)
#include "tst_helplauncher.moc"
