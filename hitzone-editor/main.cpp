#include "mainwindow.h"
#include "russianui.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    RussianUi::install(app);
    // The editor reads only the files the author opens; its icon is the one its menu entry
    // shows, from the desktop's icon theme once installed (none in a build folder).
    QGuiApplication::setDesktopFileName(QStringLiteral("ru.pellora.hitzoneeditor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("pellora-hitzone-editor")));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    MainWindow window;
    window.show();
    // Hitzone files named on the command line (a file manager's "open with") open as pages.
    const QStringList files = QApplication::arguments().mid(1);
    for (const QString &file : files)
        window.openFile(file);
    return app.exec();
}
