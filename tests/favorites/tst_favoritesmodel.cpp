#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "sheetfavorites.h"
#include "treeitem.h"
#include "windowfavorites.h"
#include "writefile.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QMessageBox>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

// Folder "Буквы" (with "Гласные" inside), then a loose material, then folder "Игры".
static const char kFavorites[] = R"(<favorites>
    <folder caption="Буквы">
        <folder caption="Гласные">
            <object caption="Звук [а]" type="ani" id="a1" path="p" name="Аист и арбуз"/>
            <object caption="Буква О" type="pra" id="p1" path="p" name="Ослик"/>
        </folder>
        <object caption="Буква Н" type="ani" id="a2" path="p" name="Нос"/>
    </folder>
    <object caption="Тест" type="con" id="t1" path="p" name="Мой тест"/>
    <folder caption="Игры"/>
</favorites>
)";

class TestFavoritesModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dropRules_data();
    void dropRules();
    void searchShowsAncestorsAndSubtrees();
    void everyChangeReachesTheFileSoon();
    void unreadableFileIsKeptAsideAtOnceAndToldOnce();
    void addGoesWhereThePupilPointed();
    void searchOpensTheFoldersOfWhatIsFound();

private:
    QModelIndex at(std::initializer_list<int> rows) const;
    QStringList shape(const QModelIndex &parent = {}) const;

    QTemporaryDir *m_pupil = nullptr;
    FavoritesModel *m_model = nullptr;
};

