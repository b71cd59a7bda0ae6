#include "coursexml.h"

#include "atomicfile.h"
#include "treeitem.h"
#include "treemodel.h"
#include "xmltext.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <initializer_list>
#include <utility>

// QDom is too slow for a full course (over 100 ms for 10,000 favorites), so the bytes are
// written here, following QDom's layout and escaping to the character.

namespace {

constexpr int IndentWidth = 4;

using Attributes = std::initializer_list<std::pair<const char *, QString>>;

QString column(const TreeItem *item, int column)
{
    return item->data(column).toString();
}

// As QDom: in attributes, line breaks and tabs become references so that they survive
// attribute-value normalisation; ">" is escaped only where it would close "]]>". Characters
// XML cannot hold go first, or the "]]>" they separated would close nothing.
void appendEscaped(QString &xml, const QString &text, bool inAttribute)
{
    const QString value = XmlText::withoutInvalidCharacters(text);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        switch (c.unicode()) {
        case u'<':
            xml += QLatin1String("&lt;");
            break;
        case u'&':
            xml += QLatin1String("&amp;");
            break;
        case u'"':
            xml += inAttribute ? QLatin1String("&quot;") : QLatin1String("\"");
            break;
        case u'>':
            xml += i >= 2 && value.at(i - 1) == u']' && value.at(i - 2) == u']' ? QLatin1String("&gt;")
                                                                                 : QLatin1String(">");
            break;
        case u'\r':
            xml += QLatin1String("&#xd;");
            break;
        case u'\n':
            xml += inAttribute ? QLatin1String("&#xa;") : QLatin1String("\n");
            break;
        case u'\t':
            xml += inAttribute ? QLatin1String("&#x9;") : QLatin1String("\t");
            break;
        default:
            xml += c;
        }
    }
}

void appendStartTag(QString &xml, int depth, const char *name, Attributes attributes)
{
    xml += QString(depth * IndentWidth, u' ');
    xml += u'<';
    xml += QLatin1String(name);
    for (const auto &[attribute, value] : attributes) {
        xml += u' ';
        xml += QLatin1String(attribute);
        xml += QLatin1String("=\"");
        appendEscaped(xml, value, true);
        xml += u'"';
    }
}

// Returns where the children begin, for closeElement().
qsizetype openElement(QString &xml, int depth, const char *name, Attributes attributes)
{
    appendStartTag(xml, depth, name, attributes);
    xml += QLatin1String(">\n");
    return xml.size();
}

// An element that got no children after all is written empty, as <name .../>.
void closeElement(QString &xml, int depth, const char *name, qsizetype childrenStart)
{
    if (xml.size() == childrenStart) {
        xml.chop(2);
        xml += QLatin1String("/>\n");
        return;
    }
    xml += QString(depth * IndentWidth, u' ');
    xml += QLatin1String("</");
    xml += QLatin1String(name);
    xml += QLatin1String(">\n");
}

void appendEmptyElement(QString &xml, int depth, const char *name, Attributes attributes)
{
    appendStartTag(xml, depth, name, attributes);
    xml += QLatin1String("/>\n");
}

// Even an empty text is written, giving <name ...></name> as QDom does for an empty text node.
void appendTextElement(QString &xml, int depth, const char *name, Attributes attributes, const QString &text)
{
    appendStartTag(xml, depth, name, attributes);
    xml += u'>';
    appendEscaped(xml, text, false);
    xml += QLatin1String("</");
    xml += QLatin1String(name);
    xml += QLatin1String(">\n");
}

QString nativeName(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

QString documentElementToWrite(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    return reader.readNextStartElement() ? reader.name().toString() : QString();
}

// An empty file holds nothing to lose, and a folder is no course file: the save fails on
// it by itself.
bool holdsUnreadableData(const QString &fileName, const QString &documentElement)
{
    const QFileInfo info(fileName);
    if (!info.isFile() || info.size() == 0)
        return false;
    QFile file(fileName);
    return !file.open(QIODevice::ReadOnly) || TreeModel::documentElementName(file.readAll()) != documentElement;
}

} // namespace

QByteArray CourseXml::favoritesXml(const TreeItem *root)
{
    QString xml;
    const qsizetype children = openElement(xml, 0, "favorites", {});
    appendFavorites(xml, 1, root);
    closeElement(xml, 0, "favorites", children);
    return xml.toUtf8();
}

QByteArray CourseXml::markbookXml(const TreeItem *root)
{
    QString xml;
    const qsizetype children = openElement(xml, 0, "markbook", {});
    appendMarkbook(xml, 1, root);
    closeElement(xml, 0, "markbook", children);
    return xml.toUtf8();
}

