#include "materialid.h"

#include <QDir>

bool MaterialId::isSafe(const QString &id)
{
    if (id.isEmpty() || id == QLatin1String(".") || id == QLatin1String(".."))
        return false;
    for (const QChar c : id) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QString MaterialId::folder(const QString &id)
{
    if (!isSafe(id))
        return QString();
    return QDir::current().absoluteFilePath(QStringLiteral("data/objects/") + id);
}
