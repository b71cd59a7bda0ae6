#include "environment.h"
#include "flashplayer.h"
#include "sheettextbook.h"
#include "shellslider.h"
#include "viewercontent.h"
#include "viewerpage.h"
#include "windowhard.h"
#include "waitfor.h"
#include "windowmain.h"

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWebEngineView>

// Watches a player from before a page turn until the page has loaded.
class PageWatch
{
public:
    explicit PageWatch(FlashPlayer *player)
        : loaded(player, &FlashPlayer::movieLoaded)
    {
    }
    bool waitFor(const QString &path)
    {
        return ::waitFor([&] {
            for (const auto &args : loaded)
                if (args.first().toString() == path)
                    return true;
            return false;
        }, 10000);
    }
    QSignalSpy loaded;
};

// Runs in the installation folder on the demo course: twelve page movies in data/textbook.
class TestTextbookSheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pageViewGeometry_data();
    void pageViewGeometry();
    void requestsThatNameAMaterial();
    void buttonsTurnPagesWithinTheBook();
    void rapidTurnsEndOnTheSlidersPage();
    void readerKeysAndTheWheelTurnPagesAndTheTabBarKeepsItsArrows();
    void eachPupilReopensAtTheLastPage();
    void brokenPageMovieLeavesTheViewUsable();
    void hitzoneClickOpensItsMaterial();
    void pageShownFromItsPictureIsTheLiveMovie();
    void pageStaysDrawnUnderTheContents();

private:
    QVariant inPage(const QString &script);
    void clickFirstHitzoneOfPage2(int expectedRequests);

    QTemporaryDir m_home;
    WindowMain *m_window = nullptr;
    SheetTextbook *m_sheet = nullptr;
};

void TestTextbookSheet::initTestCase()
{
    QVERIFY2(pageList().size() >= 10, "the demo course's page movies are built into data/textbook");
    qputenv("XDG_DATA_HOME", m_home.path().toUtf8());
    fillGroupTables();
    pupilDir = QDir(m_home.path());
    m_window = new WindowMain;
    m_window->resize(1200, 800);
    m_window->setupSheets();
    m_sheet = qobject_cast<SheetTextbook *>(m_window->sheetStack(WindowMain::Textbook)->widget(0));
    QVERIFY(m_sheet);
    PageWatch firstPage(m_sheet->pageView()->player()); // nothing loads before the event loop runs
    m_window->show();
    m_window->activateWindow(); // as start-up does: the keys go to this window
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    // The table of contents lies on top at first; take it off.
    m_window->removeWidgetInSheet(m_window->sheetStack(WindowMain::Textbook)->currentWidget());
    QCOMPARE(m_window->sheetStack(WindowMain::Textbook)->currentWidget(), m_sheet);
    QVERIFY(firstPage.waitFor(pageList().first()));
}

void TestTextbookSheet::cleanupTestCase()
{
    delete m_window;
}


void TestTextbookSheet::pageViewGeometry_data()
{
    QTest::addColumn<QSize>("view");
    QTest::addColumn<QRect>("movie");
    QTest::newRow("near the page") << QSize(577, 428) << QRect(3, 4, 571, 420);
    QTest::newRow("very wide") << QSize(1200, 300) << QRect(400, 3, 400, 294);
    QTest::newRow("very tall") << QSize(400, 1000) << QRect(3, 355, 394, 290);
}

void TestTextbookSheet::pageViewGeometry()
{
    QFETCH(QSize, view);
    QFETCH(QRect, movie);
    ViewerPage page;
    page.resize(view);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QTRY_COMPARE(page.player()->geometry(), movie);
    const QSize fitted = ViewerPage::fittedSize(view);
    QVERIFY(qAbs(fitted.width() - movie.width()) <= 1); // the halved margins may round
    QCOMPARE(fitted.height(), movie.height());
    QVERIFY(qAbs(fitted.width() * 416 - fitted.height() * 565) <= 565);

    // The 3-pixel green band around the movie.
    const QImage shot = page.grab().toImage();
    const QColor green(73, 129, 43);
    QCOMPARE(shot.pixelColor(movie.left() - 2, movie.center().y()), green);
    QCOMPARE(shot.pixelColor(movie.center().x(), movie.bottom() + 2), green);
    QVERIFY(shot.pixelColor(movie.left() - 4, movie.center().y()) != green || movie.left() < 4);
}

