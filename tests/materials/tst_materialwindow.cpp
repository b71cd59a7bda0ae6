// Materials of the demo course in the main window, as a pupil meets them: a test answered
// with the mouse whose mark is on disk and in the markbook sheet at once; a material of two
// movies and a picture; movies that open and switch materials.

#include "environment.h"
#include "markbookmodel.h"
#include "materialprinter.h"
#include "quizdriver.h"
#include "sheetmarkbook.h"
#include "treeitem.h"
#include "viewerflash.h"
#include "waitfor.h"
#include "viewerimage.h"
#include "viewerobject.h"
#include "windowhard.h"
#include "windowmain.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using namespace QuizDriver;

class TestMaterialWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void testMarkIsOnDiskAndInTheMarkbookAtOnce();
    void twoMoviesAndAPictureShowAndEscapeClosesThemAfterAClick();
    void moviesOpenAndSwitchMaterials();
    void printedMaterialIsNotBlank();

private:
    QStackedWidget *textbook() const { return m_window->sheetStack(WindowMain::Textbook); }
    WindowHard *top() const { return qobject_cast<WindowHard *>(textbook()->currentWidget()); }
    static bool drawn(FlashPlayer &player);

    QTemporaryDir m_pupil;
    WindowMain *m_window = nullptr;
};

// Whether the movie shows something: not one colour all over.
bool TestMaterialWindow::drawn(FlashPlayer &player)
{
    const QImage image = player.grab().toImage();
    int differing = 0;
    for (int y = 0; y < image.height(); y += 8)
        for (int x = 0; x < image.width(); x += 8)
            differing += image.pixel(x, y) != image.pixel(0, 0) ? 1 : 0;
    return differing > 20;
}

void TestMaterialWindow::initTestCase()
{
    QVERIFY2(QFile::exists("data/objects/con_01_slog/normal.xml"), "the demo materials are built into data/objects");
    fillGroupTables();
    pupilDir = QDir(m_pupil.path());
    m_window = new WindowMain;
    m_window->resize(1400, 950);
    m_window->setupSheets();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->removeWidgetInSheet(textbook()->currentWidget()); // the contents
    QTRY_COMPARE(textbook()->count(), 1);
}

void TestMaterialWindow::cleanupTestCase()
{
    delete m_window;
}

void TestMaterialWindow::testMarkIsOnDiskAndInTheMarkbookAtOnce()
{
    m_window->createWidgetInSheet("con_01_slog");
    QVERIFY(top());
    auto *movie = top()->findChild<ViewerFlash *>();
    QVERIFY(movie);
    FlashPlayer &player = *movie->player();
    QVERIFY2(waitFor([&] { return slotsShow(player); }, 30000), "the questions never showed");

    QFile questions("data/objects/con_01_slog/questions.xml");
    QVERIFY(questions.open(QIODevice::ReadOnly));
    const QList<int> right = rightAnswers(questions.readAll());
    QCOMPARE(right.size(), 4);
    // The first answered wrong, the rest right: 3 of 4.
    for (int i = 0; i < right.size(); ++i)
        click(player, slotPoint(player, i == 0 ? (right[0] + 1) % 3 : right[i]));

    // On disk while the program runs, not only at exit.
    const auto onDisk = [this] {
        QFile file(m_pupil.filePath("markbook.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QVERIFY(waitFor([&] { return onDisk().contains("mark=\"0.75\" id=\"con_01_slog\">3/4</object>"); }, 10000));

    // The markbook sheet draws the blue mark of a good result, without being reopened.
    m_window->tabBar()->setCurrentIndex(WindowMain::Markbook);
    auto *sheet = qobject_cast<SheetMarkbook *>(m_window->sheetStack(WindowMain::Markbook)->widget(0));
    QVERIFY(sheet);
    const TreeItem *test = markbookModel->findObject("con_01_slog", markbookModel->rootItem());
    const QRect cell = sheet->visualRect(markbookModel->indexFromItem(const_cast<TreeItem *>(test), 1));
    QVERIFY(cell.isValid());
    const QImage shown = sheet->viewport()->grab(cell).toImage();
    const QImage blue = QImage(MarkbookModel::bandIcon(MarkbookModel::Good)).scaled(24, 24, Qt::IgnoreAspectRatio,
                                                                                  Qt::SmoothTransformation);
    const QColor drawn = shown.pixelColor(shown.width() / 2, shown.height() / 2);
    const QColor wanted = blue.pixelColor(12, 12);
    QVERIFY2(qAbs(drawn.red() - wanted.red()) + qAbs(drawn.green() - wanted.green()) + qAbs(drawn.blue() - wanted.blue()) < 40,
             qPrintable(drawn.name() + " " + wanted.name()));
    m_window->tabBar()->setCurrentIndex(WindowMain::Textbook);
    m_window->removeWidgetInSheet(top());
    QTRY_COMPARE(textbook()->count(), 1);
}

