// The page-movie builder: inputs it refuses, with the file and line to mend, and what a
// page movie holds. tests/flash clicks the hitzones of one in Ruffle.

#include "pagemoviebuilder.h"
#include "pagesources.h"
#include "swftagreader.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {
enum { DefineButton2Tag = 34 };

const char *hitzones = "<doublepage file=\"data/pages/004-005.png\">\n"
                       "    <hitzone number=\"1\">10,10,60,10,60,60,10,60</hitzone>\n"
                       "    <hitzone number=\"2\">70,10,110,10,110,30,90,30,90,50,70,50</hitzone>\n"
                       "</doublepage>\n";
const char *map = "# hitzone = material\n1 = ani_01_rech\n\n2 = pra_01_slova\n";
const char *contents = "<content caption=\"c\"><chapter caption=\"a\" id=\"1\" startpage=\"2\">\n"
                       "<object caption=\"x\" type=\"ani\" id=\"ani_01_rech\" path=\"p\"/>\n"
                       "<object caption=\"y\" type=\"pra\" id=\"pra_01_slova\" path=\"p\"/>\n"
                       "</chapter></content>\n";
} // namespace

class TestPageMovie : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void badInputIsReportedWithFileAndLine_data();
    void badInputIsReportedWithFileAndLine();
    void mapEntriesWithoutHitzoneOnlyWarn();
    void zonesOfFewerThanThreePointsAreSkipped();
    void movieHoldsTheImageAndOneButtonPerHitzone();

private:
    QString path(const QString &name) const;
    void write(const QString &name, const QByteArray &text);
    PageSources load();

    QScopedPointer<QTemporaryDir> m_dir;
};

void TestPageMovie::init()
{
    m_dir.reset(new QTemporaryDir);
    QImage image(120, 80, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QVERIFY(image.save(path(QStringLiteral("page.png"))));
    write(QStringLiteral("page.xml"), hitzones);
    write(QStringLiteral("page.map"), map);
    write(QStringLiteral("content.xml"), contents);
}

QString TestPageMovie::path(const QString &name) const
{
    return m_dir->filePath(name);
}

void TestPageMovie::write(const QString &name, const QByteArray &text)
{
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

PageSources TestPageMovie::load()
{
    PageSources sources;
    sources.load(path(QStringLiteral("page.png")), path(QStringLiteral("page.xml")), path(QStringLiteral("page.map")),
                 path(QStringLiteral("content.xml")));
    return sources;
}

void TestPageMovie::badInputIsReportedWithFileAndLine_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("unreadable image") << "page.png" << QByteArray("not a picture") << "page.png: cannot read the double-page image";
    QTest::newRow("hitzone missing from the map") << "page.map" << QByteArray("1 = ani_01_rech\n")
                                                   << "page.xml:3: hitzone 2 has no material in ";
    QTest::newRow("material not in the course") << "page.map" << QByteArray("1 = ani_01_rech\n2 = no_such_id\n")
                                                 << "page.map:2: material \"no_such_id\" is not in ";
    QTest::newRow("map line without =") << "page.map" << QByteArray("1 = ani_01_rech\n2 pra_01_slova\n")
                                        << "page.map:2: expected \"NUMBER = MATERIAL_ID\"";
    QTest::newRow("hitzone mapped twice") << "page.map" << QByteArray("1 = ani_01_rech\n2 = pra_01_slova\n1 = pra_01_slova\n")
                                          << "page.map:3: hitzone 1 is mapped twice (first on line 1)";
    QTest::newRow("odd coordinate count") << "page.xml"
                                          << QByteArray("<doublepage>\n<hitzone number=\"1\">1,2,3,4,5,6,</hitzone>\n</doublepage>")
                                          << "page.xml:2: hitzone 1: \"1,2,3,4,5,6,\" is not a list of x,y points";
    QTest::newRow("coordinate not a number") << "page.xml"
                                             << QByteArray("<doublepage>\n\n<hitzone number=\"1\">1,2,3,x,5,6</hitzone>\n</doublepage>")
                                             << "page.xml:3: hitzone 1: \"3,x\" is not a point";
    QTest::newRow("hitzone numbered twice") << "page.xml"
                                            << QByteArray("<doublepage>\n<hitzone number=\"1\">1,2,3,4,5,6</hitzone>\n"
                                                          "<hitzone number=\"1\">1,2,3,4,5,6</hitzone>\n</doublepage>")
                                            << "page.xml:3: hitzone 1 is numbered twice (first on line 2)";
    QTest::newRow("not XML") << "page.xml" << QByteArray("<doublepage>\n<hitzone>\n") << "page.xml:3: not XML";
    QTest::newRow("not a hitzone file") << "page.xml" << QByteArray("<content/>") << "page.xml:1: the document element is <content>";
}

void TestPageMovie::badInputIsReportedWithFileAndLine()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    write(file, text);
    const QStringList errors = load().errors();
    QVERIFY2(!errors.isEmpty(), "accepted");
    QVERIFY2(errors.first().startsWith(path(error.section(QLatin1Char(':'), 0, 0)) + QLatin1Char(':')), qPrintable(errors.first()));
    QVERIFY2(errors.first().contains(error.section(QLatin1Char(':'), 1)), qPrintable(errors.first()));
}