void TestTextbookSheet::requestsThatNameAMaterial()
{
    QString id;
    QVERIFY(SheetTextbook::materialOfRequest(
        "<invoke name=\"any\" returntype=\"xml\"><arguments><string>pra_01_slova</string><string>x</string>"
        "</arguments></invoke>", &id));
    QCOMPARE(id, QString("pra_01_slova"));
    QVERIFY(SheetTextbook::materialOfRequest("<invoke name=\"x\"><arguments><number>1</number></arguments></invoke>", &id));
    QCOMPARE(id, QString()); // still passed on: an empty id opens nothing
    QVERIFY(!SheetTextbook::materialOfRequest("<flash action=\"send\"><string>pra_01_slova</string></flash>", &id));
    QVERIFY(!SheetTextbook::materialOfRequest("not xml at all", &id));

    QStackedWidget *stack = m_window->sheetStack(WindowMain::Textbook);
    m_sheet->showMaterials("<flash action=\"send\"><arguments><string>pra_01_slova</string></arguments></flash>");
    m_sheet->showMaterials("<invoke name=\"x\"><arguments/></invoke>");
    QCOMPARE(stack->count(), 1);
}

void TestTextbookSheet::buttonsTurnPagesWithinTheBook()
{
    ShellSlider *slider = m_sheet->slider();
    FlashPlayer *player = m_sheet->pageView()->player();
    QPushButton *prev = m_sheet->findChild<QPushButton *>("button_prev");
    QPushButton *next = m_sheet->findChild<QPushButton *>("button_next");
    slider->setValue(0);
    PageWatch watch(player);
    prev->click();
    QCOMPARE(slider->value(), 0);
    next->click();
    next->click();
    QCOMPARE(slider->value(), 2);
    QCOMPARE(player->movie(), pageList().at(2));
    slider->setValue(slider->maximum());
    next->click();
    QCOMPARE(slider->value(), slider->maximum());
    QVERIFY(watch.waitFor(pageList().last()));
}

void TestTextbookSheet::rapidTurnsEndOnTheSlidersPage()
{
    ShellSlider *slider = m_sheet->slider();
    FlashPlayer *player = m_sheet->pageView()->player();
    slider->setValue(0);
    PageWatch watch(player);
    QPushButton *next = m_sheet->findChild<QPushButton *>("button_next");
    for (int i = 0; i < 7; ++i) {
        next->click();
        runFor(15); // faster than a page can load
    }
    QCOMPARE(slider->value(), 7);
    QVERIFY(watch.waitFor(pageList().at(7)));
    runFor(1000); // no older page may finish after it
    QCOMPARE(watch.loaded.last().first().toString(), pageList().at(7));
    QCOMPARE(player->movie(), pageList().at(7));
    // No picture of a page passed on the way stays over the movie.
    QCOMPARE(inPage(QStringLiteral("document.getElementById('preview').style.display")).toString(), QStringLiteral("none"));
}

void TestTextbookSheet::readerKeysAndTheWheelTurnPagesAndTheTabBarKeepsItsArrows()
{
    ShellSlider *slider = m_sheet->slider();
    slider->setValue(3);
    QWidget *page = m_sheet->pageView()->player()->findChild<QWebEngineView *>()->focusProxy();
    QVERIFY(page);
    const auto press = [&](Qt::Key key) {
        page->setFocus();
        QTest::keyClick(page, key);
    };
    press(Qt::Key_PageDown);
    QCOMPARE(slider->value(), 4);
    press(Qt::Key_Right);
    QCOMPARE(slider->value(), 5);
    press(Qt::Key_PageUp);
    press(Qt::Key_Left);
    QCOMPARE(slider->value(), 3);
    press(Qt::Key_End);
    QCOMPARE(slider->value(), slider->maximum());
    press(Qt::Key_Home);
    QCOMPARE(slider->value(), 0);

    // A wheel notch down is the next double page, up the previous, over the movie too;
    // small touchpad steps add up to a notch.
    const auto wheel = [](QWidget *over, int delta) {
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent event(at, over->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    };
    wheel(page, -120);
    QCOMPARE(slider->value(), 1);
    for (int i = 0; i < 4; ++i)
        wheel(page, -30);
    QCOMPARE(slider->value(), 2);
    wheel(page, 120);
    QCOMPARE(slider->value(), 1);
    slider->setValue(0);

    // With the focus on the tab bar, the arrows are the tab bar's.
    QTabBar *tabs = m_window->tabBar();
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_Right);
    QCOMPARE(tabs->currentIndex(), int(WindowMain::Catalogue));
    QCOMPARE(slider->value(), 0);
    tabs->setCurrentIndex(WindowMain::Textbook);

    // Every button that shows only a picture has a name a screen reader can say.
    for (QPushButton *button : m_window->findChildren<QPushButton *>()) {
        if (button->text().isEmpty())
            QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
    }
}

