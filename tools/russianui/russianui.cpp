#include "russianui.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool RussianUi::install(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qtbase_ru"), folder)) {
        qWarning("Qt's Russian texts (qtbase_ru) are not in %s: its dialogs stay in English", qPrintable(folder));
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
