#pragma once

#include <QByteArray>
#include <QString>

class TreeItem;

// Writes the pupil's course files: favorites and markbook. The bytes have the layout
// QDomDocument::toByteArray(4) gives and earlier versions wrote (four-space indent, no XML
// declaration, UTF-8, QDom's escaping), with attributes in a fixed order; characters XML
// cannot hold are left out. Every save replaces the file atomically: a failed save leaves
// the previous file whole.
class CourseXml
{
public:
    static QByteArray favoritesXml(const TreeItem *root);
    static QByteArray markbookXml(const TreeItem *root);
    // The markbook of a pupil who has none yet: every test of the contents, unmarked.
    static QByteArray newMarkbookXml(const TreeItem *contentsRoot);

    // False, with a warning naming the file, when the file could not be replaced. A
    // non-empty file already there that the reader refuses, or that holds another kind of
    // document than `xml`, is not overwritten: it is renamed to NAME.bad (NAME.bad.1,
    // NAME.bad.2, ... when that is taken) with a warning, and the save goes on.
    static bool save(const QByteArray &xml, const QString &fileName);
    static bool saveFavorites(const TreeItem *root, const QString &fileName);
    static bool saveMarkbook(const TreeItem *root, const QString &fileName);
    static bool createMarkbook(const TreeItem *contentsRoot, const QString &fileName);

private:
    static void appendFavorites(QString &xml, int depth, const TreeItem *item);
    static void appendMarkbook(QString &xml, int depth, const TreeItem *item);
    static bool appendTests(QString &xml, int depth, const TreeItem *contentsItem);
};
