#include "coursetreereader.h"

#include "treeitem.h"
#include "treemodel.h"

#include <QXmlStreamReader>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString attribute(const QXmlStreamAttributes &attributes, QLatin1String name, const QString &fallback = {})
{
    for (const QXmlStreamAttribute &attribute : attributes) {
        if (attribute.qualifiedName() == name)
            return attribute.value().toString();
    }
    return fallback;
}

bool hasAttribute(const QXmlStreamAttributes &attributes, QLatin1String name)
{
    return std::any_of(attributes.cbegin(), attributes.cend(),
                       [name](const QXmlStreamAttribute &attribute) { return attribute.qualifiedName() == name; });
}

} // namespace

CourseTreeReader::CourseTreeReader(TreeItem *root) : m_root(root), m_rootChildren(root->childCount())
{
}

// Namespace processing is off, as in QDomDocument::setContent(): a file with an undeclared
// prefix is read, and names are compared with their prefixes, as QDom's tag names are.
bool CourseTreeReader::read(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(false);
    if (readAll(reader) && !reader.hasError())
        return true;
    discard();
    return false;
}

QString CourseTreeReader::caption() const
{
    return m_caption;
}

const QMap<int, TreeItem *> &CourseTreeReader::startPageMap() const
{
    return m_startPageMap;
}

const QMap<int, TreeItem *> &CourseTreeReader::chapterIdMap() const
{
    return m_chapterIdMap;
}

// An error found late still refuses the whole file, so the caller checks the reader
// afterwards. QDom refuses a few things more than the stream reader: a second document
// type declaration, or one after the prolog (even inside an element).
bool CourseTreeReader::readAll(QXmlStreamReader &reader)
{
    bool prologOver = false;
    bool hadDtd = false;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
            break;
        case QXmlStreamReader::DTD:
            if (prologOver || hadDtd)
                return false;
            hadDtd = true;
            break;
        case QXmlStreamReader::StartElement:
            prologOver = true;
            if (!startElement(reader))
                return false;
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        case QXmlStreamReader::Characters:
            prologOver = true;
            if (!characters(reader))
                return false;
            break;
        default:
            prologOver = true;
            break;
        }
    }
    return true;
}

// Elements of no known name carry nothing the shell can show; they are skipped with
// everything below them, but still count for the nesting depth and for a chapter's
// being a leaf.
bool CourseTreeReader::startElement(const QXmlStreamReader &reader)
{
    if (m_open.size() == TreeModel::MaxNestingDepth)
        return false;
    if (m_open.isEmpty()) {
        startDocumentElement(reader);
        return m_kind != FileKind::Unknown;
    }
    Open &parent = m_open.last();
    parent.hasChildElements = true;
    const Element element = elementOf(reader.qualifiedName(), parent.element);
    TreeItem *item = element == Element::Skipped ? nullptr : addItem(element, reader.attributes(), parent.item);
    m_open.append({item, element, m_text.size(), false});
    return true;
}

void CourseTreeReader::startDocumentElement(const QXmlStreamReader &reader)
{
    const QStringView name = reader.qualifiedName();
    m_kind = name == "content"_L1     ? FileKind::Contents
           : name == "favorites"_L1   ? FileKind::Favorites
           : name == "markbook"_L1    ? FileKind::Markbook
                                      : FileKind::Unknown;
    if (m_kind == FileKind::Contents)
        m_caption = attribute(reader.attributes(), "caption"_L1);
    m_open.append({m_root, Element::Root, 0, false});
}

// Every item may hold items of its own, materials too; only the top of the contents is
// made of chapters alone.
CourseTreeReader::Element CourseTreeReader::elementOf(QStringView name, Element parent) const
{
    if (parent == Element::Skipped)
        return Element::Skipped;
    if (name == "object"_L1)
        return m_kind == FileKind::Contents && parent == Element::Root ? Element::Skipped : Element::Object;
    if (name == "chapter"_L1 && m_kind != FileKind::Favorites)
        return Element::Chapter;
    if (name == "folder"_L1 && m_kind == FileKind::Favorites)
        return Element::Folder;
    return Element::Skipped;
}

