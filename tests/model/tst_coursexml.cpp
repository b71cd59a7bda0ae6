#include "coursexml.h"
#include "samples.h"
#include "xmltreemodel.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

TreeItem *addItem(TreeItem *parent, int type, const QStringList &row)
{
    QList<QVariant> data;
    for (const QString &value : row)
        data << value;
    return new TreeItem(data, type, parent);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Without the bits for "the current user", which change with whoever runs the test.
QFile::Permissions permissions(const QString &path)
{
    return QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

QString warningAbout(const QString &path)
{
    return QRegularExpression::escape(QDir::toNativeSeparators(path));
}

// Root ignores permission bits; a test about them runs the save as nobody instead.
class Unprivileged
{
public:
    Unprivileged() : m_wasRoot(geteuid() == 0), m_active(!m_wasRoot || seteuid(65534) == 0) {}
    ~Unprivileged()
    {
        if (m_wasRoot && m_active && seteuid(0) != 0)
            qFatal("cannot regain root after an unprivileged save");
    }
    bool isActive() const { return m_active; }

private:
    bool m_wasRoot;
    bool m_active;
};

// Makes every write past `bytes` fail with EFBIG, for root as well.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int);
};

} // namespace

class TestCourseXml : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void favoritesRoundTrip();
    void markbookRoundTrip();
    void charactersXmlCannotHoldAreDropped();
    void newMarkbook_data();
    void newMarkbook();
    void writtenBytes_data();
    void writtenBytes();

    void saveIntoMissingDirectoryFails();
    void readOnlyDirectoryKeepsOldFile();
    void failedWriteKeepsOldFile();
    void unreadableFileIsKeptAsBad_data();
    void unreadableFileIsKeptAsBad();

private:
    QTemporaryDir m_dir;
};

// Every failure must be reported, and only failures: warnings not expected by a test fail it.
void TestCourseXml::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void TestCourseXml::favoritesRoundTrip()
{
    const QString path = m_dir.filePath(QStringLiteral("favorites.xml"));
    XmlTreeModel written(Samples::favorites);

    QVERIFY(CourseXml::saveFavorites(written.rootItem(), path));

    XmlTreeModel read(readFile(path));
    QCOMPARE(read.outline(),
             QStringLiteral("8:Мои игры|{16:Считаем|con|101|count.swf|Счёт,8:Пустая|},"
                            "16:Круг & \"квадрат\"|swf|103|a<b.swf|n"));
}

void TestCourseXml::markbookRoundTrip()
{
    const QString path = m_dir.filePath(QStringLiteral("markbook.xml"));
    XmlTreeModel written(Samples::markbook);
    written.rootItem()->child(1)->setData(4, QStringLiteral(" 1.09: 5\r\n\t\"отлично\" <i>&amp;</i> ]]>\n"));

    QVERIFY(CourseXml::saveMarkbook(written.rootItem(), path));

    XmlTreeModel read(readFile(path));
    QCOMPARE(read.outline(), written.outline());
}

// A movie may put anything into a history. One character that XML cannot hold made the
// whole markbook unreadable, and the next save wrote the empty tree over every result.
void TestCourseXml::charactersXmlCannotHoldAreDropped()
{
    const QString path = m_dir.filePath(QStringLiteral("markbook.xml"));
    XmlTreeModel written(Samples::markbook);
    TreeItem *test = written.rootItem()->child(0)->child(0);
    test->setData(0, QString::fromUtf16(u"Счи\x01таем\xFFFF\xD83D"));
    test->setData(4, QString::fromUtf16(u"12.01 ]]\x02> \xD800 \xDC00 \x0B\x0C\x1F\xFFFE 😀\r\n\t5"));

    QVERIFY(CourseXml::saveMarkbook(written.rootItem(), path));

    test->setData(0, QStringLiteral("Считаем"));
    test->setData(4, QString::fromUtf16(u"12.01 ]]>    😀\r\n\t5"));
    QCOMPARE(XmlTreeModel(readFile(path)).outline(), written.outline());
}

