#ifndef CHMSTREAM_H
#define CHMSTREAM_H

#include <QByteArray>

// The byte encodings of the ITS container: little-endian words, Windows GUIDs, and the
// directory's ENCINT (seven bits a byte, most significant group first).
class ChmStream
{
public:
    void u16(quint32 value);
    void u32(quint32 value);
    void u64(quint64 value);
    void encint(quint64 value);
    void guid(const char *text);              // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
    void bytes(const QByteArray &data);
    void cstring(const QByteArray &text);     // NUL-terminated
    void zeros(qsizetype count);
    // Pads with zeros so that the next `recordSize` bytes do not straddle a 4 KiB page:
    // the viewer reads the string and URL tables page by page.
    void keepOnOnePage(qsizetype recordSize);
    void patch32(qsizetype at, quint32 value);

    const QByteArray &data() const { return m_data; }
    qsizetype size() const { return m_data.size(); }

    static int encintSize(quint64 value);

private:
    QByteArray m_data;
};

#endif
