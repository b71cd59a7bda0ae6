// The demo course's materials as the build makes them: every entry of the contents opens a
// real material, the special cases the shell must handle are all there, and mistakes in the
// sources are reported with the file and line to mend.

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <QtEndian>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

struct Run
{
    int exitCode = -1;
    QString errors;
};

Run runGenerator(const QString &projectRoot, const QString &outDir)
{
    QProcess process;
    process.start(QStringLiteral(MATERIALSGEN_PATH), {projectRoot, outDir});
    Run run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.errors = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// A movie's bytes as stored in the file, uncompressed: strings its scripts push are readable.
QByteArray plainMovie(const QByteArray &file)
{
    if (file.size() < 8 || !(file.startsWith("FWS") || file.startsWith("CWS")))
        return QByteArray();
    if (file.startsWith("FWS"))
        return file;
    QByteArray zlib(4, '\0');
    qToBigEndian<quint32>(qFromLittleEndian<quint32>(file.constData() + 4) - 8, zlib.data());
    QByteArray plain = file.left(8) + qUncompress(zlib + file.mid(8));
    plain[0] = 'F';
    return plain;
}

int frameCount(const QByteArray &plain)
{
    const int rectBits = 5 + 4 * (quint8(plain.at(8)) >> 3);
    const int at = 8 + (rectBits + 7) / 8 + 2;
    return qFromLittleEndian<quint16>(plain.constData() + at);
}

struct Medium
{
    QString file;
    QString param;
    bool printable = false;
};

// What a layout file asks for, read independently of the generator.
struct Layout
{
    bool valid = false;
    QList<Medium> media;

    QList<Medium> ofSuffix(const QString &suffix) const
    {
        QList<Medium> result;
        for (const Medium &m : media) {
            if (QFileInfo(m.file).suffix() == suffix)
                result.append(m);
        }
        return result;
    }
};

Layout readLayout(const QString &path)
{
    Layout layout;
    QDomDocument document;
    if (!document.setContent(readAll(path), true) || document.documentElement().tagName() != QLatin1String("object"))
        return layout;
    layout.valid = true;
    for (QDomElement e = document.documentElement().firstChildElement(QStringLiteral("media")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("media")))
        layout.media.append({e.attribute(QStringLiteral("file")), e.text().trimmed(), e.attribute(QStringLiteral("printable")) == QLatin1String("true")});
    return layout;
}

struct Material
{
    QString id;
    QString type;
};

QList<Material> courseMaterials()
{
    QList<Material> materials;
    QXmlStreamReader xml(readAll(QStringLiteral(PROJECT_ROOT "/course/content.xml")));
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("object"))
            materials.append({xml.attributes().value(QLatin1String("id")).toString(), xml.attributes().value(QLatin1String("type")).toString()});
    }
    return materials;
}

// A question file as the test movie reads it; empty when it breaks the rules authors are told.
struct Questions
{
    int count = 0;
    bool wellFormed = false;
};

Questions readQuestions(const QString &path)
{
    Questions result;
    QDomDocument document;
    if (!document.setContent(readAll(path)) || document.documentElement().tagName() != QLatin1String("test"))
        return result;
    result.wellFormed = true;
    for (QDomElement q = document.documentElement().firstChildElement(QStringLiteral("question")); !q.isNull();
         q = q.nextSiblingElement(QStringLiteral("question"))) {
        int answers = 0;
        int right = 0;
        for (QDomElement a = q.firstChildElement(QStringLiteral("answer")); !a.isNull(); a = a.nextSiblingElement(QStringLiteral("answer"))) {
            ++answers;
            right += a.attribute(QStringLiteral("right")) == QLatin1String("true") ? 1 : 0;
        }
        if (answers < 2 || answers > 4 || right != 1)
            result.wellFormed = false;
        ++result.count;
    }
    return result;
}

