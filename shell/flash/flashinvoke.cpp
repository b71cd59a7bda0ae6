#include "flashinvoke.h"

#include "xmltext.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

// A movie may send any text, but a character XML cannot hold would make the whole call
// unreadable; such characters are left out of names, keys and strings.
void writeValue(QXmlStreamWriter &xml, const QJsonValue &tagged, int depth);

// A reader turns a carriage return written as it is into a line feed; a reference keeps it.
void writeString(QXmlStreamWriter &xml, const QString &text)
{
    xml.writeStartElement(QStringLiteral("string"));
    const QStringList parts = text.split(QLatin1Char('\r'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            xml.writeEntityReference(QStringLiteral("#13"));
        xml.writeCharacters(parts.at(i));
    }
    xml.writeEndElement();
}

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
        writeString(xml, XmlText::withoutInvalidCharacters(item.at(1).toString()));
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

// A DOM would drop text made of white space alone, and so lose a string the host wrote as
// CDATA sections with a character reference between them (a carriage return); the stream
// reader keeps every character.
class InvokeReader
{
public:
    explicit InvokeReader(const QString &xml) : m_xml(xml) { m_xml.setNamespaceProcessing(false); }

    FlashInvoke read()
    {
        if (!m_xml.readNextStartElement() || m_xml.qualifiedName() != QLatin1String("invoke"))
            return FlashInvoke();
        const QString name = m_xml.attributes().value(QStringLiteral("name")).toString();
        QJsonArray arguments;
        bool seenArguments = false;
        while (m_xml.readNextStartElement()) {
            if (seenArguments || m_xml.qualifiedName() != QLatin1String("arguments")) {
                m_xml.skipCurrentElement();
                continue;
            }
            seenArguments = true;
            while (m_xml.readNextStartElement())
                arguments.append(readValue(0));
        }
        // Well-formed as a whole, or nothing.
        while (!m_xml.atEnd())
            m_xml.readNext();
        if (m_xml.hasError() || name.isEmpty())
            return FlashInvoke();
        return FlashInvoke(name, arguments);
    }

    QJsonValue readOneValue()
    {
        if (!m_xml.readNextStartElement())
            return QJsonArray{QStringLiteral("null")};
        const QJsonValue value = readValue(0);
        while (!m_xml.atEnd())
            m_xml.readNext();
        return m_xml.hasError() ? QJsonValue(QJsonArray{QStringLiteral("null")}) : value;
    }

private:
    // At a value's start tag; reads up to and including its end tag.
    QJsonValue readValue(int depth)
    {
        const QString tag = m_xml.qualifiedName().toString();
        if (depth > 64) {
            m_xml.skipCurrentElement();
            return QJsonArray{QStringLiteral("u")};
        }
        if (tag == QLatin1String("string"))
            return QJsonArray{QStringLiteral("s"), m_xml.readElementText(QXmlStreamReader::IncludeChildElements)};
        if (tag == QLatin1String("number"))
            return QJsonArray{QStringLiteral("n"), m_xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed()};
        if (tag == QLatin1String("array"))
            return QJsonArray{QStringLiteral("a"), readProperties(false, depth)};
        if (tag == QLatin1String("object"))
            return QJsonArray{QStringLiteral("o"), readProperties(true, depth)};
        m_xml.skipCurrentElement();
        if (tag == QLatin1String("true"))
            return QJsonArray{QStringLiteral("t")};
        if (tag == QLatin1String("false"))
            return QJsonArray{QStringLiteral("f")};
        if (tag == QLatin1String("null"))
            return QJsonArray{QStringLiteral("null")};
        return QJsonArray{QStringLiteral("u")};
    }

    // A property's value is its first element; anything else inside is ignored.
    QJsonArray readProperties(bool keyed, int depth)
    {
        QJsonArray items;
        while (m_xml.readNextStartElement()) {
            if (m_xml.qualifiedName() != QLatin1String("property")) {
                m_xml.skipCurrentElement();
                continue;
            }
            const QString id = m_xml.attributes().value(QStringLiteral("id")).toString();
            QJsonValue value = QJsonArray{QStringLiteral("u")};
            for (bool first = true; m_xml.readNextStartElement(); first = false) {
                if (first)
                    value = readValue(depth + 1);
                else
                    m_xml.skipCurrentElement();
            }
            if (keyed)
                items.append(QJsonArray{id, value});
            else
                items.append(value);
        }
        return items;
    }

    QXmlStreamReader m_xml;
};

} // namespace

FlashInvoke::FlashInvoke(const QString &name, const QJsonArray &arguments)
    : m_name(name), m_arguments(arguments), m_valid(true)
{
}

FlashInvoke FlashInvoke::fromXml(const QString &xml)
{
    return InvokeReader(xml).read();
}

QJsonValue FlashInvoke::valueFromXml(const QString &xml)
{
    return InvokeReader(xml).readOneValue();
}

QString FlashInvoke::valueToXml(const QJsonValue &tagged)
{
    QString text;
    QXmlStreamWriter xml(&text);
    writeValue(xml, tagged, 0);
    xml.writeEndDocument();   // an empty element is closed only by what follows it
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
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
