#include "environment.h"

#include "contentmodel.h"
#include "contentmodelproxy.h"
#include "favoritesmodel.h"
#include "favoritesmodelproxy.h"
#include "installation.h"
#include "markbookmodel.h"
#include "pagelist.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

QString courseTitle;
QString courseCode = QStringLiteral("01");
QDir pupilDir{QString()};
QMap<QString, QString> groupCaptions;
QMap<QString, QIcon> groupIconsBig;
QMap<QString, QIcon> groupIconsSmall;
WindowMain *mainWindow = nullptr;
QFile flashSettingsFile;
bool firstScreenVisible = false;
int flashSetting2 = 0;
ContentModel *contentModel = nullptr;
ContentModelProxy *contentProxy = nullptr;
MarkbookModel *markbookModel = nullptr;
FavoritesModel *favoritesModel = nullptr;
FavoritesModelProxy *favoritesProxy = nullptr;
QFileSystemWatcher *commentsWatcher = nullptr;
QMap<QString, int> commentsOpen;
qint64 helpProcessId = 0;
// Empty while the course's own theme folder is used.
static QString installedTheme;

void ensureContentModel()
{
    if (contentModel)
        return;
    contentModel = new ContentModel;
    contentProxy = new ContentModelProxy;
    contentProxy->setSourceModel(contentModel);
}

void ensureMarkbookModel()
{
    if (markbookModel)
        return;
    markbookModel = new MarkbookModel;
    // Told once the event that brought the news is done (a movie's call, the sign-in), not
    // from inside it; what fails at exit is no longer told.
    QObject::connect(
        markbookModel, &MarkbookModel::saveFailed, markbookModel,
        [told = false](const QString &file) mutable {
            if (told)
                return;
            told = true;
            QMessageBox::warning(QApplication::activeWindow(), QObject::tr("Ошибка"),
                                 QObject::tr("Не могу сохранить журнал в папке %1. Оценки этого занятия могут не "
                                             "сохраниться.")
                                     .arg(QDir::toNativeSeparators(QFileInfo(file).absolutePath())));
        },
        Qt::QueuedConnection);
    QObject::connect(
        markbookModel, &MarkbookModel::replaced, markbookModel,
        [](const QString &keptAs) {
            QMessageBox::warning(QApplication::activeWindow(), QObject::tr("Журнал"),
                                 QObject::tr("Журнал не удалось прочитать, поэтому заведён новый. Прежний файл "
                                             "сохранён как %1.")
                                     .arg(QDir::toNativeSeparators(keptAs)));
        },
        Qt::QueuedConnection);
}

void ensureFavoritesModel()
{
    if (favoritesModel)
        return;
    favoritesModel = new FavoritesModel;
    favoritesProxy = new FavoritesModelProxy;
    favoritesProxy->setSourceModel(favoritesModel);
    QObject::connect(favoritesModel, &FavoritesModel::saveFailed, favoritesModel, [told = false](const QString &file) mutable {
        if (told)
            return;
        told = true;
        QMessageBox::warning(QApplication::activeWindow(), QObject::tr("Ошибка"),
                             QObject::tr("Не могу сохранить избранное в файл %1.")
                                 .arg(QDir::toNativeSeparators(file)));
    });
}

const QStringList &pageList()
{
    static const QStringList pages = PageList::scan(QDir::current().absoluteFilePath(QStringLiteral("data/textbook")));
    return pages;
}

const QStringList &groupKeys()
{
    static const QStringList keys = {
        QStringLiteral("ani"), QStringLiteral("pra"), QStringLiteral("wrk"), QStringLiteral("rzv"),
        QStringLiteral("con"), QStringLiteral("slv"), QStringLiteral("igr")};
    return keys;
}

static QIcon iconFromTheme(const QString &relativePath)
{
    return QIcon(QDir::current().absoluteFilePath(themed(relativePath)));
}

void fillGroupTables()
{
    const QString captions[] = {
        QObject::tr("Анимации"),
        QObject::tr("Упражнения"),
        QObject::tr("Упражнения из рабочей тетради"),
        QObject::tr("Задания на развитие речи"),
        QObject::tr("Проверочные работы"),
        QObject::tr("Словарная работа"),
        QObject::tr("Игра"),
    };
    const QStringList &keys = groupKeys();
    for (int i = 0; i < keys.size(); ++i)
        groupCaptions.insert(keys[i], captions[i]);
    for (const QString &key : keys)
        groupIconsBig.insert(key, iconFromTheme(QStringLiteral("theme/other/icons/groups/big/ico_%1.png").arg(key)));
    groupIconsBig.insert(QStringLiteral("folder_expanded"), iconFromTheme(QStringLiteral("theme/other/icons/folder_expanded.png")));
    groupIconsBig.insert(QStringLiteral("folder_collapsed"), iconFromTheme(QStringLiteral("theme/other/icons/folder_collapsed.png")));
    for (const QString &key : keys)
        groupIconsSmall.insert(key, iconFromTheme(QStringLiteral("theme/other/icons/groups/small/ico_%1.png").arg(key)));
}

static const char courseDataVariable[] = "PELLORA_COURSE_DATA";

// The folder the school named and where it named it; both empty when it named none. Read on
// every call, not kept: a school's log-in script and the tests set the variable before start.
static QPair<QString, QString> schoolCourseData()
{
    QString path = qEnvironmentVariable(courseDataVariable);
    QString where = QString::fromLatin1(courseDataVariable);
    if (path.isEmpty()) {
        const QSettings settings(QSettings::SystemScope, QStringLiteral("pellora"), QStringLiteral("shell"));
        path = settings.value(QStringLiteral("courseData")).toString();
        where = settings.fileName();
    }
    if (path.isEmpty())
        return {};
    // A relative name is taken from the installation folder, as the course's own files are.
    return {QDir::cleanPath(QDir::current().absoluteFilePath(path)), where};
}

QString courseDataSetting()
{
    return schoolCourseData().second;
}

QString courseDataPath()
{
    const QString school = schoolCourseData().first;
    if (!school.isEmpty())
        return school;
#ifdef Q_OS_WIN
    const QString base = QDir::homePath() + QStringLiteral("/Application Data");
#else
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
    return base + QStringLiteral("/pellora/") + courseTitle + QLatin1Char('/') + courseCode;
}

QString mainWindowTitle()
{
    // Another course is named by its own title: task bars and screen readers must not call
    // it the demo book.
    if (!courseTitle.isEmpty() && courseTitle != QObject::tr("Веларин"))
        return courseTitle;
    return QObject::tr("Веларин. 1\u00a0класс") + QStringLiteral(" (") + QObject::tr("авторы: Н. А. Светлова, П. И. Рябинин")
        + QLatin1Char(')');
}

void chooseTheme()
{
    installedTheme.clear();
    if (QFileInfo(QStringLiteral("theme")).isDir())
        return;
    const QString installed = Installation::folder() + QStringLiteral("/theme");
    if (QFileInfo(installed).isDir())
        installedTheme = installed;
}

QString themed(const QString &name)
{
    static const QString prefix = QStringLiteral("theme");
    if (installedTheme.isEmpty() || !name.startsWith(prefix))
        return name;
    return installedTheme + name.mid(prefix.size());
}

QString helpFile()
{
    const QString name = QStringLiteral("help.chm");
    const QString installed = Installation::folder() + QLatin1Char('/') + name;
    return QFileInfo::exists(name) || !QFileInfo::exists(installed) ? name : installed;
}
