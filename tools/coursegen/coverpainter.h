#pragma once

#include <QImage>
#include <QString>

class Canvas;

// The course's cover picture shown in the catalogue: a bright first-grade primer.
class CoverPainter
{
public:
    static constexpr int width = 600;
    static constexpr int height = 800;

    explicit CoverPainter(const QString &title);
    QImage paint() const;

private:
    void sky(Canvas &canvas) const;
    void sun(Canvas &canvas) const;
    void hills(Canvas &canvas) const;
    void heading(Canvas &canvas) const;
    void gradeBadge(Canvas &canvas) const;
    void letterBlock(Canvas &canvas, QPointF at, qreal size, const QString &letter, const QColor &colour,
                     bool onGround) const;
    void cat(Canvas &canvas, QPointF at) const;
    void spine(Canvas &canvas) const;

    QString m_title;
};
