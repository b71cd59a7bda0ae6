#ifndef MATERIALDESCRIPTION_H
#define MATERIALDESCRIPTION_H

#include <QList>
#include <QString>
#include <QStringList>

// A material's normal.xml (or preview.xml): the `media` of the `object` element, each a file
// of the material folder placed in a grid cell. The file comes with the course, so the reader
// takes nothing on trust: numbers out of range are brought into range, deep nesting is refused.
class MaterialDescription
{
public:
    struct Medium
    {
        QString file;
        int row = 0;
        int column = 0;
        int rowSpan = 1;
        int columnSpan = 1;
        int rowStretch = 1;
        int columnStretch = 1;
        bool printable = false;
        bool allowComments = true;
        QString text; // a movie's parameter file
    };

    // Cells and stretch factors beyond these would only make a grid too large to lay out.
    static constexpr int MaxCell = 64;
    static constexpr int MaxStretch = 1000;
    // More media than a screen can show would only take the memory and the time of building
    // them: such a description is refused before anything is built.
    static constexpr int MaxMedia = 64;

    // The file name suffixes of the media the object viewer shows (a movie, a web page, a
    // picture, a text with comments); a medium of any other kind is left out of the window.
    static bool isShownKind(const QString &suffix);
    static const QStringList &shownSuffixes();

    // False when the text is not well-formed XML; errorLine() etc. then say where.
    bool read(const QByteArray &xml);

    // Whether the document is an `object`; anything else describes no material.
    bool isObject() const { return m_isObject; }
    const QList<Medium> &media() const { return m_media; }

    int errorLine() const { return m_errorLine; }
    int errorColumn() const { return m_errorColumn; }
    QString errorMessage() const { return m_errorMessage; }

private:
    bool checkWellFormed(const QByteArray &xml);

    bool m_isObject = false;
    QList<Medium> m_media;
    int m_errorLine = 0;
    int m_errorColumn = 0;
    QString m_errorMessage;
};

#endif
