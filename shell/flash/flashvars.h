#ifndef FLASHVARS_H
#define FLASHVARS_H

#include <QJsonObject>
#include <QString>

// The Flash control's variables string ("name=value&…", percent-encoded UTF-8) as the
// name/value object Ruffle takes. Decoded here rather than by the page because the page's
// URLSearchParams would turn every literal "+" into a space, and the callers leave "+"
// unencoded.
class FlashVars
{
public:
    static QJsonObject parse(const QString &query);
};

#endif
