#include "chmcodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

const char *codePageFor(quint32 language)
{
    switch (language & 0x3ff) { // the primary language, whatever the country
    case 0x02: // Bulgarian
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
        return "windows-1251";
    case 0x06: // Danish
    case 0x07: // German
    case 0x09: // English
    case 0x0a: // Spanish
    case 0x0b: // Finnish
    case 0x0c: // French
    case 0x10: // Italian
    case 0x13: // Dutch
    case 0x14: // Norwegian
    case 0x16: // Portuguese
    case 0x1d: // Swedish
        return "windows-1252";
    default:
        return "";
    }
}

QByteArray roundTrip(const QByteArray &name, const QString &text, QString *back)
{
    QStringEncoder encoder(name.constData());
    const QByteArray bytes = encoder.encode(text);
    QStringDecoder decoder(name.constData());
    *back = decoder.decode(bytes);
    return bytes;
}

} // namespace

ChmCodePage::ChmCodePage(quint32 language)
    : m_name(codePageFor(language))
{
    // Qt knows the Windows code pages only through ICU; without it, say so here rather
    // than write question marks.
    if (isValid() && !QStringEncoder(m_name.constData()).isValid())
        m_name.clear();
}

bool ChmCodePage::encode(const QString &text, QByteArray *out, QString *missing) const
{
    QString back;
    *out = roundTrip(m_name, text, &back);
    if (back == text)
        return true;
    if (missing) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const qsizetype length = text.at(i).isHighSurrogate() ? 2 : 1;
            const QString one = text.mid(i, length);
            roundTrip(m_name, one, &back);
            if (back != one) {
                *missing = one;
                break;
            }
            i += length - 1;
        }
    }
    return false;
}
