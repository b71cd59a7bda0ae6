#ifndef LAYOUTCHECKER_H
#define LAYOUTCHECKER_H

#include <QDir>
#include <QString>
#include <QStringList>

// Checks a material's layout (normal.xml or preview.xml, as it was copied into the built
// material folder) against what the folder holds: the root is <object>, every medium is of a
// kind the shell shows and its file exists, the file a movie is given as its param exists,
// numbers are numbers, and the pages refer only to files of the installation.
// Messages name the source file, so the author knows what to mend.
class LayoutChecker
{
public:
    LayoutChecker(const QString &sourcePath, const QDir &builtFolder);

    bool check();
    QStringList errors() const;
    // After a check: whether a medium has printable="true".
    bool isPrintable() const;
    // The files its movies are given to read (their param), relative to the material folder.
    QStringList movieFiles() const;

private:
    void checkMedium(const class QDomElement &media);
    void checkPage(const QString &pagePath, int line);
    void error(int line, const QString &message);

    QString m_sourcePath;
    QDir m_built;
    QStringList m_errors;
    bool m_printable = false;
    QStringList m_movieFiles;
};

#endif
