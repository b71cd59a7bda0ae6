#include "answerboxes.h"
#include "contentmodel.h"
#include "contentp.h"
#include "environment.h"
#include "markbookmodel.h"
#include "teachersignin.h"
#include "viewercontent.h"
#include "windowauth.h"
#include "windowfavorites.h"
#include "windowhard.h"
#include "windowmain.h"
#include "windowteacher.h"

#include <QAccessible>
#include <QDomDocument>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

static const char kContents[] = R"(<content caption="Азбука">
    <chapter caption="Звуки" id="1" startpage="3">
        <chapter caption="Гласные" id="2" startpage="4">
            <object caption="Звук А" type="ani" id="a1" path="p"/>
            <object caption="Тест: гласные" type="con" id="t1" path="p"/>
        </chapter>
        <chapter caption="Согласные" id="3" startpage="6">
            <object caption="Игра" type="igr" id="g1" path="p"/>
        </chapter>
    </chapter>
    <chapter caption="Слова" id="4" startpage="9">
        <object caption="Тест: слова" type="con" id="t2" path="p"/>
        <object caption="Дубликат" type="pra" id="a1" path="p"/>
    </chapter>
</content>
)";

// Attribute order in written files follows the process's hash order: compare both texts as parsed and rewritten.
static QByteArray sameAttributeOrder(const QByteArray &xml)
{
    QDomDocument document;
    document.setContent(xml);
    return document.toByteArray(4);
}

static QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// What a task bar or a screen reader would get wrong in `window` and in the shell windows on it:
// a title that is not the caption drawn, a frame or a picture button without a name.
static QStringList misnamed(QWidget *window)
{
    QStringList faults;
    QList<ShellWindow *> frames = window->findChildren<ShellWindow *>();
    frames.prepend(qobject_cast<ShellWindow *>(window));
    for (ShellWindow *frame : frames) {
        const QString kind = QString::fromLatin1(frame->metaObject()->className());
        const QString title = frame->windowTitle();
        const auto *label = frame->findChild<QLabel *>("caption_window", Qt::FindDirectChildrenOnly);
        if (title.isEmpty())
            faults << kind + ": no title";
        else if (label && label->text() != title)
            faults << kind + ": title " + title + ", caption " + label->text();
        if (accessibleName(frame) != title)
            faults << kind + ": read out as \"" + accessibleName(frame) + "\"";
    }
    // Those a reader meets: shown, with nothing written on them.
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(window) && button->text().isEmpty() && accessibleName(button).isEmpty())
            faults << QString::fromLatin1(window->metaObject()->className()) + ": button " + button->objectName();
    }
    return faults;
}

static QByteArray readBytes(const QString &fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class TestWindowMain : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void setupShowsContentsAndMakesMarkbook();
    void materialsStackPerTabAndCloseInOrder();
    void changeOnASheetOnlyStackPushes();
    void unknownIdOpensNothing();
    void favoritesButtonOnlyOnTextbookAndCatalogue();
    void chapterDoubleClickJumpsOnceAndLeaves();
    void returnOnAChapterJumpsToo();
    void tabsNeverCoverTheCaptionAndRestoreIsCentred();
    void sheetAreaKeepsProportion_data();
    void sheetAreaKeepsProportion();
    void everyWindowIsNamedByItsCaption();

private:
    QStackedWidget *currentStack() { return m_window->sheetStack(m_window->tabBar()->currentIndex()); }

    QTemporaryDir m_install;
    QTemporaryDir m_pupil;
    QString m_oldCwd;
    WindowMain *m_window = nullptr;
};

void TestWindowMain::initTestCase()
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_install.path());
    QDir().mkpath("data");
    QFile contents("data/content.xml");
    QVERIFY(contents.open(QIODevice::WriteOnly));
    contents.write(kContents);
    contents.close();
    fillGroupTables();
    pupilDir = QDir(m_pupil.path());
    m_window = new WindowMain;
    QCOMPARE(mainWindow, m_window);
    m_window->resize(1000, 700);
    m_window->setupSheets();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestWindowMain::cleanupTestCase()
{
    delete m_window;
    QVERIFY(!mainWindow);
    QDir::setCurrent(m_oldCwd);
}

