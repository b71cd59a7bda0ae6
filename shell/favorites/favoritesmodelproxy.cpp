#include "favoritesmodelproxy.h"

#include "treeitem.h"
#include "treemodel.h"

FavoritesModelProxy::FavoritesModelProxy(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
}

bool FavoritesModelProxy::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    const auto *model = qobject_cast<const TreeModel *>(sourceModel());
    if (!model)
        return true;
    return model->itemFromIndex(model->index(sourceRow, 0, sourceParent))->match();
}
