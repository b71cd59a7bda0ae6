#include "treeitem.h"

#include <QtTest>

class TestTreeItem : public QObject
{
    Q_OBJECT

private slots:
    void rowIsPositionByIdentity();
    void movingKeepsSingleOwnership();
};

// Siblings often carry equal rows (two materials of the same name).
void TestTreeItem::rowIsPositionByIdentity()
{
    TreeItem root;
    TreeItem *first = new TreeItem({QStringLiteral("same")}, TreeItem::ObjectType, &root);
    TreeItem *second = new TreeItem({QStringLiteral("same")}, TreeItem::ObjectType, &root);
    TreeItem *inserted = new TreeItem({QStringLiteral("same")}, TreeItem::ObjectType);
    root.insertChild(1, inserted);

    QCOMPARE(first->row(), 0);
    QCOMPARE(inserted->row(), 1);
    QCOMPARE(second->row(), 2);
}

// Constructing with a parent and then appending (the usual Qt idiom) must not list the
// item twice, appending an item owned elsewhere moves it, and a taken item is the
// caller's: each mistake ends in a double delete or a dangling parent.
void TestTreeItem::movingKeepsSingleOwnership()
{
    TreeItem root;
    TreeItem *folder = new TreeItem({QStringLiteral("folder")}, TreeItem::FolderType, &root);
    root.appendChild(folder);
    TreeItem *object = new TreeItem({QStringLiteral("object")}, TreeItem::ObjectType, &root);

    folder->appendChild(object);
    QCOMPARE(root.children(), QList<TreeItem *>{folder});
    QCOMPARE(object->parentItem(), folder);

    TreeItem *taken = root.takeChild(0);
    QCOMPARE(root.childCount(), 0);
    QCOMPARE(taken->parentItem(), nullptr);
    delete taken;
}

QTEST_APPLESS_MAIN(TestTreeItem)
#include "tst_treeitem.moc"