void TestFavoritesModel::init()
{
    m_pupil = new QTemporaryDir;
    pupilDir = QDir(m_pupil->path());
    QFile file(m_pupil->filePath("favorites.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kFavorites);
    file.close();
    m_model = new FavoritesModel;
}

void TestFavoritesModel::cleanup()
{
    delete m_model;
    // The trees' shared model is made anew from the next test's file.
    delete favoritesProxy;
    favoritesProxy = nullptr;
    delete favoritesModel;
    favoritesModel = nullptr;
    delete m_pupil;
}

QModelIndex TestFavoritesModel::at(std::initializer_list<int> rows) const
{
    QModelIndex index;
    for (int row : rows)
        index = m_model->index(row, 0, index);
    return index;
}

// Names as shown, with the nesting as indentation.
QStringList TestFavoritesModel::shape(const QModelIndex &parent) const
{
    QStringList lines;
    for (int row = 0; row < m_model->rowCount(parent); ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        lines << index.data().toString();
        for (const QString &line : shape(index))
            lines << "  " + line;
    }
    return lines;
}

void TestFavoritesModel::dropRules_data()
{
    QTest::addColumn<QList<int>>("dragged");
    QTest::addColumn<QList<int>>("target");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QStringList>("after");
    const QStringList unchanged = {"Буквы", "  Гласные", "    Аист и арбуз", "    Ослик", "  Нос", "Мой тест", "Игры"};
    QTest::newRow("material onto a folder") << QList<int>{1} << QList<int>{2} << true
        << QStringList{"Буквы", "  Гласные", "    Аист и арбуз", "    Ослик", "  Нос", "Игры", "  Мой тест"};
    QTest::newRow("folder with its contents") << QList<int>{0, 0} << QList<int>{2} << true
        << QStringList{"Буквы", "  Нос", "Мой тест", "Игры", "  Гласные", "    Аист и арбуз", "    Ослик"};
    QTest::newRow("into its own folder: to the end") << QList<int>{0, 0, 0} << QList<int>{0, 0} << true
        << QStringList{"Буквы", "  Гласные", "    Ослик", "    Аист и арбуз", "  Нос", "Мой тест", "Игры"};
    QTest::newRow("onto a material") << QList<int>{0, 1} << QList<int>{1} << false << unchanged;
    QTest::newRow("between top-level items: to the end of the top level") << QList<int>{0, 1} << QList<int>{} << true
        << QStringList{"Буквы", "  Гласные", "    Аист и арбуз", "    Ослик", "Мой тест", "Игры", "Нос"};
    QTest::newRow("folder into itself") << QList<int>{0} << QList<int>{0} << false << unchanged;
    QTest::newRow("folder into its descendant") << QList<int>{0} << QList<int>{0, 0} << false << unchanged;
}

void TestFavoritesModel::dropRules()
{
    QFETCH(QList<int>, dragged);
    QFETCH(QList<int>, target);
    QFETCH(bool, accepted);
    QFETCH(QStringList, after);
    QAbstractItemModelTester tester(m_model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    FavoritesModelProxy proxy;
    proxy.setSourceModel(m_model);
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);

    const auto index = [this](const QList<int> &rows) {
        QModelIndex result;
        for (int row : rows)
            result = m_model->index(row, 0, result);
        return result;
    };
    QScopedPointer<QMimeData> payload(m_model->mimeData({index(dragged)}));
    QCOMPARE(m_model->dropMimeData(payload.data(), Qt::MoveAction, 0, 0, index(target)), accepted);
    QCOMPARE(shape(), after);
    // A payload holds a handle, never an address: a made-up one moves nothing.
    QByteArray forged;
    QDataStream(&forged, QIODevice::WriteOnly) << qint32(12345) << qint32(0) << qint32(0);
    QMimeData fake;
    fake.setData(FavoritesModel::MimeType, forged);
    m_model->dropMimeData(&fake, Qt::MoveAction, 0, 0, index({2}));
    QCOMPARE(shape(), after);
}

void TestFavoritesModel::searchShowsAncestorsAndSubtrees()
{
    FavoritesModelProxy proxy;
    proxy.setSourceModel(m_model);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const auto shown = [&proxy](auto &&self, const QModelIndex &parent) -> QStringList {
        QStringList lines;
        for (int row = 0; row < proxy.rowCount(parent); ++row) {
            const QModelIndex index = proxy.index(row, 0, parent);
            lines << index.data().toString();
            for (const QString &line : self(self, index))
                lines << "  " + line;
        }
        return lines;
    };
    m_model->update("ОСЛ"); // deep inside two folders, in other case
    QCOMPARE(shown(shown, {}), QStringList({"Буквы", "  Гласные", "    Ослик"}));
    m_model->update("гласн"); // a folder: all of it
    QCOMPARE(shown(shown, {}), QStringList({"Буквы", "  Гласные", "    Аист и арбуз", "    Ослик"}));
    m_model->update("звук"); // only the table-of-contents caption says so: not found
    QCOMPARE(shown(shown, {}), QStringList());
    m_model->update(QString());
    QCOMPARE(shown(shown, {}).size(), 7);
}

void TestFavoritesModel::everyChangeReachesTheFileSoon()
{
    const auto onDisk = [this] {
        QFile file(m_pupil->filePath("favorites.xml"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QVERIFY(m_model->setData(at({1}), "Тест про «ё»"));
    QCOMPARE(at({1}).data(Qt::ToolTipRole).toString(), QString("Тест")); // the caption stays
    m_model->appendItem(at({2}), new TreeItem({"Папка в папке"}, TreeItem::FolderType));
    // No window closes, nothing is destroyed: the file has it within a moment.
    QTRY_VERIFY_WITH_TIMEOUT(onDisk().contains("name=\"Тест про «ё»\""), 2000);
    QVERIFY(onDisk().contains("<folder caption=\"Игры\">\n        <folder caption=\"Папка в папке\"/>"));
    QVERIFY(onDisk().contains("caption=\"Тест\""));

    // Read back whole: nesting, Cyrillic names, order.
    const QStringList before = shape();
    FavoritesModel reread;
    QStringList again;
    std::function<void(const QModelIndex &, const QString &)> walk = [&](const QModelIndex &parent, const QString &indent) {
        for (int row = 0; row < reread.rowCount(parent); ++row) {
            again << indent + reread.index(row, 0, parent).data().toString();
            walk(reread.index(row, 0, parent), indent + "  ");
        }
    };
    walk({}, QString());
    QCOMPARE(again, before);

    // A pupil who keeps changing things (a click every 0.1 s) still has them on disk within a second.
    bool reached = false;
    for (int i = 0; i < 40 && !reached; ++i) {
        QVERIFY(m_model->setData(at({1}), QString("Имя %1").arg(i)));
        QTest::qWait(100);
        reached = onDisk().contains("name=\"Имя ");
    }
    QVERIFY(reached);
}

void TestFavoritesModel::unreadableFileIsKeptAsideAtOnceAndToldOnce()
{
    delete m_model;
    m_model = nullptr;
    const QString file = m_pupil->filePath("favorites.xml");
    const QByteArray broken = QByteArray(kFavorites).left(200);
    QFile::remove(file);
    QFile write(file);
    QVERIFY(write.open(QIODevice::WriteOnly));
    write.write(broken);
    write.close();

    QStringList boxes;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&boxes] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxes << box->text();
            box->accept();
        }
    });
    answer.start(10);
    {
        Favorites sheet, secondSheet;
        QCOMPARE(favoritesModel->rowCount(), 0);
        QVERIFY(!QFile::exists(file));
        QCOMPARE(favoritesModel->keptAside(), file + ".bad");
        QTRY_COMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first(), QString("Файл избранного испорчен и сохранён как favorites.xml.bad. Избранное начато заново."));
        QTest::qWait(100);
    }
    QCOMPARE(boxes.size(), 1);
    QFile kept(file + ".bad");
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), broken);
}

