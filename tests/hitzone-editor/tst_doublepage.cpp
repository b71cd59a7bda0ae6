#include "boxanswer.h"
#include "doublepage.h"
#include "nofilewrites.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

static QString readText(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

static void writeText(const QString &fileName, const QByteArray &text)
{
    QFile f(fileName);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

class TestDoublePage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void edgesAreHorizontalOrVertical();
    void completingUsesTheClosingEdgeRule();
    void deletingWalksBackPointByPointAcrossZones();
    void editingKeepsZonesRectilinearAndNumbersStable();
    void pointsFollowTheCanvasSizeIntoTheFile();
    void readerEdgeCases();
    void writerCutsAtDataAndKeepsSixDigits();
    void writerRefusesImageOutsideData();
    void failedWriteKeepsTheOldFileAndSaysSo();
    void showRereadsOnlyWithoutUnsavedChanges();

private:
    QString makeImage(const QString &relative, const QSize &size);
    void click(DoublePage &page, int x, int y) { QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(x, y)); }

    void drag(DoublePage &page, QPoint from, QPoint to)
    {
        QTest::mousePress(&page, Qt::LeftButton, {}, from);
        QTest::mouseMove(&page, (from + to) / 2);
        QTest::mouseMove(&page, to);
        QTest::mouseRelease(&page, Qt::LeftButton, {}, to);
    }
    void drawBox(DoublePage &page, int left, int top, int right, int bottom)
    {
        click(page, left, top);
        click(page, right, top + 1);
        click(page, right + 1, bottom);
        click(page, left + 1, bottom + 1);
        page.appendHitzone();
    }

    QTemporaryDir *m_dir = nullptr;
    QString m_oldCwd;
};

void TestDoublePage::init()
{
    m_dir = new QTemporaryDir;
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path()); // the folder that holds the course's data folder
}

void TestDoublePage::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
}

QString TestDoublePage::makeImage(const QString &relative, const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QDir().mkpath(QFileInfo(relative).path());
    image.save(relative);
    return relative;
}

void TestDoublePage::edgesAreHorizontalOrVertical()
{
    DoublePage page;
    page.setImage(makeImage("data/pages/p1.png", QSize(400, 300)));
    click(page, 100, 100);
    click(page, 130, 105); // mostly horizontal
    click(page, 131, 160); // mostly vertical
    click(page, 140, 170); // a tie goes vertical
    QCOMPARE(page.hitzones().last(), QPolygonF({{100, 100}, {130, 100}, {130, 160}, {130, 170}}));
    QTest::mouseClick(&page, Qt::RightButton, {}, QPoint(10, 10));
    QCOMPARE(page.hitzones().last().size(), 4);
    QVERIFY(page.isModified());
}

void TestDoublePage::completingUsesTheClosingEdgeRule()
{
    DoublePage page;
    page.setImage(makeImage("data/pages/p1.png", QSize(400, 300)));
    page.appendHitzone(); // nothing drawn yet: no new zone
    QCOMPARE(page.hitzones().size(), 1);
    click(page, 10, 10);
    click(page, 100, 10);
    click(page, 100, 50);
    click(page, 12, 50);
    page.appendHitzone();
    QCOMPARE(page.hitzones().size(), 2);
    QCOMPARE(page.hitzones().first(), QPolygonF({{10, 10}, {100, 10}, {100, 50}, {10, 50}}));
    QVERIFY(page.hitzones().last().isEmpty());

    // One or two points enclose nothing: such a zone stays open for more points.
    click(page, 200, 200);
    page.appendHitzone();
    click(page, 250, 202);
    page.appendHitzone();
    QCOMPARE(page.hitzones().size(), 2);
    QCOMPARE(page.hitzones().last(), QPolygonF({{200, 200}, {250, 200}}));
    click(page, 251, 240);
    page.appendHitzone();
    QCOMPARE(page.hitzones().size(), 3);
}