const QStringList templateNames = {
    QStringLiteral("testContener.swf"), QStringLiteral("test_character1.swf"), QStringLiteral("choiceAnswer.swf"),
    QStringLiteral("connectionLines.swf"), QStringLiteral("dragToColumns.swf"), QStringLiteral("dragWord.swf"),
    QStringLiteral("selectWord.swf"), QStringLiteral("writeWord.swf")};

} // namespace

class TestMaterialsGen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyMaterialOpens();
    void theSpecialCasesAreThere();
    void testsReadTheirQuestionFiles();
    void animationsMoveAndPagesStayLocal();
    void mistakesAreReportedWhereTheyAre_data();
    void mistakesAreReportedWhereTheyAre();
    void aSecondRunRewritesNothingAndRemovesWhatIsNoLongerMade();

private:
    QString objectPath(const QString &id, const QString &file = QString()) const;
    QByteArray movieText(const QString &id, const QString &file) const;
    QString makeProject(const QByteArray &normal, const QMap<QString, QByteArray> &files);

    QTemporaryDir m_out;
    QList<Material> m_materials;
    QList<QTemporaryDir *> m_projects;
};

void TestMaterialsGen::initTestCase()
{
    const Run run = runGenerator(QStringLiteral(PROJECT_ROOT), m_out.path());
    QVERIFY2(run.exitCode == 0, qPrintable(run.errors));
    m_materials = courseMaterials();
    QCOMPARE(m_materials.size(), 32);
}

QString TestMaterialsGen::objectPath(const QString &id, const QString &file) const
{
    return QDir(m_out.filePath(QStringLiteral("data/objects/") + id)).filePath(file);
}

QByteArray TestMaterialsGen::movieText(const QString &id, const QString &file) const
{
    return plainMovie(readAll(objectPath(id, file)));
}

void TestMaterialsGen::everyMaterialOpens()
{
    for (const Material &material : std::as_const(m_materials)) {
        const Layout layout = readLayout(objectPath(material.id, QStringLiteral("normal.xml")));
        QVERIFY2(layout.valid, qPrintable(material.id));
        QVERIFY2(!layout.media.isEmpty(), qPrintable(material.id));
        for (const Medium &medium : layout.media) {
            const QString where = material.id + QLatin1Char('/') + medium.file;
            QVERIFY2(QFileInfo(objectPath(material.id, medium.file)).isFile(), qPrintable(where));
            QVERIFY2(QStringList({"swf", "htm", "html", "png", "jpg"}).contains(QFileInfo(medium.file).suffix()), qPrintable(where));
            if (!medium.param.isEmpty())
                QVERIFY2(QFileInfo(objectPath(material.id, medium.param)).isFile(), qPrintable(where + QLatin1Char(' ') + medium.param));
            if (medium.file.endsWith(QLatin1String(".swf")))
                QVERIFY2(!plainMovie(readAll(objectPath(material.id, medium.file))).isEmpty(), qPrintable(where));
            if (medium.file.endsWith(QLatin1String(".png")))
                QVERIFY2(!QImage(objectPath(material.id, medium.file)).isNull(), qPrintable(where));
        }
    }
    for (const QString &name : templateNames)
        QVERIFY2(plainMovie(readAll(m_out.filePath(QStringLiteral("data/templates/") + name))).startsWith("FWS\x08"), qPrintable(name));
}

