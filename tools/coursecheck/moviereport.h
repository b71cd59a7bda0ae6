#ifndef MOVIEREPORT_H
#define MOVIEREPORT_H

#include "rufflelimits.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class MovieFile;

// What each movie is and asks of its player, for a school deciding whether the course plays
// here: the header, the calls to its host, the files it loads and whether the course has
// them, and what the pinned Ruffle plays only in part.
class MovieReport
{
    Q_DECLARE_TR_FUNCTIONS(MovieReport)

public:
    // `courseFolder` holds data/: the movies' loads are looked up there.
    explicit MovieReport(const QString &courseFolder);

    // Reads the movie at `path` and adds it, named `shownPath`; false when it cannot be read.
    bool add(const QString &path, const QString &shownPath);

    QString text() const;
    QString html() const;

private:
    struct Entry
    {
        QString name;
        QString error;
        QList<QPair<QString, QString>> rows;
        QList<RuffleLimits::Limit> limits;
    };

    QString header(const MovieFile &movie) const;
    void addHostRows(Entry &entry, const MovieFile &movie, const QString &path) const;
    QString whereLoaded(const QString &url, const QString &moviePath) const;
    QList<RuffleLimits::Limit> limits(const MovieFile &movie) const;

    QDir m_course;
    QList<Entry> m_entries;
};

#endif
