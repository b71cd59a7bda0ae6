#include "pagemoviebuilder.h"

#include "swfmovie.h"

namespace {
const QColor highlightFill(255, 236, 110, 70);
const QColor highlightLine(255, 170, 0, 200);
}

PageMovieBuilder::PageMovieBuilder(const PageSources &sources)
    : m_sources(sources)
{
}

void PageMovieBuilder::setJpegQuality(int quality)
{
    m_jpegQuality = qBound(0, quality, 100);
}

void PageMovieBuilder::setFrameRate(double framesPerSecond)
{
    m_frameRate = framesPerSecond;
}

QString PageMovieBuilder::callName()
{
    return QStringLiteral("openMaterial");
}

QString PageMovieBuilder::stillCallName()
{
    return QStringLiteral("pellora: still picture");
}

QByteArray PageMovieBuilder::build() const
{
    const QImage image = m_sources.image();
    SwfMovie movie(image.size(), m_frameRate);
    movie.setBackgroundColor(Qt::white);

    const quint16 bitmap = m_jpegQuality > 0 ? movie.defineJpegBitmap(image, m_jpegQuality) : movie.defineBitmap(image);
    SwfShape picture;
    picture.addRect(QRectF(QPointF(0, 0), image.size()), picture.addBitmapFill(bitmap, QPointF(0, 0), 1.0, false));
    movie.placeObject(movie.defineShape(picture), 1);

    int depth = 2;
    for (const PageSources::Link &link : m_sources.links()) {
        SwfShape hitArea;
        hitArea.addPolygon(link.polygon, hitArea.addSolidFill(Qt::black));
        SwfShape highlight;
        highlight.addPolygon(link.polygon, highlight.addSolidFill(highlightFill), highlight.addLineStyle(3, highlightLine));

        SwfButton button;
        button.records.append({movie.defineShape(hitArea), 1, SwfButton::HitTest, QTransform()});
        button.records.append({movie.defineShape(highlight), 2, SwfButton::Over | SwfButton::Down, QTransform()});
        SwfActions click;
        click.push(link.materialId).externalCall(callName(), 1).op(SwfActions::Pop);
        button.actions.append({SwfButton::Release, click});
        movie.placeObject(movie.defineButton(button), depth++);
    }

    SwfActions firstFrame;
    firstFrame.op(SwfActions::Stop).externalCall(stillCallName(), 0).op(SwfActions::Pop);
    movie.doAction(firstFrame);
    movie.showFrame();
    return movie.toBytes();
}
