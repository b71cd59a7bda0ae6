#ifndef PAGELIST_H
#define PAGELIST_H

#include <QStringList>

// The textbook's double pages: the page movies of a folder, in name order.
class PageList
{
public:
    // Absolute paths of the files matching "[0-9]??-[0-9]??.swf" (letter case ignored), sorted by
    // plain, case-sensitive name.
    static QStringList scan(const QString &directory);
};

#endif