void TestDoublePage::deletingWalksBackPointByPointAcrossZones()
{
    DoublePage page;
    page.setImage(makeImage("data/pages/p1.png", QSize(400, 300)));
    click(page, 10, 10);
    click(page, 50, 12);
    click(page, 52, 40);
    click(page, 12, 42);
    page.appendHitzone();
    const QPolygonF first = page.hitzones().first();
    click(page, 100, 100);
    click(page, 150, 102);
    click(page, 152, 140);
    page.appendHitzone();
    const QPolygonF second = page.hitzones()[1];
    QCOMPARE(page.hitzones().size(), 3);

    page.deletePrevPoint(); // the current zone is empty: the last completed one is open again, whole
    QCOMPARE(page.hitzones(), QList<QPolygonF>({first, second}));
    for (int i = 0; i < 3; ++i)
        page.deletePrevPoint();
    QCOMPARE(page.hitzones(), QList<QPolygonF>({first, QPolygonF()}));
    page.deletePrevPoint();
    QCOMPARE(page.hitzones(), QList<QPolygonF>({first}));
    for (int i = 0; i < 5; ++i)
        page.deletePrevPoint(); // past the first zone's points nothing is left to take back
    QCOMPARE(page.hitzones(), QList<QPolygonF>({QPolygonF()}));

    click(page, 10, 10); // drawing goes on in the zone that is open
    QCOMPARE(page.hitzones(), QList<QPolygonF>({QPolygonF({{10, 10}})}));
}

void TestDoublePage::editingKeepsZonesRectilinearAndNumbersStable()
{
    DoublePage page;
    page.setImage(makeImage("data/pages/p1.png", QSize(400, 300)));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    drawBox(page, 10, 10, 50, 40);
    drawBox(page, 100, 100, 150, 140);
    drawBox(page, 200, 10, 260, 60);
    const QList<QPolygonF> drawn = page.hitzones();
    QCOMPARE(page.numbers(), QList<int>({1, 2, 3}));
    QUndoStack *undo = page.undoStack();
    const int drawnAt = undo->index();

    drag(page, {120, 120}, {140, 125}); // the whole zone
    QCOMPARE(page.selectedNumber(), 2);
    QCOMPARE(page.hitzones()[1], QPolygonF({{120, 105}, {170, 105}, {170, 145}, {120, 145}}));
    drag(page, {120, 105}, {110, 95}); // its top-left handle: both neighbours follow on their axes
    QCOMPARE(page.hitzones()[1], QPolygonF({{110, 95}, {170, 95}, {170, 145}, {110, 145}}));
    drag(page, {170, 145}, {180, 146});
    QCOMPARE(page.hitzones()[1], QPolygonF({{110, 95}, {180, 95}, {180, 146}, {110, 146}}));

    click(page, 20, 20);
    QCOMPARE(page.selectedNumber(), 1);
    page.deleteSelected();
    QCOMPARE(page.numbers(), QList<int>({2, 3}));
    drawBox(page, 300, 200, 350, 250); // a number nobody had: undoing the deletion brings 1 back
    QCOMPARE(page.numbers(), QList<int>({2, 3, 4}));
    page.setFileName(m_dir->filePath("p.xml"));
    QVERIFY(page.writeFile());
    const QString saved = readText("p.xml");
    QVERIFY(saved.contains("<hitzone number=\"2\">110,95,180,95,180,146,110,146</hitzone>\n"
                           "    <hitzone number=\"3\">"));
    QVERIFY(saved.contains("<hitzone number=\"4\">300,200,350,200,350,250,300,250</hitzone>"));

    undo->setIndex(drawnAt); // every point, the deletion, the handle and the move taken back
    QCOMPARE(page.hitzones(), drawn);
    QCOMPARE(page.numbers(), QList<int>({1, 2, 3}));
    undo->redo();
    QCOMPARE(page.hitzones()[1], QPolygonF({{120, 105}, {170, 105}, {170, 145}, {120, 145}}));
    undo->setIndex(undo->count());
    QCOMPARE(page.numbers(), QList<int>({2, 3, 4}));
    QCOMPARE(page.hitzones()[0], QPolygonF({{110, 95}, {180, 95}, {180, 146}, {110, 146}}));

    // A zone deleted while it is held: the drag ends with it (moving on wrote to a zone gone).
    const QList<QPolygonF> beforeHeld = page.hitzones();
    QTest::mousePress(&page, Qt::LeftButton, {}, {120, 120});
    page.deleteSelected();
    QTest::mouseMove(&page, {150, 150});
    QTest::mouseRelease(&page, Qt::LeftButton, {}, {150, 150});
    QCOMPARE(page.hitzones().size(), beforeHeld.size() - 1);
    undo->undo();
    QCOMPARE(page.hitzones(), beforeHeld);

    // Taking back the last point of a zone in the same history as everything else.
    click(page, 380, 10);
    page.deletePrevPoint();
    QVERIFY(!page.hasUnfinishedHitzone());
    undo->undo();
    QCOMPARE(page.hitzones().last(), QPolygonF({{380, 10}}));
}

