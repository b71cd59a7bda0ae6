#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <QVector>

// Which pictures each push button of the program gets. The buttons carry no text or
// icon in code, so this table is their whole look: the painter draws from it and the
// style sheet points at the same files.
struct ButtonEntry
{
    QString objectName;
    QString file;          // theme/buttons/<file>_<state>.png
    QSize size;            // the sheet fixes it, over the size the program asks for
    QStringList scopes;    // window classes the rule is limited to; empty: everywhere
    bool checkable;
};

class ButtonCatalogue
{
public:
    // Nothing a pupil presses is smaller than a six-year-old's fingertip or unsteady aim: a
    // button the program makes smaller is drawn, and fixed by the sheet, at least this big.
    static constexpr int smallestSide = 32;

    static const QVector<ButtonEntry> &entries();
    static QStringList states(const ButtonEntry &entry);
    static QString imagePath(const ButtonEntry &entry, const QString &state);
};
