#pragma once

#include <QString>

class QByteArray;

// What the SWF fuzzer and the corpus replay run on one input: the input read as a movie of a
// course, and its code read for what it asks of the host. Whatever the bytes, the reader
// refuses or answers within the movie it was given: nothing beyond the declared length (and
// never past the absolute limit) is unpacked, every tag lies inside the movie, a refusal says
// why, and the same bytes always read the same.
class SwfTarget
{
public:
    // Empty when all is well, else the first broken promise.
    static QString run(const QByteArray &input);
};
