#ifndef CHMTOPICS_H
#define CHMTOPICS_H

#include <QByteArray>
#include <QList>

// The four linked tables a viewer uses to name a page it found (search results,
// bookmarks): #TOPICS holds one record per page with its title in #STRINGS and its
// record in #URLTBL, which, sorted by a hash of the page's name, points into #URLSTR
// where the name itself is.
struct ChmTopicFiles
{
    QByteArray topics;
    QByteArray strings;
    QByteArray urlTable;
    QByteArray urlStrings;
};

class ChmTopics
{
public:
    // A page by its name in the container (no leading '/'), with its title already in
    // the help's code page; an empty title is stored as none.
    void add(const QByteArray &local, const QByteArray &title);

    ChmTopicFiles files() const;

    // The hash #URLTBL is sorted by, as Microsoft's compiler computes it.
    static quint32 urlHash(const QByteArray &local);

private:
    struct Page
    {
        QByteArray local;
        QByteArray title;
    };
    QList<Page> m_pages;
};

#endif
