#include "coursecheck.h"

#include "coursechecker.h"
#include "coursetreereader.h"
#include "materialdescription.h"
#include "materialid.h"
#include "pagelist.h"
#include "treeitem.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

namespace {

const QString contentsFile = QStringLiteral("data/content.xml");
const QString objectsFolder = QStringLiteral("data/objects");
const QString textbookFolder = QStringLiteral("data/textbook");

QByteArray readAll(const QString &path, bool *ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
}

// The lines of the `media` elements the description reader takes, in its order: it reports
// what it read, not where.
QList<qint64> mediaLines(const QByteArray &xml)
{
    QList<qint64> lines;
    QXmlStreamReader reader(xml);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::StartElement && ++depth == 2 && reader.name() == QLatin1String("media"))
            lines.append(reader.lineNumber());
    }
    return lines;
}

void collectTypes(const TreeItem *item, QHash<QString, QString> *types)
{
    for (const TreeItem *child : item->children()) {
        if (child->type() & 16)
            types->insert(child->data(2).toString(), child->data(1).toString());
        collectTypes(child, types);
    }
}

bool isDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isDigit(); });
}

} // namespace

CourseCheck::CourseCheck(const QString &folder)
    : m_folder(folder)
    , m_root(folder)
{
}

QStringList CourseCheck::run()
{
    m_problems.clear();
    checkContents();
    for (const auto &material : std::as_const(m_materials))
        checkMaterial(material.first, material.second);
    checkPageMovies();
    checkOrphanMaterials();
    return m_problems;
}

QString CourseCheck::absolute(const QString &relative) const
{
    return QDir::cleanPath(m_root.absoluteFilePath(relative));
}

QString CourseCheck::shown(const QString &relative) const
{
    return QDir::cleanPath(m_folder + QLatin1Char('/') + relative);
}

void CourseCheck::problem(const QString &shownPath, qint64 line, const QString &message)
{
    m_problems << QStringLiteral("%1:%2: %3").arg(shownPath).arg(qMax<qint64>(1, line)).arg(message);
}

bool CourseCheck::insideData(const QString &path) const
{
    // The shell's rule for media: the cleaned path and, when the file exists, its real path
    // lie inside data/ (so neither "../" nor a link leads out).
    const QString data = absolute(QStringLiteral("data"));
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString canonicalData = QFileInfo(data).canonicalFilePath();
    return path.startsWith(data + QLatin1Char('/'))
        && (canonical.isEmpty() || canonical.startsWith(canonicalData + QLatin1Char('/')));
}

void CourseCheck::checkContents()
{
    bool ok = false;
    const QByteArray xml = readAll(absolute(contentsFile), &ok);
    if (!ok) {
        problem(shown(contentsFile), 1, QStringLiteral("cannot be read: the shell shows an empty course"));
        return;
    }
    CourseChecker checker(shown(contentsFile));
    m_problems << checker.check(xml);
    for (auto it = checker.materialLines().cbegin(); it != checker.materialLines().cend(); ++it)
        m_materials.append({it.key(), it.value()});
    std::sort(m_materials.begin(), m_materials.end(),
              [](const auto &a, const auto &b) { return a.second < b.second; });
    m_startPages = checker.startPages();

    const auto root = std::make_unique<TreeItem>();
    if (!CourseTreeReader(root.get()).read(xml)) {
        if (m_problems.isEmpty())
            problem(shown(contentsFile), 1, QStringLiteral("the shell refuses the contents as a whole"));
        return;
    }
    collectTypes(root.get(), &m_types);
}

void CourseCheck::checkMaterial(const QString &id, qint64 contentsLine)
{
    if (!MaterialId::isSafe(id))
        return; // the contents check has said so
    const QString folder = objectsFolder + QLatin1Char('/') + id;
    if (!QFileInfo(absolute(folder)).isDir()) {
        problem(shown(contentsFile), contentsLine, QStringLiteral("material \"%1\" has no folder %2").arg(id, folder));
        return;
    }
    const QString normal = folder + QStringLiteral("/normal.xml");
    if (!QFileInfo::exists(absolute(normal))) {
        problem(shown(normal), 1, QStringLiteral("missing: the material opens empty"));
        return;
    }
    checkDescription(id, normal);
    const QString preview = folder + QStringLiteral("/preview.xml");
    if (QFileInfo::exists(absolute(preview)))
        checkDescription(id, preview);
}

void CourseCheck::checkDescription(const QString &id, const QString &relative)
{
    bool ok = false;
    const QByteArray xml = readAll(absolute(relative), &ok);
    if (!ok) {
        problem(shown(relative), 1, QStringLiteral("cannot be read"));
        return;
    }
    MaterialDescription description;
    if (!description.read(xml)) {
        problem(shown(relative), description.errorLine(),
                QStringLiteral("the shell cannot read it: %1").arg(description.errorMessage()));
        return;
    }
    if (!description.isObject()) {
        problem(shown(relative), 1, QStringLiteral("the root element is not <object>: the material shows nothing"));
        return;
    }
    if (description.media().isEmpty()) {
        problem(shown(relative), 1, QStringLiteral("describes no media: the material shows nothing"));
        return;
    }
    const QList<qint64> lines = mediaLines(xml);
    for (int i = 0; i < description.media().size(); ++i) {
        const MaterialDescription::Medium &medium = description.media().at(i);
        checkMedium(id, relative, lines.value(i, 1), medium.file, medium.text.trimmed());
    }
}

