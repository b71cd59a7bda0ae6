#include "classbackup.h"

#include "pupilfolders.h"
#include "pupillock.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>

#include <archive.h>
#include <archive_entry.h>

#include <memory>

#ifdef Q_OS_UNIX
#include <clocale>
#include <cstring>
#include <langinfo.h>
#endif

namespace {

const QString kPupils = QStringLiteral("pupils");
const QString kRemoved = QStringLiteral("removed");
const QStringList kClassFolders = {kPupils, kRemoved};
const QStringList kClassFiles = {QStringLiteral("teacher.ini"), QStringLiteral("lastpupil")};
constexpr int kMaxNameBytes = 4096;

struct ArchiveDeleter
{
    void operator()(archive *a) const
    {
        // Frees a reader or a writer alike (a writer is closed first).
        archive_free(a);
    }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveDeleter>;

struct EntryDeleter
{
    void operator()(archive_entry *e) const { archive_entry_free(e); }
};
using EntryPtr = std::unique_ptr<archive_entry, EntryDeleter>;

QString archiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromLocal8Bit(text) : QString();
}

// libarchive turns names to and from the thread's character set; in a "C" locale Cyrillic
// names would not come through. The names in a copy are always UTF-8, so for as long as a
// copy is read or written this thread works in UTF-8.
class Utf8Names
{
public:
    Utf8Names()
    {
#ifdef Q_OS_UNIX
        if (std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0)
            return;
        m_utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
        if (m_utf8)
            m_previous = uselocale(m_utf8);
#endif
    }
    ~Utf8Names()
    {
#ifdef Q_OS_UNIX
        if (m_utf8) {
            uselocale(m_previous);
            freelocale(m_utf8);
        }
#endif
    }
    Utf8Names(const Utf8Names &) = delete;
    Utf8Names &operator=(const Utf8Names &) = delete;

private:
#ifdef Q_OS_UNIX
    locale_t m_utf8 = locale_t(0);
    locale_t m_previous = locale_t(0);
#endif
};

la_ssize_t writeToSaveFile(archive *, void *file, const void *buffer, size_t length)
{
    const qint64 written = static_cast<QSaveFile *>(file)->write(static_cast<const char *>(buffer), qint64(length));
    return written == qint64(length) ? la_ssize_t(written) : -1;
}

bool isInside(const QString &path, const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return !canonical.isEmpty() && (path == canonical || path.startsWith(canonical + QLatin1Char('/')));
}

class Writer
{
public:
    explicit Writer(archive *a) : m_archive(a) {}

    bool addFolder(const QString &name, const QFileInfo &info)
    {
        EntryPtr entry(archive_entry_new());
        archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
        archive_entry_set_filetype(entry.get(), AE_IFDIR);
        archive_entry_set_perm(entry.get(), 0755);
        archive_entry_set_mtime(entry.get(), info.lastModified().toSecsSinceEpoch(), 0);
        return archive_write_header(m_archive, entry.get()) == ARCHIVE_OK;
    }

    // The file is read whole first, so that a pupil's file rewritten meanwhile still goes in
    // with the size its header claims.
    bool addFile(const QString &name, const QFileInfo &info, QString *error)
    {
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly)) {
            *error = ClassBackup::tr("не могу прочитать файл %1: %2").arg(name, file.errorString());
            return false;
        }
        const QByteArray bytes = file.readAll();
        EntryPtr entry(archive_entry_new());
        archive_entry_set_pathname_utf8(entry.get(), name.toUtf8().constData());
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        archive_entry_set_size(entry.get(), bytes.size());
        archive_entry_set_mtime(entry.get(), info.lastModified().toSecsSinceEpoch(), 0);
        if (archive_write_header(m_archive, entry.get()) != ARCHIVE_OK
            || archive_write_data(m_archive, bytes.constData(), size_t(bytes.size())) != la_ssize_t(bytes.size())) {
            *error = ClassBackup::tr("не могу записать в копию файл %1: %2").arg(name, archiveError(m_archive));
            return false;
        }
        return true;
    }

    // Symbolic links are left out: what they point at is not the class's.
    bool addTree(const QDir &courseFolder, const QString &top, int *pupils, QString *error)
    {
        const QFileInfo root(courseFolder.filePath(top));
        if (!root.isDir() || root.isSymLink())
            return true;
        if (!addFolder(top, root)) {
            *error = archiveError(m_archive);
            return false;
        }
        *pupils += QDir(root.filePath()).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks).size();
        QDirIterator it(root.filePath(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            const QString name = courseFolder.relativeFilePath(info.filePath());
            if (info.isDir()) {
                if (!addFolder(name, info)) {
                    *error = archiveError(m_archive);
                    return false;
                }
            } else if (info.fileName() == PupilLock::fileBaseName()) {
                continue; // who works where today, no part of the class to bring back another day
            } else if (info.isFile() && !addFile(name, info, error)) {
                return false;
            }
        }
        return true;
    }

private:
    archive *m_archive;
};

