#include "sourceelement.h"

#include "picturebook.h"

#include <QRegularExpression>

SourceElement::SourceElement(const QDomElement &element, const QString &fileName, QStringList *errors)
    : m_element(element), m_fileName(fileName), m_errors(errors)
{
}

QString SourceElement::tagName() const
{
    return m_element.tagName();
}

bool SourceElement::has(const QString &name) const
{
    return m_element.hasAttribute(name);
}

QString SourceElement::text(const QString &name, const QString &fallback) const
{
    return m_element.attribute(name, fallback);
}

QString SourceElement::required(const QString &name) const
{
    const QString value = m_element.attribute(name).trimmed();
    if (value.isEmpty())
        error(QStringLiteral("<%1> needs %2=\"…\"").arg(tagName(), name));
    return value;
}

QString SourceElement::content() const
{
    return m_element.text().trimmed();
}

double SourceElement::number(const QString &name, double fallback) const
{
    if (!has(name))
        return fallback;
    bool ok = false;
    const double value = text(name).toDouble(&ok);
    if (!ok) {
        error(QStringLiteral("%1=\"%2\" is not a number").arg(name, text(name)));
        return fallback;
    }
    return value;
}

QPointF SourceElement::point(const QString &name, const QPointF &fallback) const
{
    if (!has(name))
        return fallback;
    const QStringList parts = text(name).split(QLatin1Char(','));
    bool okX = false;
    bool okY = false;
    const QPointF value(parts.value(0).toDouble(&okX), parts.value(1).toDouble(&okY));
    if (parts.size() != 2 || !okX || !okY) {
        error(QStringLiteral("%1=\"%2\" is not a point \"x,y\"").arg(name, text(name)));
        return fallback;
    }
    return value;
}

QColor SourceElement::color(const QString &name, const QColor &fallback) const
{
    if (!has(name))
        return fallback;
    const QColor value = QColor::fromString(text(name));
    if (!value.isValid()) {
        error(QStringLiteral("%1=\"%2\" is not a colour").arg(name, text(name)));
        return fallback;
    }
    return value;
}

QString SourceElement::picture(const QString &name) const
{
    const QString value = text(name);
    if (!value.isEmpty() && !PictureBook::has(value))
        error(QStringLiteral("there is no picture \"%1\"").arg(value));
    return PictureBook::has(value) ? value : QString();
}

QString SourceElement::fileName(const QString &name) const
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.-]*$"));
    const QString value = required(name);
    if (!value.isEmpty() && !plain.match(value).hasMatch()) {
        error(QStringLiteral("%1=\"%2\": a file of the material's own folder, in Latin letters").arg(name, value));
        return QString();
    }
    return value;
}

QList<SourceElement> SourceElement::children(const QString &tagName) const
{
    QList<SourceElement> result;
    for (QDomElement child = m_element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        if (tagName.isEmpty() || child.tagName() == tagName)
            result.append(SourceElement(child, m_fileName, m_errors));
    }
    return result;
}

void SourceElement::error(const QString &message) const
{
    m_errors->append(QStringLiteral("%1:%2: %3").arg(m_fileName).arg(m_element.lineNumber()).arg(message));
}
