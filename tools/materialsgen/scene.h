#ifndef SCENE_H
#define SCENE_H

#include "sourceelement.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

// A still picture made of a background and picture book drawings, with some lettering:
//   <picture file="oslik.png" width="480" height="360" background="meadow">
//       <item picture="donkey" x="140" y="120" size="200"/>
//       <text x="0" y="10" width="480" size="28">Ослик</text>
//   </picture>
// Backgrounds: "paper", "white", "sky", "meadow", "none" (transparent) or a colour "#rrggbb".
// Animations use the same backgrounds and items as their scenery.
class Scene
{
public:
    struct Item {
        QString picture;
        QPointF topLeft;
        double size = 100;
    };
    struct Label {
        QString text;
        QRectF rect;
        double size = 24;
        QColor color;
    };

    static Scene read(const SourceElement &element, const QSize &fallbackSize);

    QSize size() const { return m_size; }
    QImage paint() const;
    // Only the background, as the animations lay it under their actors.
    static QImage background(const QString &kind, const QSize &size);
    static bool isBackground(const QString &kind);

private:
    QSize m_size;
    QString m_background;
    QList<Item> m_items;
    QList<Label> m_labels;
};

#endif