// The folder the pupil chose takes the material; a press on the blank space below the items,
// or no choice at all, means the top level. The window says which.
void TestFavoritesModel::addGoesWhereThePupilPointed()
{
    const QString oldCwd = QDir::currentPath();
    QDir::setCurrent(m_pupil->path());
    writeFile("data/content.xml", R"(<content caption="Азбука">
    <chapter caption="Звуки" id="1" startpage="3">
        <object caption="Звук [о]" type="ani" id="o1" path="p"/>
    </chapter>
</content>
)");
    const auto press = [](QTreeView *tree, QPoint at) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    };
    // Adds through a new window once `choose` has done its clicks; gives what the window said.
    const auto add = [](const std::function<void(QTreeView *)> &choose) {
        WindowFavorites window("o1");
        window.show();
        [&window] {
            QCOMPARE(window.windowTitle(), QString("Добавить в избранное"));
            for (QPushButton *button : window.findChildren<QPushButton *>())
                QVERIFY2(!button->text().isEmpty() || !button->accessibleName().isEmpty(), qPrintable(button->objectName()));
        }();
        choose(window.favorites()->tree());
        window.addResource();
        window.addResource(); // once only: the window is on its way out
        return window.addedText();
    };
    const auto gamesRow = [] { return favoritesModel->index(2, 0); }; // folder "Игры"

    // The view makes its first row ("Буквы") current, unmarked, when the window comes up.
    QCOMPARE(add([](QTreeView *tree) {
                 QFocusEvent focus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
                 QApplication::sendEvent(tree, &focus);
             }),
             QString("Добавлено в «Избранное»"));
    QCOMPARE(favoritesModel->rowCount(), 4);
    QCOMPARE(favoritesModel->index(3, 0).data().toString(), QString("Звук [о]"));
    QCOMPARE(add([&](QTreeView *tree) {
                 press(tree, tree->visualRect(gamesRow()).center());
                 press(tree, QPoint(10, tree->viewport()->height() - 5));
             }),
             QString("Добавлено в «Избранное»"));
    QCOMPARE(favoritesModel->rowCount(), 5);
    QCOMPARE(add([&](QTreeView *tree) { press(tree, tree->visualRect(gamesRow()).center()); }),
             QString("Добавлено в «Игры»"));
    QCOMPARE(favoritesModel->rowCount(gamesRow()), 1);

    QDir::setCurrent(oldCwd);
}

// Folders that hold a hit are open in the search tree; the others, and all of them once the
// search is cleared, are closed.
void TestFavoritesModel::searchOpensTheFoldersOfWhatIsFound()
{
    SheetFavorites sheet;
    auto *search = sheet.findChild<QLineEdit *>("lineedit_search");
    QTreeView *tree = sheet.searchTree();
    const auto open = [tree] {
        QStringList names;
        for (QModelIndex index = tree->model()->index(0, 0); index.isValid(); index = tree->indexBelow(index)) {
            if (tree->isExpanded(index))
                names << index.data().toString();
        }
        return names;
    };
    search->setText("осл");
    QCOMPARE(open(), QStringList({"Буквы", "Гласные"}));
    search->setText("нос");
    QCOMPARE(open(), QStringList({"Буквы"}));
    search->clear();
    QCOMPARE(open(), QStringList());
}

QTEST_MAIN(TestFavoritesModel)
#include "tst_favoritesmodel.moc"
