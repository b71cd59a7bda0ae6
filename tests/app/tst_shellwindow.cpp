#include "shellwindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

// A frame image whose regions have distinct colours, so a painted window shows which piece went where.
static const QColor kCornerTL(255, 0, 0), kCornerTR(0, 255, 0), kCornerBL(0, 0, 255), kCornerBR(255, 255, 0);
static const QColor kEdgeTop(0, 255, 255), kEdgeBottom(255, 0, 255), kEdgeLeft(128, 0, 0), kEdgeRight(0, 128, 0);
static const QColor kCentre(10, 10, 10), kBody(200, 200, 200);

class TestShellWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void framePiecesCoverTheWindow_data();
    void framePiecesCoverTheWindow();
    void paintedFrameAtTwoSizes_data();
    void paintedFrameAtTwoSizes();
    void centredBodyShowsTheMiddleOfTheWholePicture();
    void captionAreaFollowsWidth();
    void dragByCaptionMovesOnlyTopLevelWindows();
    void gripResizesKeepingCursorDistance();
    void maximizeToggleRoundTrip();
    void escapeAndReturnDoNotCloseTheWindow();

private:
    ShellWindowTheme testTheme() const;
    QTemporaryDir m_dir;
};

void TestShellWindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // 40 x 30 frame: borders left 4, top 8, right 6, bottom 5.
    QImage frame(40, 30, QImage::Format_ARGB32);
    frame.fill(kCentre);
    QPainter p(&frame);
    p.fillRect(0, 0, 4, 8, kCornerTL);
    p.fillRect(34, 0, 6, 8, kCornerTR);
    p.fillRect(0, 25, 4, 5, kCornerBL);
    p.fillRect(34, 25, 6, 5, kCornerBR);
    p.fillRect(4, 0, 30, 8, kEdgeTop);
    p.fillRect(4, 25, 30, 5, kEdgeBottom);
    p.fillRect(0, 8, 4, 17, kEdgeLeft);
    p.fillRect(34, 8, 6, 17, kEdgeRight);
    p.end();
    QVERIFY(frame.save(m_dir.filePath("frame.png")));
    QImage body(64, 64, QImage::Format_RGB32);
    body.fill(kBody);
    QVERIFY(body.save(m_dir.filePath("body.png")));
}

ShellWindowTheme TestShellWindow::testTheme() const
{
    ShellWindowTheme t;
    t.frameImage = m_dir.filePath("frame.png");
    t.frameLeft = 4;
    t.frameTop = 8;
    t.frameRight = 6;
    t.frameBottom = 5;
    t.captionLeft = 2;
    t.captionTop = 1;
    t.captionRight = 3;
    t.captionBottom = 22; // caption area y 1 .. 30 - 22 - 1 = 7
    t.captionFontFamily = QStringLiteral("DejaVu Sans");
    t.captionStyle = ShellWindowTheme::packCaptionStyle(9, true, false, Qt::black);
    t.bodyImage = m_dir.filePath("body.png");
    t.gripSize = 10;
    t.captionIndent = 5;
    return t;
}

void TestShellWindow::framePiecesCoverTheWindow_data()
{
    QTest::addColumn<QSize>("window");
    QTest::newRow("frame size") << QSize(40, 30);
    QTest::newRow("small") << QSize(120, 90);
    QTest::newRow("large") << QSize(1600, 1000);
    QTest::newRow("tall") << QSize(41, 900);
}

void TestShellWindow::framePiecesCoverTheWindow()
{
    QFETCH(QSize, window);
    const auto pieces = ShellWindow::framePieces(QSize(40, 30), 4, 8, 6, 5, window);
    QCOMPARE(pieces.size(), 8);
    QRegion covered;
    for (const auto &piece : pieces) {
        QVERIFY(QRect(0, 0, 40, 30).contains(piece.source));
        QVERIFY(!covered.intersects(piece.target)); // no piece paints over another
        covered += piece.target;
    }
    // Exactly the border band is covered, never the centre.
    const QRect inner(4, 8, window.width() - 10, window.height() - 13);
    QCOMPARE(covered, QRegion(QRect(QPoint(0, 0), window)) - QRegion(inner));
    // Corners are drawn unscaled; edges from one-pixel strips.
    for (const auto &piece : pieces) {
        if (piece.source.width() > 1 && piece.source.height() > 1)
            QCOMPARE(piece.source.size(), piece.target.size());
        else
            QVERIFY(piece.source.width() == 1 || piece.source.height() == 1);
    }
}

void TestShellWindow::paintedFrameAtTwoSizes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("200x150") << QSize(200, 150);
    QTest::newRow("640x480") << QSize(640, 480);
}

void TestShellWindow::paintedFrameAtTwoSizes()
{
    QFETCH(QSize, size);
    ShellWindow window(testTheme());
    window.resize(size);
    const QImage shot = window.grab().toImage();
    const int w = size.width(), h = size.height();
    QCOMPARE(shot.pixelColor(0, 0), kCornerTL);
    QCOMPARE(shot.pixelColor(w - 1, 0), kCornerTR);
    QCOMPARE(shot.pixelColor(0, h - 1), kCornerBL);
    QCOMPARE(shot.pixelColor(w - 1, h - 1), kCornerBR);
    QCOMPARE(shot.pixelColor(w / 2, 0), kEdgeTop);
    QCOMPARE(shot.pixelColor(w / 2, h - 1), kEdgeBottom);
    QCOMPARE(shot.pixelColor(0, h / 2), kEdgeLeft);
    QCOMPARE(shot.pixelColor(w - 1, h / 2), kEdgeRight);
    QCOMPARE(shot.pixelColor(w / 2, h / 2), kBody); // the frame's centre is never drawn
}

