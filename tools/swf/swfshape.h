#ifndef SWFSHAPE_H
#define SWFSHAPE_H

#include <QByteArray>
#include <QColor>
#include <QList>
#include <QPolygonF>
#include <QRect>
#include <QTransform>

// A DefineShape3 character made of closed straight-edged polygons. Coordinates are given
// in stage pixels; styles are referred to by the 1-based indices the add… calls return.
class SwfShape
{
public:
    int addSolidFill(const QColor &color);
    // The bitmap's pixel (0, 0) lands on `topLeft` and one bitmap pixel covers `scale` stage pixels.
    int addBitmapFill(quint16 bitmapId, const QPointF &topLeft, double scale = 1.0, bool smoothed = true);
    int addLineStyle(double widthPixels, const QColor &color);

    void addPolygon(const QPolygonF &pixels, int fill, int line = 0);
    void addRect(const QRectF &pixels, int fill, int line = 0);
    // Round outlines as polygons fine enough that the straight pieces do not show.
    void addRoundedRect(const QRectF &pixels, double radius, int fill, int line = 0);
    void addEllipse(const QRectF &pixels, int fill, int line = 0);

    bool isEmpty() const;
    QRect boundsTwips() const;
    QByteArray tagBody(quint16 id) const;

private:
    struct FillStyle {
        QColor color;
        int bitmapId = -1;
        QTransform matrix;
        bool smoothed = true;
    };
    struct LineStyle {
        int width = 0;
        QColor color;
    };
    struct Path {
        QList<QPoint> points; // twips
        int fill = 0;
        int line = 0;
    };

    QByteArray encodeStyles() const;
    QList<FillStyle> m_fills;
    QList<LineStyle> m_lines;
    QList<Path> m_paths;
};

#endif