QByteArray CourseXml::newMarkbookXml(const TreeItem *contentsRoot)
{
    QString xml;
    const qsizetype children = openElement(xml, 0, "markbook", {});
    appendTests(xml, 1, contentsRoot);
    closeElement(xml, 0, "markbook", children);
    return xml.toUtf8();
}

// QSaveFile writes a temporary file beside the target and renames it over the target
// only once everything is on disk, keeping the target's permissions. A file the reader
// could not take gave the pupil an empty tree; writing that tree over it would destroy
// whatever it still holds, so it is moved aside first, and back when the save fails.
bool CourseXml::save(const QByteArray &xml, const QString &fileName)
{
    const auto fail = [&fileName](const QString &error) {
        qWarning("Cannot save %s: %s", qPrintable(nativeName(fileName)), qPrintable(error));
        return false;
    };
    QSaveFile file(fileName);
    // Everything is written before anything is moved: a full disk shows here.
    if (!file.open(QIODevice::WriteOnly) || file.write(xml) != xml.size() || !file.flush())
        return fail(file.errorString());
    QString kept;
    if (holdsUnreadableData(fileName, documentElementToWrite(xml))) {
        QString error;
        kept = AtomicFile::keepAside(fileName, QStringLiteral(".bad"), &error);
        if (kept.isEmpty())
            return fail(QStringLiteral("cannot keep the unreadable file: ") + error);
    }
    if (!file.commit()) {
        if (!kept.isEmpty())
            QFile::rename(kept, fileName);
        return fail(file.errorString());
    }
    if (!kept.isEmpty())
        qWarning("%s could not be read and is kept as %s", qPrintable(nativeName(fileName)),
                 qPrintable(nativeName(kept)));
    return true;
}

bool CourseXml::saveFavorites(const TreeItem *root, const QString &fileName)
{
    return save(favoritesXml(root), fileName);
}

bool CourseXml::saveMarkbook(const TreeItem *root, const QString &fileName)
{
    return save(markbookXml(root), fileName);
}

bool CourseXml::createMarkbook(const TreeItem *contentsRoot, const QString &fileName)
{
    return save(newMarkbookXml(contentsRoot), fileName);
}

// A folder's id lives only in memory; the file keeps captions and nesting.
void CourseXml::appendFavorites(QString &xml, int depth, const TreeItem *item)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::FolderType) {
            const qsizetype children = openElement(xml, depth, "folder", {{"caption", column(child, 0)}});
            appendFavorites(xml, depth + 1, child);
            closeElement(xml, depth, "folder", children);
        } else if (child->type() == TreeItem::ObjectType) {
            appendEmptyElement(xml, depth, "object",
                               {{"caption", column(child, 0)}, {"type", column(child, 1)},
                                {"id", column(child, 2)}, {"path", column(child, 3)},
                                {"name", column(child, 4)}});
        }
    }
}

void CourseXml::appendMarkbook(QString &xml, int depth, const TreeItem *item)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() == TreeItem::ChapterType) {
            const qsizetype children = openElement(xml, depth, "chapter", {{"caption", column(child, 0)}});
            appendMarkbook(xml, depth + 1, child);
            closeElement(xml, depth, "chapter", children);
        } else if (child->type() == TreeItem::ObjectType) {
            appendTextElement(xml, depth, "object",
                              {{"caption", column(child, 0)}, {"mark", column(child, 1)},
                               {"id", column(child, 3)}},
                              column(child, 4));
        }
    }
}

// Only tests ("con" materials) are marked. A chapter is kept only when a test lies
// somewhere below it, so the markbook has no empty chapters. Returns whether anything
// was appended.
bool CourseXml::appendTests(QString &xml, int depth, const TreeItem *contentsItem)
{
    bool appended = false;
    for (const TreeItem *child : contentsItem->children()) {
        if (child->type() == TreeItem::ObjectType) {
            if (column(child, 1) != QLatin1String("con"))
                continue;
            appendTextElement(xml, depth, "object",
                              {{"caption", column(child, 0)}, {"mark", QStringLiteral("-1.0")},
                               {"id", column(child, 2)}},
                              QString());
            appended = true;
        } else {
            const qsizetype start = xml.size();
            const qsizetype children = openElement(xml, depth, "chapter", {{"caption", column(child, 0)}});
            if (appendTests(xml, depth + 1, child)) {
                closeElement(xml, depth, "chapter", children);
                appended = true;
            } else {
                xml.truncate(start);
            }
        }
    }
    return appended;
}
