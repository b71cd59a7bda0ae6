#ifndef SOURCEELEMENT_H
#define SOURCEELEMENT_H

#include <QColor>
#include <QDomElement>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

// One element of a material description, read with the file and line kept for messages:
// a value that is missing or wrong is reported as "file:line: …" and replaced by a default,
// so one run lists every mistake.
class SourceElement
{
public:
    SourceElement(const QDomElement &element, const QString &fileName, QStringList *errors);

    QString tagName() const;
    bool has(const QString &name) const;
    QString text(const QString &name, const QString &fallback = QString()) const;
    QString required(const QString &name) const;
    // The element's own text, trimmed.
    QString content() const;
    double number(const QString &name, double fallback) const;
    // "x,y"
    QPointF point(const QString &name, const QPointF &fallback = QPointF()) const;
    QColor color(const QString &name, const QColor &fallback) const;
    // A picture book name; an unknown one is reported.
    QString picture(const QString &name) const;
    // A file name inside the material folder: no folders, nothing hidden.
    QString fileName(const QString &name = QStringLiteral("file")) const;
    QList<SourceElement> children(const QString &tagName = QString()) const;

    void error(const QString &message) const;

private:
    QDomElement m_element;
    QString m_fileName;
    QStringList *m_errors;
};

#endif
