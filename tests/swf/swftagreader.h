#ifndef SWFTAGREADER_H
#define SWFTAGREADER_H

#include <QByteArray>
#include <QList>
#include <QRect>

// Just enough of an SWF reader to look at what the writer produced.
class SwfTagReader
{
public:
    struct Tag {
        int code = 0;
        QByteArray body;
    };

    explicit SwfTagReader(const QByteArray &file);

    bool isValid() const;
    QByteArray signature() const;
    int version() const;
    quint32 declaredLength() const;
    QByteArray uncompressed() const;   // the whole file as FWS
    QRect stageTwips() const;
    double frameRate() const;
    int frameCount() const;
    QList<Tag> tags() const;
    QList<Tag> tags(int code) const;

private:
    QByteArray m_file;
    QByteArray m_plain;
    QRect m_stage;
    int m_headerEnd = 0;
};

#endif
