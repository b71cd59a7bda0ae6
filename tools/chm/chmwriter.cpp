#include "chmwriter.h"

#include "atomicfile.h"
#include "chmcodepage.h"
#include "chmdirectory.h"
#include "chmstream.h"
#include "chmtopics.h"

#include <QMap>
#include <QSet>
#include <QtEndian>

namespace {

enum SystemCode : quint16 {
    ContentsFileCode = 0,
    DefaultTopicCode = 2,
    TitleCode = 3,
    LanguageCode = 4,
    CompilerCode = 9,
};

constexpr int UncompressedSection = 0;
constexpr quint64 ItsfHeaderSize = 0x60;
constexpr quint64 HeaderSectionSize = 0x18;

QByteArray entryName(const QString &name)
{
    return '/' + name.toUtf8();
}

QByteArray nulTerminated(const QByteArray &text)
{
    return text + '\0';
}

void systemRecord(ChmStream &out, SystemCode code, const QByteArray &data)
{
    out.u16(code);
    out.u16(quint32(data.size()));
    out.bytes(data);
}

// Windows FILETIME: hundreds of nanoseconds since 1601.
quint64 fileTime(const QDateTime &time)
{
    const QDateTime epoch(QDate(1601, 1, 1), QTime(0, 0), Qt::UTC);
    return quint64(epoch.msecsTo(time)) * 10000;
}

// Every folder a file lies in gets an entry of its own ("/", "/pictures/"): readers list
// a folder's contents from its entry on.
void addFolders(const QByteArray &name, QMap<QByteArray, QByteArray> *folders)
{
    for (qsizetype slash = name.indexOf('/'); slash >= 0; slash = name.indexOf('/', slash + 1)) {
        const QByteArray folder = name.left(slash + 1);
        folders->insert(folder.toLower(), folder);
    }
}

} // namespace

void ChmWriter::addFile(const QString &name, const QByteArray &bytes)
{
    m_files.append({name, bytes});
}

void ChmWriter::addTopic(const QString &name, const QString &title)
{
    m_topics.append({name, title});
}

bool ChmWriter::checkName(const QString &name, QString *error) const
{
    const QStringList parts = name.split(u'/');
    if (name.isEmpty() || name.contains(u'\\') || parts.contains(QString()) || parts.contains(QStringLiteral("."))
        || parts.contains(QStringLiteral(".."))) {
        *error = QStringLiteral("“%1” is not a relative path inside the help").arg(name);
        return false;
    }
    // The format keeps "/#..." and "/$..." for its own files.
    if (name.startsWith(u'#') || name.startsWith(u'$')) {
        *error = QStringLiteral("“%1”: names starting with # or $ are the format's own").arg(name);
        return false;
    }
    if (entryName(name).size() > LongestName) {
        *error = QStringLiteral("“%1” is longer than the %2 bytes readers accept").arg(name).arg(LongestName);
        return false;
    }
    return true;
}

bool ChmWriter::check(QString *error) const
{
    if (!ChmCodePage(m_language).isValid()) {
        *error = QStringLiteral("no code page known for language 0x%1").arg(m_language, 4, 16, QLatin1Char('0'));
        return false;
    }
    return checkNames(error) && checkReferences(error);
}

bool ChmWriter::checkNames(QString *error) const
{
    QSet<QString> seen;
    for (const File &file : m_files) {
        if (!checkName(file.name, error))
            return false;
        // Lookups ignore case: two names that differ only in case would hide one file.
        const QString key = file.name.toLower();
        if (seen.contains(key)) {
            *error = QStringLiteral("“%1” is in the help twice (names ignore letter case)").arg(file.name);
            return false;
        }
        seen.insert(key);
    }
    return true;
}

bool ChmWriter::checkReferences(QString *error) const
{
    QSet<QString> names;
    for (const File &file : m_files)
        names.insert(file.name.toLower());
    for (const Topic &topic : m_topics) {
        if (!names.contains(topic.name.toLower())) {
            *error = QStringLiteral("the topic “%1” is not among the files").arg(topic.name);
            return false;
        }
    }
    if (!names.contains(m_defaultTopic.toLower())) {
        *error = QStringLiteral("the default topic “%1” is not among the files").arg(m_defaultTopic);
        return false;
    }
    if (!m_contentsFile.isEmpty() && !names.contains(m_contentsFile.toLower())) {
        *error = QStringLiteral("the contents file “%1” is not among the files").arg(m_contentsFile);
        return false;
    }
    return true;
}

QByteArray ChmWriter::languageRecord() const
{
    ChmStream out;
    out.u32(m_language);
    out.u32(0); // single-byte code page
    out.u32(0); // no full-text search index
    out.u32(0); // no keyword links
    out.u32(0); // no associative links
    out.u64(fileTime(m_timestamp));
    out.u32(0);
    out.u32(0);
    return out.data();
}

