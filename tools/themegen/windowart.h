#pragma once

#include <QRandomGenerator>

class Canvas;
class OutputFolder;

// The windows' frames, title pictures and backgrounds. Their sizes set the program's
// geometry (border widths, minimum sizes), so they are fixed here, not derived.
class WindowArt
{
public:
    explicit WindowArt(OutputFolder &out);
    void write();

private:
    void writeMainFrame();
    void writeHeadStrip();
    void writeWelcomeBackground();
    void writePaperBackground();
    void writeCaption();
    void writeAuthFrame();
    void writeAuthBackground();

    void scatterClouds(Canvas &canvas, int count, qreal minWidth, qreal maxWidth, qreal top, qreal bottom,
                       int alpha);

    OutputFolder &m_out;
    // Seeded so that a rebuild produces byte-identical pictures.
    QRandomGenerator m_random{20240901};
};
