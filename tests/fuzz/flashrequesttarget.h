#pragma once

#include <QString>

class QByteArray;

// What the bridge fuzzer and the corpus replay run on one input: the input read as a
// movie's call and as a message inside one, sent to a movie, and made flash variables.
// Each must come back as it went: what the player writes the bridge reads the same, a
// message reaches the movie unchanged, a variable decodes to its value.
class FlashRequestTarget
{
public:
    // Empty when all is well, else the first broken promise.
    static QString run(const QByteArray &input);
};
