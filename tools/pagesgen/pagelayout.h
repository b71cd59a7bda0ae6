#ifndef PAGELAYOUT_H
#define PAGELAYOUT_H

#include "coursepages.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

// Where the pictures of one double page go. Each picture, with its caption under it, is
// one hitzone leading to one material. The first chapter of the double page fills the
// left page, a second one the right; a lone chapter spreads over both.
class PageLayout
{
public:
    struct Zone {
        QRect box;
        QString materialId;
    };

    static QSize imageSize();       // the double page, 2 × 565 : 416
    static QRect pageRect(int side); // 0 left, 1 right
    static QRect titleRect(int side);

    static QList<Zone> zones(const QList<CoursePages::Chapter> &chapters);

private:
    static QList<Zone> placeOnPage(int side, const QList<CoursePages::Material> &materials);
};

#endif
