#ifndef PAGEPAINTER_H
#define PAGEPAINTER_H

#include "coursepages.h"

#include <QImage>
#include <QList>
#include <QRect>

// Draws one double page of the demo textbook: paper, spine, the chapter titles, a card
// with a picture and the material's caption in every hitzone, and the page numbers.
class PagePainter
{
public:
    struct Card {
        QRect box;
        CoursePages::Material material;
    };

    PagePainter(int doublePage, const QList<CoursePages::Chapter> &chapters);
    QImage paint(const QList<Card> &cards) const;

    // The book's page numbers on a double page: 2k and 2k + 1 ("002-003" for the first).
    static QString fileStem(int doublePage);
    static int doublePageOf(const QString &fileStem);

private:
    void paintPaper(QPainter &p) const;
    void paintTitles(QPainter &p) const;
    void paintCard(QPainter &p, const Card &card, int index) const;
    void paintPageNumbers(QPainter &p) const;

    int m_doublePage;
    QList<CoursePages::Chapter> m_chapters;
};

#endif
