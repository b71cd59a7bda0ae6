#include "rufflelimits.h"
#include "swfmovie.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The course checker as a school or an author runs it: on the demo course the build lays
// out, and on a copy with the faults a course really ships with.
class TestCourseCheck : public QObject
{
    Q_OBJECT

private slots:
    void demoCourseIsSound();
    void brokenCopyShowsExactlyItsFaults();
    void movieReportNamesCallsAndRuffleLimits();
    void ruffleLimitsWereCheckedAgainstThePinnedRuffle();
};

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
};

Run check(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(COURSECHECK_PATH), arguments);
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    return run;
}

bool copyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(path);
        if (it.fileInfo().isDir() ? !QDir().mkpath(target) : !QFile::copy(path, target))
            return false;
    }
    return true;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

void TestCourseCheck::demoCourseIsSound()
{
    const Run run = check({QStringLiteral(INSTALLATION_FOLDER)});
    QCOMPARE(run.out, QString());
    QCOMPARE(run.exitCode, 0);
}

void TestCourseCheck::brokenCopyShowsExactlyItsFaults()
{
    QTemporaryDir course;
    QVERIFY(copyTree(QStringLiteral(INSTALLATION_FOLDER "/data"), course.filePath(QStringLiteral("data"))));
    const QString objects = course.filePath(QStringLiteral("data/objects"));

    // A picture lost on the way (the second medium of its material), a description cut short,
    // a page movie whose hitzone names a material the contents do not have, and a material
    // folder that no contents entry names.
    QVERIFY(QFile::remove(objects + QStringLiteral("/rzv_01_v_shkole/shkola.png")));
    QVERIFY(write(objects + QStringLiteral("/ani_01_rech/normal.xml"), "<object>\n    <media file=\"rech.swf\"\n"));
    SwfMovie page(QSize(200, 100));
    SwfActions click;
    click.push("net_takogo").externalCall(QStringLiteral("openMaterial"), 1).op(SwfActions::Pop);
    SwfButton zone;
    zone.actions.append({SwfButton::Release, click});
    page.placeObject(page.defineButton(zone), 1);
    page.showFrame();
    QVERIFY(write(course.filePath(QStringLiteral("data/textbook/024-025.swf")), page.toBytes()));
    QVERIFY(write(objects + QStringLiteral("/zz_lishniy/normal.xml"), "<object><media file=\"a.png\"/></object>"));

    const Run run = check({course.path()});
    QCOMPARE(run.exitCode, 1);
    const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString data = QRegularExpression::escape(course.filePath(QStringLiteral("data")));
    const QStringList expected{
        data + QStringLiteral("/objects/ani_01_rech/normal.xml:3: the shell cannot read it: .+"),
        data + QStringLiteral("/objects/rzv_01_v_shkole/normal.xml:2: medium \"shkola.png\" is missing"),
        data + QStringLiteral("/textbook/024-025.swf:1: opens material \"net_takogo\", which the contents do not have"),
        data + QStringLiteral("/objects/zz_lishniy:1: no contents entry names this material: nothing opens it"),
    };
    QCOMPARE(lines.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(expected[i]));
        QVERIFY2(pattern.match(lines[i]).hasMatch(), qPrintable(lines[i]));
    }
}

void TestCourseCheck::movieReportNamesCallsAndRuffleLimits()
{
    QTemporaryDir out;
    const QString html = out.filePath(QStringLiteral("report.html"));
    const QString pageMovie = QStringLiteral(INSTALLATION_FOLDER "/data/textbook/002-003.swf");
    QStringList movies{pageMovie};
#ifdef AS3_MOVIE
    movies << QStringLiteral(AS3_MOVIE);
#endif
    const Run run = check(QStringList{QStringLiteral("--movies"), QStringLiteral("--html"), html,
                                      QStringLiteral(INSTALLATION_FOLDER)} + movies);
    QCOMPARE(run.exitCode, 0);
    // The page opens the materials of its hitzones by the one call the textbook answers.
    QVERIFY2(run.out.contains(QStringLiteral("\"openMaterial\"(\"ani_01_rech\")")), qPrintable(run.out));
#ifdef AS3_MOVIE
    const QString as3 = run.out.section(QStringLiteral(AS3_MOVIE), 1);
    QVERIFY(as3.contains(QStringLiteral("ActionScript 3 (AVM2)")));
    QVERIFY(as3.contains(RuffleLimits::limit(RuffleLimits::As3Callbacks).text));
#endif
    QFile page(html);
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(page.readAll());
    QVERIFY(text.startsWith(QLatin1String("<!DOCTYPE html>")) && text.trimmed().endsWith(QLatin1String("</html>")));
    QVERIFY(text.contains(QStringLiteral("&quot;openMaterial&quot;(&quot;ani_01_rech&quot;)")));
}

void TestCourseCheck::ruffleLimitsWereCheckedAgainstThePinnedRuffle()
{
    // An upgrade of Ruffle means trying each known limit again: this fails until someone has.
    QFile lock(QStringLiteral(PROJECT_ROOT "/package-lock.json"));
    QVERIFY(lock.open(QIODevice::ReadOnly));
    const QJsonObject packages = QJsonDocument::fromJson(lock.readAll()).object().value(QLatin1String("packages")).toObject();
    const QString pinned = packages.value(QLatin1String("node_modules/@ruffle-rs/ruffle")).toObject().value(QLatin1String("version")).toString();
    QCOMPARE(RuffleLimits::checkedVersion(), pinned);
}

QTEST_GUILESS_MAIN(TestCourseCheck)
#include "tst_coursecheck.moc"
