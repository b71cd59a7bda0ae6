#ifndef SWFREADER_H
#define SWFREADER_H

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

// Reads a movie as a course ships it: the header (uncompressed FWS, zlib CWS or LZMA ZWS),
// the tags of the main timeline and of its sprites, and where its code is. Movies come from
// anywhere, so nothing in them is trusted: lengths are checked against what is there, and a
// compressed body is never unpacked beyond the length its header declares, nor beyond
// MaxLength.
class SwfReader
{
public:
    enum class Compression { None, Zlib, Lzma };

    struct Tag
    {
        int code = 0;
        int offset = 0;      // of the body, in the uncompressed movie
        QByteArray body;
    };

    // Far beyond any page or material movie; a larger declared length is refused unread.
    static constexpr quint32 MaxLength = 64u * 1024 * 1024;

    // False, with error() saying why, when the bytes are no movie this reader can take apart.
    bool read(const QByteArray &file);
    QString error() const { return m_error; }

    int version() const { return m_version; }
    Compression compression() const { return m_compression; }
    quint32 declaredLength() const { return m_declaredLength; }
    QRect stageTwips() const { return m_stage; }
    double frameRate() const { return m_frameRate; }
    int frameCount() const { return m_frameCount; }
    // ActionScript 3: the file attributes say so, or the movie carries ABC code.
    bool isAvm2() const { return m_avm2 || m_hasAbc; }
    bool hasAbc() const { return m_hasAbc; }

    // Every tag in file order, those inside sprites right after their sprite.
    const QList<Tag> &tags() const { return m_tags; }
    // The AVM1 action programs: frame actions, init actions, button and clip event actions.
    const QList<QByteArray> &actionPrograms() const { return m_programs; }
    // The string constants of the ABC blocks.
    const QStringList &abcStrings() const { return m_abcStrings; }

private:
    bool fail(const QString &why);
    bool unpack(const QByteArray &file);
    bool readHeader();
    bool readTags(int from, int end, int depth);
    void readTag(const Tag &tag);
    void readButton(const QByteArray &body);
    void readButton2(const QByteArray &body);
    void readPlaceObject2(const QByteArray &body);
    void readAbc(const QByteArray &block);

    QByteArray m_plain;
    QString m_error;
    int m_version = 0;
    Compression m_compression = Compression::None;
    quint32 m_declaredLength = 0;
    QRect m_stage;
    double m_frameRate = 0;
    int m_frameCount = 0;
    bool m_avm2 = false;
    bool m_hasAbc = false;
    int m_headerEnd = 0;
    QList<Tag> m_tags;
    QList<QByteArray> m_programs;
    QStringList m_abcStrings;
};

#endif
