#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

// A transparent, antialiased drawing surface with the few effects every picture of
// the theme shares: glossy plastic shapes, soft shadows and outlined lettering.
class Canvas
{
public:
    explicit Canvas(QSize size, const QColor &background = Qt::transparent);
    Canvas(int width, int height, const QColor &background = Qt::transparent);

    QPainter &painter() { return m_painter; }
    QRectF rect() const { return QRectF(m_image.rect()); }
    QImage finish();

    void fill(const QPainterPath &path, const QBrush &brush, const QColor &outline = Qt::transparent,
              qreal outlineWidth = 1.0);
    void shadow(const QPainterPath &path, QPointF offset, int alpha);
    void glossy(const QPainterPath &path, const QColor &base, const QColor &outline);
    void glossyBall(QPointF centre, qreal radius, const QColor &base);
    void lettering(const QString &text, const QFont &font, const QRectF &box, const QColor &fill,
                   const QColor &outline, qreal outlineWidth, Qt::Alignment align = Qt::AlignCenter);

    static QFont font(qreal pixelSize, bool bold = true, bool italic = false);
    static QLinearGradient vertical(const QRectF &box, const QColor &top, const QColor &bottom);
    static QImage greyedOut(const QImage &image);

private:
    QImage m_image;
    QPainter m_painter;
};
