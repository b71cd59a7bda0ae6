#include "layoutchecker.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {
const QStringList mediumSuffixes = {QStringLiteral("swf"), QStringLiteral("htm"), QStringLiteral("jpg"),
                                    QStringLiteral("png"), QStringLiteral("html")};
const QStringList numberAttributes = {QStringLiteral("row"), QStringLiteral("col"), QStringLiteral("rowspan"),
                                      QStringLiteral("colspan"), QStringLiteral("rowsf"), QStringLiteral("colsf")};
} // namespace

LayoutChecker::LayoutChecker(const QString &sourcePath, const QDir &builtFolder)
    : m_sourcePath(sourcePath), m_built(builtFolder)
{
}

bool LayoutChecker::check()
{
    m_errors.clear();
    m_printable = false;
    m_movieFiles.clear();
    QFile file(m_built.filePath(QFileInfo(m_sourcePath).fileName()));
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly)) {
        error(0, file.errorString());
        return false;
    }
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(&file, true, &message, &line, &column)) {
        error(line, message);
        return false;
    }
    const QDomElement root = document.documentElement();
    if (root.tagName() != QLatin1String("object"))
        error(root.lineNumber(), QStringLiteral("the root element must be <object>, not <%1>").arg(root.tagName()));
    int media = 0;
    for (QDomElement child = root.firstChildElement(QStringLiteral("media")); !child.isNull();
         child = child.nextSiblingElement(QStringLiteral("media"))) {
        checkMedium(child);
        ++media;
    }
    if (media == 0)
        error(root.lineNumber(), QStringLiteral("the material shows nothing: no <media>"));
    return m_errors.isEmpty();
}

void LayoutChecker::checkMedium(const QDomElement &media)
{
    const int line = media.lineNumber();
    const QString file = media.attribute(QStringLiteral("file"));
    const QString suffix = QFileInfo(file).suffix();
    if (!mediumSuffixes.contains(suffix)) {
        error(line, QStringLiteral("file=\"%1\": the shell shows only %2 files").arg(file, mediumSuffixes.join(QLatin1String(", "))));
        return;
    }
    const QString path = m_built.filePath(file);
    if (!QFileInfo(path).isFile())
        error(line, QStringLiteral("file=\"%1\" is not in the material").arg(file));
    for (const QString &name : numberAttributes) {
        bool ok = true;
        if (media.hasAttribute(name))
            media.attribute(name).toInt(&ok);
        if (!ok)
            error(line, QStringLiteral("%1=\"%2\" is not a whole number").arg(name, media.attribute(name)));
    }
    const QString printable = media.attribute(QStringLiteral("printable"), QStringLiteral("false"));
    if (printable != QLatin1String("true") && printable != QLatin1String("false"))
        error(line, QStringLiteral("printable=\"%1\": write \"true\" or \"false\"").arg(printable));
    m_printable = m_printable || printable == QLatin1String("true");

    const QString param = media.text().trimmed();
    if (suffix == QLatin1String("swf") && !param.isEmpty()) {
        if (QFileInfo(m_built.filePath(param)).isFile())
            m_movieFiles.append(param);
        else
            error(line, QStringLiteral("the movie's file \"%1\" is not in the material").arg(param));
    }
    if (suffix != QLatin1String("swf") && !param.isEmpty())
        error(line, QStringLiteral("only a movie takes a file to read (\"%1\")").arg(param));
    if ((suffix == QLatin1String("htm") || suffix == QLatin1String("html")) && QFileInfo(path).isFile())
        checkPage(path, line);
}

void LayoutChecker::checkPage(const QString &pagePath, int line)
{
    // Pages run with no network and nothing from outside the installation: no scripts,
    // and every picture or style sheet a file beside the page.
    QFile file(pagePath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString page = QString::fromUtf8(file.readAll());
    const QString name = QFileInfo(pagePath).fileName();
    if (page.contains(QLatin1String("<script"), Qt::CaseInsensitive))
        error(line, QStringLiteral("%1 has a script; pages are plain HTML").arg(name));
    static const QRegularExpression reference(QStringLiteral("(?:src|href)\\s*=\\s*\"([^\"]*)\""), QRegularExpression::CaseInsensitiveOption);
    for (auto match = reference.globalMatch(page); match.hasNext();) {
        const QString target = match.next().captured(1);
        if (target.contains(QLatin1String("://")) || target.startsWith(QLatin1String("//")))
            error(line, QStringLiteral("%1 refers to \"%2\" outside the installation").arg(name, target));
        else if (!target.startsWith(QLatin1Char('#')) && !QFileInfo(QFileInfo(pagePath).dir().filePath(target)).isFile())
            error(line, QStringLiteral("%1 refers to \"%2\", which is not in the material").arg(name, target));
    }
}

void LayoutChecker::error(int line, const QString &message)
{
    m_errors.append(QStringLiteral("%1:%2: %3").arg(m_sourcePath).arg(line).arg(message));
}

QStringList LayoutChecker::errors() const
{
    return m_errors;
}

QStringList LayoutChecker::movieFiles() const
{
    return m_movieFiles;
}

bool LayoutChecker::isPrintable() const
{
    return m_printable;
}
