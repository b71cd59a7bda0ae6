#include "contentmodel.h"
#include "environment.h"
#include "shellslider.h"

#include <QApplication>
#include <QPainter>
#include <QWheelEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

static void makeImage(const QString &name, const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::darkGreen);
    QVERIFY(image.save("theme/slider/" + name));
}

static const char kContents[] = R"(<content caption="c">
    <chapter caption="Первая" id="1" startpage="2">
        <chapter caption="Вторая" id="2" startpage="3"><object caption="o" type="ani" id="o1" path="p"/></chapter>
    </chapter>
    <chapter caption="Третья глава с очень длинным названием, которое никак не помещается в пузырь" id="3" startpage="6"/>
</content>
)";

class TestShellSlider : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void dragEmitsOnceAtRelease();
    void buttonsAndGrooveMoveAtOnceWithinRange();
    void jumpPageTakesPageNumbers();
    void wheelNotchIsOnePageAndTheWholeHeightTakesClicks();
    void chapterOfAPage();
    void bubbleTurnsNearTheRightEnd();
    void emptyPageListHasOneEmptyPage();

private:
    void jump(int page) { QMetaObject::invokeMethod(m_slider, "jumpPage", Q_ARG(int, page)); }
    QPoint handleCentre() const { return m_slider->areaRect(ShellSlider::HandleArea).center().toPoint(); }

    QTemporaryDir m_dir;
    QString m_oldCwd;
    QStringList m_pages;
    ShellSlider *m_slider = nullptr;
    QList<QString> m_emitted;
};

void TestShellSlider::initTestCase()
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path());
    QDir().mkpath("theme/slider");
    makeImage("slider_part.png", {8, 8});
    makeImage("slider_groove.png", {200, 14});
    makeImage("slider_handle.png", {28, 40});
    makeImage("slider_handle_inverse.png", {28, 40});
    makeImage("slider_hint_normal.png", {90, 70});
    makeImage("slider_hint_inverse.png", {90, 70});
    makeImage("slider_stroke_big.png", {2, 10});
    makeImage("slider_stroke_small.png", {2, 6});
    for (const char *button : {"prev", "next"})
        for (const char *state : {"normal", "hover", "press"})
            makeImage(QString("slider_button_%1_%2.png").arg(button, state), {48, 36});
    QDir().mkpath("data");
    QFile contents("data/content.xml");
    QVERIFY(contents.open(QIODevice::WriteOnly));
    contents.write(kContents);
    contents.close();
    ensureContentModel();
    for (int i = 0; i < 12; ++i)
        m_pages << QString("/pages/%1.swf").arg(i, 3, 10, QChar('0'));
}

void TestShellSlider::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
}

void TestShellSlider::init()
{
    delete m_slider;
    m_emitted.clear();
    m_slider = new ShellSlider(m_pages);
    m_slider->resize(700, 70);
    connect(m_slider, &ShellSlider::pageChanged, this, [this](QString &path) { m_emitted << path; });
    m_slider->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_slider));
}

void TestShellSlider::dragEmitsOnceAtRelease()
{
    // Groove from x 50, 611 wide; 12 pages: 53 pixels a page.
    QCOMPARE(m_slider->areaRect(ShellSlider::GrooveArea), QRectF(50, 30, 611, 14));
    QCOMPARE(m_slider->pageStep(), 53.0f);
    QPoint p = handleCentre();
    QTest::mouseMove(m_slider, p);
    QTest::mousePress(m_slider, Qt::LeftButton, {}, p);
    for (int i = 1; i <= 10; ++i)
        QTest::mouseMove(m_slider, p + QPoint(53 * i + 5, 0));
    QCOMPARE(m_slider->value(), 10);
    QVERIFY(m_emitted.isEmpty());
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, p + QPoint(535, 0));
    QCOMPARE(m_emitted, QStringList({"/pages/010.swf"}));

    // Let go without moving: the same page again.
    p = handleCentre();
    QTest::mouseMove(m_slider, p);
    QTest::mousePress(m_slider, Qt::LeftButton, {}, p);
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, p);
    QCOMPARE(m_emitted, QStringList({"/pages/010.swf", "/pages/010.swf"}));

    // Dragging past the end stops at the last page.
    QTest::mousePress(m_slider, Qt::LeftButton, {}, p);
    QTest::mouseMove(m_slider, p + QPoint(2000, 0));
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, p + QPoint(2000, 0));
    QCOMPARE(m_slider->value(), 11);
}

