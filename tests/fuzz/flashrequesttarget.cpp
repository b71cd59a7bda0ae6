#include "flashrequesttarget.h"

#include "flashinvoke.h"
#include "flashrequest.h"
#include "flashvars.h"
#include "xmltext.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

bool same(const FlashRequest &a, const FlashRequest &b)
{
    return a.action() == b.action() && a.message() == b.message() && a.mark() == b.mark()
           && a.history() == b.history() && a.text() == b.text() && a.switchedOn() == b.switchedOn();
}

// One string argument. (Braces alone would make the inner array the list itself.)
QJsonArray oneString(const QString &text)
{
    QJsonArray arguments;
    arguments.append(QJsonArray{QStringLiteral("s"), text});
    return arguments;
}

// A movie's call as the player writes it: the message as its first string.
QString playerCall(const QString &message)
{
    return FlashInvoke(QStringLiteral("flashCall"), oneString(message)).toXml();
}

QString checkRequest(const FlashRequest &request)
{
    if (request.action() == FlashRequest::None) {
        if (!request.message().isEmpty() || !request.mark().isEmpty() || !request.history().isEmpty()
            || !request.text().isEmpty())
            return QStringLiteral("a request that does nothing has fields");
        return {};
    }
    if (request.message().isEmpty())
        return QStringLiteral("a request that does something has no message");
    if (!same(FlashRequest::parse(playerCall(request.message())), request))
        return QStringLiteral("the message reads differently in the call the player writes");
    return {};
}

QString checkMessage(const QString &text)
{
    const FlashRequest request = FlashRequest::parse(playerCall(text));
    if (request.action() != FlashRequest::None && request.message() != XmlText::withoutInvalidCharacters(text))
        return QStringLiteral("a message is not the text the movie sent");
    return checkRequest(request);
}

QString checkToMovie(const QString &text)
{
    const FlashInvoke call = FlashInvoke::fromXml(FlashRequest::send2flash(text));
    if (!call.isValid() || call.name() != QLatin1String("send2flash")
        || call.arguments() != oneString(XmlText::withoutInvalidCharacters(text)))
        return QStringLiteral("a message to the movie arrives changed");
    return {};
}

bool isLeftAsItIs(QChar c)
{
    static const QString kept = QStringLiteral("-._~!$'()*+,;:/?@%=&");
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
           || (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || kept.contains(c);
}

QString checkFlashVars(const QString &text)
{
    const QString query = FlashRequest::flashVars({{QStringLiteral("k"), text}, {text, QStringLiteral("v")}});
    if (!std::all_of(query.cbegin(), query.cend(), isLeftAsItIs))
        return QStringLiteral("the flash variables hold a character that should be encoded");
    QJsonObject expected{{QStringLiteral("k"), text}};
    if (!text.isEmpty())
        expected.insert(text, QStringLiteral("v"));
    if (FlashVars::parse(query) != expected)
        return QStringLiteral("the flash variables read back differently");
    return {};
}

} // namespace

QString FlashRequestTarget::run(const QByteArray &input)
{
    const QString text = QString::fromUtf8(input);
    if (QString problem = checkRequest(FlashRequest::parse(text)); !problem.isEmpty())
        return problem;
    if (QString problem = checkMessage(text); !problem.isEmpty())
        return problem;
    if (QString problem = checkToMovie(text); !problem.isEmpty())
        return problem;
    return checkFlashVars(text);
}
