#pragma once

#include "treeitem.h"
#include "treemodel.h"

#include <QDomDocument>
#include <QMap>
#include <QRegularExpression>

// The course files as QDom writes and reads them, the straightforward way. CourseXml must
// produce the same bytes but for the order of attributes, which QDom leaves to a hash;
// TreeModel must read the same trees.
class DomReference
{
public:
    // What a TreeModel holds after reading a file.
    struct Tree
    {
        TreeItem root;
        QString caption;
        QMap<int, TreeItem *> startPages;
        QMap<int, TreeItem *> chapterIds;
    };

    // Files nested too deep are refused before QDom sees them, which would take quadratic time.
    static void read(const QByteArray &xml, Tree *tree)
    {
        QDomDocument document;
        if (TreeModel::documentElementName(xml).isEmpty() || !document.setContent(xml))
            return;
        const QDomElement root = document.documentElement();
        if (root.tagName() == QLatin1String("content")) {
            tree->caption = root.attribute(QStringLiteral("caption"));
            for (QDomElement chapter = root.firstChildElement(QStringLiteral("chapter")); !chapter.isNull();
                 chapter = chapter.nextSiblingElement(QStringLiteral("chapter")))
                addChildren(chapter, addContentsItem(chapter, &tree->root, tree), &addContentsItem, tree);
        } else if (root.tagName() == QLatin1String("favorites")) {
            addChildren(root, &tree->root, &addFavoritesItem, tree);
        } else if (root.tagName() == QLatin1String("markbook")) {
            addChildren(root, &tree->root, &addMarkbookItem, tree);
        }
    }

    static QByteArray favoritesXml(const TreeItem *root)
    {
        QDomDocument document;
        appendFavorites(appendRoot(document, "favorites"), root);
        return document.toByteArray(4);
    }

    static QByteArray markbookXml(const TreeItem *root)
    {
        QDomDocument document;
        appendMarkbook(appendRoot(document, "markbook"), root);
        return document.toByteArray(4);
    }

    static QByteArray newMarkbookXml(const TreeItem *contentsRoot)
    {
        QDomDocument document;
        appendTests(appendRoot(document, "markbook"), contentsRoot);
        return document.toByteArray(4);
    }

