#ifndef STAGEKIT_H
#define STAGEKIT_H

#include "swfmovie.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

// The building blocks every generated movie shares, defined in one movie: lettering in the
// player's device font (Ruffle's built-in sans covers Cyrillic; nothing is embedded), big
// glossy buttons drawn as pictures, and pictures as shapes.
class StageKit
{
public:
    explicit StageKit(SwfMovie &movie);

    SwfMovie &movie() { return m_movie; }

    struct Text {
        QRectF rect;
        double size = 24;
        QColor color = QColor(0x3a, 0x2e, 0x26);
        SwfTextField::Align align = SwfTextField::Center;
        QString variable;       // a script sets the text through it
        QString text;
        bool multiline = false;
        bool editable = false;  // a field the pupil types into
    };
    quint16 text(const Text &text);

    // A shape showing `image` with its top-left corner at `topLeft`, one image pixel per stage pixel.
    quint16 picture(const QImage &image, const QPointF &topLeft = QPointF());
    // A rounded, glossy button over `rect` that runs `onClick`; its label is a separate text.
    quint16 button(const QRectF &rect, const QColor &base, const SwfActions &onClick);
    // A movie clip holding just `character`: what a script moves or hides must be a clip.
    quint16 clip(quint16 character);
    // A movie clip holding a button of `size` at its origin with a centred label on it.
    quint16 textButton(const QSizeF &size, const QColor &base, const QString &label, const SwfActions &onClick,
                       double fontSize = 26);
    // A soft full-stage background: a vertical gradient between two colours.
    quint16 background(const QColor &top, const QColor &bottom);

    static QColor ink();

    // The name every generated movie calls the shell by (any name reaches it).
    static QString shellCallName();
    // Asks the shell to open another material: "jump" in a new window, "load" in place.
    static SwfActions openMaterial(const QString &action, const QString &materialId);
    // Passes `message` (a <flash action="send"> document) through the shell to every movie
    // of the material, this one included.
    static SwfActions sendToMaterial(const QString &message);

private:
    quint16 font();
    QImage buttonFace(const QSizeF &size, const QColor &base, bool pressed) const;

    SwfMovie &m_movie;
    quint16 m_font = 0;
};

#endif
