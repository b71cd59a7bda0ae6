#pragma once

#include <QByteArray>
#include <QString>

struct ButtonEntry;

// Builds theme/style.qss. The program reads it as Latin-1 and resolves its urls from
// the working directory, so the text stays ASCII and every path starts at theme/.
class StyleSheet
{
public:
    static QByteArray build();

private:
    static QString general();
    static QString tabs();
    static QString inputs();
    static QString checkBoxes();
    static QString scrollBars();
    static QString dialogs();
    static QString namedWidgets();
    static QString buttons();
    static QString buttonRules(const ButtonEntry &entry);
};
