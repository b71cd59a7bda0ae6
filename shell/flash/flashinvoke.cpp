#include "flashinvoke.h"

#include "xmltext.h"

#include <QDomDocument>
#include <QDomElement>
#include <QXmlStreamWriter>

namespace {

// A movie may send any text, but a character XML cannot hold would make the whole call
// unreadable; such characters are left out of names, keys and strings.
void writeValue(QXmlStreamWriter &xml, const QJsonValue &tagged, int depth);

void writeProperty(QXmlStreamWriter &xml, const QString &id, const QJsonValue &tagged, int depth)
{
    xml.writeStartElement(QStringLiteral("property"));
    xml.writeAttribute(QStringLiteral("id"), XmlText::withoutInvalidCharacters(id));
    writeValue(xml, tagged, depth + 1);
    xml.writeEndElement();
}

void writeValue(QXmlStreamWriter &xml, const QJsonValue &tagged, int depth)
{
    const QJsonArray item = tagged.toArray();
    const QString tag = item.at(0).toString();
    if (depth > 64) {
        xml.writeEmptyElement(QStringLiteral("undefined"));
    } else if (tag == QLatin1String("s")) {
        xml.writeTextElement(QStringLiteral("string"), XmlText::withoutInvalidCharacters(item.at(1).toString()));
    } else if (tag == QLatin1String("n")) {
        xml.writeTextElement(QStringLiteral("number"), item.at(1).toString());
    } else if (tag == QLatin1String("t")) {
        xml.writeEmptyElement(QStringLiteral("true"));
    } else if (tag == QLatin1String("f")) {
        xml.writeEmptyElement(QStringLiteral("false"));
    } else if (tag == QLatin1String("null")) {
        xml.writeEmptyElement(QStringLiteral("null"));
    } else if (tag == QLatin1String("a")) {
        xml.writeStartElement(QStringLiteral("array"));
        const QJsonArray items = item.at(1).toArray();
        for (int i = 0; i < items.size(); ++i)
            writeProperty(xml, QString::number(i), items.at(i), depth);
        xml.writeEndElement();
    } else if (tag == QLatin1String("o")) {
        xml.writeStartElement(QStringLiteral("object"));
        for (const QJsonValue &pair : item.at(1).toArray())
            writeProperty(xml, pair.toArray().at(0).toString(), pair.toArray().at(1), depth);
        xml.writeEndElement();
    } else {
        xml.writeEmptyElement(QStringLiteral("undefined"));
    }
}

QJsonValue readValue(const QDomElement &element, int depth);

QJsonArray readProperties(const QDomElement &container, bool keyed, int depth)
{
    QJsonArray items;
    for (QDomElement p = container.firstChildElement(QStringLiteral("property")); !p.isNull();
         p = p.nextSiblingElement(QStringLiteral("property"))) {
        const QJsonValue value = readValue(p.firstChildElement(), depth + 1);
        if (keyed)
            items.append(QJsonArray{p.attribute(QStringLiteral("id")), value});
        else
            items.append(value);
    }
    return items;
}

QJsonValue readValue(const QDomElement &element, int depth)
{
    const QString tag = element.tagName();
    if (depth > 64 || element.isNull())
        return QJsonArray{QStringLiteral("u")};
    if (tag == QLatin1String("string"))
        return QJsonArray{QStringLiteral("s"), element.text()};
    if (tag == QLatin1String("number"))
        return QJsonArray{QStringLiteral("n"), element.text().trimmed()};
    if (tag == QLatin1String("true"))
        return QJsonArray{QStringLiteral("t")};
    if (tag == QLatin1String("false"))
        return QJsonArray{QStringLiteral("f")};
    if (tag == QLatin1String("null"))
        return QJsonArray{QStringLiteral("null")};
    if (tag == QLatin1String("array"))
        return QJsonArray{QStringLiteral("a"), readProperties(element, false, depth)};
    if (tag == QLatin1String("object"))
        return QJsonArray{QStringLiteral("o"), readProperties(element, true, depth)};
    return QJsonArray{QStringLiteral("u")};
}

} // namespace

FlashInvoke::FlashInvoke(const QString &name, const QJsonArray &arguments)
    : m_name(name), m_arguments(arguments), m_valid(true)
{
}

FlashInvoke FlashInvoke::fromXml(const QString &xml)
{
    QDomDocument document;
    if (!document.setContent(xml))
        return FlashInvoke();
    const QDomElement invoke = document.documentElement();
    if (invoke.tagName() != QLatin1String("invoke") || invoke.attribute(QStringLiteral("name")).isEmpty())
        return FlashInvoke();
    QJsonArray arguments;
    const QDomElement list = invoke.firstChildElement(QStringLiteral("arguments"));
    for (QDomElement e = list.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        arguments.append(readValue(e, 0));
    return FlashInvoke(invoke.attribute(QStringLiteral("name")), arguments);
}

bool FlashInvoke::isValid() const
{
    return m_valid;
}

QString FlashInvoke::name() const
{
    return m_name;
}

QJsonArray FlashInvoke::arguments() const
{
    return m_arguments;
}

QString FlashInvoke::toXml() const
{
    QString text;
    QXmlStreamWriter xml(&text);
    xml.writeStartElement(QStringLiteral("invoke"));
    xml.writeAttribute(QStringLiteral("name"), XmlText::withoutInvalidCharacters(m_name));
    xml.writeAttribute(QStringLiteral("returntype"), QStringLiteral("xml"));
    xml.writeStartElement(QStringLiteral("arguments"));
    xml.writeCharacters(QString()); // <arguments></arguments> as the Flash control wrote it
    for (const QJsonValue &argument : m_arguments)
        writeValue(xml, argument, 0);
    xml.writeEndElement();
    xml.writeEndElement();
    return text;
}
