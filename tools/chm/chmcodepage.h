#ifndef CHMCODEPAGE_H
#define CHMCODEPAGE_H

#include <QByteArray>
#include <QString>

// The Windows ANSI code page a help file's language implies. Viewers read the title, the
// topic titles and the contents file in it (xchm, for one, picks its decoder from the
// language id alone), so they are stored in it, whatever the sources were written in.
class ChmCodePage
{
public:
    // An invalid code page when the language is not one the compiler knows.
    explicit ChmCodePage(quint32 language);

    bool isValid() const { return !m_name.isEmpty(); }
    QString name() const { return QString::fromLatin1(m_name); }

    // False, with the first character the code page lacks in `missing`, when the text
    // cannot be stored without loss.
    bool encode(const QString &text, QByteArray *out, QString *missing = nullptr) const;

private:
    QByteArray m_name;
};

#endif
