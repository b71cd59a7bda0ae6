#ifndef CONTENTMODELPROXY_H
#define CONTENTMODELPROXY_H

#include <QSortFilterProxyModel>

// The contents as the catalogue shows them: the caption column only, with check boxes.
class ContentModelProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    QVariant data(const QModelIndex &index, int role) const override;

protected:
    bool filterAcceptsColumn(int sourceColumn, const QModelIndex &sourceParent) const override;
};

#endif
