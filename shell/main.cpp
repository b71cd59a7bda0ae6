#include "russianui.h"
#include "shellstartup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The web engine keeps the movies' local data under the program's name: the installed
    // program (pellora-shell) keeps the one the build folder's program has always used.
    QCoreApplication::setApplicationName(QStringLiteral("shell"));
    // Windows belong to the menu entry (task bars, Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.pellora.shell"));
    RussianUi::install(app);
    if (!ShellStartup::enterCourse(QCoreApplication::arguments()))
        return 0;
    return ShellStartup().run();
}