void TestCourseXml::newMarkbook_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("markbook");

    QTest::newRow("sample course")
        << Samples::contents
        << QStringLiteral("4:Числа||{4:Счёт||{16:Считаем до 10|-1.0||101|}},"
                          "4:Фигуры||{4:Круг||{16:Обведи круг|-1.0||103|}}");
    QTest::newRow("tests among chapters keep their order")
        << QByteArray(R"(<content><chapter caption="A">
                <object caption="t1" type="con" id="1"/>
                <chapter caption="B"><object caption="t2" type="con" id="2"/></chapter>
                <object caption="t3" type="con" id="3"/>
                <chapter caption="C"><chapter caption="D"><object caption="x" type="swf" id="4"/></chapter></chapter>
            </chapter></content>)")
        << QStringLiteral("4:A||{16:t1|-1.0||1|,4:B||{16:t2|-1.0||2|},16:t3|-1.0||3|}");
    QTest::newRow("no tests")
        << QByteArray(R"(<content><chapter caption="A"><object type="Con" id="1"/><chapter/></chapter></content>)")
        << QString();
}

void TestCourseXml::newMarkbook()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, markbook);
    const QString path = m_dir.filePath(QStringLiteral("new.xml"));
    XmlTreeModel course(contents);

    QVERIFY(CourseXml::createMarkbook(course.rootItem(), path));

    QCOMPARE(XmlTreeModel(readFile(path)).outline(), markbook);
}

void TestCourseXml::writtenBytes_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QByteArray>("expected");

    TreeItem favorites;
    TreeItem *games = addItem(&favorites, TreeItem::FolderType, {"Игры \"1\" & <2>", "7"});
    addItem(games, TreeItem::ObjectType, {"Счёт", "con", "101", "count.swf", "Счёт до 10"});
    addItem(games, TreeItem::FolderType, {"Пусто", "8"});
    addItem(&favorites, TreeItem::ChapterType, {"not a favorite"});
    QTest::newRow("favorites") << CourseXml::favoritesXml(&favorites)
                               << QByteArray("<favorites>\n"
                                             "    <folder caption=\"Игры &quot;1&quot; &amp; &lt;2>\">\n"
                                             "        <object caption=\"Счёт\" type=\"con\" id=\"101\" path=\"count.swf\" name=\"Счёт до 10\"/>\n"
                                             "        <folder caption=\"Пусто\"/>\n"
                                             "    </folder>\n"
                                             "</favorites>\n");

    TreeItem marks;
    TreeItem *numbers = addItem(&marks, TreeItem::ChapterType, {"Числа", "", ""});
    addItem(numbers, TreeItem::ObjectType, {"Считаем", "4.5", "", "101", "12.01 <b>4.5</b> \"да\""});
    addItem(numbers, TreeItem::ObjectType, {"Новый", "-1.0", "", "102", ""});
    QTest::newRow("markbook") << CourseXml::markbookXml(&marks)
                              << QByteArray("<markbook>\n"
                                            "    <chapter caption=\"Числа\">\n"
                                            "        <object caption=\"Считаем\" mark=\"4.5\" id=\"101\">12.01 &lt;b>4.5&lt;/b> \"да\"</object>\n"
                                            "        <object caption=\"Новый\" mark=\"-1.0\" id=\"102\"></object>\n"
                                            "    </chapter>\n"
                                            "</markbook>\n");

    TreeItem contents;
    TreeItem *chapter = addItem(&contents, TreeItem::ChapterWithObjectsType, {"Числа", "1", "3"});
    addItem(chapter, TreeItem::ObjectType, {"Счёт", "con", "101", "count.swf"});
    QTest::newRow("new markbook") << CourseXml::newMarkbookXml(&contents)
                                  << QByteArray("<markbook>\n"
                                                "    <chapter caption=\"Числа\">\n"
                                                "        <object caption=\"Счёт\" mark=\"-1.0\" id=\"101\"></object>\n"
                                                "    </chapter>\n"
                                                "</markbook>\n");

    TreeItem noTests;
    addItem(&noTests, TreeItem::ChapterType, {"Числа", "1", "3"});
    QTest::newRow("markbook without tests") << CourseXml::newMarkbookXml(&noTests)
                                            << QByteArray("<markbook/>\n");
}

// What reaches the disk, byte for byte. Attributes keep the order they are listed in.
void TestCourseXml::writtenBytes()
{
    QFETCH(QByteArray, xml);
    QFETCH(QByteArray, expected);
    const QString path = m_dir.filePath(QLatin1String(QTest::currentDataTag()) + QStringLiteral(".xml"));

    QVERIFY(CourseXml::save(xml, path));

    QCOMPARE(readFile(path), expected);
}