void TestPageMovie::mapEntriesWithoutHitzoneOnlyWarn()
{
    write(QStringLiteral("page.map"), QByteArray(map) + "7 = ani_01_rech\n");
    const PageSources sources = load();
    QVERIFY(sources.errors().isEmpty());
    QCOMPARE(sources.warnings().size(), 1);
    QVERIFY(sources.warnings().first().startsWith(path(QStringLiteral("page.map:5: there is no hitzone 7"))));
}

void TestPageMovie::zonesOfFewerThanThreePointsAreSkipped()
{
    // The hitzone editor of old completed zones of one or two points; such a zone links nothing.
    write(QStringLiteral("page.xml"), "<doublepage>\n"
                                      "<hitzone number=\"1\">10,10,60,10,60,60</hitzone>\n"
                                      "<hitzone number=\"2\">70,10</hitzone>\n"
                                      "<hitzone number=\"3\">70,20,90,20</hitzone>\n"
                                      "<hitzone number=\"4\"/>\n"
                                      "</doublepage>\n");
    write(QStringLiteral("page.map"), "1 = ani_01_rech\n2 = pra_01_slova\n"); // 2 mapped, 3 and 4 not
    const PageSources sources = load();
    QVERIFY2(sources.errors().isEmpty(), qPrintable(sources.errors().join('\n')));
    const QStringList warnings = sources.warnings();
    QCOMPARE(warnings.size(), 3);
    for (int zone = 2; zone <= 4; ++zone) {
        const QString at = path(QStringLiteral("page.xml:%1: hitzone %2 ").arg(zone + 1).arg(zone));
        QVERIFY2(warnings[zone - 2].startsWith(at) && warnings[zone - 2].contains("skipped"), qPrintable(warnings[zone - 2]));
    }
    QCOMPARE(sources.links().size(), 1);
    QCOMPARE(sources.links().first().materialId, QString("ani_01_rech"));
    QCOMPARE(SwfTagReader(PageMovieBuilder(sources).build()).tags(DefineButton2Tag).size(), 1);
}

void TestPageMovie::movieHoldsTheImageAndOneButtonPerHitzone()
{
    const PageSources sources = load();
    QVERIFY2(sources.errors().isEmpty(), qPrintable(sources.errors().join('\n')));
    const SwfTagReader movie(PageMovieBuilder(sources).build());
    QVERIFY(movie.isValid());
    QCOMPARE(movie.stageTwips(), QRect(0, 0, 120 * 20, 80 * 20)); // one image pixel, one stage pixel
    const QList<SwfTagReader::Tag> buttons = movie.tags(DefineButton2Tag);
    QCOMPARE(buttons.size(), 2);
    const QByteArray call = QByteArray(PageMovieBuilder::callName().toUtf8()).append(char(0));
    QVERIFY(buttons[0].body.contains(QByteArray("ani_01_rech\0", 12)) && buttons[0].body.contains(call));
    QVERIFY(buttons[1].body.contains(QByteArray("pra_01_slova\0", 13)) && buttons[1].body.contains(call));
}

QTEST_MAIN(TestPageMovie)
#include "tst_pagemovie.moc"