void CourseCheck::checkMedium(const QString &id, const QString &description, qint64 line, const QString &file,
                              const QString &param)
{
    const QString at = shown(description);
    const QString suffix = QFileInfo(file).suffix();
    if (!MaterialDescription::isShownKind(suffix)) {
        problem(at, line, QStringLiteral("medium \"%1\" is of no kind the shell shows (%2)")
                              .arg(file, MaterialDescription::shownSuffixes().join(QLatin1String(", "))));
        return;
    }
    const QDir folder(QFileInfo(absolute(description)).path());
    const QString path = QDir::cleanPath(folder.absoluteFilePath(file));
    if (!insideData(path)) {
        problem(at, line, QStringLiteral("medium \"%1\" lies outside data/: the shell refuses it").arg(file));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        problem(at, line, QStringLiteral("medium \"%1\" is missing").arg(file));
        return;
    }
    if (suffix != QLatin1String("swf"))
        return;
    if (!param.isEmpty()) {
        const QString paramPath = QDir::cleanPath(folder.absoluteFilePath(param));
        if (!insideData(paramPath) || !QFileInfo(paramPath).isFile())
            problem(at, line, QStringLiteral("the movie's parameter file \"%1\" is missing").arg(param));
    } else if (m_types.value(id) == QLatin1String("con")
               && path.startsWith(absolute(QStringLiteral("data/templates")) + QLatin1Char('/'))) {
        problem(at, line, QStringLiteral("the test loads the template \"%1\" without its parameter file").arg(file));
    }
    checkMovieOpens(at, line, path);
}

const MovieFile *CourseCheck::movie(const QString &path)
{
    if (!m_movies.contains(path) && !m_movieErrors.contains(path)) {
        MovieFile movie;
        if (movie.read(path))
            m_movies.insert(path, movie);
        else
            m_movieErrors.insert(path, movie.error());
    }
    const auto it = m_movies.constFind(path);
    return it == m_movies.cend() ? nullptr : &it.value();
}

void CourseCheck::checkMovieOpens(const QString &shownAt, qint64 line, const QString &path)
{
    const MovieFile *file = movie(path);
    const QString name = QFileInfo(path).fileName();
    if (!file) {
        problem(shownAt, line, QStringLiteral("\"%1\" is no movie the player can read: %2").arg(name, m_movieErrors.value(path)));
        return;
    }
    QSet<QString> known;
    for (const auto &material : std::as_const(m_materials))
        known.insert(material.first);
    for (const MovieFile::BridgeMessage &message : file->bridgeMessages()) {
        if (!message.materialId.isEmpty() && !known.contains(message.materialId))
            problem(shownAt, line, QStringLiteral("\"%1\" opens material \"%2\", which the contents do not have")
                                       .arg(name, message.materialId));
    }
}

void CourseCheck::checkPageMovies()
{
    const QStringList pages = PageList::scan(absolute(textbookFolder));
    if (pages.isEmpty()) {
        problem(shown(textbookFolder), 1, QStringLiteral("holds no page movies: the textbook is empty"));
    } else {
        for (const auto &start : std::as_const(m_startPages)) {
            if (start.first > pages.size())
                problem(shown(contentsFile), start.second,
                        QStringLiteral("a chapter starts on page %1 of a textbook of %2 double pages")
                            .arg(start.first).arg(pages.size()));
        }
    }

    QSet<QString> known;
    for (const auto &material : std::as_const(m_materials))
        known.insert(material.first);
    int previousRight = -1;
    for (const QString &path : pages) {
        const QString name = QFileInfo(path).fileName();
        const QString at = shown(textbookFolder + QLatin1Char('/') + name);
        const QString left = name.left(3), right = name.mid(4, 3);
        if (!isDigits(left) || !isDigits(right)) {
            problem(at, 1, QStringLiteral("the name is not two page numbers: its place in the book follows the name only"));
        } else {
            if (left.toInt() <= previousRight)
                problem(at, 1, QStringLiteral("the pages overlap the double page before it"));
            previousRight = right.toInt();
        }
        const MovieFile *file = movie(path);
        if (!file) {
            problem(at, 1, QStringLiteral("no movie the player can read: %1").arg(m_movieErrors.value(path)));
            continue;
        }
        for (const QString &id : file->openedIds()) {
            if (!known.contains(id))
                problem(at, 1, QStringLiteral("opens material \"%1\", which the contents do not have").arg(id));
        }
    }

    // Movies beside the pages that the name pattern leaves out are never shown.
    QSet<QString> pageSet(pages.cbegin(), pages.cend());
    const QDir dir(absolute(textbookFolder));
    for (const QFileInfo &info : dir.entryInfoList({QStringLiteral("*.swf")}, QDir::Files, QDir::Name)) {
        if (!pageSet.contains(info.absoluteFilePath()))
            problem(shown(textbookFolder + QLatin1Char('/') + info.fileName()), 1,
                    QStringLiteral("not named NNN-NNN.swf: the textbook never shows it"));
    }
}

void CourseCheck::checkOrphanMaterials()
{
    QSet<QString> named;
    for (const auto &material : std::as_const(m_materials))
        named.insert(material.first);
    const QDir dir(absolute(objectsFolder));
    for (const QString &folder : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (!named.contains(folder))
            problem(shown(objectsFolder + QLatin1Char('/') + folder), 1,
                    QStringLiteral("no contents entry names this material: nothing opens it"));
    }
}

QStringList CourseCheck::moviePaths() const
{
    QStringList paths = PageList::scan(absolute(textbookFolder));
    for (const QString &folder : {objectsFolder, QStringLiteral("data/templates")}) {
        QStringList found;
        QDirIterator it(absolute(folder), {QStringLiteral("*.swf")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        found.sort();
        paths << found;
    }
    return paths;
}
