#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Run
{
    int exitCode = -1;
    QString errors;
};

Run runCoursegen(const QString &sourceDir, const QString &outDir)
{
    QProcess process;
    process.start(QStringLiteral(COURSEGEN_PATH), {sourceDir, outDir});
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// What the demo course holds, counted independently of the generator.
struct CourseCounts
{
    int topChapters = 0;
    int materials = 0;
    QHash<QString, int> perGroup;
    QSet<int> startPages;
    bool captionOpensWithQuote = false;
};

CourseCounts countCourse(const QByteArray &xml)
{
    CourseCounts counts;
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        ++depth;
        const QXmlStreamAttributes attributes = reader.attributes();
        const QString caption = attributes.value(QLatin1String("caption")).toString();
        if (caption.startsWith(QChar(0x00ab)) || caption.startsWith(QLatin1Char('"')))
            counts.captionOpensWithQuote = true;
        if (reader.name() == QLatin1String("chapter")) {
            if (depth == 2)
                ++counts.topChapters;
            counts.startPages.insert(attributes.value(QLatin1String("startpage")).toInt());
        } else if (reader.name() == QLatin1String("object")) {
            ++counts.materials;
            ++counts.perGroup[attributes.value(QLatin1String("type")).toString()];
        }
    }
    return reader.hasError() ? CourseCounts() : counts;
}

const char *const goodMaterial =
    R"(<object caption="Буква А" type="ani" id="ani_01" path="Азбука/Гласные"/>)";

} // namespace

class TestCourseGen : public QObject
{
    Q_OBJECT

private slots:
    void acceptsTheDemoCourse();
    void refusesBrokenCourses_data();
    void refusesBrokenCourses();
    void refusesAMissingCourse();
    void demoCourseIsRichEnough();
};

void TestCourseGen::acceptsTheDemoCourse()
{
    QTemporaryDir out;
    const Run run = runCoursegen(QStringLiteral(PROJECT_ROOT), out.path());
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));

    const QByteArray source = readAll(QStringLiteral(PROJECT_ROOT "/course/content.xml"));
    QVERIFY(!source.isEmpty());
    QCOMPARE(readAll(out.filePath(QStringLiteral("data/content.xml"))), source);
    const QImage cover(out.filePath(QStringLiteral("data/content.jpg")));
    QVERIFY(cover.width() >= 500 && cover.width() <= 700);
    QVERIFY(cover.height() >= 700 && cover.height() <= 900);
}

void TestCourseGen::refusesBrokenCourses_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("complaint");
    QTest::addColumn<int>("line");

    const auto course = [](const char *inside) -> QByteArray {
        return QByteArray("<content caption=\"Азбука\">\n"
                          "    <chapter caption=\"Звуки\" id=\"1\" startpage=\"1\">\n"
                          "        ") + goodMaterial + "\n        " + inside + "\n"
               "    </chapter>\n</content>\n";
    };
    QTest::newRow("duplicate material id")
        << course(R"(<object caption="Ещё раз" type="pra" id="ani_01" path="Азбука"/>)")
        << QStringLiteral("\"ani_01\" is used twice") << 4;
    QTest::newRow("unknown group")
        << course(R"(<object caption="Песня" type="mus" id="mus_01" path="Азбука"/>)")
        << QStringLiteral("\"mus\"") << 4;
    QTest::newRow("id unsafe for a folder")
        << course(R"(<object caption="Песня" type="igr" id="Igra 1" path="Азбука"/>)")
        << QStringLiteral("\"Igra 1\"") << 4;
    QTest::newRow("start page not a number")
        << course(R"(<chapter caption="Слоги" id="2" startpage="два"/>)")
        << QStringLiteral("startpage=\"два\"") << 4;
    QTest::newRow("duplicate chapter id")
        << course(R"(<chapter caption="Слоги" id="1" startpage="2"/>)")
        << QStringLiteral("chapter id 1 is used twice") << 4;
    QTest::newRow("stray element")
        << course(R"(<picture caption="Кот"/>)") << QStringLiteral("<picture>") << 4;
    QTest::newRow("wrong root")
        << QByteArray("<course caption=\"Азбука\"/>\n") << QStringLiteral("<content>") << 1;
    QTest::newRow("not well-formed")
        << course(R"(<object caption="Без конца" type="pra" id="pra_01" path="Азбука">)")
        << QString() << 5;
}

void TestCourseGen::refusesBrokenCourses()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, complaint);
    QFETCH(int, line);

    QTemporaryDir source;
    QVERIFY(QDir(source.path()).mkpath(QStringLiteral("course")));
    QFile file(source.filePath(QStringLiteral("course/content.xml")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(xml);
    file.close();

    QTemporaryDir out;
    const Run run = runCoursegen(source.path(), out.path());
    QVERIFY2(run.exitCode > 0, qPrintable(run.errors));
    // The message names the file and the line, so whoever edits the course finds it.
    QVERIFY2(run.errors.contains(QStringLiteral("content.xml:%1:").arg(line)), qPrintable(run.errors));
    QVERIFY2(run.errors.contains(complaint), qPrintable(run.errors));
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("data/content.xml"))));
}

void TestCourseGen::refusesAMissingCourse()
{
    QTemporaryDir empty;
    QTemporaryDir out;
    const Run run = runCoursegen(empty.path(), out.path());
    QVERIFY(run.exitCode > 0);
    QVERIFY2(run.errors.contains(QLatin1String("course/content.xml")), qPrintable(run.errors));
}

void TestCourseGen::demoCourseIsRichEnough()
{
    const QByteArray xml = readAll(QStringLiteral(PROJECT_ROOT "/course/content.xml"));
    QVERIFY2(!xml.startsWith("<?xml"), "the course is written without an XML declaration");
    const CourseCounts counts = countCourse(xml);

    QVERIFY(counts.topChapters >= 5);
    QVERIFY(counts.materials >= 25 && counts.materials <= 40);
    for (const char *group : {"ani", "pra", "wrk", "rzv", "con", "slv", "igr"})
        QVERIFY2(counts.perGroup.value(QLatin1String(group)) > 0, group);
    QCOMPARE(counts.perGroup.size(), 7);
    QVERIFY(counts.perGroup.value(QStringLiteral("con")) >= 5);

    QVERIFY(counts.startPages.size() >= 10);
    QVERIFY(counts.startPages.contains(1));
    QVERIFY(*std::max_element(counts.startPages.cbegin(), counts.startPages.cend()) >= 10);
    QVERIFY(counts.captionOpensWithQuote);
}

QTEST_GUILESS_MAIN(TestCourseGen)
#include "tst_coursegen.moc"