void TestMaterialsGen::theSpecialCasesAreThere()
{
    QStringList sending, jumping, loading, previews, printable, threeMedia, htmlText;
    QSet<QString> ids;
    for (const Material &material : std::as_const(m_materials))
        ids.insert(material.id);
    static const QRegularExpression shellOpen(QStringLiteral("<shell action=\"(jump|load)\">([^<]+)</shell>"));
    for (const Material &material : std::as_const(m_materials)) {
        const Layout layout = readLayout(objectPath(material.id, QStringLiteral("normal.xml")));
        const QList<Medium> movies = layout.ofSuffix(QStringLiteral("swf"));
        int listeners = 0;
        bool sends = false;
        for (const Medium &movie : movies) {
            const QByteArray text = movieText(material.id, movie.file);
            listeners += text.contains("send2flash") ? 1 : 0;
            sends = sends || text.contains("<flash action=\"send\">");
            for (auto match = shellOpen.globalMatch(QString::fromUtf8(text)); match.hasNext();) {
                const QRegularExpressionMatch m = match.next();
                QVERIFY2(ids.contains(m.captured(2)), qPrintable(material.id + QStringLiteral(" opens ") + m.captured(2)));
                (m.captured(1) == QLatin1String("jump") ? jumping : loading).append(material.id);
            }
        }
        if (movies.size() >= 2 && listeners >= 2 && sends)
            sending.append(material.id);
        if (movies.size() >= 2 && layout.ofSuffix(QStringLiteral("png")).size() + layout.ofSuffix(QStringLiteral("jpg")).size() >= 1)
            threeMedia.append(material.id);
        if (QFileInfo::exists(objectPath(material.id, QStringLiteral("preview.xml")))) {
            const Layout preview = readLayout(objectPath(material.id, QStringLiteral("preview.xml")));
            QVERIFY2(preview.valid && !preview.media.isEmpty(), qPrintable(material.id));
            for (const Medium &medium : preview.media)
                QVERIFY2(QFileInfo(objectPath(material.id, medium.file)).isFile(), qPrintable(material.id));
            previews.append(material.id);
        }
        if (std::any_of(layout.media.cbegin(), layout.media.cend(), [](const Medium &m) { return m.printable; }))
            printable.append(material.id);
        if (material.type == QLatin1String("rzv") && !layout.ofSuffix(QStringLiteral("html")).isEmpty())
            htmlText.append(material.id);
    }
    QVERIFY2(!sending.isEmpty(), "a material whose two movies talk through the shell");
    QVERIFY2(!jumping.isEmpty(), "a movie that opens another material in a new window");
    QVERIFY2(!loading.isEmpty(), "a movie that switches its window to another material");
    QVERIFY2(!previews.isEmpty(), "a material with a preview of its own");
    QVERIFY2(printable.size() >= 3, qPrintable(printable.join(QLatin1Char(' '))));
    QVERIFY2(!threeMedia.isEmpty(), "two movies and a picture in one material");
    QVERIFY2(!htmlText.isEmpty(), "a speech task with a text for comments");
}

void TestMaterialsGen::testsReadTheirQuestionFiles()
{
    int tests = 0;
    for (const Material &material : std::as_const(m_materials)) {
        if (material.type != QLatin1String("con"))
            continue;
        ++tests;
        const Layout layout = readLayout(objectPath(material.id, QStringLiteral("normal.xml")));
        const QList<Medium> movies = layout.ofSuffix(QStringLiteral("swf"));
        QCOMPARE(movies.size(), 1);
        // Every test plays the one test template, which reads the question file it is given.
        QCOMPARE(QFileInfo(objectPath(material.id, movies.first().file)).canonicalFilePath(),
                 QFileInfo(m_out.filePath(QStringLiteral("data/templates/testContener.swf"))).canonicalFilePath());
        const Questions questions = readQuestions(objectPath(material.id, movies.first().param));
        QVERIFY2(questions.wellFormed, qPrintable(material.id));
        QVERIFY2(questions.count >= 3 && questions.count <= 5, qPrintable(material.id));
    }
    QCOMPARE(tests, 6);
}

void TestMaterialsGen::animationsMoveAndPagesStayLocal()
{
    static const QRegularExpression reference(QStringLiteral("(?:src|href)=\"([^\"]+)\""));
    for (const Material &material : std::as_const(m_materials)) {
        const Layout layout = readLayout(objectPath(material.id, QStringLiteral("normal.xml")));
        if (material.type == QLatin1String("ani")) {
            const QByteArray movie = movieText(material.id, layout.ofSuffix(QStringLiteral("swf")).value(0).file);
            QVERIFY2(frameCount(movie) >= 24, qPrintable(material.id));
        }
        for (const Medium &page : layout.ofSuffix(QStringLiteral("htm"))) {
            const QString text = QString::fromUtf8(readAll(objectPath(material.id, page.file)));
            QVERIFY2(!text.contains(QLatin1String("<script"), Qt::CaseInsensitive), qPrintable(material.id));
            for (auto match = reference.globalMatch(text); match.hasNext();) {
                const QString target = match.next().captured(1);
                QVERIFY2(QFileInfo(objectPath(material.id, target)).isFile(), qPrintable(material.id + QLatin1Char(' ') + target));
            }
        }
    }
}

