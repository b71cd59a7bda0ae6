#ifndef FAVORITESMODELPROXY_H
#define FAVORITESMODELPROXY_H

#include <QSortFilterProxyModel>

// The favorites as the search shows them: the items the last search marked.
class FavoritesModelProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit FavoritesModelProxy(QObject *parent = nullptr);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
};

#endif