TreeItem *CourseTreeReader::addItem(Element element, const QXmlStreamAttributes &attributes, TreeItem *parent)
{
    TreeItem *item = m_kind == FileKind::Contents  ? addContentsItem(element, attributes, parent)
                   : m_kind == FileKind::Favorites ? addFavoritesItem(element, attributes)
                                                   : addMarkbookItem(element, attributes);
    parent->appendChild(item);
    return item;
}

TreeItem *CourseTreeReader::addContentsItem(Element element, const QXmlStreamAttributes &attributes,
                                            TreeItem *parent)
{
    if (element == Element::Chapter) {
        const QString id = attribute(attributes, "id"_L1);
        auto *item = new TreeItem({attribute(attributes, "caption"_L1), id, attribute(attributes, "startpage"_L1)},
                                  TreeItem::ChapterType);
        if (hasAttribute(attributes, "id"_L1))
            m_chapterIdMap.insert(id.toInt(), item);
        return item;
    }
    parent->setType(TreeItem::ChapterWithObjectsType);
    return new TreeItem({attribute(attributes, "caption"_L1), attribute(attributes, "type"_L1),
                         attribute(attributes, "id"_L1), attribute(attributes, "path"_L1)},
                        TreeItem::ObjectType);
}

TreeItem *CourseTreeReader::addFavoritesItem(Element element, const QXmlStreamAttributes &attributes)
{
    if (element == Element::Folder)
        return new TreeItem({attribute(attributes, "caption"_L1), attribute(attributes, "id"_L1)},
                            TreeItem::FolderType);
    return new TreeItem({attribute(attributes, "caption"_L1), attribute(attributes, "type"_L1),
                         attribute(attributes, "id"_L1), attribute(attributes, "path"_L1),
                         attribute(attributes, "name"_L1)},
                        TreeItem::ObjectType);
}

// A test never taken has no mark attribute; the pupil's history, the object's text, is
// known at its end.
TreeItem *CourseTreeReader::addMarkbookItem(Element element, const QXmlStreamAttributes &attributes)
{
    if (element == Element::Chapter)
        return new TreeItem({attribute(attributes, "caption"_L1), QString(), QString()}, TreeItem::ChapterType);
    ++m_openTexts;
    return new TreeItem({attribute(attributes, "caption"_L1), attribute(attributes, "mark"_L1, u"0.0"_s),
                         QString(), attribute(attributes, "id"_L1), QString()},
                        TreeItem::ObjectType);
}

// An object's text is all the text inside it, in elements of any name too, as
// QDomElement::text() gives it.
void CourseTreeReader::endElement()
{
    const Open open = m_open.takeLast();
    if (!open.hasChildElements)
        endLeaf(open);
    if (m_kind == FileKind::Markbook && open.element == Element::Object) {
        open.item->setData(4, m_text.sliced(open.textStart));
        if (--m_openTexts == 0)
            m_text.resize(0);
    }
}

// A leaf chapter is a page of its own; a page with materials opens its chapter. Nothing
// is read between a leaf's start and its end, so the maps are filled in document order
// and a later claim on a page wins, as it always did.
void CourseTreeReader::endLeaf(const Open &open)
{
    if (m_kind != FileKind::Contents)
        return;
    if (open.element == Element::Chapter) {
        m_startPageMap.insert(open.item->data(2).toString().toInt(), open.item);
    } else if (open.element == Element::Object) {
        TreeItem *chapter = open.item->parentItem();
        m_startPageMap.insert(chapter->data(2).toString().toInt(), chapter);
    }
}

// QDom drops a text node made of nothing but spacing, as QString::trimmed() sees it (a
// no-break space too), unless it is a CDATA section, and refuses any other text outside
// the document element. Each piece of text the stream reader reports was a node of its
// own in QDom, so each is judged alone.
bool CourseTreeReader::characters(const QXmlStreamReader &reader)
{
    if (m_openTexts == 0 && !m_open.isEmpty())
        return true;
    const QStringView text = reader.text();
    if (!reader.isCDATA() && (reader.isWhitespace() || text.trimmed().isEmpty()))
        return true;
    if (m_open.isEmpty())
        return false;
    m_text += text;
    return true;
}

void CourseTreeReader::discard()
{
    while (m_root->childCount() > m_rootChildren)
        delete m_root->takeChild(m_root->childCount() - 1);
    m_caption.clear();
    m_startPageMap.clear();
    m_chapterIdMap.clear();
}