void TestTextbookSheet::eachPupilReopensAtTheLastPage()
{
    QFile::remove(pupilDir.filePath("textbook.page"));
    m_sheet->slider()->setValue(6);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(pupilDir.filePath("textbook.page")), 3000);
    SheetTextbook reopened;
    QCOMPARE(reopened.slider()->value(), 6);
    QCOMPARE(reopened.pageView()->player()->movie(), pageList().at(6));
    m_sheet->slider()->setValue(0);
}

void TestTextbookSheet::brokenPageMovieLeavesTheViewUsable()
{
    QTemporaryDir broken(QDir::current().filePath("broken-XXXXXX"));
    QFile bad(broken.filePath("001-002.swf"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("this is no movie");
    bad.close();
    FlashPlayer *player = m_sheet->pageView()->player();
    QSignalSpy failed(player, &FlashPlayer::movieFailed);
    // One line, naming the movie that failed.
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot play .*/broken-.*/001-002.swf"));
    QTest::failOnWarning(QRegularExpression("page movie failed"));
    // As a neighbour it has no picture to show; the turn to it fails as an ordinary page.
    player->setNeighbourMovies({bad.fileName()});
    QVERIFY(waitFor([&] { return !inPage(QStringLiteral("PelloraPlayer.isPainting()")).toBool(); }, 15000));
    m_sheet->pageView()->loadPage(bad.fileName());
    QVERIFY(failed.wait(10000));
    runFor(300);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), QFileInfo(bad.fileName()).canonicalFilePath());

    // Turned on before it fails: if the failure still comes, it is not the new page's.
    QTest::failOnWarning(QRegularExpression("cannot play .*data/textbook"));
    PageWatch watch(player);
    m_sheet->pageView()->loadPage(bad.fileName());
    m_sheet->slider()->setValue(3);
    QVERIFY(watch.waitFor(pageList().at(3)));
    runFor(500);
    for (const QList<QVariant> &args : failed)
        QVERIFY(args.first().toString().endsWith("/001-002.swf"));
}

void TestTextbookSheet::hitzoneClickOpensItsMaterial()
{
    // Chapter "Слово и предложение" starts on double page 2: its first hitzone is the material
    // pra_01_slova, drawn at 32..267 x 301..601 on the 1130 x 832 page picture.
    auto *contents = new ViewerContent(m_window->mainStack());
    connect(contents, SIGNAL(jumpPage(int)), m_sheet->slider(), SLOT(jumpPage(int)));
    FlashPlayer *player = m_sheet->pageView()->player();
    PageWatch watch(player);
    emit contents->jumpPage(2);
    delete contents;
    QCOMPARE(player->movie(), pageList().at(1));
    QVERIFY(watch.waitFor(pageList().at(1)));
    runFor(300); // the buttons come with the first frame

    clickFirstHitzoneOfPage2(1);

    QStackedWidget *stack = m_window->sheetStack(WindowMain::Textbook);
    QCOMPARE(stack->count(), 2);
    auto *material = qobject_cast<WindowHard *>(stack->currentWidget());
    QVERIFY(material);
    QCOMPARE(material->captionText(), QString("Сколько слов в предложении?"));
    m_window->removeWidgetInSheet(material);
}

// The first hitzone of double page 2 (pageList index 1), drawn at 32..267 x 301..601 on the
// 1130 x 832 page picture.
void TestTextbookSheet::clickFirstHitzoneOfPage2(int expectedRequests)
{
    FlashPlayer *player = m_sheet->pageView()->player();
    QWidget *surface = player->findChild<QWebEngineView *>()->focusProxy();
    const double scale = player->width() / 1130.0;
    const QPoint zone(int(149.5 * scale), int((451 - 416) * scale + player->height() / 2.0));
    QSignalSpy requests(m_sheet->pageView(), &ViewerPage::selectedHitzone);
    QTest::mouseMove(surface, zone);
    runFor(50);
    QTest::mouseClick(surface, Qt::LeftButton, {}, zone);
    QVERIFY(requests.wait(5000));
    runFor(300);
    QCOMPARE(requests.count(), expectedRequests);
}