void TestWindowMain::setupShowsContentsAndMakesMarkbook()
{
    QCOMPARE(m_window->tabBar()->count(), 4);
    QCOMPARE(m_window->tabBar()->tabText(3), QString("Журнал"));
    QCOMPARE(m_window->sheetStack(WindowMain::Textbook)->count(), 2);
    QVERIFY(qobject_cast<ViewerContent *>(m_window->sheetStack(WindowMain::Textbook)->currentWidget()));
    QCOMPARE(sameAttributeOrder(readBytes(m_pupil.filePath("markbook.xml"))),
             sameAttributeOrder("<markbook>\n"
                        "    <chapter caption=\"Звуки\">\n"
                        "        <chapter caption=\"Гласные\">\n"
                        "            <object caption=\"Тест: гласные\" mark=\"-1.0\" id=\"t1\"></object>\n"
                        "        </chapter>\n"
                        "    </chapter>\n"
                        "    <chapter caption=\"Слова\">\n"
                        "        <object caption=\"Тест: слова\" mark=\"-1.0\" id=\"t2\"></object>\n"
                        "    </chapter>\n"
                        "</markbook>\n"));

    // A markbook made before a test joined the course gets it, in contents order; what it
    // holds stays, a test the course dropped included.
    const auto signIn = [this](const QByteArray &markbook) {
        QFile own(m_pupil.filePath("markbook.xml"));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write(markbook);
        own.close();
        WindowMain window;
        window.setupSheets();
    };
    signIn("<markbook><chapter caption=\"Слова\"><object caption=\"Старый\" mark=\"0.5\" id=\"gone\">x</object>"
           "<object caption=\"Тест: слова\" mark=\"0.8\" id=\"t2\">&lt;h/></object></chapter></markbook>");
    QCOMPARE(sameAttributeOrder(readBytes(m_pupil.filePath("markbook.xml"))),
             sameAttributeOrder("<markbook>\n"
                                "    <chapter caption=\"Звуки\">\n"
                                "        <chapter caption=\"Гласные\">\n"
                                "            <object caption=\"Тест: гласные\" mark=\"-1.0\" id=\"t1\"></object>\n"
                                "        </chapter>\n"
                                "    </chapter>\n"
                                "    <chapter caption=\"Слова\">\n"
                                "        <object caption=\"Старый\" mark=\"0.5\" id=\"gone\">x</object>\n"
                                "        <object caption=\"Тест: слова\" mark=\"0.8\" id=\"t2\">&lt;h/></object>\n"
                                "    </chapter>\n"
                                "</markbook>\n"));
    QVERIFY(answerPendingBoxes().isEmpty());

    // One that lacks nothing is left as it is.
    const QByteArray complete = "<markbook><chapter caption=\"Слова\"><object caption=\"Тест: гласные\" mark=\"1\" "
                                "id=\"t1\"/><object caption=\"Тест: слова\" mark=\"0\" id=\"t2\"/></chapter></markbook>";
    signIn(complete);
    QCOMPARE(readBytes(m_pupil.filePath("markbook.xml")), complete);

    // One that cannot be read, or knows none of the course's tests, is kept aside, made anew
    // and told of; the pupil's next result is recorded.
    for (const QByteArray &unusable : {complete.left(60), QByteArray("<markbook/>")}) {
        QDir(m_pupil.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_pupil.path()));
        signIn(unusable);
        QCOMPARE(readBytes(m_pupil.filePath("markbook.xml.bad")), unusable);
        const QStringList boxes = answerPendingBoxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].contains("markbook.xml.bad"), qPrintable(boxes[0]));
        QVERIFY(markbookModel->saveTestResult("t2", "0.9", "h"));
        QVERIFY(readBytes(m_pupil.filePath("markbook.xml")).contains("mark=\"-1.0\" id=\"t1\""));
        QVERIFY(readBytes(m_pupil.filePath("markbook.xml")).contains("mark=\"0.9\" id=\"t2\">h<"));
    }
}

