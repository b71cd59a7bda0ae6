#ifndef RECENTFILES_H
#define RECENTFILES_H

#include <QObject>
#include <QStringList>

class QMenu;

// The hitzone files the author opened or saved last, newest first, kept between runs in the
// editor's settings, and the File menu's list of them.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    explicit RecentFiles(QObject *parent = nullptr);

    QStringList files() const;
    void add(const QString &path);
    // Fills `menu` afresh each time it opens; a file picked there is announced by chosen().
    void attach(QMenu *menu);

signals:
    void chosen(const QString &path);

private:
    void fill(QMenu *menu);
};

#endif