QVariant TestTextbookSheet::inPage(const QString &script)
{
    QVariant result;
    bool done = false;
    m_sheet->pageView()->player()->findChild<QWebEngineView *>()->page()->runJavaScript(
        script, [&](const QVariant &value) { result = value; done = true; });
    (void)waitFor([&] { return done; }, 5000);
    return result;
}

void TestTextbookSheet::pageShownFromItsPictureIsTheLiveMovie()
{
    // The next page shows at the press from a picture of its first frame; the movie itself
    // takes over once it has drawn, and its hitzones answer once per click.
    FlashPlayer *player = m_sheet->pageView()->player();
    ShellSlider *slider = m_sheet->slider();
    PageWatch first(player);
    slider->setValue(0);
    QVERIFY(first.waitFor(pageList().at(0)));
    const QString next = QFileInfo(pageList().at(1)).fileName();
    const QString hasPicture =
        QStringLiteral("PelloraPlayer.hasPreview(PelloraPlayer.state.movieUrl.replace(/[^/]*$/, '%1'))")
            .arg(next);
    QVERIFY(waitFor([&] { return inPage(hasPicture).toBool(); }, 15000));
    // Nothing hidden keeps playing once the pictures are taken.
    QVERIFY(waitFor([&] { return !inPage(QStringLiteral("PelloraPlayer.isPainting()")).toBool(); }, 15000));

    PageWatch watch(player);
    m_sheet->findChild<QPushButton *>("button_next")->click();
    QCOMPARE(slider->value(), 1);
    // (The picture stays named after it has gone.)
    QVERIFY(waitFor([&] {
        return inPage(QStringLiteral("document.getElementById('preview').dataset.url || ''")).toString().endsWith(next);
    }, 5000));
    QVERIFY(watch.waitFor(pageList().at(1)));
    QVERIFY(waitFor([&] {
        return inPage(QStringLiteral("document.getElementById('preview').style.display")).toString() == QLatin1String("none");
    }, 5000));
    QCOMPARE(player->movie(), pageList().at(1));
    clickFirstHitzoneOfPage2(1);
    m_window->removeWidgetInSheet(m_window->sheetStack(WindowMain::Textbook)->currentWidget());
}

void TestTextbookSheet::pageStaysDrawnUnderTheContents()
{
    // Closing the contents shows the page at once: under them it stays on screen for the web
    // engine (which draws nothing hidden), held still, while the contents keep the keys and
    // the mouse. Taking them off shows the same movie, not a reload.
    QStackedWidget *stack = m_window->sheetStack(WindowMain::Textbook);
    FlashPlayer *player = m_sheet->pageView()->player();
    QWebEnginePage *page = player->findChild<QWebEngineView *>()->page();
    ShellSlider *slider = m_sheet->slider();
    if (slider->value() != 1) {
        PageWatch turned(player);
        slider->setValue(1);
        QVERIFY(turned.waitFor(pageList().at(1)));
    }
    const auto clickNext = [&] {
        auto *next = m_sheet->findChild<QPushButton *>("button_next");
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {},
                          m_window->mapFromGlobal(next->mapToGlobal(next->rect().center())));
    };
    m_window->showContent();
    QWidget *contents = stack->currentWidget();
    QVERIFY(contents != m_sheet);
    QVERIFY(contents->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(waitFor([&] { return page->isVisible() && inPage(QStringLiteral("PelloraPlayer.state.held")).toBool(); }, 5000));
    clickNext();
    QCOMPARE(slider->value(), 1);

    QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
    m_window->removeWidgetInSheet(contents);
    QCOMPARE(stack->currentWidget(), m_sheet);
    QVERIFY(m_sheet->isAncestorOf(QApplication::focusWidget()));
    QVERIFY(waitFor([&] { return !inPage(QStringLiteral("PelloraPlayer.state.held")).toBool(); }, 5000));
    QVERIFY(page->isVisible());
    QVERIFY(loaded.isEmpty());
    QCOMPARE(player->movie(), pageList().at(1));
    clickNext();
    QCOMPARE(slider->value(), 2);
}

QTEST_MAIN(TestTextbookSheet)
#include "tst_textbooksheet.moc"
