#include "russianui.h"
#include "shellstartup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    RussianUi::install(app);
    return ShellStartup().run();
}
