#ifndef HELPPICTURES_H
#define HELPPICTURES_H

#include <QImage>
#include <QList>
#include <QPainterPath>
#include <QString>

class Canvas;

// The pictures of the demo help: each sheet of the shell drawn simply, in the theme's
// colours, big and friendly enough for a child to recognise the window it is looking at.
class HelpPictures
{
public:
    struct Picture
    {
        QString file; // relative to the help's root
        QImage image;
    };

    static QList<Picture> all();

private:
    static QImage start();
    static QImage textbook();
    static QImage catalogue();
    static QImage favorites();
    static QImage markbook();
    static QImage pupils();
    static QImage marks();

    static void chapterList(Canvas &canvas);
    static void materialList(Canvas &canvas);
    static void windowFrame(Canvas &canvas, const QRectF &box, const QString &title);
    static void tabs(Canvas &canvas, const QRectF &row, int current);
    static void doublePage(Canvas &canvas, const QRectF &box, int leftPicture, int rightPicture);
    static void textLines(Canvas &canvas, const QRectF &box, int lines);
    static void checkBox(Canvas &canvas, QPointF at, bool checked);
    static void folder(Canvas &canvas, const QRectF &box, const QColor &colour);
    static void mark(Canvas &canvas, QPointF centre, const QColor &colour);
    static void label(Canvas &canvas, const QString &text, const QRectF &box, qreal size,
                      Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    static void arrow(Canvas &canvas, QPointF from, QPointF to);
    static void cursor(Canvas &canvas, QPointF tip);
    static void hand(Canvas &canvas, QPointF fingertip);
};

#endif
