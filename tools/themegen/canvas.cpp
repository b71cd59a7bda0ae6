#include "canvas.h"

#include <QFontMetricsF>

Canvas::Canvas(QSize size, const QColor &background)
    : m_image(size, QImage::Format_ARGB32_Premultiplied)
{
    m_image.fill(background);
    m_painter.begin(&m_image);
    m_painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing
                             | QPainter::SmoothPixmapTransform);
}

Canvas::Canvas(int width, int height, const QColor &background)
    : Canvas(QSize(width, height), background)
{
}

QImage Canvas::finish()
{
    if (m_painter.isActive())
        m_painter.end();
    return m_image.convertToFormat(QImage::Format_ARGB32);
}

void Canvas::fill(const QPainterPath &path, const QBrush &brush, const QColor &outline,
                  qreal outlineWidth)
{
    m_painter.save();
    m_painter.setBrush(brush);
    m_painter.setPen(outline.alpha() ? QPen(outline, outlineWidth, Qt::SolidLine, Qt::RoundCap,
                                            Qt::RoundJoin)
                                     : QPen(Qt::NoPen));
    m_painter.drawPath(path);
    m_painter.restore();
}

void Canvas::shadow(const QPainterPath &path, QPointF offset, int alpha)
{
    // Two offsets of decreasing strength read as a soft shadow without a blur pass.
    fill(path.translated(offset * 1.6), QColor(60, 30, 10, alpha / 3));
    fill(path.translated(offset), QColor(60, 30, 10, alpha));
}

void Canvas::glossy(const QPainterPath &path, const QColor &base, const QColor &outline)
{
    const QRectF box = path.boundingRect();
    QLinearGradient body = vertical(box, base.lighter(135), base.darker(112));
    body.setColorAt(0.5, base);
    fill(path, body, outline, 1.0);

    // The shine is the upper part of the shape itself, shrunk a little: it follows any
    // outline, round or square.
    QPainterPath shine;
    shine.addRect(box.adjusted(0, 0, 0, -box.height() * 0.52));
    const qreal inset = qMax<qreal>(1.5, qMin(box.width(), box.height()) * 0.08);
    QTransform shrink;
    shrink.translate(box.center().x(), box.top() + inset);
    shrink.scale((box.width() - 2 * inset) / box.width(), (box.height() - 2 * inset) / box.height());
    shrink.translate(-box.center().x(), -box.top());
    const QPainterPath glare = shrink.map(path).intersected(shine);
    fill(glare, vertical(glare.boundingRect(), QColor(255, 255, 255, 150), QColor(255, 255, 255, 25)));
}

void Canvas::glossyBall(QPointF centre, qreal radius, const QColor &base)
{
    QPainterPath ball;
    ball.addEllipse(centre, radius, radius);
    QRadialGradient body(centre + QPointF(-radius * 0.3, -radius * 0.35), radius * 1.3);
    body.setColorAt(0.0, base.lighter(150));
    body.setColorAt(0.55, base);
    body.setColorAt(1.0, base.darker(135));
    fill(ball, body, base.darker(160), qMax<qreal>(0.8, radius / 10));

    QPainterPath glare;
    glare.addEllipse(QPointF(centre.x(), centre.y() - radius * 0.45), radius * 0.6, radius * 0.38);
    fill(glare, vertical(glare.boundingRect(), QColor(255, 255, 255, 200), QColor(255, 255, 255, 20)));
}

void Canvas::lettering(const QString &text, const QFont &font, const QRectF &box, const QColor &fill,
                       const QColor &outline, qreal outlineWidth, Qt::Alignment align)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    qreal x = box.left();
    if (align & Qt::AlignHCenter)
        x = box.center().x() - width / 2;
    else if (align & Qt::AlignRight)
        x = box.right() - width;
    // Centre on the cap height rather than the full line: Cyrillic capitals then sit
    // visually in the middle of a button.
    const qreal baseline = (align & Qt::AlignTop) ? box.top() + metrics.ascent()
                                                  : box.center().y() + metrics.capHeight() / 2;
    QPainterPath path;
    path.addText(QPointF(x, baseline), font, text);
    if (outline.alpha()) {
        m_painter.save();
        m_painter.setPen(QPen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawPath(path);
        m_painter.restore();
    }
    this->fill(path, fill);
}

QFont Canvas::font(qreal pixelSize, bool bold, bool italic)
{
    // DejaVu Sans ships with every target system and carries full Cyrillic.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QLinearGradient Canvas::vertical(const QRectF &box, const QColor &top, const QColor &bottom)
{
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

QImage Canvas::greyedOut(const QImage &image)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = 150 + qGray(pixel) * 90 / 255;
            line[x] = qRgba(grey, grey, grey - 6, qAlpha(pixel) * 11 / 20);
        }
    }
    return result;
}