void TestCourseXml::saveIntoMissingDirectoryFails()
{
    const QString regularFile = m_dir.filePath(QStringLiteral("plain.txt"));
    writeFile(regularFile, "not a directory");
    TreeItem root;

    for (const QString &path : QStringList{m_dir.filePath(QStringLiteral("missing/markbook.xml")),
                                regularFile + QStringLiteral("/markbook.xml")}) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warningAbout(path)));
        QVERIFY(!CourseXml::saveMarkbook(&root, path));
        QVERIFY(!QFileInfo::exists(path));
    }
}

// The file itself stays writable: a writer truncating it in place would succeed here and
// lose the old markbook if it failed half-way. Only a writer that goes through a temporary
// file beside it is refused.
void TestCourseXml::readOnlyDirectoryKeepsOldFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("pupil"));
    const QString path = folder + QStringLiteral("/markbook.xml");
    QVERIFY(QDir().mkdir(folder));
    writeFile(path, Samples::markbook);
    const auto everyone = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner
                          | QFile::ExeGroup | QFile::ExeOther;
    const auto writableByAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                               | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(dir.path(), everyone | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(path, writableByAll));
    QVERIFY(QFile::setPermissions(folder, everyone));
    XmlTreeModel marks(Samples::favorites);

    bool saved = true;
    {
        Unprivileged unprivileged;
        if (!unprivileged.isActive())
            QSKIP("running as root and cannot drop to an unprivileged user");
        QFile inPlace(path);
        QVERIFY2(inPlace.open(QIODevice::ReadWrite), "a plain write must be possible for this test to mean anything");
        inPlace.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warningAbout(path)));
        saved = CourseXml::saveMarkbook(marks.rootItem(), path);
    }
    QFile::setPermissions(folder, everyone | QFile::WriteOwner);

    QVERIFY(!saved);
    QCOMPARE(readFile(path), Samples::markbook);
    QCOMPARE(permissions(path), writableByAll);
}

// The disk fills up half-way through the write.
void TestCourseXml::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("favorites.xml"));
    writeFile(path, Samples::favorites);
    const auto ownerWritable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path, ownerWritable));
    TreeItem root;
    for (int i = 0; i < 2000; ++i)
        addItem(&root, TreeItem::ObjectType, {"Материал", "swf", QString::number(i), "material.swf", "имя"});

    bool saved = true;
    {
        FileSizeLimit limit(4096);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warningAbout(path)));
        saved = CourseXml::saveFavorites(&root, path);
    }

    QVERIFY(!saved);
    QCOMPARE(readFile(path), Samples::favorites);
    QCOMPARE(permissions(path), ownerWritable);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("favorites.xml")});
}

void TestCourseXml::unreadableFileIsKeptAsBad_data()
{
    QTest::addColumn<QByteArray>("unreadable");

    QTest::newRow("control character") << QByteArray("<markbook>\n    <chapter caption=\"Числа\">\n"
                                                     "        <object caption=\"Считаем\" mark=\"4.5\" id=\"101\">12.01 \x01</object>\n"
                                                     "    </chapter>\n</markbook>\n");
    QTest::newRow("another document") << Samples::favorites;
    QTest::newRow("nested too deep") << QByteArray("<markbook>")
                                            + QByteArray("<chapter>").repeated(TreeModel::MaxNestingDepth)
                                            + QByteArray("</chapter>").repeated(TreeModel::MaxNestingDepth)
                                            + QByteArray("</markbook>");
}

// The reader gave an empty tree for such a file; writing that tree over it would lose
// whatever the file still holds. An earlier kept file is never replaced.
void TestCourseXml::unreadableFileIsKeptAsBad()
{
    QFETCH(QByteArray, unreadable);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("markbook.xml"));
    writeFile(path, unreadable);
    writeFile(path + QStringLiteral(".bad"), "kept by an earlier save");
    XmlTreeModel marks(Samples::markbook);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warningAbout(path + QStringLiteral(".bad.1"))));
    QVERIFY(CourseXml::saveMarkbook(marks.rootItem(), path));

    QCOMPARE(readFile(path + QStringLiteral(".bad.1")), unreadable);
    QCOMPARE(readFile(path + QStringLiteral(".bad")), QByteArray("kept by an earlier save"));
    QCOMPARE(XmlTreeModel(readFile(path)).outline(), marks.outline());

    // Readable now: the next save replaces it and keeps nothing.
    QVERIFY(CourseXml::saveMarkbook(marks.rootItem(), path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

QTEST_GUILESS_MAIN(TestCourseXml)
#include "tst_coursexml.moc"
