#pragma once

#include "treeitem.h"

#include <QDomDocument>
#include <QRegularExpression>

// The course files as QDom writes them, built the straightforward way. CourseXml must
// produce the same bytes but for the order of attributes, which QDom leaves to a hash.
class DomReference
{
public:
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
    static QDomElement appendRoot(QDomDocument &document, const char *name)
    {
        return document.appendChild(document.createElement(QLatin1String(name))).toElement();
    }

    static QDomElement appendElement(QDomElement parent, const char *name,
                                     std::initializer_list<std::pair<const char *, int>> columns,
                                     const TreeItem *item)
    {
        QDomElement element = parent.ownerDocument().createElement(QLatin1String(name));
        for (const auto &[attribute, column] : columns)
            element.setAttribute(QLatin1String(attribute), item->data(column).toString());
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
                object.appendChild(object.ownerDocument().createTextNode(child->data(4).toString()));
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
                chapter.setAttribute(QStringLiteral("caption"), child->data(0).toString());
                if (appendTests(chapter, child)) {
                    parent.appendChild(chapter);
                    appended = true;
                }
            }
        }
        return appended;
    }
};
