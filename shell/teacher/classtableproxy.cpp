#include "classtableproxy.h"

#include "classtablemodel.h"

ClassTableProxy::ClassTableProxy(QObject *parent)
    : QSortFilterProxyModel(parent)
{
    setSortRole(ClassTableModel::SortRole);
    setSortLocaleAware(true);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

bool ClassTableProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const bool leftSummary = left.data(ClassTableModel::SummaryRole).toBool();
    const bool rightSummary = right.data(ClassTableModel::SummaryRole).toBool();
    if (leftSummary != rightSummary)
        return sortOrder() == Qt::AscendingOrder ? rightSummary : leftSummary;
    return QSortFilterProxyModel::lessThan(left, right);
}