// What a name in a copy may be: a class file, or a path of plain parts under one of the class
// folders. Anything else is refused, not repaired: a copy this program wrote never has it.
bool acceptableName(const QString &name, bool folder)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    }
    if (parts.size() == 1)
        return folder ? kClassFolders.contains(parts.first()) : kClassFiles.contains(parts.first());
    // A file straight in pupils/ would be a pupil that is not a folder.
    return kClassFolders.contains(parts.first()) && (folder || parts.size() >= 3);
}

class Extractor
{
public:
    Extractor(archive *a, const QString &into) : m_archive(a), m_into(into) {}

    bool run(QString *error)
    {
        int entries = 0;
        archive_entry *entry = nullptr;
        for (;;) {
            const int status = archive_read_next_header(m_archive, &entry);
            if (status == ARCHIVE_EOF)
                return true;
            if (status < ARCHIVE_WARN) {
                *error = ClassBackup::tr("копия повреждена: %1").arg(archiveError(m_archive));
                return false;
            }
            if (++entries > ClassBackup::kMaxEntries) {
                *error = ClassBackup::tr("в копии больше %1 файлов — это не копия класса").arg(ClassBackup::kMaxEntries);
                return false;
            }
            if (!extract(entry, error))
                return false;
        }
    }

private:
    bool extract(archive_entry *entry, QString *error)
    {
        const char *utf8 = archive_entry_pathname_utf8(entry);
        if (!utf8 || qstrlen(utf8) > kMaxNameBytes) {
            *error = ClassBackup::tr("в копии есть файл с нечитаемым именем");
            return false;
        }
        QString name = QString::fromUtf8(utf8);
        const auto type = archive_entry_filetype(entry);
        const bool folder = type == AE_IFDIR;
        if (archive_entry_hardlink(entry) || archive_entry_symlink(entry) || (type != AE_IFREG && !folder)) {
            *error = ClassBackup::tr("в копии есть «%1» — не файл и не папка").arg(name);
            return false;
        }
        if (folder && name.endsWith(QLatin1Char('/')))
            name.chop(1);
        if (!acceptableName(name, folder)) {
            *error = ClassBackup::tr("в копии есть «%1» — это не файл класса").arg(name);
            return false;
        }
        const QString path = m_into + QLatin1Char('/') + name;
        if (folder) {
            if (!QDir().mkpath(path)) {
                *error = ClassBackup::tr("не могу создать папку %1").arg(QDir::toNativeSeparators(path));
                return false;
            }
            return true;
        }
        return extractFile(entry, name, path, error);
    }

    bool extractFile(archive_entry *entry, const QString &name, const QString &path, QString *error)
    {
        if (archive_entry_size_is_set(entry) && archive_entry_size(entry) > ClassBackup::kMaxTotalBytes - m_total)
            return tooBig(error);
        QDir().mkpath(QFileInfo(path).path());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly)) {
            *error = ClassBackup::tr("не могу записать файл %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        char buffer[64 * 1024];
        for (;;) {
            const la_ssize_t got = archive_read_data(m_archive, buffer, sizeof buffer);
            if (got == 0)
                break;
            if (got < 0) {
                *error = ClassBackup::tr("копия повреждена в файле «%1»: %2").arg(name, archiveError(m_archive));
                return false;
            }
            m_total += got;
            if (m_total > ClassBackup::kMaxTotalBytes)
                return tooBig(error);
            if (file.write(buffer, got) != got)
                break;
        }
        if (!file.commit()) {
            *error = ClassBackup::tr("не могу записать файл %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
            return false;
        }
        QFile written(path);
        if (archive_entry_mtime_is_set(entry) && written.open(QIODevice::Append))
            written.setFileTime(QDateTime::fromSecsSinceEpoch(archive_entry_mtime(entry)), QFileDevice::FileModificationTime);
        return true;
    }

    static bool tooBig(QString *error)
    {
        *error = ClassBackup::tr("копия больше %1 ГБ — это не копия класса").arg(ClassBackup::kMaxTotalBytes >> 30);
        return false;
    }

    archive *m_archive;
    QString m_into;
    qint64 m_total = 0;
};

struct Move
{
    QString staged;
    QString target;
    bool replace;
};

} // namespace

