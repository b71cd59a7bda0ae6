#ifndef COURSEFOLDER_H
#define COURSEFOLDER_H

#include <QString>

// Where a hitzone file's course is: the nearest folder above the file that holds
// data/content.xml. The page image, the contents and the built page movies are found from it,
// wherever the editor was started.
class CourseFolder
{
public:
    explicit CourseFolder(const QString &hitzonePath);

    bool isValid() const { return !m_root.isEmpty(); }
    QString root() const { return m_root; }
    QString contentsFile() const;
    QString textbookFolder() const;
    // The page's material map: beside the hitzone file, with the extension ".map".
    static QString mapFile(const QString &hitzonePath);

private:
    QString m_root;
};

#endif