void TestDoublePage::pointsFollowTheCanvasSizeIntoTheFile()
{
    DoublePage page;
    page.setImage(makeImage("data/pages/small.png", QSize(400, 300)));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    click(page, 100, 100);
    click(page, 200, 101);
    click(page, 201, 150);
    click(page, 101, 151);
    page.appendHitzone();
    click(page, 300, 30); // the current zone scales too
    page.setImage(makeImage("data/pages/big.png", QSize(800, 600)));
    QTRY_COMPARE(page.size(), QSize(800, 600));
    QCOMPARE(page.hitzones().first(), QPolygonF({{200, 200}, {400, 200}, {400, 300}, {200, 300}}));
    QCOMPARE(page.hitzones().last(), QPolygonF({{600, 60}}));

    page.setFileName(m_dir->filePath("p.xml"));
    QVERIFY(page.writeFile());
    QVERIFY(page.isModified()); // the file has no place for the unfinished zone
    QCOMPARE(readText("p.xml"), QString("<doublepage file=\"data/pages/big.png\">\n"
                                        "    <hitzone number=\"1\">200,200,400,200,400,300,200,300</hitzone>\n"
                                        "</doublepage>\n"));
}

void TestDoublePage::readerEdgeCases()
{
    // The image is found from the hitzone file's folder upwards, wherever the editor was started.
    makeImage("course/data/pages/p2.png", QSize(400, 300));
    QDir().mkpath("course/pages");
    writeText("course/pages/zones.xml", "<doublepage file=\"data/pages/p2.png\">"
                           "<hitzone number=\"5\">1,2,3,4</hitzone>"
                           "<hitzone number=\"2\">10,20,30,40,</hitzone>" // odd part count: dropped
                           "<other>9,9</other>"
                           "<hitzone number=\"9\">x,7,8.5,1e2</hitzone>" // a non-number reads as 0
                           "<hitzone number=\"5\">3,3,4,4</hitzone>" // numbered twice: the next free
                           "</doublepage>");
    DoublePage page;
    page.resize(400, 300);
    page.readFile(m_dir->filePath("course/pages/zones.xml"));
    QCOMPARE(page.imagePath(), m_dir->filePath("course/data/pages/p2.png"));
    QCOMPARE(page.size(), QSize(400, 300));
    QCOMPARE(page.hitzones().size(), 4);
    QCOMPARE(page.hitzones()[0], QPolygonF({{1, 2}, {3, 4}}));
    QCOMPARE(page.hitzones()[1], QPolygonF({{0, 7}, {8.5, 100}}));
    QVERIFY(page.hitzones()[3].isEmpty());
    QCOMPARE(page.numbers(), QList<int>({5, 9, 1}));

    QVERIFY(page.writeFile()); // the numbers the author sees, which the material map uses
    QVERIFY(readText("course/pages/zones.xml").contains("<doublepage file=\"data/pages/p2.png\">\n"
                                           "    <hitzone number=\"5\">1,2,3,4</hitzone>\n"
                                           "    <hitzone number=\"9\">0,7,8.5,100</hitzone>\n"
                                           "    <hitzone number=\"1\">3,3,4,4</hitzone>"));

    // A file that is no page is told and let go of, so that saving never writes over it.
    writeText("wrong.xml", "<page file=\"data/pages/p2.png\"><hitzone>1,2</hitzone></page>");
    writeText("broken.xml", "<doublepage file=\"data/pages/p2.png\"><hitzone>1,2");
    for (const char *name : {"wrong.xml", "broken.xml"}) {
        BoxAnswer told(QMessageBox::Ok);
        page.readFile(m_dir->filePath(name));
        QCOMPARE(page.hitzones(), QList<QPolygonF>({QPolygonF()}));
        QVERIFY2(told.text.contains(name), qPrintable(told.text));
        QVERIFY(page.fileName().isEmpty());
    }
    page.readFile(m_dir->filePath("missing.xml"));
    QCOMPARE(page.hitzones(), QList<QPolygonF>({QPolygonF()}));
}