ClassBackup::Result ClassBackup::save(const QDir &courseFolder, const QString &archiveFile)
{
    Result result;
    const QString archivePath = QFileInfo(QFileInfo(archiveFile).absolutePath()).canonicalFilePath();
    for (const QString &top : kClassFolders) {
        if (isInside(archivePath, courseFolder.filePath(top))) {
            result.error = tr("Копию нельзя сохранить в папку учеников: выберите другую папку.");
            return result;
        }
    }
    const Utf8Names utf8;
    QSaveFile out(archiveFile);
    if (!out.open(QIODevice::WriteOnly)) {
        result.error = tr("Не могу создать файл %1: %2").arg(QDir::toNativeSeparators(archiveFile), out.errorString());
        return result;
    }
    ArchivePtr a(archive_write_new());
    archive_write_set_format_zip(a.get());
    // Names flagged as UTF-8, so that Cyrillic names read the same on Windows; and no padding
    // after the end of the archive, which some ZIP readers take for damage.
    archive_write_set_options(a.get(), "zip:hdrcharset=UTF-8");
    archive_write_set_bytes_in_last_block(a.get(), 1);
    if (archive_write_open(a.get(), &out, nullptr, writeToSaveFile, nullptr) != ARCHIVE_OK) {
        result.error = tr("Не могу начать копию: %1").arg(archiveError(a.get()));
        return result;
    }
    Writer writer(a.get());
    QString error;
    bool ok = true;
    for (const QString &top : kClassFolders)
        ok = ok && writer.addTree(courseFolder, top, &result.pupils, &error);
    for (const QString &name : kClassFiles) {
        const QFileInfo info(courseFolder.filePath(name));
        ok = ok && (!info.isFile() || writer.addFile(name, info, &error));
    }
    if (ok && archive_write_close(a.get()) != ARCHIVE_OK) {
        error = archiveError(a.get());
        ok = false;
    }
    if (!ok) {
        out.cancelWriting();
        result.error = tr("Копия не сохранена: %1").arg(error.isEmpty() ? out.errorString() : error);
        return result;
    }
    if (!out.commit()) {
        result.error = tr("Не могу сохранить файл %1: %2").arg(QDir::toNativeSeparators(archiveFile), out.errorString());
        return result;
    }
    result.ok = true;
    return result;
}

ClassBackup::Result ClassBackup::restore(const QString &archiveFile, const QDir &courseFolder, const Ask &ask)
{
    Result result;
    if (!QDir().mkpath(courseFolder.absolutePath())) {
        result.error = tr("Не могу создать папку %1").arg(QDir::toNativeSeparators(courseFolder.absolutePath()));
        return result;
    }
    // Beside the pupils, so that moving a folder into place is a rename on the same disk.
    QTemporaryDir staging(courseFolder.filePath(QStringLiteral(".restore-XXXXXX")));
    if (!staging.isValid()) {
        result.error = tr("Не могу создать временную папку в %1: %2")
                           .arg(QDir::toNativeSeparators(courseFolder.absolutePath()), staging.errorString());
        return result;
    }
    const QString unpacked = staging.filePath(QStringLiteral("copy"));
    const QString aside = staging.filePath(QStringLiteral("old"));
    QDir().mkpath(unpacked);
    QDir().mkpath(aside);

    const Utf8Names utf8;
    ArchivePtr a(archive_read_new());
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(archiveFile).constData(), 64 * 1024) != ARCHIVE_OK) {
        result.error = tr("Не могу открыть копию %1: %2").arg(QDir::toNativeSeparators(archiveFile), archiveError(a.get()));
        return result;
    }
    QString error;
    if (!Extractor(a.get(), unpacked).run(&error)) {
        result.error = tr("Класс не восстановлен: %1.").arg(error);
        return result;
    }
    a.reset();

    // Every question first: a cancel leaves the class exactly as it was.
    QList<Move> moves;
    for (const QString &top : kClassFolders) {
        const QStringList names = QDir(unpacked + QLatin1Char('/') + top).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString &name : names) {
            const QString folder = top + QLatin1Char('/') + name;
            Move move{unpacked + QLatin1Char('/') + folder, courseFolder.filePath(folder), PupilFolders::isTaken(courseFolder.filePath(folder))};
            if (move.replace) {
                const Answer answer = ask(folder, name);
                if (answer == Answer::Cancel) {
                    result.cancelled = true;
                    return result;
                }
                if (answer == Answer::Skip) {
                    ++result.skipped;
                    continue;
                }
            }
            moves.append(move);
        }
    }

    int n = 0;
    for (const Move &move : moves) {
        QDir().mkpath(QFileInfo(move.target).path());
        const QString old = aside + QLatin1Char('/') + QString::number(++n);
        if (move.replace && !QDir().rename(move.target, old)) {
            result.error = tr("Не могу заменить папку %1.").arg(QDir::toNativeSeparators(move.target));
            return result;
        }
        if (!QDir().rename(move.staged, move.target)) {
            result.error = tr("Не могу восстановить папку %1.").arg(QDir::toNativeSeparators(move.target));
            if (move.replace && !QDir().rename(old, move.target)) {
                // The pupil's own folder must not go with the temporary one.
                staging.setAutoRemove(false);
                result.error += QLatin1Char(' ')
                    + tr("Прежняя папка ученика сохранена как %1.").arg(QDir::toNativeSeparators(old));
            }
            return result;
        }
        ++result.pupils;
    }
    for (const QString &name : kClassFiles) {
        const QString staged = unpacked + QLatin1Char('/') + name;
        if (QFileInfo(staged).isFile() && !PupilFolders::isTaken(courseFolder.filePath(name)))
            QFile::rename(staged, courseFolder.filePath(name));
    }
    result.ok = true;
    return result;
}