void TestWindowMain::materialsStackPerTabAndCloseInOrder()
{
    m_window->tabBar()->setCurrentIndex(WindowMain::Catalogue);
    QStackedWidget *stack = currentStack();
    QCOMPARE(stack->count(), 1);
    m_window->createWidgetInSheet("a1");
    m_window->createWidgetInSheet("g1");
    QCOMPARE(stack->count(), 3);
    auto *top = qobject_cast<WindowHard *>(stack->currentWidget());
    QVERIFY(top);
    QCOMPARE(top->captionText(), QString("Игра"));
    QVERIFY(!top->isWindow());

    // Another tab keeps its own stack.
    QCOMPARE(m_window->sheetStack(WindowMain::Favorites)->count(), 1);

    QPointer<WindowHard> closed = top;
    top->findChild<QPushButton *>("button_window_close")->click();
    QTRY_VERIFY(!closed);
    QCOMPARE(stack->count(), 2);
    auto *below = qobject_cast<WindowHard *>(stack->currentWidget());
    QCOMPARE(below->captionText(), QString("Звук А")); // the first "a1" in contents order
    QTest::keyClick(below, Qt::Key_Escape);
    QTRY_COMPARE(stack->count(), 1);

    // Removing something that is no longer on top of any stack does nothing.
    m_window->removeWidgetInSheet(nullptr);
    QCOMPARE(stack->count(), 1);
}

void TestWindowMain::changeOnASheetOnlyStackPushes()
{
    m_window->tabBar()->setCurrentIndex(WindowMain::Markbook);
    QStackedWidget *stack = currentStack();
    QWidget *sheet = stack->widget(0);
    m_window->changeWidgetInSheet("t1");
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->widget(0), sheet);
    // The window replaced may be the one asking (a movie inside it): it goes after the event.
    QPointer<QWidget> replaced = stack->currentWidget();
    m_window->changeWidgetInSheet("t2");
    QVERIFY(replaced);
    QTRY_VERIFY(!replaced);
    QCOMPARE(stack->count(), 2);
    QCOMPARE(qobject_cast<WindowHard *>(stack->currentWidget())->captionText(), QString("Тест: слова"));
    m_window->changeWidgetInSheet("no-such-id"); // the top goes, nothing comes
    QCOMPARE(stack->count(), 1);
    QCOMPARE(stack->currentWidget(), sheet);
}

void TestWindowMain::unknownIdOpensNothing()
{
    m_window->tabBar()->setCurrentIndex(WindowMain::Catalogue);
    m_window->createWidgetInSheet("no-such-id");
    m_window->createWidgetInSheet(QString());
    QCOMPARE(currentStack()->count(), 1);
}

void TestWindowMain::favoritesButtonOnlyOnTextbookAndCatalogue()
{
    for (int tab = 0; tab < 4; ++tab) {
        m_window->tabBar()->setCurrentIndex(tab);
        m_window->createWidgetInSheet("a1");
        QWidget *top = currentStack()->currentWidget();
        const bool shown = !top->findChild<QPushButton *>("button_favorites")->isHidden();
        QCOMPARE(shown, tab == WindowMain::Textbook || tab == WindowMain::Catalogue);
        QVERIFY(!top->findChild<QPushButton *>("button_printer")->isHidden());
        m_window->removeWidgetInSheet(top);
    }
}

