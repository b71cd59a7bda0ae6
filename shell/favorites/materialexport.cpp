#include "materialexport.h"

#include "materialdescription.h"
#include "materialid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString dataFolder()
{
    return QFileInfo(QDir::current().absoluteFilePath(QStringLiteral("data"))).canonicalFilePath();
}

// Only files of the installation's data folder leave with a material, whatever a
// description names.
bool isCourseFile(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString data = dataFolder();
    return !canonical.isEmpty() && !data.isEmpty() && canonical.startsWith(data + QLatin1Char('/'))
           && QFileInfo(canonical).isFile();
}

QString tr(const char *text)
{
    return QCoreApplication::translate("MaterialExport", text);
}

} // namespace

const QStringList &MaterialExport::templates()
{
    static const QStringList names = {
        QStringLiteral("data/templates/testContener.swf"),   QStringLiteral("data/templates/test_character1.swf"),
        QStringLiteral("data/templates/choiceAnswer.swf"),   QStringLiteral("data/templates/connectionLines.swf"),
        QStringLiteral("data/templates/dragToColumns.swf"),  QStringLiteral("data/templates/dragWord.swf"),
        QStringLiteral("data/templates/selectWord.swf"),     QStringLiteral("data/templates/writeWord.swf")};
    return names;
}

bool MaterialExport::isExportable(const QString &type)
{
    return type != QLatin1String("gme");
}

QStringList MaterialExport::mediaOfExercise(const QString &source)
{
    QFile file(QDir(source).filePath(QStringLiteral("normal.xml")));
    MaterialDescription description;
    if (!file.open(QIODevice::ReadOnly) || !description.read(file.readAll()) || !description.isObject())
        return {};
    QStringList files;
    for (const MaterialDescription::Medium &medium : description.media()) {
        const QString media = QDir::cleanPath(QDir(source).absoluteFilePath(medium.file));
        files << media << QFileInfo(media).dir().filePath(QStringLiteral("style.css"));
    }
    return files;
}

QStringList MaterialExport::filesToCopy(const QString &source, const QString &type)
{
    QStringList files;
    for (const QFileInfo &file : QDir(source).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
        files << file.absoluteFilePath();
    if (type == QLatin1String("pra"))
        files << mediaOfExercise(source);
    if (type == QLatin1String("con")) {
        for (const QString &name : templates())
            files << QDir::current().absoluteFilePath(name);
    }
    return files;
}

MaterialExport::Result MaterialExport::run(const QString &id, const QString &type, const QString &targetFolder)
{
    Result result;
    if (!isExportable(type)) {
        result.outcome = NotExportable;
        return result;
    }
    const QString source = MaterialId::folder(id);
    if (source.isEmpty() || !QFileInfo(source).isDir()) {
        result.outcome = NoSource;
        result.detail = source.isEmpty() ? id : source;
        return result;
    }
    QDir target(targetFolder);
    result.folder = target.absoluteFilePath(id);
    if (!target.mkdir(id)) {
        result.outcome = QFileInfo::exists(result.folder) ? TargetExists : CopyFailed;
        result.detail = tr("папку нельзя создать");
        return result;
    }
    const QDir made(result.folder);
    for (const QString &file : filesToCopy(source, type)) {
        const QString copy = made.filePath(QFileInfo(file).fileName());
        // Missing and doubled files are skipped, as are files outside the course.
        if (!isCourseFile(file) || QFileInfo::exists(copy))
            continue;
        QFile from(file);
        if (!from.copy(copy)) {
            result.outcome = CopyFailed;
            result.detail = QStringLiteral("%1: %2").arg(QFileInfo(file).fileName(), from.errorString());
            QDir(result.folder).removeRecursively(); // nothing half-made stays behind
            return result;
        }
    }
    result.outcome = Done;
    return result;
}

QString MaterialExport::message(const Result &result)
{
    const QString folder = QDir::toNativeSeparators(result.folder);
    switch (result.outcome) {
    case Done:
        return tr("Материал скопирован в папку %1.").arg(folder);
    case NotExportable:
        return tr("Этот материал нельзя скопировать.");
    case NoSource:
        return tr("Нет файлов материала: %1.").arg(QDir::toNativeSeparators(result.detail));
    case TargetExists:
        return tr("Папка %1 уже есть. Выберите другое место.").arg(folder);
    case CopyFailed:
        return tr("Не удалось скопировать материал в папку %1 (%2). Ничего не скопировано.").arg(folder, result.detail);
    }
    return QString();
}
