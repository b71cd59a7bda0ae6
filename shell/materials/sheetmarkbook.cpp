#include "sheetmarkbook.h"

#include "environment.h"
#include "markbookdelegate.h"
#include "markbookmodel.h"
#include "treeitem.h"
#include "windowmain.h"

#include <QHeaderView>

SheetMarkbook::SheetMarkbook(QWidget *parent)
    : QTreeView(parent)
{
    ensureMarkbookModel();
    setItemDelegate(new MarkbookDelegate(this));
    setModel(markbookModel);
    expandAll();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setDefaultAlignment(Qt::AlignCenter);
    header()->setStretchLastSection(true);
    header()->hideSection(2);
    connect(this, &QTreeView::doubleClicked, this, &SheetMarkbook::selectTest);
}

SheetMarkbook::~SheetMarkbook()
{
    // Results are written as they come; this last write carries those whose write failed.
    if (markbookModel->hasUnsavedChanges())
        markbookModel->save();
}

void SheetMarkbook::selectTest(QModelIndex index)
{
    if (index.data(TreeModel::TypeRole).toInt() == TreeItem::ObjectType && mainWindow)
        mainWindow->createWidgetInSheet(markbookModel->itemFromIndex(index)->data(3).toString());
}

void SheetMarkbook::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    setColumnWidth(0, width() - 128);
    setColumnWidth(1, 100);
}

void SheetMarkbook::showEvent(QShowEvent *event)
{
    QTreeView::showEvent(event);
    setFocus();
}