void TestWindowMain::chapterDoubleClickJumpsOnceAndLeaves()
{
    m_window->tabBar()->setCurrentIndex(WindowMain::Textbook);
    auto *contents = qobject_cast<ViewerContent *>(currentStack()->currentWidget());
    QVERIFY(contents);
    QSignalSpy jumps(contents, &ViewerContent::jumpPage);
    QTreeView *tree = contents->treeView();
    // Chapters that hold materials show as leaves; only chapters with sub-chapters are bold.
    const QModelIndex sounds = tree->model()->index(0, 0);
    const QModelIndex vowels = tree->model()->index(0, 0, sounds);
    QCOMPARE(tree->model()->rowCount(vowels), 0);
    QVERIFY(tree->model()->data(sounds, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!tree->model()->data(vowels, Qt::FontRole).value<QFont>().bold());

    const QRect cell = tree->visualRect(vowels);
    // A real double click: press, release, then the second press arrives as a double click.
    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(jumps.count(), 1);
    QCOMPARE(jumps.first().first().toInt(), 4);
    QPointer<ViewerContent> gone = contents;
    QTRY_VERIFY(!gone);
    QCOMPARE(currentStack()->count(), 1);
}

void TestWindowMain::returnOnAChapterJumpsToo()
{
    m_window->tabBar()->setCurrentIndex(WindowMain::Textbook);
    m_window->showContent();
    auto *contents = qobject_cast<ViewerContent *>(currentStack()->currentWidget());
    QVERIFY(contents);
    QSignalSpy jumps(contents, &ViewerContent::jumpPage);
    QTreeView *tree = contents->treeView();
    QTRY_VERIFY(tree->hasFocus());
    QTest::keyClick(tree, Qt::Key_Down); // from "Звуки" to "Гласные"
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(jumps.count(), 1);
    QCOMPARE(jumps.first().first().toInt(), 4);
    QPointer<ViewerContent> gone = contents;
    QTRY_VERIFY(!gone);
}

void TestWindowMain::tabsNeverCoverTheCaptionAndRestoreIsCentred()
{
    QTabBar *tabs = m_window->tabBar();
    const QRect caption(QPoint(0, 0), QPoint(m_window->captionPictureRight(), 40));
    for (int width : {1600, 1024, 800}) {
        m_window->resize(width, 600);
        QTRY_COMPARE(m_window->width(), width);
        QCoreApplication::processEvents();
        const QRect onWindow(tabs->mapTo(m_window, QPoint(0, 0)), tabs->size());
        QVERIFY2(!onWindow.intersects(caption), qPrintable(QString::number(width)));
        // Every tab whole: no scroll arrows, nothing cut off at the right.
        QVERIFY2(tabs->width() >= tabs->sizeHint().width(), qPrintable(QString::number(width)));
        QVERIFY(onWindow.right() < m_window->width());
    }
    m_window->resize(1000, 700);

    // Maximised at start, restored: most of the screen, centred, not the minimum in the corner.
    WindowMain fresh;
    const QRect work = fresh.screen()->availableGeometry();
    QCOMPARE(fresh.geometry().center(), work.center());
    QVERIFY(work.contains(fresh.geometry()));
    QVERIFY(fresh.width() >= qMin(work.width(), work.width() * 3 / 4 + fresh.minimumWidth() / 4));
}

void TestWindowMain::sheetAreaKeepsProportion_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide") << QSize(1600, 700);
    QTest::newRow("tall") << QSize(700, 1200);
    QTest::newRow("exact") << QSize(569, 454);
}

void TestWindowMain::sheetAreaKeepsProportion()
{
    QFETCH(QSize, size);
    const QRect r = ContentP::childGeometry(size);
    const QSize inner = r.size() - QSize(4, 38);
    QVERIFY(qAbs(inner.width() * 416 - inner.height() * 565) <= 565); // within a pixel of 565 : 416
    QVERIFY(inner.width() == size.width() - 4 || inner.height() == size.height() - 38);
    QVERIFY(qAbs(r.left() - (size.width() - 1 - r.right())) <= 1);
    QVERIFY(qAbs(r.top() - (size.height() - 1 - r.bottom())) <= 1);

    ContentP holder(new QWidget);
    holder.resize(size);
    holder.show();
    QTRY_COMPARE(holder.findChild<QWidget *>()->geometry(), r);
}

void TestWindowMain::everyWindowIsNamedByItsCaption()
{
    m_window->tabBar()->setCurrentIndex(WindowMain::Textbook);
    m_window->showContent();
    m_window->createWidgetInSheet("a1");
    QStringList faults = misnamed(m_window);
    QCOMPARE(m_window->windowTitle(), mainWindowTitle()); // drawn as the caption picture
    auto *material = qobject_cast<WindowHard *>(currentStack()->currentWidget());
    QCOMPARE(material->windowTitle(), QString("Звук А"));
    faults << misnamed(new WindowFavorites("a1", material));

    // The sign-in window and the teacher's, on a class folder of the test's own.
    QTemporaryDir classFolder;
    qputenv("PELLORA_COURSE_DATA", classFolder.path().toUtf8());
    const QDir pupil = pupilDir;
    {
        WindowAuth signIn;
        TeacherSignIn teacher(QDir(classFolder.path()));
        WindowTeacher desk{QDir(classFolder.path())};
        faults << misnamed(&signIn) << misnamed(&teacher) << misnamed(&desk);
    }
    pupilDir = pupil;
    qunsetenv("PELLORA_COURSE_DATA");
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join('\n')));
    m_window->removeWidgetInSheet(material);
    m_window->removeWidgetInSheet(currentStack()->currentWidget());
}

QTEST_MAIN(TestWindowMain)
#include "tst_windowmain.moc"
