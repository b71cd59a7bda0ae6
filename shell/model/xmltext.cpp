#include "xmltext.h"

namespace {

// Code units that XML cannot carry whatever surrounds them; surrogates are judged in pairs.
bool isInvalidAlone(char16_t u)
{
    return (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0xfffe || u == 0xffff;
}

// The number of code units the character at `i` takes if XML can carry it, else 0.
qsizetype validLength(const QString &text, qsizetype i)
{
    const char16_t u = text.at(i).unicode();
    if (QChar::isHighSurrogate(u))
        return i + 1 < text.size() && text.at(i + 1).isLowSurrogate() ? 2 : 0;
    if (QChar::isLowSurrogate(u) || isInvalidAlone(u))
        return 0;
    return 1;
}

} // namespace

// Saves run this over every value of a course file; almost every value is clean, and
// those come back without an allocation.
QString XmlText::withoutInvalidCharacters(const QString &text)
{
    qsizetype i = 0;
    qsizetype length = 0;
    while (i < text.size() && (length = validLength(text, i)) > 0)
        i += length;
    if (i == text.size())
        return text;

    QString valid;
    valid.reserve(text.size() - 1);
    valid.append(text.constData(), i);
    while (i < text.size()) {
        length = validLength(text, i);
        valid.append(text.constData() + i, length);
        i += qMax<qsizetype>(length, 1);
    }
    return valid;
}
