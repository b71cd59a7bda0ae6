#include "pagemoviejob.h"

#include "pagemoviebuilder.h"
#include "pagesources.h"

#include <QSaveFile>

bool PageMovieJob::run()
{
    PageSources sources;
    sources.load(imagePath, hitzonePath, mapPath, contentsPath);
    m_errors = sources.errors();
    m_warnings = sources.warnings();
    if (!m_errors.isEmpty())
        return false;

    PageMovieBuilder builder(sources);
    builder.setJpegQuality(jpegQuality);
    builder.setFrameRate(qBound(0.25, frameRate, 120.0));
    QSaveFile file(outputPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(builder.build()) < 0 || !file.flush() || !file.commit()) {
        m_errors.append(QStringLiteral("%1: %2").arg(outputPath, file.errorString()));
        return false;
    }
    return true;
}
