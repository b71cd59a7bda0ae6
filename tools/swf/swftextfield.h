#ifndef SWFTEXTFIELD_H
#define SWFTEXTFIELD_H

#include <QColor>
#include <QRectF>
#include <QString>

// A DefineEditText character: a label or a text field a script can fill.
struct SwfTextField
{
    enum Align : quint8 { Left = 0, Right = 1, Center = 2, Justify = 3 };

    QRectF boundsPixels;
    QString text;
    QString variableName;   // bound variable: setting it from a script changes the text
    quint16 fontId = 0;     // 0: no font record (the player's default device font)
    double fontHeightPixels = 16;
    QColor color = Qt::black;
    Align align = Left;
    bool multiline = false;
    bool wordWrap = false;
    bool readOnly = true;
    bool selectable = false;
    bool border = false;
    bool html = false;
};

#endif
