// Favorites dragged with the real mouse (xdotool on the test's X display): onto a folder, and
// out of folders again; the file has the move a moment later.

#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "writefile.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

class TestFavoritesDrag : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void materialDraggedOntoAFolderMovesThere();
    void draggedOutOfFolders_data();
    void draggedOutOfFolders();

private:
    void drag(QPoint from, QPoint to);
    QStringList shape(const QModelIndex &parent = {}) const;

    QString m_xdotool;
    QProcess m_mouse;
    QTemporaryDir *m_pupil = nullptr;
};

void TestFavoritesDrag::init()
{
    m_xdotool = QStandardPaths::findExecutable("xdotool");
    if (m_xdotool.isEmpty() || qgetenv("DISPLAY").isEmpty() || QGuiApplication::platformName() != "xcb")
        QSKIP("needs xdotool and an X display");
    m_pupil = new QTemporaryDir;
    pupilDir = QDir(m_pupil->path());
}

// Each test reads its own file: the shared model is made anew from it.
void TestFavoritesDrag::cleanup()
{
    m_mouse.waitForFinished(5000);
    delete favoritesProxy;
    favoritesProxy = nullptr;
    delete favoritesModel;
    favoritesModel = nullptr;
    delete m_pupil;
    m_pupil = nullptr;
}

void TestFavoritesDrag::drag(QPoint from, QPoint to)
{
    const QString steps = QString("mousemove %1 %2 mousedown 1 sleep 0.2 mousemove %3 %4 sleep 0.2 "
                                  "mousemove %5 %6 sleep 0.3 mousemove %7 %8 sleep 0.3 mouseup 1")
                              .arg(from.x()).arg(from.y()).arg(from.x() + 10).arg(from.y() - 6)
                              .arg(to.x() + 5).arg(to.y()).arg(to.x()).arg(to.y());
    // Not waited for here: the drag runs in this process's event loop, which the caller's
    // QTRY keeps turning.
    m_mouse.start(m_xdotool, steps.split(' '));
}

QStringList TestFavoritesDrag::shape(const QModelIndex &parent) const
{
    QStringList lines;
    for (int row = 0; row < favoritesModel->rowCount(parent); ++row) {
        const QModelIndex index = favoritesModel->index(row, 0, parent);
        lines << index.data().toString();
        for (const QString &line : shape(index))
            lines << "  " + line;
    }
    return lines;
}

void TestFavoritesDrag::materialDraggedOntoAFolderMovesThere()
{
    writeFile(m_pupil->filePath("favorites.xml"), "<favorites>\n    <folder caption=\"Папка\"/>\n"
                   "    <object caption=\"Тест\" type=\"con\" id=\"t1\" path=\"p\" name=\"Мой тест\"/>\n</favorites>\n");
    Favorites favorites;
    favorites.resize(400, 300);
    favorites.show();
    favorites.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&favorites));
    QTreeView *tree = favorites.tree();
    const auto centre = [tree](int row) {
        return tree->viewport()->mapToGlobal(tree->visualRect(favoritesModel->index(row, 0)).center());
    };
    drag(centre(1), centre(0));
    QTRY_COMPARE_WITH_TIMEOUT(favoritesModel->rowCount(), 1, 10000);
    const QModelIndex folder = favoritesModel->index(0, 0);
    QCOMPARE(favoritesModel->rowCount(folder), 1);
    QCOMPARE(favoritesModel->index(0, 0, folder).data().toString(), QString("Мой тест"));

    QTRY_VERIFY_WITH_TIMEOUT(!favoritesModel->hasUnsavedChanges(), 2000);
    QFile file(m_pupil->filePath("favorites.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("<folder caption=\"Папка\">\n        <object caption=\"Тест\""));
}

// Where the material two folders down is let go (a row as shown, counted from the top, or the
// blank space below the rows) and the tree after it.
void TestFavoritesDrag::draggedOutOfFolders_data()
{
    QTest::addColumn<int>("target");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("the blank space: the top level") << -1
        << QStringList{"Папка", "  Внутри", "Звук А", "Мой тест"};
    QTest::newRow("its folder's parent: one level up") << 0
        << QStringList{"Папка", "  Внутри", "  Мой тест", "Звук А"};
    QTest::newRow("a material of the top level: beside it") << 3
        << QStringList{"Папка", "  Внутри", "Звук А", "Мой тест"};
}

void TestFavoritesDrag::draggedOutOfFolders()
{
    QFETCH(int, target);
    QFETCH(QStringList, after);
    // Rows that change folders must leave the view no cells that are not there any more.
    QTest::failOnWarning(QRegularExpression("Invalid index"));
    writeFile(m_pupil->filePath("favorites.xml"), R"(<favorites>
    <folder caption="Папка">
        <folder caption="Внутри">
            <object caption="Тест" type="con" id="t1" path="p" name="Мой тест"/>
        </folder>
    </folder>
    <object caption="Звук" type="ani" id="a1" path="p" name="Звук А"/>
</favorites>
)");
    Favorites favorites;
    favorites.resize(400, 300);
    favorites.show();
    favorites.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&favorites));
    QTreeView *tree = favorites.tree();
    tree->expandAll();
    QWidget *viewport = tree->viewport();
    const auto row = [tree, viewport](int shown) {
        QModelIndex index = tree->indexAt(QPoint(5, 1));
        for (int i = 0; i < shown; ++i)
            index = tree->indexBelow(index);
        return viewport->mapToGlobal(tree->visualRect(index).center());
    };
    const QPoint blank = viewport->mapToGlobal(QPoint(viewport->width() / 2, viewport->height() - 10));
    drag(row(2), target < 0 ? blank : row(target));
    QTRY_COMPARE_WITH_TIMEOUT(shape(), after, 10000);
}

QTEST_MAIN(TestFavoritesDrag)
#include "tst_favoritesdrag.moc"
