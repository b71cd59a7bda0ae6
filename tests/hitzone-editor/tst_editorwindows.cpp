#include "boxanswer.h"
#include "doublepage.h"
#include "editor.h"
#include "fileanswer.h"
#include "mainwindow.h"
#include "pagematerials.h"
#include "problempanel.h"
#include "zonepanel.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QUndoStack>
#include <QTest>

static QByteArray readAll(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class TestEditorWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void titleMarksUnsavedChanges();
    void closingAModifiedPageAsks();
    void quittingWithAModifiedPageAsks();
    void secondSaveNeedsNoDialog();
    void unfinishedZoneKeepsThePageModifiedAfterASave();
    void openedPageShowsAtItsImageSize();
    void typedNameWithoutSuffixIsSavedAsXml();
    void materialsOfZonesAreChosenAndKeptInTheMap();
    void builtPageIsPagemoviesAndNamesTheZoneAtFault();

private:
    Editor *drawnPage(MainWindow &window);
    static void click(Editor *editor, int x, int y);
    void makeCourse();

    QTemporaryDir *m_dir = nullptr;
    QString m_oldCwd;
};

void TestEditorWindows::initTestCase()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); // FileAnswer types into Qt's own dialogs
    QStandardPaths::setTestModeEnabled(true); // the list of recent files is not the author's
}

void TestEditorWindows::init()
{
    m_dir = new QTemporaryDir;
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_dir->path());
    QDir().mkpath("data/pages");
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    image.save("data/pages/p.png");
}

void TestEditorWindows::cleanup()
{
    QDir::setCurrent(m_oldCwd);
    delete m_dir;
}

void TestEditorWindows::click(Editor *editor, int x, int y)
{
    QTest::mouseClick(editor->page(), Qt::LeftButton, {}, QPoint(x, y));
}

Editor *TestEditorWindows::drawnPage(MainWindow &window)
{
    Editor *editor = window.addEditor();
    editor->show();
    editor->page()->setImage("data/pages/p.png");
    editor->page()->setFileName(m_dir->filePath("p.xml"));
    click(editor, 10, 10);
    click(editor, 60, 12);
    click(editor, 62, 50);
    click(editor, 12, 52);
    editor->page()->appendHitzone();
    return editor;
}

void TestEditorWindows::titleMarksUnsavedChanges()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QString("Double page editor"));
    QCOMPARE(window.addEditor()->windowTitle(), QString("Безымянный.xml[*]"));
    Editor *editor = drawnPage(window);
    QVERIFY(editor->isWindowModified());
    QMdiSubWindow *sub = window.area()->subWindowList().last();
    QCOMPARE(sub->windowTitle(), QString("p.xml[*]"));
    QVERIFY(editor->save());
    QVERIFY(!editor->isWindowModified());
    {
        FileAnswer answer(m_dir->filePath("copy.xml"));
        QVERIFY(editor->saveAs());
    }
    QCOMPARE(sub->windowTitle(), QString("copy.xml[*]"));
    QVERIFY(QFile::exists("copy.xml"));
}

void TestEditorWindows::closingAModifiedPageAsks()
{
    MainWindow window;
    window.show();
    drawnPage(window);
    QMdiSubWindow *sub = window.area()->subWindowList().first();
    {
        BoxAnswer cancel(QMessageBox::Cancel);
        sub->close();
        QVERIFY(!cancel.text.isEmpty());
    }
    QCOMPARE(window.area()->subWindowList().size(), 1);
    QVERIFY(!QFile::exists("p.xml"));
    {
        BoxAnswer save(QMessageBox::Save);
        sub->close();
    }
    QTRY_COMPARE(window.area()->subWindowList().size(), 0);
    QFile saved("p.xml");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("<hitzone number=\"1\">10,10,60,10,60,50,10,50</hitzone>"));

    drawnPage(window);
    {
        BoxAnswer discard(QMessageBox::Discard);
        window.area()->subWindowList().first()->close();
    }
    QTRY_COMPARE(window.area()->subWindowList().size(), 0);
}

void TestEditorWindows::quittingWithAModifiedPageAsks()
{
    MainWindow window;
    window.show();
    drawnPage(window);
    {
        BoxAnswer cancel(QMessageBox::Cancel);
        QVERIFY(!window.close());
    }
    QVERIFY(window.isVisible());
    QCOMPARE(window.area()->subWindowList().size(), 1);
    {
        BoxAnswer discard(QMessageBox::Discard);
        QVERIFY(window.close());
    }
    QVERIFY(!QFile::exists("p.xml"));
}

