#pragma once

#include <QImage>
#include <QString>

class Canvas;
class OutputFolder;
struct ButtonEntry;
struct ButtonLook;

// Paints every state of every button listed in ButtonCatalogue.
class ButtonArt
{
public:
    explicit ButtonArt(OutputFolder &out);
    void write();

    static QImage render(const ButtonEntry &entry, const QString &state);

private:
    static void paint(Canvas &canvas, const QString &file, const ButtonLook &look);
    static void paintWindowButton(Canvas &canvas, const QString &file, const ButtonLook &look);
    static void paintToolButton(Canvas &canvas, const QString &file, const ButtonLook &look);
    static void paintWordButton(Canvas &canvas, const QString &word, const QColor &colour,
                                const ButtonLook &look);

    OutputFolder &m_out;
};