    // Half a surrogate pair (a UTF-16 file read as it stands) is no character: QDom's encoder
    // writes "?" for it, which would put a character in the pupil's file that was never
    // there. The writers leave it out, as they do everything else XML cannot hold.
    static QString withoutHalfPairs(const QString &text)
    {
        QString whole;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                whole += c;
                whole += text.at(++i);
            } else if (!c.isSurrogate()) {
                whole += c;
            }
        }
        return whole;
    }

    static QByteArray withSortedAttributes(const QByteArray &xml)
    {
        static const QRegularExpression tag(QStringLiteral(R"(<\w+((?: \w+="[^"]*")+)/?>)"));
        static const QRegularExpression attribute(QStringLiteral(R"( \w+="[^"]*")"));
        QString text = QString::fromUtf8(xml);
        for (const QRegularExpressionMatch &match : tag.globalMatch(text)) {
            QStringList attributes;
            for (const QRegularExpressionMatch &one : attribute.globalMatch(match.captured(1)))
                attributes << one.captured();
            attributes.sort();
            text.replace(match.capturedStart(1), match.capturedLength(1), attributes.join(QString()));
        }
        return text.toUtf8();
    }

private:
    using ItemFactory = TreeItem *(*)(const QDomElement &, TreeItem *, Tree *);

    static void addChildren(const QDomElement &element, TreeItem *parent, ItemFactory makeItem, Tree *tree)
    {
        for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
            if (TreeItem *item = makeItem(child, parent, tree))
                addChildren(child, item, makeItem, tree);
        }
    }

    static TreeItem *addContentsItem(const QDomElement &element, TreeItem *parent, Tree *tree)
    {
        const bool leaf = element.firstChildElement().isNull();
        if (element.tagName() == QLatin1String("chapter")) {
            auto *item = new TreeItem({element.attribute(QStringLiteral("caption")), element.attribute(QStringLiteral("id")),
                                       element.attribute(QStringLiteral("startpage"))},
                                      TreeItem::ChapterType, parent);
            if (element.hasAttribute(QStringLiteral("id")))
                tree->chapterIds.insert(element.attribute(QStringLiteral("id")).toInt(), item);
            if (leaf)
                tree->startPages.insert(element.attribute(QStringLiteral("startpage")).toInt(), item);
            return item;
        }
        if (element.tagName() != QLatin1String("object"))
            return nullptr;
        parent->setType(TreeItem::ChapterWithObjectsType);
        if (leaf)
            tree->startPages.insert(parent->data(2).toString().toInt(), parent);
        return new TreeItem({element.attribute(QStringLiteral("caption")), element.attribute(QStringLiteral("type")),
                             element.attribute(QStringLiteral("id")), element.attribute(QStringLiteral("path"))},
                            TreeItem::ObjectType, parent);
    }

    static TreeItem *addFavoritesItem(const QDomElement &element, TreeItem *parent, Tree *)
    {
        if (element.tagName() == QLatin1String("folder"))
            return new TreeItem({element.attribute(QStringLiteral("caption")), element.attribute(QStringLiteral("id"))},
                                TreeItem::FolderType, parent);
        if (element.tagName() != QLatin1String("object"))
            return nullptr;
        return new TreeItem({element.attribute(QStringLiteral("caption")), element.attribute(QStringLiteral("type")),
                             element.attribute(QStringLiteral("id")), element.attribute(QStringLiteral("path")),
                             element.attribute(QStringLiteral("name"))},
                            TreeItem::ObjectType, parent);
    }

    static TreeItem *addMarkbookItem(const QDomElement &element, TreeItem *parent, Tree *)
    {
        if (element.tagName() == QLatin1String("chapter"))
            return new TreeItem({element.attribute(QStringLiteral("caption")), QString(), QString()},
                                TreeItem::ChapterType, parent);
        if (element.tagName() != QLatin1String("object"))
            return nullptr;
        return new TreeItem({element.attribute(QStringLiteral("caption")),
                             element.attribute(QStringLiteral("mark"), QStringLiteral("0.0")), QString(),
                             element.attribute(QStringLiteral("id")), element.text()},
                            TreeItem::ObjectType, parent);
    }

    static QDomElement appendRoot(QDomDocument &document, const char *name)
    {
        return document.appendChild(document.createElement(QLatin1String(name))).toElement();
    }

    static QString value(const TreeItem *item, int column)
    {
        return withoutHalfPairs(item->data(column).toString());
    }

    static QDomElement appendElement(QDomElement parent, const char *name,
                                     std::initializer_list<std::pair<const char *, int>> columns,
                                     const TreeItem *item)
    {
        QDomElement element = parent.ownerDocument().createElement(QLatin1String(name));
        for (const auto &[attribute, column] : columns)
            element.setAttribute(QLatin1String(attribute), value(item, column));
        parent.appendChild(element);
        return element;
    }

    static void appendFavorites(QDomElement parent, const TreeItem *item)
    {
        for (const TreeItem *child : item->children()) {
            if (child->type() == TreeItem::FolderType)
                appendFavorites(appendElement(parent, "folder", {{"caption", 0}}, child), child);
            else if (child->type() == TreeItem::ObjectType)
                appendElement(parent, "object", {{"caption", 0}, {"type", 1}, {"id", 2}, {"path", 3}, {"name", 4}}, child);
        }
    }

    static void appendMarkbook(QDomElement parent, const TreeItem *item)
    {
        for (const TreeItem *child : item->children()) {
            if (child->type() == TreeItem::ChapterType) {
                appendMarkbook(appendElement(parent, "chapter", {{"caption", 0}}, child), child);
            } else if (child->type() == TreeItem::ObjectType) {
                QDomElement object = appendElement(parent, "object", {{"caption", 0}, {"mark", 1}, {"id", 3}}, child);
                object.appendChild(object.ownerDocument().createTextNode(value(child, 4)));
            }
        }
    }

    static bool appendTests(QDomElement parent, const TreeItem *item)
    {
        bool appended = false;
        for (const TreeItem *child : item->children()) {
            if (child->type() == TreeItem::ObjectType) {
                if (child->data(1).toString() != QLatin1String("con"))
                    continue;
                QDomElement object = appendElement(parent, "object", {{"caption", 0}, {"id", 2}}, child);
                object.setAttribute(QStringLiteral("mark"), QStringLiteral("-1.0"));
                object.appendChild(object.ownerDocument().createTextNode(QString()));
                appended = true;
            } else {
                QDomElement chapter = parent.ownerDocument().createElement(QStringLiteral("chapter"));
                chapter.setAttribute(QStringLiteral("caption"), value(child, 0));
                if (appendTests(chapter, child)) {
                    parent.appendChild(chapter);
                    appended = true;
                }
            }
        }
        return appended;
    }
};
