#ifndef COURSEFOLDER_H
#define COURSEFOLDER_H

#include <QString>
#include <QStringList>

// The course a shell plays: a folder holding data/ (the contents, page movies, materials) and,
// as a rule, theme/. One installation plays any course; what it brings itself (the theme of a
// course without one, Ruffle, the help) comes from the installation folder.
class CourseFolder
{
public:
    // The folder asked for: `--course DIR` among the arguments, else the key `course` of the
    // system-wide settings "pellora/shell" (a relative name taken from the installation
    // folder), else the installation's demo course. Absolute.
    static QString chosen(const QStringList &arguments);
    // Where the school named a course, empty when it named none.
    static QString setting();

    // What `folder` lacks to be a course, as a path to show the user; empty when it is one.
    static QString missingPart(const QString &folder);

    // Reads the title and code of the course in the working directory into courseTitle and
    // courseCode: they name the pupils' folder, so that two courses never share one. From
    // the attributes `title` (else `caption`) and `code` of the contents' root element.
    static void readIdentity();
    // A course's text made into one harmless folder name; empty when nothing of it is usable.
    static QString folderName(const QString &text);
};

#endif
