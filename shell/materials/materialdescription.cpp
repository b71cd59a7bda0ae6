#include "materialdescription.h"

#include "treemodel.h"

#include <QDomDocument>
#include <QXmlStreamReader>

namespace {

int number(const QDomElement &e, const char *name, int fallback, int low, int high)
{
    const QString text = e.attribute(QLatin1String(name), QString::number(fallback));
    return qBound(low, text.toInt(), high); // text that is not a number counts as 0
}

} // namespace

bool MaterialDescription::checkWellFormed(const QByteArray &xml)
{
    // The stream reader finds the faults a DOM parser would, without building a tree whose
    // depth or width a hostile file chooses.
    QXmlStreamReader reader(xml);
    reader.setNamespaceProcessing(true);
    int depth = 0;
    int media = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            --depth;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth > TreeModel::MaxNestingDepth)
            reader.raiseError(QStringLiteral("elements nested too deep"));
        else if (depth == 2 && reader.name() == QLatin1String("media") && ++media > MaxMedia)
            reader.raiseError(QStringLiteral("Материал описывает больше %1 медиафайлов: столько не поместится на экране.")
                                  .arg(MaxMedia));
    }
    if (!reader.hasError())
        return true;
    m_errorLine = int(reader.lineNumber());
    m_errorColumn = int(reader.columnNumber());
    m_errorMessage = reader.errorString();
    return false;
}

bool MaterialDescription::read(const QByteArray &xml)
{
    m_isObject = false;
    m_media.clear();
    if (!checkWellFormed(xml))
        return false;
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(xml, true, &message, &line, &column)) {
        m_errorLine = line;
        m_errorColumn = column;
        m_errorMessage = message;
        return false;
    }
    const QDomElement root = document.documentElement();
    m_isObject = root.tagName() == QLatin1String("object");
    if (!m_isObject)
        return true;
    for (QDomElement e = root.firstChildElement(QStringLiteral("media")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("media"))) {
        Medium medium;
        medium.file = e.attribute(QStringLiteral("file"));
        medium.row = number(e, "row", 0, 0, MaxCell);
        medium.column = number(e, "col", 0, 0, MaxCell);
        medium.rowSpan = number(e, "rowspan", 1, 1, MaxCell);
        medium.columnSpan = number(e, "colspan", 1, 1, MaxCell);
        medium.rowStretch = number(e, "rowsf", 1, 0, MaxStretch);
        medium.columnStretch = number(e, "colsf", 1, 0, MaxStretch);
        medium.printable = e.attribute(QStringLiteral("printable"), QStringLiteral("false")) == QLatin1String("true");
        medium.allowComments = e.attribute(QStringLiteral("allowComments"), QStringLiteral("true")) == QLatin1String("true");
        medium.text = e.text();
        m_media.append(medium);
    }
    return true;
}

const QStringList &MaterialDescription::shownSuffixes()
{
    static const QStringList suffixes{QStringLiteral("swf"), QStringLiteral("htm"), QStringLiteral("jpg"),
                                      QStringLiteral("png"), QStringLiteral("html")};
    return suffixes;
}

bool MaterialDescription::isShownKind(const QString &suffix)
{
    return shownSuffixes().contains(suffix);
}
