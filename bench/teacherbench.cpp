// Times the teacher's class table at the size of a large class that has used the course for a
// year: 40 pupils, 200 tests in 10 chapters, 20 attempts of every test by every pupil. Opening
// is reading every pupil's markbook and attempt log and painting the table once; the export is
// the CSV of the whole table. Prints median figures (goals: 300 ms and 200 ms).
#include "attemptlog.h"
#include "classexport.h"
#include "classresultspage.h"
#include "classtablemodel.h"
#include "csvtext.h"
#include "environment.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Pupils = 40;
constexpr int Chapters = 10;
constexpr int TestsPerChapter = 20;
constexpr int AttemptsPerTest = 20;
constexpr int Runs = 7;

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString testId(int chapter, int test)
{
    return QStringLiteral("con_%1_%2").arg(chapter, 2, 10, QLatin1Char('0')).arg(test, 2, 10, QLatin1Char('0'));
}

void writeClass(const QDir &root)
{
    QByteArray contents = "<content caption=\"Азбука\">\n";
    QByteArray markbookTests;
    for (int c = 0; c < Chapters; ++c) {
        contents += "<chapter caption=\"Глава " + QByteArray::number(c + 1) + "\" id=\"" + QByteArray::number(c + 1)
                    + "\" startpage=\"" + QByteArray::number(c + 1) + "\">\n";
        markbookTests += "<chapter caption=\"Глава " + QByteArray::number(c + 1) + "\">\n";
        for (int t = 0; t < TestsPerChapter; ++t) {
            const QByteArray id = testId(c, t).toUtf8();
            contents += "<object caption=\"Проверочная работа " + id + "\" type=\"con\" id=\"" + id + "\" path=\"\"/>\n";
            markbookTests += "<object caption=\"Проверочная работа\" mark=\"%MARK%\" id=\"" + id + "\">3/5</object>\n";
        }
        contents += "</chapter>\n";
        markbookTests += "</chapter>\n";
    }
    write(root.filePath("data/content.xml"), contents + "</content>\n");
    const QDateTime start(QDate(2026, 9, 1), QTime(9, 0));
    for (int p = 0; p < Pupils; ++p) {
        const QDir pupil(root.filePath(QStringLiteral("pupils/Ученик %1").arg(p + 1)));
        write(pupil.filePath("pupil.keys"), QByteArray(16, 'k'));
        QByteArray markbook = markbookTests;
        write(pupil.filePath("markbook.xml"),
              "<markbook>\n" + markbook.replace("%MARK%", QByteArray::number((p % 10) / 10.0)) + "</markbook>\n");
        QList<AttemptLog::Attempt> attempts;
        for (int a = 0; a < AttemptsPerTest; ++a)
            for (int c = 0; c < Chapters; ++c)
                for (int t = 0; t < TestsPerChapter; ++t)
                    attempts.append({AttemptLog::dateText(start.addSecs(3600 * (a * 200 + c * 20 + t))), testId(c, t),
                                     QString::number(((a + t) % 5) / 4.0), QStringLiteral("%1/4").arg((a + t) % 5)});
        if (!AttemptLog::append(pupil, attempts))
            qFatal("cannot write the attempts");
    }
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir root;
    writeClass(QDir(root.path()));
    QDir::setCurrent(root.path());

    QList<double> opening, exporting;
    qsizetype csvSize = 0;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        ClassResultsPage page{QDir(root.path())};
        page.resize(1400, 800);
        page.show();
        page.view()->grab(); // the table painted once, every visible cell asked for
        opening.append(timer.nsecsElapsed() / 1e6);

        timer.restart();
        const QByteArray csv = ClassExport::csv(*page.table());
        exporting.append(timer.nsecsElapsed() / 1e6);
        csvSize = csv.size();
    }
    std::printf("class table, %d pupils x %d tests x %d attempts: opened in %.1f ms (median of %d; goal 300)\n",
                Pupils, Chapters * TestsPerChapter, AttemptsPerTest, median(opening), Runs);
    std::printf("CSV of the whole table (%lld bytes): %.1f ms (median; goal 200)\n", static_cast<long long>(csvSize),
                median(exporting));
    return 0;
}
