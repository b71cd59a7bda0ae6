#ifndef PAGEMOVIEJOB_H
#define PAGEMOVIEJOB_H

#include <QString>
#include <QStringList>

// One page movie made from its files and written, as pagemovie and the hitzone editor make it:
// the same reading, checks, build and atomic write, so both give the same bytes.
class PageMovieJob
{
public:
    QString imagePath;    // empty: the hitzone file's `file`, relative to the current folder
    QString hitzonePath;
    QString mapPath;
    QString contentsPath; // empty: material ids are not checked
    QString outputPath;
    int jpegQuality = 0;
    double frameRate = 24.0;

    // False when the movie was not written; errors() then says why.
    bool run();
    // "file:line: message" lines, and those of problems that did not stop the build.
    QStringList errors() const { return m_errors; }
    QStringList warnings() const { return m_warnings; }

private:
    QStringList m_errors;
    QStringList m_warnings;
};

#endif
