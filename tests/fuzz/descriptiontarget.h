#pragma once

#include <QString>

class QByteArray;

// What the description fuzzer and the corpus replay run on one input: the input read as a
// material's normal.xml. The reader must hold its promises whatever it is given: every
// number it hands on lies in the range a grid can lay out, a refused file says where it
// broke, and the same bytes always read the same.
class DescriptionTarget
{
public:
    // Empty when all is well, else the first broken promise.
    static QString run(const QByteArray &input);
};
