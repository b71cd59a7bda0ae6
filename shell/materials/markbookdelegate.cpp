#include "markbookdelegate.h"

#include "treeitem.h"

#include <QAbstractItemView>
#include <QPainter>

MarkbookDelegate::MarkbookDelegate(QObject *parent)
    : QItemDelegate(parent)
{
}

const QColor &MarkbookDelegate::selectionColour()
{
    static const QColor colour(252, 202, 107, 255);
    return colour;
}

bool MarkbookDelegate::isTest(const QModelIndex &index)
{
    return index.data(TreeModel::TypeRole).toInt() == TreeItem::ObjectType;
}

QString MarkbookDelegate::markOf(const QModelIndex &index)
{
    return index.siblingAtColumn(1).data(Qt::DisplayRole).toString();
}

const QPixmap &MarkbookDelegate::icon(MarkbookModel::Band band) const
{
    auto it = m_icons.find(band);
    if (it == m_icons.end())
        it = m_icons.insert(band, QPixmap(MarkbookModel::bandIcon(band)));
    return it.value();
}

QSize MarkbookDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (index.column() == 1 && isTest(index))
        return QSize(27, 27);
    return QItemDelegate::sizeHint(option, index);
}

void MarkbookDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    painter->setFont(QFont(QStringLiteral("Tahoma"), 14, QFont::Normal));
    const bool selected = option.state & QStyle::State_Selected;
    const bool test = isTest(index);
    if (test && !selected)
        paintTint(painter, option, index);
    if (index.column() == 1 && test) {
        if (selected)
            painter->fillRect(option.rect, selectionColour());
        paintMark(painter, option.rect, index);
    } else if (selected) {
        painter->fillRect(option.rect, selectionColour());
        paintSelectedText(painter, option.rect, index);
    } else {
        QItemDelegate::paint(painter, option, index);
    }
    painter->restore();
}

void MarkbookDelegate::paintTint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QRect cell = option.rect;
    // The first column's tint reaches the view's left edge, over the indentation.
    if (index.column() == 0)
        cell.setLeft(0);
    painter->fillRect(cell, MarkbookModel::bandTint(MarkbookModel::band(markOf(index))));
}

void MarkbookDelegate::paintMark(QPainter *painter, const QRect &cell, const QModelIndex &index) const
{
    const QPixmap &pixmap = icon(MarkbookModel::band(markOf(index)));
    if (pixmap.isNull())
        return;
    QRect square(0, 0, 24, 24);
    square.moveCenter(cell.center());
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawPixmap(square, pixmap);
}

void MarkbookDelegate::paintSelectedText(QPainter *painter, const QRect &cell, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.column() == 2)
        painter->drawText(cell, Qt::AlignRight | Qt::AlignVCenter, text);
    else
        painter->drawText(cell.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}