void TestMaterialWindow::twoMoviesAndAPictureShowAndEscapeClosesThemAfterAClick()
{
    m_window->createWidgetInSheet("slv_02_bukva_n");
    QVERIFY(top());
    const QList<ViewerFlash *> movies = top()->findChildren<ViewerFlash *>();
    QCOMPARE(movies.size(), 2);
    for (ViewerFlash *movie : movies) {
        QVERIFY(movie->isVisible() && movie->width() > 100 && movie->height() > 100);
        QVERIFY(waitFor([&] { return drawn(*movie->player()); }, 30000));
    }
    auto *picture = top()->findChild<ViewerImage *>();
    QVERIFY(picture && !picture->image().isNull() && picture->isVisible());

    // A click in a movie gives its web view the keys, and it keeps them: Escape still closes
    // the material.
    FlashPlayer &board = *movies.last()->player();
    click(board, QPoint(board.width() / 2, board.height() / 2));
    QWidget *surface = board.findChild<QWebEngineView *>()->focusProxy();
    QCOMPARE(QApplication::focusWidget(), surface);
    QPointer<WindowHard> material = top();
    QTest::keyClick(surface, Qt::Key_Escape);
    QTRY_VERIFY_WITH_TIMEOUT(!material, 3000);
    QCOMPARE(textbook()->count(), 1);
}

void TestMaterialWindow::moviesOpenAndSwitchMaterials()
{
    // The cartoon's button opens the exercise in a window of its own, on top.
    m_window->createWidgetInSheet("ani_03_bukva_a");
    FlashPlayer &cartoonPlayer = *top()->findChild<ViewerFlash *>()->player();
    QVERIFY(waitFor([&] { return drawn(cartoonPlayer); }, 30000));
    runFor(700);
    click(cartoonPlayer, QPoint(cartoonPlayer.width() * 7 / 8, cartoonPlayer.height() * 9 / 10));
    QTRY_COMPARE_WITH_TIMEOUT(textbook()->count(), 3, 5000);
    QCOMPARE(top()->captionText(), QString("Найди букву А"));

    // The exercise, done, switches its own window to the cartoon: the window that asked goes
    // after its movie's call has returned.
    FlashPlayer &exercise = *top()->findChild<ViewerFlash *>()->player();
    QVERIFY(waitFor([&] { return slotsShow(exercise); }, 30000));
    QFile questions(QStringLiteral(PROJECT_ROOT "/course/objects/pra_03_bukva_a/exercise.xml"));
    QVERIFY(questions.open(QIODevice::ReadOnly));
    const QList<int> right = rightAnswers(questions.readAll());
    for (int i = 0; i < right.size(); ++i) {
        if (i > 0)
            QVERIFY(waitFor([&] { return slotsShow(exercise); }, 5000));
        click(exercise, slotPoint(exercise, right[i]));
        runFor(1100);
    }
    QPointer<WindowHard> asking = top();
    click(exercise, stagePoint(exercise, QuizLayout::linkButton().center()));
    QTRY_VERIFY_WITH_TIMEOUT(!asking, 5000);
    QCOMPARE(textbook()->count(), 3);
    QCOMPARE(top()->captionText(), QString("«Аист и арбуз»"));
    while (textbook()->count() > 1) {
        const int count = textbook()->count();
        m_window->removeWidgetInSheet(top());
        QTRY_COMPARE(textbook()->count(), count - 1);
    }
}

void TestMaterialWindow::printedMaterialIsNotBlank()
{
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    // A workbook page (a web page with pictures) and a cartoon (a movie), each printed.
    for (const QString &id : {QStringLiteral("wrk_01_shemy"), QStringLiteral("ani_01_rech")}) {
        m_window->createWidgetInSheet(id);
        auto *viewer = top()->findChild<ViewerObject *>();
        QVERIFY(viewer);
        if (auto *movie = top()->findChild<ViewerFlash *>())
            QVERIFY(waitFor([&] { return drawn(*movie->player()); }, 30000));
        else
            runFor(2000); // the web page and its pictures
        const QString pdf = m_pupil.filePath(id + ".pdf");
        {
            MaterialPrinter printer(QPrinter::ScreenResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            viewer->printAll(&printer);
        }
        QProcess render;
        render.start(pdftoppm, {"-r", "40", "-png", "-singlefile", pdf, m_pupil.filePath(id)});
        QVERIFY(render.waitForFinished(30000));
        const QImage page(m_pupil.filePath(id + ".png"));
        QVERIFY(!page.isNull());
        QSet<QRgb> colours;
        for (int y = 0; y < page.height(); y += 3)
            for (int x = 0; x < page.width(); x += 3)
                colours.insert(page.pixel(x, y));
        QVERIFY2(colours.size() > 20, qPrintable(id));
        if (qEnvironmentVariableIsSet("PELLORA_KEEP_PRINTS"))
            QFile::copy(m_pupil.filePath(id + ".png"), qEnvironmentVariable("PELLORA_KEEP_PRINTS") + "/" + id + ".png");
        m_window->removeWidgetInSheet(top());
        QTRY_COMPARE(textbook()->count(), 1);
    }
}

QTEST_MAIN(TestMaterialWindow)
#include "tst_materialwindow.moc"