QByteArray ChmWriter::systemFile(const QByteArray &title) const
{
    ChmStream out;
    out.u32(3); // the version that carries the 36-byte language record
    systemRecord(out, CompilerCode, nulTerminated("chmc 1.0"));
    systemRecord(out, LanguageCode, languageRecord());
    systemRecord(out, DefaultTopicCode, nulTerminated(m_defaultTopic.toUtf8()));
    systemRecord(out, TitleCode, nulTerminated(title));
    if (!m_contentsFile.isEmpty())
        systemRecord(out, ContentsFileCode, nulTerminated(m_contentsFile.toUtf8()));
    return out.data();
}

bool ChmWriter::topicFiles(const ChmCodePage &codePage, QList<File> *files, QString *error) const
{
    ChmTopics topics;
    for (const Topic &topic : m_topics) {
        QByteArray title;
        QString missing;
        if (!codePage.encode(topic.title, &title, &missing)) {
            *error = QStringLiteral("%1: the title has “%2”, which %3 cannot store").arg(topic.name, missing, codePage.name());
            return false;
        }
        topics.add(topic.name.toUtf8(), title);
    }
    const ChmTopicFiles tables = topics.files();
    files->append({QStringLiteral("#TOPICS"), tables.topics});
    files->append({QStringLiteral("#STRINGS"), tables.strings});
    files->append({QStringLiteral("#URLTBL"), tables.urlTable});
    files->append({QStringLiteral("#URLSTR"), tables.urlStrings});
    return true;
}

// The names of the content sections, UTF-16 with lengths in characters. Only section 0
// exists: nothing is compressed, and readers look for the LZX section's files by name
// and do without it when they are absent.
QByteArray ChmWriter::nameList()
{
    const QString name = QStringLiteral("Uncompressed");
    ChmStream out;
    out.u16(0); // the length in 16-bit words, once known
    out.u16(1);
    out.u16(quint32(name.size()));
    for (const QChar c : name)
        out.u16(c.unicode());
    out.u16(0);
    QByteArray list = out.data();
    qToLittleEndian(quint16(list.size() / 2), list.data());
    return list;
}

QByteArray ChmWriter::build(QString *error) const
{
    if (!check(error))
        return {};
    const ChmCodePage codePage(m_language);
    QByteArray title;
    QString missing;
    if (!codePage.encode(m_title, &title, &missing)) {
        *error = QStringLiteral("the title has “%1”, which %2 cannot store").arg(missing, codePage.name());
        return {};
    }
    QList<File> files = m_files;
    if (!topicFiles(codePage, &files, error))
        return {};
    files.append({QStringLiteral("#SYSTEM"), systemFile(title)});
    return pack(files);
}

// Every file goes into content section 0 as it is; the directory says where.
QByteArray ChmWriter::pack(const QList<File> &files) const
{
    ChmStream content;
    QList<ChmEntry> entries;
    QMap<QByteArray, QByteArray> folders;
    const auto store = [&](const QByteArray &name, const QByteArray &bytes) {
        entries.append({name, UncompressedSection, quint64(content.size()), quint64(bytes.size())});
        content.bytes(bytes);
    };
    for (const File &file : std::as_const(files)) {
        store(entryName(file.name), file.bytes);
        addFolders(entryName(file.name), &folders);
    }
    store("::DataSpace/NameList", nameList());
    for (const QByteArray &folder : std::as_const(folders))
        entries.append({folder, UncompressedSection, 0, 0});
    return assemble(entries, content.data());
}

QByteArray ChmWriter::assemble(const QList<ChmEntry> &entries, const QByteArray &content) const
{
    const QByteArray directory = ChmDirectory(entries, m_language).bytes();
    const quint64 directoryAt = ItsfHeaderSize + HeaderSectionSize;
    const quint64 contentAt = directoryAt + quint64(directory.size());

    ChmStream out;
    out.bytes("ITSF");
    out.u32(3);
    out.u32(ItsfHeaderSize);
    out.u32(1);
    // Stored big-endian, unlike everything else; readers ignore it.
    out.u32(qToBigEndian(quint32(m_timestamp.toSecsSinceEpoch())));
    out.u32(m_language);
    out.guid("{7C01FD10-7BAA-11D0-9E0C-00A0C922E6EC}");
    out.guid("{7C01FD11-7BAA-11D0-9E0C-00A0C922E6EC}");
    out.u64(ItsfHeaderSize);
    out.u64(HeaderSectionSize);
    out.u64(directoryAt);
    out.u64(quint64(directory.size()));
    out.u64(contentAt);
    Q_ASSERT(quint64(out.size()) == ItsfHeaderSize);

    out.u32(0x01fe);
    out.u32(0);
    out.u64(contentAt + quint64(content.size())); // the whole file's size
    out.u32(0);
    out.u32(0);
    out.bytes(directory);
    out.bytes(content);
    return out.data();
}

bool ChmWriter::save(const QString &fileName, QString *error) const
{
    const QByteArray bytes = build(error);
    return !bytes.isEmpty() && AtomicFile::write(fileName, bytes, error);
}
