#include "flashvars.h"

#include <QUrl>

static QString decoded(QStringView part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

QJsonObject FlashVars::parse(const QString &query)
{
    QJsonObject vars;
    QStringView rest(query);
    if (rest.startsWith(QLatin1Char('?')))
        rest = rest.mid(1);
    for (QStringView pair : rest.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(QLatin1Char('='));
        const QStringView name = equals < 0 ? pair : pair.left(equals);
        const QStringView value = equals < 0 ? QStringView() : pair.mid(equals + 1);
        if (!name.isEmpty())
            vars.insert(decoded(name), decoded(value));
    }
    return vars;
}