QString TestMaterialsGen::makeProject(const QByteArray &normal, const QMap<QString, QByteArray> &files)
{
    // One material, "pra_01", and the real templates.
    auto *dir = new QTemporaryDir;
    m_projects.append(dir);
    const QDir root(dir->path());
    writeFile(root.filePath(QStringLiteral("course/content.xml")),
              "<content caption=\"Азбука\">\n    <chapter caption=\"Звуки\" id=\"1\" startpage=\"1\">\n"
              "        <object caption=\"Упражнение\" type=\"pra\" id=\"pra_01\" path=\"Азбука\"/>\n"
              "    </chapter>\n</content>\n");
    const QDir templates(QStringLiteral(PROJECT_ROOT "/course/templates"));
    for (const QString &name : templates.entryList(QDir::Files))
        writeFile(root.filePath(QStringLiteral("course/templates/") + name), readAll(templates.filePath(name)));
    if (!normal.isNull())
        writeFile(root.filePath(QStringLiteral("course/objects/pra_01/normal.xml")), normal);
    for (auto it = files.cbegin(); it != files.cend(); ++it)
        writeFile(root.filePath(QStringLiteral("course/objects/") + it.key()), it.value());
    return dir->path();
}

void TestMaterialsGen::mistakesAreReportedWhereTheyAre_data()
{
    QTest::addColumn<QByteArray>("normal");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("complaint");

    const QByteArray page = "<object>\n    <media file=\"page.htm\"/>\n</object>\n";
    const QByteArray test = "<object>\n    <media file=\"../../templates/testContener.swf\">q.xml</media>\n</object>\n";
    QTest::newRow("material without a folder") << QByteArray() << QString() << QByteArray()
                                               << QStringLiteral("objects/pra_01:") << QStringLiteral("no folder");
    QTest::newRow("medium that is not there")
        << QByteArray("<object>\n    <media file=\"page.htm\"/>\n    <media file=\"gone.png\"/>\n</object>\n")
        << QStringLiteral("pra_01/page.htm") << QByteArray("<p>Привет</p>")
        << QStringLiteral("pra_01/normal.xml:3:") << QStringLiteral("gone.png");
    QTest::newRow("layout with another root")
        << QByteArray("<material>\n</material>\n") << QString() << QByteArray()
        << QStringLiteral("pra_01/normal.xml:1:") << QStringLiteral("<object>");
    QTest::newRow("two right answers") << test << QStringLiteral("pra_01/q.xml")
        << QByteArray("<test>\n<question text=\"Сколько?\">\n<answer right=\"true\">1</answer>\n<answer right=\"true\">2</answer>\n</question>\n</test>\n")
        << QStringLiteral("pra_01/q.xml:2:") << QStringLiteral("2 answers are marked right");
    QTest::newRow("one answer only") << test << QStringLiteral("pra_01/q.xml")
        << QByteArray("<test>\n<question text=\"Да?\">\n<answer right=\"true\">да</answer>\n</question>\n</test>\n")
        << QStringLiteral("pra_01/q.xml:2:") << QStringLiteral("1 answers");
    QTest::newRow("unknown picture in a description") << page << QStringLiteral("pra_01/material.xml")
        << QByteArray("<material>\n    <picture file=\"a.png\">\n        <item picture=\"dragon\"/>\n    </picture>\n</material>\n")
        << QStringLiteral("pra_01/material.xml:3:") << QStringLiteral("\"dragon\"");
    QTest::newRow("unknown medium in a description") << page << QStringLiteral("pra_01/material.xml")
        << QByteArray("<material>\n    <video file=\"a.swf\"/>\n</material>\n")
        << QStringLiteral("pra_01/material.xml:2:") << QStringLiteral("<video>");
    QTest::newRow("page with a script") << page << QStringLiteral("pra_01/page.htm")
        << QByteArray("<p>Привет</p><script src=\"app.js\"></script>")
        << QStringLiteral("pra_01/normal.xml:2:") << QStringLiteral("script");
    QTest::newRow("page with a picture from the web") << page << QStringLiteral("pra_01/page.htm")
        << QByteArray("<img src=\"https://example.com/cat.png\">")
        << QStringLiteral("pra_01/normal.xml:2:") << QStringLiteral("outside the installation");
    QTest::newRow("folder of no material") << page << QStringLiteral("pra_02/page.htm") << QByteArray("<p>Привет</p>")
        << QStringLiteral("objects/pra_02:") << QStringLiteral("\"pra_02\"");
}