// Only the part of a large centred picture the screens can show is kept; the window must still
// show the very pixels of the whole picture's middle, also when it grows past the screen.
void TestShellWindow::centredBodyShowsTheMiddleOfTheWholePicture()
{
    const QSize whole(2001, 1601);
    QImage body(whole, QImage::Format_RGB32);
    for (int y = 0; y < whole.height(); ++y)
        for (int x = 0; x < whole.width(); ++x)
            body.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 32 + y / 256));
    const QString file = m_dir.filePath("large.png");
    QVERIFY(body.save(file));
    ShellWindow window(testTheme());
    window.setBodyImage(file, true);
    const QSize screen = QGuiApplication::primaryScreen()->size();
    for (const QSize size : {QSize(301, 200), screen + QSize(101, 51)}) {
        window.resize(size);
        const QImage shot = window.grab().toImage();
        const QPoint corner(whole.width() / 2 - size.width() / 2, whole.height() / 2 - size.height() / 2);
        for (const QPoint at : {QPoint(10, 12), QPoint(size.width() / 2, size.height() / 2),
                                QPoint(size.width() - 11, size.height() - 9)})
            QCOMPARE(shot.pixel(at), body.pixel(corner + at));
    }
}

void TestShellWindow::captionAreaFollowsWidth()
{
    ShellWindow window(testTheme());
    QCOMPARE(window.minimumSize(), QSize(40, 30));
    window.resize(300, 200);
    QCOMPARE(window.captionArea(), QRect(QPoint(2, 1), QPoint(300 - 1 - 3, 7)));
    window.resize(500, 200);
    QCOMPARE(window.captionArea().right(), 496);
    QVERIFY(window.isInGrip(QPoint(495, 195)));
    QVERIFY(!window.isInGrip(QPoint(490, 195)));
    QVERIFY(!window.isInGrip(QPoint(495, 190)));
}

void TestShellWindow::dragByCaptionMovesOnlyTopLevelWindows()
{
    ShellWindow window(testTheme());
    window.setGeometry(100, 100, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(50, 4));
    QTest::mouseMove(&window, QPoint(80, 24));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(80, 24));
    QCOMPARE(window.pos(), start + QPoint(30, 20));

    // A press below the caption area does not drag.
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(50, 40));
    QTest::mouseMove(&window, QPoint(90, 80));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(90, 80));
    QCOMPARE(window.pos(), start + QPoint(30, 20));

    QWidget host;
    host.resize(600, 400);
    auto *embedded = new ShellWindow(testTheme(), &host);
    embedded->setWindowFlags(Qt::Widget);
    embedded->setGeometry(10, 10, 300, 200);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QTest::mousePress(embedded, Qt::LeftButton, {}, QPoint(50, 4));
    QTest::mouseMove(embedded, QPoint(100, 50));
    QTest::mouseRelease(embedded, Qt::LeftButton, {}, QPoint(100, 50));
    QCOMPARE(embedded->pos(), QPoint(10, 10));
}

void TestShellWindow::gripResizesKeepingCursorDistance()
{
    ShellWindow window(testTheme());
    window.setGeometry(100, 100, 300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(295, 195));
    QCOMPARE(window.cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(295, 195));
    QTest::mouseMove(&window, QPoint(395, 245));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(395, 245));
    QCOMPARE(window.size(), QSize(395 + 10, 245 + 10));
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);

    // Away from the grip the cursor is the arrow and a press does not resize.
    QTest::mouseMove(&window, QPoint(150, 100));
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(150, 100));
    QTest::mouseMove(&window, QPoint(200, 150));
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(200, 150));
    QCOMPARE(window.size(), QSize(405, 255));
}

void TestShellWindow::maximizeToggleRoundTrip()
{
    const QRect workArea = QGuiApplication::primaryScreen()->availableGeometry();
    ShellWindow window(testTheme());
    window.setGeometry(50, 60, 320, 240);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.maximize();
    QCOMPARE(window.geometry(), workArea);
    window.maximize();
    QCOMPARE(window.geometry(), QRect(50, 60, 320, 240));
    window.maximize();
    QCOMPARE(window.geometry(), workArea);

    // The saved rectangle is shared: another window restores to what the last toggle saved.
    ShellWindow other(testTheme());
    other.setGeometry(workArea);
    other.maximize();
    QCOMPARE(other.geometry(), QRect(50, 60, 320, 240));
}

void TestShellWindow::escapeAndReturnDoNotCloseTheWindow()
{
    ShellWindow window(testTheme());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QTest::keyClick(&window, Qt::Key_Return);
    QVERIFY(window.isVisible());
    QCOMPARE(window.result(), 0);
}

QTEST_MAIN(TestShellWindow)
#include "tst_shellwindow.moc"
