#pragma once

#include <QImage>

class OutputFolder;

// The page slider under the textbook: its track, handle, tick marks, arrow buttons
// and the speech bubble that names the page under the handle.
class SliderArt
{
public:
    explicit SliderArt(OutputFolder &out);
    void write();

private:
    void writeTrack();
    void writeHandles();
    void writeHints();
    void writeStrokes();
    void writeArrowButtons();

    static QImage hint(int width, qreal tailX, qreal stretchColumn);
    static QImage arrowButton(bool next, int state);

    OutputFolder &m_out;
};
