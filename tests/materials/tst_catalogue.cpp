// The catalogue's lists and check boxes, on a small contents file of its own.

#include "contentmodel.h"
#include "contentmodelproxy.h"
#include "environment.h"
#include "markbookmodel.h"
#include "materialmodel.h"
#include "sheetcatalogue.h"
#include "treeitem.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

static const char kContents[] = R"(<content caption="Азбука">
    <chapter caption="Звуки" id="1" startpage="1">
        <chapter caption="Гласные" id="2" startpage="2">
            <object caption="«Ёжик и ёлка»" type="ani" id="a1" path="p"/>
            <object caption="Тест: гласные" type="con" id="t1" path="p"/>
            <object caption="ёлочка" type="pra" id="p1" path="p"/>
        </chapter>
        <chapter caption="Согласные" id="3" startpage="3">
            <object caption="Игра в слоги" type="igr" id="g1" path="p"/>
            <object caption="Бабочка" type="ani" id="a2" path="p"/>
        </chapter>
    </chapter>
    <chapter caption="Слова" id="4" startpage="4">
        <object caption="&quot;Дом&quot;" type="slv" id="s1" path="p"/>
        <object caption="Странный" type="xyz" id="x1" path="p"/>
    </chapter>
    <chapter caption="Повторение: звуки и буквы, слоги и ударение, слова и предложения" id="5" startpage="5"/>
</content>
)";

static QStringList captions(const QAbstractItemModel *model, const QModelIndex &parent = {})
{
    QStringList result;
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        result << index.data().toString();
        for (const QString &child : captions(model, index))
            result << "  " + child;
    }
    return result;
}

class TestCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void listsAreSortedGroupedAndSearched();
    void checksFollowTheChaptersAndTheBox();
    void searchPointsToUncheckedChapters();
    void listsAreAsWideAsTheirCaptionsAndThePupilsWidthsStay();

private:
    QTemporaryDir m_install;
    QString m_oldCwd;
};

void TestCatalogue::initTestCase()
{
    m_oldCwd = QDir::currentPath();
    QDir::setCurrent(m_install.path());
    QDir().mkpath("data");
    QFile contents("data/content.xml");
    QVERIFY(contents.open(QIODevice::WriteOnly));
    contents.write(kContents);
    contents.close();
    fillGroupTables();
    ensureContentModel();
}

void TestCatalogue::cleanupTestCase()
{
    QDir::setCurrent(m_oldCwd);
}

void TestCatalogue::listsAreSortedGroupedAndSearched()
{
    MaterialModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QList<QVariant> rows;
    for (const char *id : {"g1", "a2", "a1", "t1", "p1", "s1", "x1"}) {
        const TreeItem *item = contentModel->findObject(id, contentModel->rootItem());
        QVERIFY(item);
        rows << QVariant(item->itemData());
    }
    model.build(rows);
    // Groups in their fixed order, counted; captions sorted by their first letter, quotes aside
    // (in code-unit order, where "Ё" comes before "А"); an unknown kind is in no group.
    QCOMPARE(captions(&model), QStringList({"Анимации (2)", "  «Ёжик и ёлка»", "  Бабочка", "Упражнения (1)",
                                            "  ёлочка", "Словарная работа (1)", "  \"Дом\"",
                                            "Проверочные работы (1)", "  Тест: гласные", "Игра (1)",
                                            "  Игра в слоги"}));
    model.groupByType(false);
    QCOMPARE(captions(&model), QStringList({"«Ёжик и ёлка»", "Бабочка", "\"Дом\"", "Игра в слоги", "Странный",
                                            "Тест: гласные", "ёлочка"}));
    QVERIFY(!model.index(0, 0).data(Qt::DecorationRole).isNull() || groupIconsSmall.value("ani").isNull());

    // Any case, and "е" for "ё".
    model.update("ЕЛ");
    QCOMPARE(captions(&model), QStringList({"«Ёжик и ёлка»", "ёлочка"}));
    model.update("тест");
    QCOMPARE(captions(&model), QStringList({"Тест: гласные"}));
    model.update(QString());
    QCOMPARE(model.rowCount(), 7);
}

