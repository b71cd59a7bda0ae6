#include "materialexport.h"
#include "nofilewrites.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

static void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

static QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

class TestMaterialExport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void copiesWhatEachKindNeeds_data();
    void copiesWhatEachKindNeeds();
    void failuresLeaveNothingHalfMade();

private:
    QString target(const QString &id) const { return m_target->filePath(id); }

    QTemporaryDir m_install;
    QTemporaryDir *m_target = nullptr;
    QString m_oldCwd;
};

void TestMaterialExport::initTestCase()
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_install.path());
    writeFile("data/objects/ani_1/normal.xml", "<object><media file=\"movie.swf\"/></object>");
    writeFile("data/objects/ani_1/movie.swf", "FWS-movie");
    writeFile("data/objects/ani_1/sub/inner.txt", "not copied: a folder");
    writeFile("data/objects/pra_1/normal.xml",
              "<object><media file=\"../../shared/pics/cat.png\"/><media file=\"own.htm\"/>"
              "<media file=\"../../../secret.txt\"/><media file=\"missing.png\"/></object>");
    writeFile("data/objects/pra_1/own.htm", "<p>упражнение</p>");
    writeFile("data/objects/pra_1/style.css", "own style");
    writeFile("data/shared/pics/cat.png", "PNG-cat");
    writeFile("data/shared/pics/style.css", "shared style");
    writeFile("secret.txt", "outside the data folder");
    writeFile("data/objects/con_1/normal.xml", "<object><media file=\"testContener.swf\">q.xml</media></object>");
    writeFile("data/objects/con_1/q.xml", "<questions/>");
    for (const QString &name : MaterialExport::templates())
        writeFile(name, QFileInfo(name).fileName().toUtf8());
}

void TestMaterialExport::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
}

void TestMaterialExport::init()
{
    delete m_target;
    m_target = new QTemporaryDir;
}

void TestMaterialExport::copiesWhatEachKindNeeds_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("animation: its own files") << "ani_1" << "ani" << QStringList({"movie.swf", "normal.xml"});
    // The media it names and the style sheet beside each; its own style sheet is not replaced;
    // nothing from outside the data folder.
    QTest::newRow("exercise") << "pra_1" << "pra" << QStringList({"cat.png", "normal.xml", "own.htm", "style.css"});
    QStringList test = {"normal.xml", "q.xml"};
    for (const QString &name : MaterialExport::templates())
        test << QFileInfo(name).fileName();
    test.sort();
    QTest::newRow("test: with the templates") << "con_1" << "con" << test;
}

void TestMaterialExport::copiesWhatEachKindNeeds()
{
    QFETCH(QString, id);
    QFETCH(QString, type);
    QFETCH(QStringList, files);
    const MaterialExport::Result result = MaterialExport::run(id, type, m_target->path());
    QCOMPARE(int(result.outcome), int(MaterialExport::Done));
    QCOMPARE(filesIn(target(id)), files);
    for (const QString &file : files) {
        QFile copy(target(id) + "/" + file);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QVERIFY(!copy.readAll().isEmpty());
    }
    if (type == "pra") {
        QFile style(target(id) + "/style.css");
        QVERIFY(style.open(QIODevice::ReadOnly));
        QCOMPARE(style.readAll(), QByteArray("own style"));
    }
    QVERIFY(MaterialExport::message(result).contains(QDir::toNativeSeparators(target(id))));
}

void TestMaterialExport::failuresLeaveNothingHalfMade()
{
    // A folder of that name is already there: it is left exactly as it was.
    writeFile(target("ani_1") + "/mine.txt", "the pupil's own");
    MaterialExport::Result result = MaterialExport::run("ani_1", "ani", m_target->path());
    QCOMPARE(int(result.outcome), int(MaterialExport::TargetExists));
    QCOMPARE(filesIn(target("ani_1")), QStringList({"mine.txt"}));

    result = MaterialExport::run("no_such", "ani", m_target->path());
    QCOMPARE(int(result.outcome), int(MaterialExport::NoSource));
    result = MaterialExport::run("../objects", "ani", m_target->path());
    QCOMPARE(int(result.outcome), int(MaterialExport::NoSource));
    QCOMPARE(filesIn(m_target->path()), QStringList({"ani_1"}));
    QCOMPARE(int(MaterialExport::run("x", "gme", m_target->path()).outcome), int(MaterialExport::NotExportable));

    // A full disk halfway: the half-made folder goes again, and the message says so.
    {
        NoFileWrites full;
        result = MaterialExport::run("con_1", "con", m_target->path());
    }
    QCOMPARE(int(result.outcome), int(MaterialExport::CopyFailed));
    QVERIFY(!QFileInfo::exists(target("con_1")));
    QVERIFY(MaterialExport::message(result).contains("Ничего не скопировано"));
}

QTEST_MAIN(TestMaterialExport)
#include "tst_materialexport.moc"
