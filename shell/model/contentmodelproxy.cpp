#include "contentmodelproxy.h"

#include "contentmodel.h"
#include "treeitem.h"

#include <QFont>

QVariant ContentModelProxy::data(const QModelIndex &index, int role) const
{
    if (role != Qt::CheckStateRole && role != Qt::FontRole)
        return QSortFilterProxyModel::data(index, role);
    const auto *contents = qobject_cast<const ContentModel *>(sourceModel());
    if (!contents || !index.isValid())
        return QVariant();
    const TreeItem *item = contents->itemFromIndex(mapToSource(index));
    if (role == Qt::CheckStateRole)
        return item->checkState();
    return ContentModel::itemFont(item);
}

bool ContentModelProxy::filterAcceptsColumn(int sourceColumn, const QModelIndex &) const
{
    return sourceColumn == 0;
}
