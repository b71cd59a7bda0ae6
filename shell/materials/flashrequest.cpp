#include "flashrequest.h"

#include "xmltext.h"

#include <QDomDocument>
#include <QDomElement>
#include <QUrl>
#include <QXmlStreamReader>

namespace {

// Real requests nest a few levels. The DOM's time grows with the square of the nesting: a
// message of 100,000 nested elements held the program for two minutes.
constexpr int maxNesting = 256;

bool nestsAtMost(const QString &text, int limit)
{
    QXmlStreamReader reader(text);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement && ++depth > limit)
            return false;
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return true;
}

QDomElement documentElement(QDomDocument &document, const QString &text)
{
    if (!nestsAtMost(text, maxNesting) || !document.setContent(text, true))
        return QDomElement();
    return document.documentElement();
}

} // namespace

FlashRequest FlashRequest::parse(const QString &request)
{
    QDomDocument document;
    const QDomElement invoke = documentElement(document, request);
    if (invoke.tagName() != QLatin1String("invoke"))
        return FlashRequest();
    const QDomElement argument =
        invoke.firstChildElement(QStringLiteral("arguments")).firstChildElement(QStringLiteral("string"));
    if (argument.isNull())
        return FlashRequest();
    return read(argument.text());
}

FlashRequest FlashRequest::read(const QString &message)
{
    QDomDocument document;
    const QDomElement root = documentElement(document, message);
    FlashRequest request;
    if (root.tagName() == QLatin1String("flash") && root.attribute(QStringLiteral("action")) == QLatin1String("send"))
        request.m_action = Send;
    else if (root.tagName() == QLatin1String("shell"))
        request = readShell(root);
    if (request.m_action != None)
        request.m_message = message;
    return request;
}

FlashRequest FlashRequest::readShell(const QDomElement &root)
{
    FlashRequest request;
    const QString action = root.attribute(QStringLiteral("action"));
    if (action == QLatin1String("save")) {
        const QDomElement result = root.firstChildElement();
        if (result.tagName() != QLatin1String("result"))
            return request;
        request.m_action = Save;
        request.m_mark = result.attribute(QStringLiteral("mark"), QStringLiteral("0.0"));
        request.m_history = result.text();
    } else if (action == QLatin1String("getFirstScreenVisible")) {
        request.m_action = GetFirstScreenVisible;
    } else if (action == QLatin1String("setFirstScreenVisible")) {
        request.m_action = SetFirstScreenVisible;
        request.m_text = root.text();
    } else if (action == QLatin1String("load")) {
        request.m_action = Load;
        request.m_text = root.text();
    } else if (action == QLatin1String("jump")) {
        request.m_action = Jump;
        request.m_text = root.text();
    }
    return request;
}

bool FlashRequest::switchedOn() const
{
    bool isNumber = false;
    const qlonglong value = m_text.toLongLong(&isNumber, 10);
    return isNumber && value != 0;
}

QString FlashRequest::flashVars(const QList<QPair<QString, QString>> &pairs)
{
    // The characters the Flash control's callers always left as they are.
    static const QByteArray kept = QByteArrayLiteral("!$'()*+,;:/?@");
    QStringList encoded;
    for (const auto &[name, value] : pairs)
        encoded.append(QString::fromLatin1(QUrl::toPercentEncoding(name, kept) + '=' + QUrl::toPercentEncoding(value, kept)));
    return encoded.join(QLatin1Char('&'));
}

QString FlashRequest::send2flash(const QString &message)
{
    // "]]>" would end the CDATA section early and leave the rest as markup: close the
    // section between "]]" and ">" and open another, which the reader joins back. A reader
    // turns a carriage return into a line feed even in CDATA, so it goes as a reference
    // between sections. Characters XML cannot hold at all would make the movie lose the
    // whole message; only they are left out.
    QString wrapped = XmlText::withoutInvalidCharacters(message);
    wrapped.replace(QLatin1String("]]>"), QLatin1String("]]]]><![CDATA[>"));
    wrapped.replace(QLatin1Char('\r'), QLatin1String("]]>&#13;<![CDATA["));
    return QStringLiteral("<invoke name=\"send2flash\" returntype=\"xml\"><arguments><string><![CDATA[%1]]></string>"
                          "</arguments></invoke>")
        .arg(wrapped);
}

QString FlashRequest::firstScreenVisibleReply(bool visible)
{
    return QStringLiteral("<invoke name=\"getFirstScreenVisible\" returntype=\"xml\"><arguments><string>%1</string>"
                          "</arguments></invoke>")
        .arg(visible ? QLatin1Char('1') : QLatin1Char('0'));
}