void TestEditorWindows::secondSaveNeedsNoDialog()
{
    MainWindow window;
    window.show();
    Editor *editor = drawnPage(window);
    window.area()->setActiveSubWindow(window.area()->subWindowList().first());
    window.saveDoublePage();
    QVERIFY(QFile::exists("p.xml"));
    click(editor, 100, 80);
    click(editor, 150, 82);
    click(editor, 151, 95);
    click(editor, 102, 96);
    window.appendHitzone();
    window.saveDoublePage();
    QFile saved("p.xml");
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("<hitzone number=\"2\">100,80,150,80,150,95,100,95</hitzone>"));
}

void TestEditorWindows::unfinishedZoneKeepsThePageModifiedAfterASave()
{
    MainWindow window;
    window.show();
    Editor *editor = drawnPage(window);
    QMdiSubWindow *sub = window.area()->subWindowList().first();
    click(editor, 100, 80);
    click(editor, 150, 82);
    QVERIFY(editor->save());
    QVERIFY(editor->isWindowModified());

    sub->showMinimized();
    sub->showNormal(); // the file holds only the completed zone: reading it again would drop the points
    QCOMPARE(editor->page()->hitzones().last(), QPolygonF({{100, 80}, {150, 80}}));

    const QString warning = "Незаконченная зона";
    {
        BoxAnswer cancel(QMessageBox::Cancel);
        sub->close();
        QVERIFY2(cancel.text.contains(warning), qPrintable(cancel.text));
    }
    {
        BoxAnswer discard(QMessageBox::Discard);
        QVERIFY(window.close());
        QVERIFY2(discard.text.contains(warning), qPrintable(discard.text));
    }
}

void TestEditorWindows::openedPageShowsAtItsImageSize()
{
    QFile file("p.xml");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<doublepage file=\"data/pages/p.png\"><hitzone number=\"1\">10,10,60,10,60,50</hitzone></doublepage>");
    file.close();
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FileAnswer answer(m_dir->filePath("p.xml"));
    window.openDoublePage();
    QCOMPARE(answer.title, QString("Открыть файл"));
    QCOMPARE(window.area()->subWindowList().size(), 1);
    QMdiSubWindow *sub = window.area()->subWindowList().first();
    auto *editor = qobject_cast<Editor *>(sub->widget());
    QCOMPARE(editor->page()->size(), QSize(200, 100));
    QCOMPARE(editor->page()->hitzones().first(), QPolygonF({{10, 10}, {60, 10}, {60, 50}}));
    QVERIFY2(sub->contentsRect().contains(editor->geometry()),
             qPrintable(QString("page %1x%2 in a window of %3x%4").arg(editor->width()).arg(editor->height())
                            .arg(sub->width()).arg(sub->height())));
}

void TestEditorWindows::typedNameWithoutSuffixIsSavedAsXml()
{
    MainWindow window;
    window.show();
    Editor *editor = drawnPage(window);
    editor->page()->setFileName(QString());
    window.area()->setActiveSubWindow(window.area()->subWindowList().first());
    {
        FileAnswer answer(m_dir->filePath("page"));
        window.saveDoublePage();
        QCOMPARE(answer.title, QString("Сохранить файл"));
    }
    QCOMPARE(editor->page()->fileName(), m_dir->filePath("page.xml"));
    QVERIFY(QFile::exists("page.xml"));
    QVERIFY(!QFile::exists("page"));

    editor->page()->setFileName(QString());
    {
        FileAnswer answer(m_dir->filePath("other.xml"));
        window.saveDoublePage();
    }
    QCOMPARE(editor->page()->fileName(), m_dir->filePath("other.xml"));
}

void TestEditorWindows::makeCourse()
{
    // A course away from the working folder: image and contents are found from the hitzone file.
    QDir().mkpath("course/data/pages");
    QDir().mkpath("course/pages");
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.save("course/data/pages/q.png");
    auto write = [](const QString &name, const QByteArray &text) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    };
    write("course/data/content.xml", "<content><chapter caption=\"Глава\">"
                                     "<object caption=\"Первый рассказ\" id=\"a\"/>"
                                     "<object caption=\"Вторая игра\" id=\"b\"/></chapter></content>");
    write("course/pages/q.xml", "<doublepage file=\"data/pages/q.png\">"
                                "<hitzone number=\"1\">10,10,50,10,50,40,10,40</hitzone>"
                                "<hitzone number=\"2\">100,10,150,10,150,40,100,40</hitzone></doublepage>");
    write("course/pages/q.map", "# made by hand\n\n1 = a\n# the end\n");

}

