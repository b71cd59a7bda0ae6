#ifndef CLASSTABLEPROXY_H
#define CLASSTABLEPROXY_H

#include <QSortFilterProxyModel>

// Sorts the class table by a pupil's name or by a test's marks, the row of class averages
// staying last whichever way it is sorted.
class ClassTableProxy : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit ClassTableProxy(QObject *parent = nullptr);

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
};

#endif
