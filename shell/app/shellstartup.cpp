#include "shellstartup.h"

#include "environment.h"
#include "windowauth.h"
#include "windowmain.h"

#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QStyleFactory>

#include <memory>

void ShellStartup::applyLook()
{
    QApplication::setWindowIcon(QIcon(QStringLiteral("theme/theme.ico")));
    courseTitle = QObject::tr("Веларин");
    QFile styleSheet(QStringLiteral("theme/style.qss"));
    styleSheet.open(QIODevice::ReadOnly);
    qApp->setStyleSheet(styleSheetText(styleSheet.readAll()));
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

bool ShellStartup::nobodySignedIn()
{
    return pupilDir == QDir(courseDataPath());
}

bool ShellStartup::writeFlashSettings()
{
    const char bytes[2] = {char(firstScreenVisible ? 1 : 0), char(flashSetting2 & 0xff)};
    QSaveFile file(flashSettingsFile.fileName());
    if (!flashSettingsFile.fileName().isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes, 2) == 2
        && file.commit())
        return true;
    qWarning().noquote() << "cannot write the Flash settings" << flashSettingsFile.fileName() << ':'
                         << file.errorString();
    return false;
}

int ShellStartup::run()
{
    applyLook();
    fillTables();
    std::unique_ptr<WindowMain> window(createMainWindow());
    std::unique_ptr<WindowAuth> auth(new WindowAuth(window.get()));
    auth->exec();
    if (nobodySignedIn())
        return 0;
    window->setupSheets();
    QApplication::exec();
    writeFlashSettings();
    return 0;
}
