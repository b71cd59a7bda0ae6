#pragma once

#include <QString>

class QByteArray;

// What every fuzzer and the corpus replay run on one input: load it, walk the whole model
// through the QAbstractItemModel interface, and check what the reader promises: the tree
// QDom would give, to the item and the map entry, or nothing where QDom fails. The
// favorites and markbook trees must survive being written and read back; a contents tree
// must give the markbook its tests.
class FuzzTarget
{
public:
    enum Reader { Contents, Favorites, Markbook };

    // Empty when all is well, else the first broken promise.
    static QString run(Reader reader, const QByteArray &xml);
};
