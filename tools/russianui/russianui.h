#ifndef RUSSIANUI_H
#define RUSSIANUI_H

class QCoreApplication;

// Both programs speak Russian; Qt's own dialogs and standard buttons do too once Qt's Russian
// catalogue (Debian's qt6-translations-l10n) is installed on the application.
class RussianUi
{
public:
    // False, with one warning, when the catalogue is not there: Qt's texts then stay English.
    static bool install(QCoreApplication &application);
};

#endif
