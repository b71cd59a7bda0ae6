#ifndef SHELLWINDOWTHEME_H
#define SHELLWINDOWTHEME_H

#include <QColor>
#include <QString>

// The look of one kind of shell window: which images it is painted from and where its caption goes.
struct ShellWindowTheme
{
    QString frameImage;
    int frameLeft = 0, frameTop = 0, frameRight = 0, frameBottom = 0;
    int captionLeft = 0, captionTop = 0, captionRight = 0, captionBottom = 0;
    QString captionFontFamily;
    // Packed caption font and colour: bit 0 italic, bit 1 bold, bits 2-7 point size,
    // bits 8-15 blue, 16-23 green, 24-31 red.
    quint32 captionStyle = 0;
    QString headImage;
    QString bodyImage;
    int gripSize = 0;
    int captionIndent = 0;

    static quint32 packCaptionStyle(int pointSize, bool bold, bool italic, const QColor &colour)
    {
        return (quint32(colour.red()) << 24) | (quint32(colour.green()) << 16) | (quint32(colour.blue()) << 8)
            | (quint32(pointSize & 0x3f) << 2) | (bold ? 2u : 0u) | (italic ? 1u : 0u);
    }
    bool captionItalic() const { return captionStyle & 1u; }
    bool captionBold() const { return captionStyle & 2u; }
    int captionPointSize() const { return int((captionStyle >> 2) & 0x3f); }
    QColor captionColour() const
    {
        return QColor(int((captionStyle >> 24) & 0xff), int((captionStyle >> 16) & 0xff), int((captionStyle >> 8) & 0xff));
    }

    // The themes of the program's windows.
    static ShellWindowTheme mainWindow();
    static ShellWindowTheme signInWindow();
    static ShellWindowTheme materialWindow();
};

#endif
