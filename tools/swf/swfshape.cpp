#include "swfshape.h"

#include "swfstream.h"

#include <QtMath>

int SwfShape::addSolidFill(const QColor &color)
{
    FillStyle style;
    style.color = color;
    m_fills.append(style);
    return int(m_fills.size());
}

int SwfShape::addBitmapFill(quint16 bitmapId, const QPointF &topLeft, double scale, bool smoothed)
{
    // A bitmap fill maps bitmap pixels to twips.
    FillStyle style;
    style.bitmapId = bitmapId;
    style.matrix = QTransform(20.0 * scale, 0, 0, 20.0 * scale, twips(topLeft.x()), twips(topLeft.y()));
    style.smoothed = smoothed;
    m_fills.append(style);
    return int(m_fills.size());
}

int SwfShape::addLineStyle(double widthPixels, const QColor &color)
{
    m_lines.append({twips(widthPixels), color});
    return int(m_lines.size());
}

void SwfShape::addPolygon(const QPolygonF &pixels, int fill, int line)
{
    Path path;
    path.fill = fill;
    path.line = line;
    for (const QPointF &p : pixels) {
        const QPoint t(twips(p.x()), twips(p.y()));
        if (path.points.isEmpty() || path.points.last() != t)
            path.points.append(t);
    }
    if (path.points.size() > 1 && path.points.first() == path.points.last())
        path.points.removeLast();
    if (path.points.size() >= 2)
        m_paths.append(path);
}

void SwfShape::addRect(const QRectF &pixels, int fill, int line)
{
    addPolygon(QPolygonF(pixels), fill, line);
}

namespace {
// Points along a quarter of an ellipse round `centre`, from `startDegrees` on, clockwise on screen.
void appendArc(QPolygonF &polygon, const QPointF &centre, double rx, double ry, double startDegrees)
{
    constexpr int steps = 8;
    for (int i = 0; i <= steps; ++i) {
        const double angle = qDegreesToRadians(startDegrees + 90.0 * i / steps);
        polygon << QPointF(centre.x() + rx * qCos(angle), centre.y() + ry * qSin(angle));
    }
}
} // namespace

void SwfShape::addRoundedRect(const QRectF &pixels, double radius, int fill, int line)
{
    const double r = qBound(0.0, radius, qMin(pixels.width(), pixels.height()) / 2);
    QPolygonF outline;
    appendArc(outline, QPointF(pixels.right() - r, pixels.top() + r), r, r, 270);
    appendArc(outline, QPointF(pixels.right() - r, pixels.bottom() - r), r, r, 0);
    appendArc(outline, QPointF(pixels.left() + r, pixels.bottom() - r), r, r, 90);
    appendArc(outline, QPointF(pixels.left() + r, pixels.top() + r), r, r, 180);
    addPolygon(outline, fill, line);
}

void SwfShape::addEllipse(const QRectF &pixels, int fill, int line)
{
    QPolygonF outline;
    for (int quarter = 0; quarter < 4; ++quarter)
        appendArc(outline, pixels.center(), pixels.width() / 2, pixels.height() / 2, 90.0 * quarter);
    addPolygon(outline, fill, line);
}

bool SwfShape::isEmpty() const
{
    return m_paths.isEmpty();
}

QRect SwfShape::boundsTwips() const
{
    int halfLine = 0;
    for (const LineStyle &line : m_lines)
        halfLine = qMax(halfLine, line.width / 2);
    QRect bounds;
    for (const Path &path : m_paths) {
        for (const QPoint &p : path.points)
            bounds |= QRect(p, QSize(1, 1));
    }
    return bounds.adjusted(-halfLine, -halfLine, halfLine, halfLine);
}

QByteArray SwfShape::encodeStyles() const
{
    SwfStream out;
    if (m_fills.size() < 0xff) {
        out.u8(quint32(m_fills.size()));
    } else {
        out.u8(0xff);
        out.u16(quint32(m_fills.size()));
    }
    for (const FillStyle &fill : m_fills) {
        if (fill.bitmapId < 0) {
            out.u8(0x00);
            out.rgba(fill.color);
        } else {
            out.u8(fill.smoothed ? 0x41 : 0x43); // clipped bitmap
            out.u16(quint32(fill.bitmapId));
            out.matrix(fill.matrix);
        }
    }
    out.u8(quint32(qMin<qsizetype>(m_lines.size(), 0xfe)));
    for (const LineStyle &line : m_lines.mid(0, 0xfe)) {
        out.u16(quint32(line.width));
        out.rgba(line.color);
    }
    return out.data();
}

// Edges longer than a straight-edge record can carry are split.
static void writeEdge(SwfStream &out, qint64 dx, qint64 dy)
{
    constexpr qint64 limit = 65535;
    if (qAbs(dx) > limit || qAbs(dy) > limit) {
        writeEdge(out, dx / 2, dy / 2);
        writeEdge(out, dx - dx / 2, dy - dy / 2);
        return;
    }
    const int count = qMax(2, qMax(SwfStream::bitsForSigned(dx), SwfStream::bitsForSigned(dy)));
    out.bits(1, 1); // edge record
    out.bits(1, 1); // straight
    out.bits(quint32(count - 2), 4);
    if (dx != 0 && dy != 0) {
        out.bits(1, 1); // general line
        out.signedBits(qint32(dx), count);
        out.signedBits(qint32(dy), count);
    } else {
        out.bits(0, 1);
        out.bits(dx == 0 ? 1 : 0, 1); // vertical?
        out.signedBits(qint32(dx == 0 ? dy : dx), count);
    }
}

QByteArray SwfShape::tagBody(quint16 id) const
{
    SwfStream out;
    out.u16(id);
    out.rect(boundsTwips());
    out.bytes(encodeStyles());
    const int fillBits = SwfStream::bitsForUnsigned(quint64(m_fills.size()));
    const int lineBits = SwfStream::bitsForUnsigned(quint64(qMin<qsizetype>(m_lines.size(), 0xfe)));
    out.bits(quint32(fillBits), 4);
    out.bits(quint32(lineBits), 4);
    for (const Path &path : m_paths) {
        const QPoint start = path.points.first();
        // Style change: line style, fill style 1, fill style 0, move-to.
        out.bits(0, 1);
        out.bits(0, 1); // no new styles
        out.bits(1, 1); // line style
        out.bits(1, 1); // fill style 1
        out.bits(1, 1); // fill style 0
        out.bits(1, 1); // move to
        const int moveBits = qMax(SwfStream::bitsForSigned(start.x()), SwfStream::bitsForSigned(start.y()));
        out.bits(quint32(moveBits), 5);
        out.signedBits(start.x(), moveBits);
        out.signedBits(start.y(), moveBits);
        out.bits(0, fillBits);                     // fill 0: none
        out.bits(quint32(path.fill), fillBits);    // fill 1
        out.bits(quint32(path.line), lineBits);
        QPoint at = start;
        for (int i = 1; i <= path.points.size(); ++i) {
            const QPoint next = path.points[i % path.points.size()];
            writeEdge(out, qint64(next.x()) - at.x(), qint64(next.y()) - at.y());
            at = next;
        }
    }
    out.bits(0, 6); // end of shape
    return out.data();
}