void TestCatalogue::checksFollowTheChaptersAndTheBox()
{
    SheetCatalogue sheet;
    QAbstractItemModelTester tester(sheet.materialsModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    auto *checkAll = sheet.findChild<QCheckBox *>("checkbox_checkall");
    QTreeView *contents = sheet.contentView();
    const auto chapter = [&](int row, int child = -1) {
        QModelIndex index = contents->model()->index(row, 0);
        return child < 0 ? index : contents->model()->index(child, 0, index);
    };
    const auto state = [&](const QModelIndex &index) { return index.data(Qt::CheckStateRole).toInt(); };
    const auto listed = [&] { return captions(sheet.searchModel()).filter(QRegularExpression("^  ")).size(); };

    // Everything checked and listed at first.
    QVERIFY(checkAll->isChecked());
    QCOMPARE(listed(), 6);

    // One sub-chapter off: its chapter is partly checked, the box is off, its materials go.
    sheet.updateContent(chapter(0, 1));
    QCOMPARE(state(chapter(0, 1)), int(Qt::Unchecked));
    QCOMPARE(state(chapter(0)), int(Qt::PartiallyChecked));
    QVERIFY(!checkAll->isChecked());
    QCOMPARE(listed(), 4);
    // Back on: the chapter is whole again.
    sheet.updateContent(chapter(0, 1));
    QCOMPARE(state(chapter(0)), int(Qt::Checked));
    QVERIFY(checkAll->isChecked());

    // A partly checked chapter pressed goes off with everything below it.
    sheet.updateContent(chapter(0, 0));
    sheet.updateContent(chapter(0));
    QCOMPARE(state(chapter(0)), int(Qt::Unchecked));
    QCOMPARE(state(chapter(0, 1)), int(Qt::Unchecked));
    QCOMPARE(listed(), 1); // "Дом"; the unknown kind is in no group

    // The box turns all on and all off.
    QVERIFY(!checkAll->isChecked());
    checkAll->click();
    QCOMPARE(state(chapter(0, 0)), int(Qt::Checked));
    QCOMPARE(listed(), 6);
    checkAll->click();
    QCOMPARE(state(chapter(1)), int(Qt::Unchecked));
    QCOMPARE(sheet.materialsModel()->rowCount(), 0);
    checkAll->click();

    // The search box filters the search list only.
    sheet.findChild<QLineEdit *>("lineedit_search")->setText("ёж");
    QCOMPARE(captions(sheet.searchModel()), QStringList({"Анимации (1)", "  «Ёжик и ёлка»"}));
    QCOMPARE(captions(sheet.materialsModel()).size(), 11);
}

void TestCatalogue::searchPointsToUncheckedChapters()
{
    SheetCatalogue sheet;
    auto *search = sheet.findChild<QLineEdit *>("lineedit_search");
    auto *hint = sheet.findChild<QWidget *>("widget_search_hint");
    auto *checkEverything = sheet.findChild<QPushButton *>("button_check_all_chapters");
    QVERIFY(hint && checkEverything);
    QVERIFY(std::max(checkEverything->minimumHeight(), checkEverything->sizeHint().height()) >= 32);

    // "Слова" unchecked: its "Дом" is found only there, and the pupil is told so.
    sheet.updateContent(sheet.contentView()->model()->index(1, 0));
    search->setText("дом");
    QCOMPARE(sheet.searchModel()->rowCount(), 0);
    QVERIFY(!hint->isHidden());
    QCOMPARE(sheet.findChild<QLabel *>("label_search_hint")->text(),
             QString("В отмеченных главах ничего не найдено; в других главах: 1"));
    // A match in a checked chapter, or one the grouped list could not show anyway, tells nothing.
    search->setText("ёж");
    QVERIFY(hint->isHidden());
    search->setText("стран");
    QVERIFY(hint->isHidden());

    // One press checks every chapter and the hidden match appears.
    search->setText("дом");
    checkEverything->click();
    QCOMPARE(captions(sheet.searchModel()), QStringList({"Словарная работа (1)", "  \"Дом\""}));
    QVERIFY(hint->isHidden());
    QVERIFY(sheet.findChild<QCheckBox *>("checkbox_checkall")->isChecked());
}

void TestCatalogue::listsAreAsWideAsTheirCaptionsAndThePupilsWidthsStay()
{
    QTemporaryDir pupils;
    const QDir before = pupilDir;
    pupilDir = QDir(pupils.path());
    QVERIFY(pupilDir.mkpath("anna") && pupilDir.mkpath("boris"));
    pupilDir.cd("anna");
    const auto widest = [](QTreeView *view) {
        return static_cast<QAbstractItemView *>(view)->sizeHintForColumn(0);
    };
    const auto shown = [](SheetCatalogue &sheet, int width) {
        sheet.resize(width, 700);
        sheet.show();
        return QTest::qWaitForWindowExposed(&sheet);
    };

    QList<int> dragged;
    {
        SheetCatalogue sheet;
        QVERIFY(shown(sheet, 2400));
        auto *splitter = sheet.findChild<QSplitter *>();
        QVERIFY(splitter->handleWidth() >= 6);
        // Room enough: every caption whole, and the preview keeps the larger half.
        QList<int> sizes = splitter->sizes();
        QVERIFY2(sizes[0] > 250 && sizes[1] > 250, qPrintable(QString::number(sizes[0])));
        QVERIFY(sizes[0] + sizes[1] <= 1200);
        QVERIFY(sheet.contentView()->viewport()->width() >= widest(sheet.contentView()));
        QVERIFY(sheet.materialsView()->viewport()->width() >= widest(sheet.materialsView()));

        // A narrower window: the lists share half of it, neither under its starting width.
        sheet.resize(1100, 700);
        QCoreApplication::processEvents();
        sizes = splitter->sizes();
        QVERIFY(sizes[0] >= 250 && sizes[1] >= 250);
        QVERIFY(sizes[0] + sizes[1] <= 550);

        // The pupil drags the edge of the material list.
        QSplitterHandle *handle = splitter->handle(2);
        const QPoint grip = handle->rect().center();
        QTest::mousePress(handle, Qt::LeftButton, {}, grip);
        QTest::mouseMove(handle, grip + QPoint(60, 0));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
        dragged = splitter->sizes();
        QCOMPARE(dragged[1], sizes[1] + 60);
    }
    // Her next session has her widths, whatever the captions would ask for, even when the sheet
    // is first shown narrower than it ends up; another pupil's does not.
    SheetCatalogue again;
    QVERIFY(shown(again, 700));
    again.resize(1100, 700);
    QCoreApplication::processEvents();
    QCOMPARE(again.findChild<QSplitter *>()->sizes(), dragged);
    pupilDir.cd("../boris");
    SheetCatalogue other;
    QVERIFY(shown(other, 1100));
    QVERIFY(other.findChild<QSplitter *>()->sizes() != dragged);
    pupilDir = before;
}

QTEST_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