void TestMaterialsGen::mistakesAreReportedWhereTheyAre()
{
    QFETCH(QByteArray, normal);
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(QString, where);
    QFETCH(QString, complaint);

    QMap<QString, QByteArray> files;
    if (!file.isEmpty())
        files.insert(file, contents);
    if (!files.contains(QStringLiteral("pra_01/page.htm")) && normal.contains("page.htm"))
        files.insert(QStringLiteral("pra_01/page.htm"), "<p>Привет</p>");
    const QString project = makeProject(normal, files);
    QTemporaryDir out;
    const Run run = runGenerator(project, out.path());
    QVERIFY2(run.exitCode > 0, qPrintable(run.errors));
    QVERIFY2(run.errors.contains(where), qPrintable(run.errors));
    QVERIFY2(run.errors.contains(complaint), qPrintable(run.errors));
}

void TestMaterialsGen::aSecondRunRewritesNothingAndRemovesWhatIsNoLongerMade()
{
    const QString project = makeProject("<object>\n    <media file=\"page.htm\"/>\n    <media file=\"a.png\"/>\n</object>\n",
                                        {{QStringLiteral("pra_01/page.htm"), "<p>Привет</p>"},
                                         {QStringLiteral("pra_01/old.png"), "not a picture"},
                                         {QStringLiteral("pra_01/material.xml"),
                                          "<material>\n    <picture file=\"a.png\"><item picture=\"cat\"/></picture>\n</material>\n"}});
    QTemporaryDir out;
    QCOMPARE(runGenerator(project, out.path()).exitCode, 0);
    const QDir built(QDir(out.path()).filePath(QStringLiteral("data/objects/pra_01")));
    QVERIFY(QFile::exists(built.filePath(QStringLiteral("old.png"))));
    QVERIFY(!QFile::exists(built.filePath(QStringLiteral("material.xml"))));
    // Unchanged results keep their dates, so nothing that depends on them is made again.
    const QDateTime madeAt = QFileInfo(built.filePath(QStringLiteral("a.png"))).lastModified();
    const QDateTime templateAt = QFileInfo(QDir(out.path()).filePath(QStringLiteral("data/templates/testContener.swf"))).lastModified();
    QTest::qWait(1100);

    QVERIFY(QFile::remove(QDir(project).filePath(QStringLiteral("course/objects/pra_01/old.png"))));
    QCOMPARE(runGenerator(project, out.path()).exitCode, 0);
    QVERIFY(!QFile::exists(built.filePath(QStringLiteral("old.png"))));
    QVERIFY(QFile::exists(built.filePath(QStringLiteral("page.htm"))));
    QCOMPARE(QFileInfo(built.filePath(QStringLiteral("a.png"))).lastModified(), madeAt);
    QCOMPARE(QFileInfo(QDir(out.path()).filePath(QStringLiteral("data/templates/testContener.swf"))).lastModified(), templateAt);
    qDeleteAll(m_projects);
    m_projects.clear();
}

QTEST_GUILESS_MAIN(TestMaterialsGen)
#include "tst_materialsgen.moc"
