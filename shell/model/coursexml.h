#pragma once

#include <QDomDocument>

class TreeItem;

// Writes the pupil's course files: favorites and markbook. The bytes keep the shape the
// shell has always written (four-space indent, no XML declaration, UTF-8), and every save
// replaces the file atomically: a failed save leaves the previous file whole.
class CourseXml
{
public:
    static QDomDocument favoritesDocument(const TreeItem *root);
    static QDomDocument markbookDocument(const TreeItem *root);
    // The markbook of a pupil who has none yet: every test of the contents, unmarked.
    static QDomDocument newMarkbookDocument(const TreeItem *contentsRoot);

    static bool save(const QDomDocument &document, const QString &fileName);
    static bool saveFavorites(const TreeItem *root, const QString &fileName);
    static bool saveMarkbook(const TreeItem *root, const QString &fileName);
    static bool createMarkbook(const TreeItem *contentsRoot, const QString &fileName);

private:
    static QDomDocument documentWithRoot(const QString &tagName);
    static void appendFavorites(QDomElement &parent, const TreeItem *item);
    static void appendMarkbook(QDomElement &parent, const TreeItem *item);
    static bool appendTests(QDomElement &parent, const TreeItem *contentsItem);
};
