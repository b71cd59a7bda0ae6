#ifndef COURSECHECK_H
#define COURSECHECK_H

#include "moviefile.h"

#include <QDir>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A course folder (the installation folder that holds data/) read as the shell reads it,
// with everything listed that a pupil would meet as a gap: the contents, every material's
// description and media, the page movies and the materials they open, and what nothing
// reaches.
class CourseCheck
{
public:
    // `folder` as the user named it: the problems name files the same way.
    explicit CourseCheck(const QString &folder);

    // Problems as "file:line: what is wrong" (line 1 for a file as a whole); empty when the
    // course is sound.
    QStringList run();

    // Every movie of the course: the page movies, the materials' movies and the templates.
    QStringList moviePaths() const;

private:
    void checkContents();
    void checkMaterial(const QString &id, qint64 contentsLine);
    void checkDescription(const QString &id, const QString &relative);
    void checkMedium(const QString &id, const QString &description, qint64 line, const QString &file,
                     const QString &param);
    void checkMovieOpens(const QString &shownAt, qint64 line, const QString &path);
    void checkPageMovies();
    void checkOrphanMaterials();

    const MovieFile *movie(const QString &path);
    bool insideData(const QString &absolute) const;
    QString absolute(const QString &relative) const;
    QString shown(const QString &relative) const;
    void problem(const QString &shownPath, qint64 line, const QString &message);

    QString m_folder;
    QDir m_root;
    QList<QPair<QString, qint64>> m_materials;   // id and contents line, in contents order
    QHash<QString, QString> m_types;               // id -> group key
    QList<QPair<int, qint64>> m_startPages;
    QHash<QString, MovieFile> m_movies;
    QHash<QString, QString> m_movieErrors;
    QStringList m_problems;
};

#endif
