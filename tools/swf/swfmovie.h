#ifndef SWFMOVIE_H
#define SWFMOVIE_H

#include "swfactions.h"
#include "swfbutton.h"
#include "swfshape.h"
#include "swftextfield.h"
#include "swftimeline.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTransform>

// An AVM1 movie (SWF version 8 by default) assembled tag by tag in timeline order: the
// main timeline's control tags (inherited) interleaved with the character definitions.
// Character ids are handed out by the define… calls.
class SwfMovie : public SwfTimeline
{
public:
    explicit SwfMovie(const QSize &stagePixels, double frameRate = 12.0, int version = 8);

    void setBackgroundColor(const QColor &color);

    quint16 defineShape(const SwfShape &shape);
    // DefineBitsLossless2: exact pixels with alpha.
    quint16 defineBitmap(const QImage &image);
    // DefineBitsJPEG2, or DefineBitsJPEG3 when the image has an alpha channel.
    quint16 defineJpegBitmap(const QImage &image, int quality = 85);
    // A font record without glyphs: text in it is drawn with the player's device font of that name.
    quint16 defineDeviceFont(const QString &name = QStringLiteral("_sans"), bool bold = false);
    quint16 defineTextField(const SwfTextField &field);
    quint16 defineButton(const SwfButton &button);
    // A movie clip: its own timeline of characters defined earlier in this movie.
    quint16 defineSprite(const SwfTimeline &timeline);

    QSize stageSize() const;

    // The complete file: "CWS" (zlib) when compressed, else "FWS".
    QByteArray toBytes(bool compressed = true) const;
    // Written atomically; on failure `error` says why.
    bool save(const QString &path, QString *error = nullptr, bool compressed = true) const;

private:
    quint16 nextId();

    QSize m_stage;
    double m_frameRate;
    int m_version;
    quint16 m_lastId = 0;
};

#endif
