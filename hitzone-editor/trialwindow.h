#ifndef TRIALWINDOW_H
#define TRIALWINDOW_H

#include "courseids.h"

#include <QTemporaryDir>
#include <QWidget>

class FlashPlayer;
class QLabel;

// Plays a built page movie as the textbook would, without the shell: the zones light up under
// the mouse, and a click says which material it would open instead of opening it.
class TrialWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TrialWindow(QWidget *parent = nullptr);

    // Plays a copy of the movie; the captions come from the course's contents.
    void play(const QString &movie, const QString &contentsPath, const QSize &pageSize);
    // The text shown for the last click.
    QString clickText() const;

private:
    bool preparePlayer();
    void showRequest(const QString &request);

    // The player plays only files of the folder it was started in (and Ruffle from the
    // installation): a folder of its own, away from the author's course.
    QTemporaryDir m_folder;
    FlashPlayer *m_player = nullptr;
    QLabel *m_status;
    CourseIds m_contents;
    int m_plays = 0;
};

#endif
