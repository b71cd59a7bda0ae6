#ifndef PAGEMOVIEBUILDER_H
#define PAGEMOVIEBUILDER_H

#include "pagesources.h"

#include <QByteArray>

// Makes the page movie: the double-page image filling the stage, and over it one invisible
// button per hitzone whose hit area is the hitzone's polygon (so the cursor turns into a
// hand there, and the zone lights up under the mouse). A click inside calls the host with
// ExternalInterface.call(callName, materialId).
class PageMovieBuilder
{
public:
    explicit PageMovieBuilder(const PageSources &sources);

    // 0 keeps the image lossless; 1..100 stores it as JPEG of that quality.
    void setJpegQuality(int quality);
    void setFrameRate(double framesPerSecond);

    QByteArray build() const;

    static QString callName();
    // Called once on the first frame: tells our player the movie never changes by itself,
    // so it may stop redrawing it (hover and clicks still work).
    static QString stillCallName();

private:
    PageSources m_sources;
    int m_jpegQuality = 0;
    // Ruffle shows the first frame one frame's time after the movie arrives: a brisk rate
    // keeps page turns short, and the player stops redrawing a still page anyway.
    double m_frameRate = 24.0;
};

#endif