void TestDoublePage::writerCutsAtDataAndKeepsSixDigits()
{
    QCOMPARE(DoublePage::storedImagePath("/home/a/course/data/pages/p4.png"), QString("data/pages/p4.png"));
    QCOMPARE(DoublePage::storedImagePath("/x/data/y/data/p.png"), QString("data/y/data/p.png"));
    QCOMPARE(DoublePage::storedImagePath("/x/Data/p.png"), QString());
    QCOMPARE(DoublePage::pointsText(QPolygonF({{1234567, 0.5}, {123456, 2.25}})), QString("1.23457e+06,0.5,123456,2.25"));
    QPolygonF back;
    QVERIFY(DoublePage::parsePoints("1.23457e+06,0.5", &back));
    QCOMPARE(back.first(), QPointF(1234570, 0.5));
}

void TestDoublePage::writerRefusesImageOutsideData()
{
    makeImage("pictures/p.png", QSize(100, 100));
    writeText("keep.xml", "old contents");
    DoublePage page;
    page.setImage("pictures/p.png");
    page.setFileName(m_dir->filePath("keep.xml"));
    BoxAnswer answer(QMessageBox::Ok);
    QVERIFY(!page.writeFile());
    QCOMPARE(answer.text, QString("Error!!!: The folder \"data\" not found!!!"));
    QCOMPARE(readText("keep.xml"), QString("old contents"));
    QVERIFY(page.isModified());
}

void TestDoublePage::failedWriteKeepsTheOldFileAndSaysSo()
{
    makeImage("data/p.png", QSize(100, 100));
    // A folder where the file should be replaced: the write fails, as root too.
    QVERIFY(QDir().mkpath("taken.xml"));
    DoublePage page;
    page.setImage("data/p.png");
    page.setFileName(m_dir->filePath("taken.xml"));
    BoxAnswer answer(QMessageBox::Ok);
    QVERIFY(!page.writeFile());
    QVERIFY(answer.text.startsWith("Error!!!: Cannot save"));
    QVERIFY(QFileInfo("taken.xml").isDir());
    QVERIFY(page.isModified());

    // A full disk: the file saved before stays whole.
    page.setFileName(m_dir->filePath("page.xml"));
    QVERIFY(page.writeFile());
    const QString saved = readText("page.xml");
    click(page, 10, 10);
    click(page, 50, 10);
    click(page, 50, 50);
    page.appendHitzone();
    {
        NoFileWrites full;
        BoxAnswer fullAnswer(QMessageBox::Ok);
        QVERIFY(!page.writeFile());
    }
    QCOMPARE(readText("page.xml"), saved);
    QVERIFY(page.isModified());
}

void TestDoublePage::showRereadsOnlyWithoutUnsavedChanges()
{
    makeImage("data/pages/p3.png", QSize(300, 200));
    writeText("p3.xml", "<doublepage file=\"data/pages/p3.png\"><hitzone number=\"1\">10,10,50,10</hitzone></doublepage>");
    DoublePage page;
    page.readFile(m_dir->filePath("p3.xml"));
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.hitzones().first(), QPolygonF({{10, 10}, {50, 10}}));

    click(page, 100, 100);
    page.hide();
    page.show(); // as when a minimised page window comes back
    QCOMPARE(page.hitzones().last(), QPolygonF({{100, 100}}));

    page.deletePrevPoint();
    page.setFileName(m_dir->filePath("p3.xml"));
    QVERIFY(page.writeFile());
    writeText("p3.xml", "<doublepage file=\"data/pages/p3.png\"><hitzone number=\"1\">1,1,2,1</hitzone></doublepage>");
    page.hide();
    page.show(); // nothing unsaved: the file is read again
    QCOMPARE(page.hitzones().first(), QPolygonF({{1, 1}, {2, 1}}));
}

QTEST_MAIN(TestDoublePage)
#include "tst_doublepage.moc"
