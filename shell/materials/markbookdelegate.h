#ifndef MARKBOOKDELEGATE_H
#define MARKBOOKDELEGATE_H

#include "markbookmodel.h"

#include <QHash>
#include <QItemDelegate>
#include <QPixmap>

// Draws the markbook: a test's row tinted by its mark, the mark as a coloured icon.
class MarkbookDelegate : public QItemDelegate
{
    Q_OBJECT

public:
    explicit MarkbookDelegate(QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static const QColor &selectionColour();

private:
    static bool isTest(const QModelIndex &index);
    static QString markOf(const QModelIndex &index);
    const QPixmap &icon(MarkbookModel::Band band) const;
    void paintTint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const;
    void paintMark(QPainter *painter, const QRect &cell, const QModelIndex &index) const;
    void paintSelectedText(QPainter *painter, const QRect &cell, const QModelIndex &index) const;

    mutable QHash<int, QPixmap> m_icons;
};

#endif
