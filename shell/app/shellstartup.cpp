#include "shellstartup.h"

#include "atomicfile.h"
#include "coursefolder.h"
#include "environment.h"
#include "flashengine.h"
#include "flashfiles.h"
#include "flashspace.h"
#include "installation.h"
#include "pupillock.h"
#include "singleinstance.h"
#include "windowauth.h"
#include "windowmain.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStyleFactory>
#include <QTextStream>
#include <QTimer>

#include <functional>
#include <memory>

bool ShellStartup::enterCourse(const QStringList &arguments)
{
    const QString folder = CourseFolder::chosen(arguments);
    const QString missing = CourseFolder::missingPart(folder);
    if (missing.isEmpty() && QDir::setCurrent(folder)) {
        chooseTheme();
        return true;
    }
    const QString text = missing == folder
        ? QObject::tr("Папка курса %1 не найдена.").arg(QDir::toNativeSeparators(folder))
        : missing.isEmpty() ? QObject::tr("Не могу открыть папку курса %1.").arg(QDir::toNativeSeparators(folder))
        : QObject::tr("Папка %1 не содержит курса: в ней нет файла %2.")
              .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(missing));
    QMessageBox::critical(nullptr, QObject::tr("Ошибка"), text, QMessageBox::Ok);
    return false;
}

void ShellStartup::applyLook()
{
    QApplication::setWindowIcon(QIcon(themed(QStringLiteral("theme/theme.ico"))));
    CourseFolder::readIdentity();
    QFile styleSheet(themed(QStringLiteral("theme/style.qss")));
    styleSheet.open(QIODevice::ReadOnly);
    QString style = styleSheetText(styleSheet.readAll());
    // The style sheet names its pictures as the course does; the installation's theme lies elsewhere.
    // Quoted: an installation path may hold spaces or brackets ("Program Files (x86)").
    const QString installed = themed(QStringLiteral("theme/"));
    if (installed != QLatin1String("theme/")) {
        static const QRegularExpression picture(QStringLiteral("url\\(theme/([^)]*)\\)"));
        style.replace(picture, QStringLiteral("url(\"") + installed + QStringLiteral("\\1\")"));
    }
    qApp->setStyleSheet(style);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
}

void ShellStartup::fillTables()
{
    fillGroupTables();
}

QString ShellStartup::styleSheetText(const QByteArray &bytes)
{
    const int zero = bytes.indexOf('\0');
    return QString::fromLatin1(zero < 0 ? bytes : bytes.left(zero));
}

WindowMain *ShellStartup::createMainWindow()
{
    auto *window = new WindowMain;
    window->maximize();
    window->show();
    return window;
}

namespace {

// Runs an action once, after the first paint of the widget it watches.
class AfterFirstPaint : public QObject
{
public:
    AfterFirstPaint(QWidget *widget, std::function<void()> action)
        : QObject(widget), m_action(std::move(action))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // After the paint has reached the screen, not inside it.
            QTimer::singleShot(0, m_action);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

} // namespace

void ShellStartup::warmUpPlayerAfterPaint(QWidget *signInWindow)
{
    new AfterFirstPaint(signInWindow, [] { FlashEngine::instance()->warmUp(); });
}

void ShellStartup::quitAfterPaint(QWidget *signInWindow)
{
    new AfterFirstPaint(signInWindow, [] {
        const bool ruffle = FlashFiles(QDir::currentPath(), Installation::ruffleFolder()).missingRuffleFiles().isEmpty();
        QTextStream(stdout) << "sign-in shown: course " << QDir::currentPath() << "; theme "
                            << QFileInfo(themed(QStringLiteral("theme"))).absoluteFilePath() << "; ruffle "
                            << (ruffle ? "found" : "missing") << "; pupils " << courseDataPath() << Qt::endl;
        // Every event loop ends, the modal one included, whatever the windows make of a close.
        QCoreApplication::exit(0);
    });
}

bool ShellStartup::nobodySignedIn()
{
    return pupilDir == QDir(courseDataPath());
}

bool ShellStartup::prepareCourseDataFolder()
{
    const QString folder = courseDataPath();
    const QString setting = courseDataSetting();
    if (setting.isEmpty()) {
        // When it cannot be made, the sign-in window says so: it finds no pupils folder there.
        QDir().mkpath(folder);
        return true;
    }
    if (QFileInfo(folder).isDir())
        return true;
    QMessageBox::critical(nullptr, QObject::tr("Ошибка"),
                          QObject::tr("Папка учеников %1 недоступна. Проверьте, подключена ли сетевая папка школы, "
                                      "или исправьте настройку %2.")
                              .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(setting)),
                          QMessageBox::Ok);
    return false;
}

bool ShellStartup::writeFlashSettings()
{
    const char bytes[2] = {char(firstScreenVisible ? 1 : 0), char(flashSetting2 & 0xff)};
    QString error = QStringLiteral("no pupil signed in");
    if (!flashSettingsFile.fileName().isEmpty() && AtomicFile::write(flashSettingsFile.fileName(), QByteArray(bytes, 2), &error))
        return true;
    qWarning().noquote() << "cannot write the Flash settings" << flashSettingsFile.fileName() << ':' << error;
    return false;
}

void ShellStartup::reportUnwritablePupilFolder(QWidget *parent)
{
    QMessageBox::critical(parent, QObject::tr("Ошибка"),
                          QObject::tr("Не могу записать файлы ученика в папку %1. Результаты работы могут не сохраниться.")
                              .arg(QDir::toNativeSeparators(pupilDir.absolutePath())),
                          QMessageBox::Ok);
}

void ShellStartup::reportSilentRunningShell()
{
    QMessageBox::critical(nullptr, QObject::tr("Ошибка"),
                          QObject::tr("Программа уже запущена, но не отвечает. Закройте её или перезагрузите компьютер."),
                          QMessageBox::Ok);
}

int ShellStartup::run()
{
    // The course's title names the data folder the lock is keyed on.
    applyLook();
    if (!prepareCourseDataFolder())
        return 0;
    SingleInstance instance(courseDataPath());
    if (!instance.claim()) {
        if (!instance.runningAnswered())
            reportSilentRunningShell();
        return 0;
    }
    fillTables();
    // Declared first, dropped last: the windows write the pupil's files as they are destroyed.
    std::unique_ptr<PupilLock> pupilLock;
    std::unique_ptr<WindowMain> window(createMainWindow());
    QObject::connect(&instance, &SingleInstance::forwardRequested, window.get(),
                     [main = window.get()] { SingleInstance::bringForward(main); });
    std::unique_ptr<WindowAuth> auth(new WindowAuth(window.get()));
    if (qEnvironmentVariableIsSet("PELLORA_QUIT_AT_SIGN_IN"))
        quitAfterPaint(auth.get());
    else
        warmUpPlayerAfterPaint(auth.get());
    auth->exec();
    if (nobodySignedIn())
        return 0;
    pupilLock = auth->takePupilLock();
    // One pupil's saved games and progress in movies are not the next pupil's.
    FlashEngine::instance()->setStorageSpace(FlashSpace::forPupil(pupilDir));
    window->setupSheets();
    // The keys go to the book at once, also where no window manager hands the focus back.
    window->activateWindow();
    // Said once, however many of the pupil's files failed: the pupil works on regardless.
    if (!auth->pupilFilesWritten() || !window->pupilFilesWritten())
        reportUnwritablePupilFolder(window.get());
    QApplication::exec();
    writeFlashSettings();
    return 0;
}
