#include "coursechecker.h"

#include <QRegularExpression>

CourseChecker::CourseChecker(const QString &fileName)
    : m_fileName(fileName)
{
}

const QStringList &CourseChecker::groupKeys()
{
    static const QStringList keys{QStringLiteral("ani"), QStringLiteral("pra"), QStringLiteral("wrk"),
                                  QStringLiteral("rzv"), QStringLiteral("con"), QStringLiteral("slv"),
                                  QStringLiteral("igr")};
    return keys;
}

QStringList CourseChecker::check(const QByteArray &xml)
{
    m_problems.clear();
    m_materialLines.clear();
    m_chapterLines.clear();
    m_startPages.clear();
    m_reader.clear();
    m_reader.addData(xml);

    if (m_reader.readNextStartElement()) {
        if (m_reader.name() == QLatin1String("content"))
            readContent();
        else
            problem(QStringLiteral("the root element is <%1>, expected <content>").arg(m_reader.name()));
    }
    if (m_reader.hasError())
        problem(m_reader.errorString());
    else if (m_materialLines.isEmpty() && m_problems.isEmpty())
        problem(QStringLiteral("the course has no materials"));
    return m_problems;
}

void CourseChecker::readContent()
{
    if (text(QStringLiteral("caption")).isEmpty())
        problem(QStringLiteral("<content> needs a caption"));
    while (m_reader.readNextStartElement()) {
        if (m_reader.name() == QLatin1String("chapter")) {
            readChapter();
        } else {
            problem(QStringLiteral("<%1> cannot stand at the top level, only <chapter>").arg(m_reader.name()));
            m_reader.skipCurrentElement();
        }
    }
}

void CourseChecker::readChapter()
{
    if (text(QStringLiteral("caption")).isEmpty())
        problem(QStringLiteral("a chapter needs a caption"));
    int id = 0;
    if (readInteger(QStringLiteral("id"), 0, &id)) {
        if (m_chapterLines.contains(id)) {
            problem(QStringLiteral("chapter id %1 is used twice (first on line %2)")
                        .arg(id)
                        .arg(m_chapterLines.value(id)));
        } else {
            m_chapterLines.insert(id, m_reader.lineNumber());
        }
    }
    int page = 0;
    if (readInteger(QStringLiteral("startpage"), 1, &page))
        m_startPages.append({page, m_reader.lineNumber()});

    while (m_reader.readNextStartElement()) {
        if (m_reader.name() == QLatin1String("chapter")) {
            readChapter();
        } else if (m_reader.name() == QLatin1String("object")) {
            readObject();
        } else {
            problem(QStringLiteral("<%1> in a chapter: only <chapter> and <object> belong there")
                        .arg(m_reader.name()));
            m_reader.skipCurrentElement();
        }
    }
}

void CourseChecker::readObject()
{
    if (text(QStringLiteral("caption")).isEmpty())
        problem(QStringLiteral("a material needs a caption"));
    if (text(QStringLiteral("path")).isEmpty())
        problem(QStringLiteral("a material needs a path"));

    const QString type = text(QStringLiteral("type"));
    if (!groupKeys().contains(type)) {
        problem(QStringLiteral("material type \"%1\" is not a group (one of %2)")
                    .arg(type, groupKeys().join(QLatin1String(", "))));
    }

    // The id names the material's folder on disk, so it must be safe everywhere.
    static const QRegularExpression folderSafe(QStringLiteral("^[a-z0-9_]+$"));
    const QString id = text(QStringLiteral("id"));
    if (!folderSafe.match(id).hasMatch()) {
        problem(QStringLiteral("material id \"%1\" must be lowercase latin letters, digits and _").arg(id));
    } else if (m_materialLines.contains(id)) {
        problem(QStringLiteral("material id \"%1\" is used twice (first on line %2)")
                    .arg(id)
                    .arg(m_materialLines.value(id)));
    } else {
        m_materialLines.insert(id, m_reader.lineNumber());
    }

    bool reported = false;
    while (m_reader.readNextStartElement()) {
        if (!reported)
            problem(QStringLiteral("a material holds no elements, found <%1>").arg(m_reader.name()));
        reported = true;
        m_reader.skipCurrentElement();
    }
}

bool CourseChecker::readInteger(const QString &attribute, int minimum, int *value)
{
    const QString raw = text(attribute);
    bool ok = false;
    *value = raw.toInt(&ok);
    if (!ok || *value < minimum) {
        problem(QStringLiteral("%1=\"%2\" is not a whole number of at least %3").arg(attribute, raw).arg(minimum));
        return false;
    }
    return true;
}

QString CourseChecker::text(const QString &attribute)
{
    return m_reader.attributes().value(attribute).toString().trimmed();
}

void CourseChecker::problem(const QString &message)
{
    m_problems << QStringLiteral("%1:%2: %3").arg(m_fileName).arg(m_reader.lineNumber()).arg(message);
}