void TestShellSlider::buttonsAndGrooveMoveAtOnceWithinRange()
{
    const QPoint prev = m_slider->areaRect(ShellSlider::PrevButtonArea).center().toPoint();
    const QPoint next = m_slider->areaRect(ShellSlider::NextButtonArea).center().toPoint();
    QTest::mouseMove(m_slider, prev);
    QTest::mouseClick(m_slider, Qt::LeftButton, {}, prev); // already on the first page
    QCOMPARE(m_slider->value(), 0);
    QVERIFY(m_emitted.isEmpty());
    QTest::mouseMove(m_slider, next);
    QTest::mouseClick(m_slider, Qt::LeftButton, {}, next);
    QCOMPARE(m_emitted, QStringList({"/pages/001.swf"}));

    const QPoint groove(50 + 53 * 7 + 2, 40);
    QTest::mouseMove(m_slider, groove);
    QTest::mouseClick(m_slider, Qt::LeftButton, {}, groove);
    QCOMPARE(m_slider->value(), 7);
    QCOMPARE(m_emitted.last(), QString("/pages/007.swf"));

    m_slider->setValue(11);
    m_emitted.clear();
    QTest::mouseMove(m_slider, next);
    QTest::mouseClick(m_slider, Qt::LeftButton, {}, next); // already on the last page
    QCOMPARE(m_slider->value(), 11);
    QVERIFY(m_emitted.isEmpty());
}

void TestShellSlider::jumpPageTakesPageNumbers()
{
    jump(6);
    QCOMPARE(m_slider->value(), 5);
    QCOMPARE(m_emitted, QStringList({"/pages/005.swf"}));
    jump(1);
    QCOMPARE(m_slider->currentPagePath(), QString("/pages/000.swf"));
    jump(99);
    QCOMPARE(m_slider->value(), 11);
    jump(0); // a chapter without a start page number
    QCOMPARE(m_slider->value(), 0);
}

void TestShellSlider::wheelNotchIsOnePageAndTheWholeHeightTakesClicks()
{
    const auto wheel = [this](int delta) {
        const QPointF at = m_slider->areaRect(ShellSlider::GrooveArea).center();
        QWheelEvent event(at, m_slider->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_slider, &event);
    };
    // Down, towards the reader, is on into the book, as on the page above.
    wheel(-120);
    QCOMPARE(m_slider->value(), 1);
    wheel(-60); // half a notch, as a touchpad sends it
    QCOMPARE(m_slider->value(), 1);
    wheel(-60);
    QCOMPARE(m_slider->value(), 2);
    wheel(240);
    QCOMPARE(m_slider->value(), 0);

    // Above and below the thin groove line, a click still lands on its page.
    for (int y : {2, 68}) {
        const QPoint at(50 + 53 * 4 + 2, y);
        QTest::mouseMove(m_slider, at);
        QTest::mouseClick(m_slider, Qt::LeftButton, {}, at);
        QCOMPARE(m_slider->value(), 4);
        m_slider->setValue(0);
    }
}

void TestShellSlider::chapterOfAPage()
{
    QCOMPARE(ShellSlider::chapterCaption(1), QString("Вторая")); // before every chapter: the first entry
    QCOMPARE(ShellSlider::chapterCaption(3), QString("Вторая"));
    QCOMPARE(ShellSlider::chapterCaption(5), QString("Вторая"));
    QVERIFY(ShellSlider::chapterCaption(6).startsWith("Третья"));
    QVERIFY(ShellSlider::chapterCaption(60).startsWith("Третья"));
}

void TestShellSlider::bubbleTurnsNearTheRightEnd()
{
    m_slider->setValue(0);
    QVERIFY(!m_slider->isInverse());
    m_slider->setValue(11);
    QVERIFY(m_slider->isInverse());

    // Both bubbles paint while dragging, the long caption cut to fit.
    QPoint p = handleCentre();
    QTest::mouseMove(m_slider, p);
    QTest::mousePress(m_slider, Qt::LeftButton, {}, p);
    QImage inverse = m_slider->grab().toImage();
    QTest::mouseMove(m_slider, QPoint(70, 40));
    QCOMPARE(m_slider->value(), 0);
    QImage normal = m_slider->grab().toImage();
    QTest::mouseRelease(m_slider, Qt::LeftButton, {}, QPoint(70, 40));
    QVERIFY(inverse != normal);
}

void TestShellSlider::emptyPageListHasOneEmptyPage()
{
    m_slider->hide(); // mouse events go to the window on top
    ShellSlider empty{QStringList()};
    QCOMPARE(empty.maximum(), 0);
    QString got = "unset";
    connect(&empty, &ShellSlider::pageChanged, this, [&got](QString &path) { got = path; });
    empty.resize(400, 70);
    empty.show();
    QVERIFY(QTest::qWaitForWindowExposed(&empty));
    QCOMPARE(empty.pageStep(), 0.0f);
    QCOMPARE(empty.areaRect(ShellSlider::HandleArea).center().x(), 50.0 + 12);
    QMetaObject::invokeMethod(&empty, "jumpPage", Q_ARG(int, 5));
    QCOMPARE(empty.value(), 0);
    QCOMPARE(empty.currentPagePath(), QString());
    // Letting go of the handle loads the only page there is: none.
    const QPoint handle = empty.areaRect(ShellSlider::HandleArea).center().toPoint();
    QTest::mouseMove(&empty, handle);
    QTest::mousePress(&empty, Qt::LeftButton, {}, handle);
    QTest::mouseMove(&empty, handle + QPoint(100, 0));
    QTest::mouseRelease(&empty, Qt::LeftButton, {}, handle + QPoint(100, 0));
    QCOMPARE(empty.value(), 0);
    QCOMPARE(got, QString());
}

QTEST_MAIN(TestShellSlider)
#include "tst_shellslider.moc"