void TestEditorWindows::materialsOfZonesAreChosenAndKeptInTheMap()
{
    makeCourse();
    MainWindow window;
    window.show();
    Editor *editor = window.openFile(m_dir->filePath("course/pages/q.xml"));
    QCOMPARE(editor->page()->image().size(), QSize(200, 100));
    ZonePanel *panel = window.zonePanel();
    QCOMPARE(panel->contentsPath(), m_dir->filePath("course/data/content.xml"));
    QTreeWidget *zones = panel->zoneList();
    QCOMPARE(zones->topLevelItemCount(), 2);
    QCOMPARE(zones->topLevelItem(0)->text(1), QString("Первый рассказ (a)"));
    QCOMPARE(zones->topLevelItem(1)->text(1), QString("нет материала"));
    QCOMPARE(editor->materials()->unmapped(), QSet<int>({2}));

    zones->topLevelItem(1)->setSelected(true); // the list selects on the canvas
    QCOMPARE(editor->page()->selectedNumber(), 2);
    panel->searchField()->setText("игра");
    QListWidget *materials = panel->materialList();
    QVERIFY(materials->item(0)->isHidden());
    materials->setCurrentItem(materials->item(1));
    panel->assignMaterial();
    QCOMPARE(zones->topLevelItem(1)->text(1), QString("Вторая игра (b)"));
    QVERIFY(editor->materials()->unmapped().isEmpty());
    QVERIFY(editor->save());
    QCOMPARE(readAll("course/pages/q.map"), QByteArray("# made by hand\n\n1 = a\n# the end\n2 = b\n"));

    // Zone 1 gone: its line goes, the author's comments stay; zone 2 keeps its number and material.
    editor->page()->selectNumber(1);
    editor->page()->deleteSelected();
    QVERIFY(editor->save());
    QCOMPARE(readAll("course/pages/q.map"), QByteArray("# made by hand\n\n# the end\n2 = b\n"));
    editor->page()->undoStack()->undo();
    editor->page()->undoStack()->undo(); // the material of zone 2 is one step in the page's history
    QCOMPARE(editor->materials()->unmapped(), QSet<int>({2}));

    Editor *again = window.openFile(m_dir->filePath("course/pages/q.xml"));
    QCOMPARE(again->page()->numbers(), QList<int>({2}));
    QCOMPARE(again->materials()->materialOf(2), QString("b"));
    QVERIFY(!again->isWindowModified());
    QVERIFY(editor->page()->isModified());
    BoxAnswer discard(QMessageBox::Discard);
    QVERIFY(window.close());
}

void TestEditorWindows::builtPageIsPagemoviesAndNamesTheZoneAtFault()
{
    makeCourse();
    MainWindow window;
    window.show();
    Editor *editor = window.openFile("course/pages/q.xml"); // as typed after the program's name
    QVERIFY(!window.buildPage()); // zone 2 opens nothing
    ProblemPanel *problems = window.problemPanel();
    QCOMPARE(problems->count(), 1);
    QVERIFY2(problems->item(0)->text().contains("hitzone 2 has no material"), qPrintable(problems->item(0)->text()));
    QCOMPARE(ProblemPanel::zoneOf(problems->item(0)), 2);
    emit problems->itemClicked(problems->item(0));
    QCOMPARE(editor->page()->selectedNumber(), 2);
    QVERIFY(!QFile::exists("course/data/textbook/q.swf"));

    editor->materials()->setMaterial(2, "b");
    QTemporaryDir elsewhere; // where the trial player takes the working directory
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    QVERIFY(window.buildPage()); // saved first: the movie is built from the files
    QVERIFY(QDir::setCurrent(m_dir->path()));
    QCOMPARE(problems->count(), 0);
    QCOMPARE(window.builtMovie(), m_dir->filePath("course/data/textbook/q.swf"));
    QVERIFY(!editor->isWindowModified());

    QProcess pagemovie;
    pagemovie.start(PAGEMOVIE_PATH, {"--image", "course/data/pages/q.png", "--hitzones", "course/pages/q.xml",
                                     "--map", "course/pages/q.map", "--contents", "course/data/content.xml",
                                     "--output", "by-tool.swf"});
    QVERIFY(pagemovie.waitForFinished());
    QCOMPARE(pagemovie.exitCode(), 0);
    const QByteArray built = readAll("course/data/textbook/q.swf");
    QVERIFY(built.size() > 100);
    QCOMPARE(built, readAll("by-tool.swf"));
}

QTEST_MAIN(TestEditorWindows)
#include "tst_editorwindows.moc"
