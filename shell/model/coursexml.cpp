#include "coursexml.h"

#include "treeitem.h"

#include <QDir>
#include <QSaveFile>

namespace {

QString column(const TreeItem *item, int column)
{
    return item->data(column).toString();
}

QDomElement appendElement(QDomElement &parent, const char *tagName)
{
    QDomElement element = parent.ownerDocument().createElement(QLatin1String(tagName));
    parent.appendChild(element);
    return element;
}

void setAttribute(QDomElement &element, const char *name, const QString &value)
{
    element.setAttribute(QLatin1String(name), value);
}

// Even an empty history is written as a text node, giving <object ...></object> as the
// markbooks written by earlier versions have it.
void appendText(QDomElement &element, const QString &text)
{
    element.appendChild(element.ownerDocument().createTextNode(text));
}

} // namespace

QDomDocument CourseXml::favoritesDocument(const TreeItem *root)
{
    QDomDocument document = documentWithRoot(QStringLiteral("favorites"));
    QDomElement element = document.documentElement();
    appendFavorites(element, root);
    return document;
}

QDomDocument CourseXml::markbookDocument(const TreeItem *root)
{
    QDomDocument document = documentWithRoot(QStringLiteral("markbook"));
    QDomElement element = document.documentElement();
    appendMarkbook(element, root);
    return document;
}

QDomDocument CourseXml::newMarkbookDocument(const TreeItem *contentsRoot)
{
    QDomDocument document = documentWithRoot(QStringLiteral("markbook"));
    QDomElement element = document.documentElement();
    appendTests(element, contentsRoot);
    return document;
}

// QSaveFile writes a temporary file beside the target and renames it over the target
// only once everything is on disk, keeping the target's permissions.
bool CourseXml::save(const QDomDocument &document, const QString &fileName)
{
    const QByteArray bytes = document.toByteArray(4);
    QSaveFile file(fileName);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    qWarning("Cannot save %s: %s", qPrintable(QDir::toNativeSeparators(fileName)),
             qPrintable(file.errorString()));
    return false;
}

bool CourseXml::saveFavorites(const TreeItem *root, const QString &fileName)
{
    return save(favoritesDocument(root), fileName);
}

bool CourseXml::saveMarkbook(const TreeItem *root, const QString &fileName)
{
    return save(markbookDocument(root), fileName);
}

bool CourseXml::createMarkbook(const TreeItem *contentsRoot, const QString &fileName)
{
    return save(newMarkbookDocument(contentsRoot), fileName);
}

QDomDocument CourseXml::documentWithRoot(const QString &tagName)
{
    QDomDocument document;
    document.appendChild(document.createElement(tagName));
    return document;
}

// A folder's id lives only in memory; the file keeps captions and nesting.
void CourseXml::appendFavorites(QDomElement &parent, const TreeItem *item)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::FolderType) {
            QDomElement folder = appendElement(parent, "folder");
            setAttribute(folder, "caption", column(child, 0));
            appendFavorites(folder, child);
        } else if (child->type() == TreeItem::ObjectType) {
            QDomElement object = appendElement(parent, "object");
            setAttribute(object, "caption", column(child, 0));
            setAttribute(object, "type", column(child, 1));
            setAttribute(object, "id", column(child, 2));
            setAttribute(object, "path", column(child, 3));
            setAttribute(object, "name", column(child, 4));
        }
    }
}

void CourseXml::appendMarkbook(QDomElement &parent, const TreeItem *item)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::ChapterType) {
            QDomElement chapter = appendElement(parent, "chapter");
            setAttribute(chapter, "caption", column(child, 0));
            appendMarkbook(chapter, child);
        } else if (child->type() == TreeItem::ObjectType) {
            QDomElement object = appendElement(parent, "object");
            setAttribute(object, "caption", column(child, 0));
            setAttribute(object, "mark", column(child, 1));
            setAttribute(object, "id", column(child, 3));
            appendText(object, column(child, 4));
        }
    }
}

// Only tests ("con" materials) are marked. A chapter is kept only when a test lies
// somewhere below it, so the markbook has no empty chapters. Returns whether anything
// was appended to parent.
bool CourseXml::appendTests(QDomElement &parent, const TreeItem *contentsItem)
{
    bool appended = false;
    for (const TreeItem *child : contentsItem->children()) {
        if (child->type() == TreeItem::ObjectType) {
            if (column(child, 1) != QLatin1String("con"))
                continue;
            QDomElement object = appendElement(parent, "object");
            setAttribute(object, "caption", column(child, 0));
            setAttribute(object, "mark", QStringLiteral("-1.0"));
            setAttribute(object, "id", column(child, 2));
            appendText(object, QString());
            appended = true;
        } else {
            QDomElement chapter = parent.ownerDocument().createElement(QStringLiteral("chapter"));
            setAttribute(chapter, "caption", column(child, 0));
            if (appendTests(chapter, child)) {
                parent.appendChild(chapter);
                appended = true;
            }
        }
    }
    return appended;
}
