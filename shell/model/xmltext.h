#pragma once

#include <QString>

// Text on its way into an XML document. XML 1.0 has no way to write most control
// characters, U+FFFE, U+FFFF or half a surrogate pair, not even as character references:
// a document holding one is not well-formed and a reader refuses all of it.
class XmlText
{
public:
    // The text without those characters; the same string, not a copy, when it has none.
    static QString withoutInvalidCharacters(const QString &text);
};
