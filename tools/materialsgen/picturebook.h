#ifndef PICTUREBOOK_H
#define PICTUREBOOK_H

#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

// The pictures materials name in their sources ("cat", "stork", "letter-А"): bright,
// simple drawings a six-year-old knows, each designed on a 100 × 100 grid.
class PictureBook
{
public:
    static bool has(const QString &name);
    static QStringList names();   // without the letter cards
    // The letter cards: "letter-А" … "letter-Я", vowels red and consonants blue.
    static QStringList letterNames();
    // Draws the picture into `square`; an unknown name draws nothing.
    static void paint(QPainter &painter, const QRectF &square, const QString &name);
    // The picture alone on a transparent square of `side` pixels.
    static QImage image(const QString &name, int side);

private:
    static void letterCard(QPainter &p, const QString &letter);
};

#endif
