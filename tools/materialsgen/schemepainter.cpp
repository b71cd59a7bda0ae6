#include "schemepainter.h"

#include "picturebook.h"

#include <QPainter>
#include <QPainterPath>

namespace {
const QColor ink(0x3a, 0x2e, 0x26);

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}
} // namespace

SchemePainter::SchemePainter(const SourceElement &element)
    : m_element(element)
{
}

QImage SchemePainter::paint() const
{
    if (m_element.has(QStringLiteral("words")))
        return sentence(qBound(1, int(m_element.number(QStringLiteral("words"), 3)), 8));
    if (m_element.has(QStringLiteral("sounds")))
        return sounds(qBound(1, int(m_element.number(QStringLiteral("sounds"), 3)), 8), m_element.picture(QStringLiteral("picture")));
    if (m_element.has(QStringLiteral("trace")))
        return trace(m_element.text(QStringLiteral("trace")));
    m_element.error(QStringLiteral("a scheme is of words=\"…\", sounds=\"…\" or trace=\"…\""));
    return blank(16, 16);
}

QImage SchemePainter::sentence(int words) const
{
    const int segment = 90;
    const int gap = 22;
    QImage image = blank(30 + words * (segment + gap) + 10, 70);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ink, 4, Qt::SolidLine, Qt::RoundCap));
    double x = 20;
    for (int i = 0; i < words; ++i) {
        p.drawLine(QPointF(x, 45), QPointF(x + segment, 45));
        if (i == 0)
            p.drawLine(QPointF(x, 45), QPointF(x, 22)); // the capital letter
        x += segment + gap;
    }
    p.setBrush(ink);
    p.drawEllipse(QPointF(x - gap + 8, 43), 3.5, 3.5);
    return image;
}

QImage SchemePainter::sounds(int count, const QString &picture) const
{
    const int box = 44;
    const int width = qMax(170, 20 + count * (box + 8));
    QImage image = blank(width, 230);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    PictureBook::paint(p, QRectF((width - 150) / 2.0, 8, 150, 150), picture);
    p.setPen(QPen(ink, 2.5));
    p.setBrush(Qt::NoBrush);
    const double left = (width - count * box - (count - 1) * 8) / 2.0;
    for (int i = 0; i < count; ++i)
        p.drawRect(QRectF(left + i * (box + 8), 172, box, box));
    return image;
}

QImage SchemePainter::trace(const QString &letters) const
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(110);
    QPainterPath path;
    path.addText(0, 0, font, letters);
    const QRectF box = path.boundingRect();
    QImage image = blank(int(box.width()) + 40, int(box.height()) + 40);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 2.5, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path.translated(20 - box.left(), 20 - box.top()));
    return image;
}
