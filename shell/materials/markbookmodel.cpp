#include "markbookmodel.h"

#include "coursexml.h"
#include "environment.h"
#include "treeitem.h"

#include <QFont>

MarkbookModel::MarkbookModel(QObject *parent)
    : TreeModel(pupilDir.filePath(QStringLiteral("markbook.xml")), parent)
{
    rootItem()->setItemData({QString(), tr("Результат"), QString()});
}

QVariant MarkbookModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TreeItem *item = itemFromIndex(index);
    switch (role) {
    case Qt::FontRole:
        return QFont(QStringLiteral("Tahoma"), 14, QFont::Normal);
    case Qt::TextAlignmentRole:
        if (index.column() == 2)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case Qt::ToolTipRole:
        if (index.column() == 1 && item->type() == TreeItem::ObjectType)
            return toolTip(item->data(1).toString());
        break;
    default:
        break;
    }
    return TreeModel::data(index, role);
}

TreeItem *MarkbookModel::findObject(const QString &id, TreeItem *item) const
{
    if (!item)
        return nullptr;
    if (item->columnCount() > 3 && item->data(3) == QVariant(id))
        return item;
    for (TreeItem *child : item->children()) {
        if (TreeItem *found = findObject(id, child))
            return found;
    }
    return nullptr;
}

bool MarkbookModel::saveTestResult(const QString &id, const QString &mark, const QString &history)
{
    TreeItem *test = id.isEmpty() ? nullptr : findObject(id, rootItem());
    if (!test || test->type() != TreeItem::ObjectType)
        return false;
    test->setData(1, mark);
    test->setData(4, history);
    // Views show the new mark at once, not at their next repaint.
    const QModelIndex first = indexFromItem(test, 0);
    emit dataChanged(first, first.siblingAtColumn(columnCount(first.parent()) - 1));
    return save();
}

bool MarkbookModel::save() const
{
    return CourseXml::saveMarkbook(rootItem(), fileName());
}

MarkbookModel::Band MarkbookModel::band(const QString &mark)
{
    bool isNumber = false;
    double m = mark.toDouble(&isNumber);
    if (!isNumber)
        m = 0; // a mark that is not a number counts as nothing done right
    if (m == -1)
        return NotTaken;
    // Contiguous bands: real tests give marks such as 11/17 = 0.647 between the old limits.
    if (m < 0)
        return NoBand;
    if (m < 0.65)
        return NeedsWork;
    if (m < 0.95)
        return Good;
    return Excellent;
}

QString MarkbookModel::bandIcon(Band band)
{
    switch (band) {
    case NotTaken:
        return QStringLiteral("theme/other/gray.png");
    case NeedsWork:
        return QStringLiteral("theme/other/red.png");
    case Good:
        return QStringLiteral("theme/other/blue.png");
    case Excellent:
        return QStringLiteral("theme/other/green.png");
    case NoBand:
        break;
    }
    return QString();
}

QColor MarkbookModel::bandTint(Band band)
{
    switch (band) {
    case NeedsWork:
        return QColor(252, 151, 153, 60);
    case Good:
        return QColor(140, 255, 252, 60);
    case Excellent:
        return QColor(185, 255, 140, 60);
    case NotTaken:
    case NoBand:
        break;
    }
    return QColor(255, 255, 255, 0);
}

QString MarkbookModel::toolTip(const QString &mark)
{
    bool isNumber = false;
    double m = mark.toDouble(&isNumber);
    if (!isNumber)
        m = 0;
    if (m == -1)
        return tr("Не пройдено");
    if (m >= 0 && m < 0.64)
        return tr("Нужно поработать ещё!");
    if (m > 0.65 && m < 0.94)
        return tr("Хорошо!");
    if (m > 0.95)
        return tr("Молодец! Всё правильно!");
    return mark;
}
