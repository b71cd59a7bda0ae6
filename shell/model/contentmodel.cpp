#include "contentmodel.h"

#include "treeitem.h"

#include <QDir>
#include <QFont>

static constexpr int kObjectFlag = 16;

ContentModel::ContentModel(QObject *parent)
    : TreeModel(QDir::current().absoluteFilePath(QStringLiteral("data/content.xml")), parent)
{
    rootItem()->setItemData({tr("  Оглавление"), tr("page")});
}

int ContentModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && (itemFromIndex(parent)->type() & kObjectFlag))
        return 0;
    return TreeModel::rowCount(parent);
}

QFont ContentModel::itemFont(const TreeItem *item)
{
    QFont font(QStringLiteral("Tahoma"), 14);
    font.setBold(item->childCount() > 0 && !(item->type() & kObjectFlag));
    return font;
}

QVariant ContentModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TreeItem *item = itemFromIndex(index);
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? item->data(0) : index.column() == 1 ? item->data(2) : QVariant();
    case Qt::ToolTipRole:
        return item->data(0);
    case Qt::FontRole:
        return itemFont(item);
    case Qt::TextAlignmentRole:
        return index.column() == 1 ? QVariant(int(Qt::AlignRight)) : QVariant();
    default:
        return QVariant();
    }
}

TreeItem *ContentModel::findObject(const QString &id, TreeItem *item) const
{
    if (!item)
        return nullptr;
    if (item->type() == kObjectFlag && item->data(2).toString() == id)
        return item;
    for (int row = 0; row < item->childCount(); ++row) {
        if (TreeItem *found = findObject(id, item->child(row)))
            return found;
    }
    return nullptr;
}
