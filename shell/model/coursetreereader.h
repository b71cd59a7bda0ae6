#pragma once

#include <QList>
#include <QMap>
#include <QString>

class QByteArray;
class QXmlStreamAttributes;
class QXmlStreamReader;
class TreeItem;

// Reads a course file (textbook contents, favorites or a markbook, told apart by the
// document element) into items under a root, in a single pass of a stream reader: a
// full course reads in a fraction of the time a QDomDocument takes to be built. The
// items are those the document would give, down to QDom's dropping of text nodes made
// of nothing but spacing.
class CourseTreeReader
{
public:
    explicit CourseTreeReader(TreeItem *root);

    // False, with nothing added under the root, when the bytes are refused as a whole
    // (not well-formed, or nested deeper than TreeModel::MaxNestingDepth) or are no
    // course file at all.
    bool read(const QByteArray &xml);

    QString caption() const;
    const QMap<int, TreeItem *> &startPageMap() const;
    const QMap<int, TreeItem *> &chapterIdMap() const;

private:
    enum class FileKind { Unknown, Contents, Favorites, Markbook };
    enum class Element { Skipped, Root, Chapter, Folder, Object };

    // An element being read, and what became of it.
    struct Open
    {
        TreeItem *item;
        Element element;
        qsizetype textStart;
        bool hasChildElements;
    };

    bool readAll(QXmlStreamReader &reader);
    bool startElement(const QXmlStreamReader &reader);
    void startDocumentElement(const QXmlStreamReader &reader);
    Element elementOf(QStringView name, Element parent) const;
    TreeItem *addItem(Element element, const QXmlStreamAttributes &attributes, TreeItem *parent);
    TreeItem *addContentsItem(Element element, const QXmlStreamAttributes &attributes, TreeItem *parent);
    TreeItem *addFavoritesItem(Element element, const QXmlStreamAttributes &attributes);
    TreeItem *addMarkbookItem(Element element, const QXmlStreamAttributes &attributes);
    void endElement();
    void endLeaf(const Open &open);
    bool characters(const QXmlStreamReader &reader);
    void discard();

    TreeItem *m_root;
    int m_rootChildren;
    FileKind m_kind = FileKind::Unknown;
    QList<Open> m_open;
    QString m_caption;
    QMap<int, TreeItem *> m_startPageMap;
    QMap<int, TreeItem *> m_chapterIdMap;
    // The text of the markbook objects being read, each from its textStart on.
    QString m_text;
    int m_openTexts = 0;
};
