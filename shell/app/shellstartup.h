#ifndef SHELLSTARTUP_H
#define SHELLSTARTUP_H

#include <QByteArray>
#include <QString>
#include <QStringList>

class QWidget;
class WindowMain;

// The shell's life from a constructed application object to the end: look, main window,
// sign-in, the working phase and the write of the pupil's Flash settings at exit.
class ShellStartup
{
public:
    // Runs everything after the application object exists; always returns 0.
    int run();

    // Chooses the course (see CourseFolder::chosen) and makes its folder the working
    // directory, where every course and theme file is named from. False, the user told what
    // is missing, when the folder holds no course.
    static bool enterCourse(const QStringList &arguments);

    // The steps, in start-up order; also used by the benchmarks.
    static void applyLook();
    static void fillTables();
    static WindowMain *createMainWindow();
    static bool nobodySignedIn();
    // Makes the per-user course data folder when it is missing. A folder the school named is
    // never made: missing, it is most often a network folder that is not connected, and made
    // here it would keep the pupils' work on this computer's disk. False (and the user told)
    // when the folder is not there.
    static bool prepareCourseDataFolder();
    // Once the sign-in window has painted, the Flash player's engine starts and compiles
    // Ruffle in a spare page, which the textbook's first page then takes: the pupil types
    // meanwhile.
    static void warmUpPlayerAfterPaint(QWidget *signInWindow);
    // With PELLORA_QUIT_AT_SIGN_IN set (a check of an installation), the shell says which
    // course, theme, player and pupils' folder it found once the sign-in window has painted,
    // and ends.
    static void quitAfterPaint(QWidget *signInWindow);

    // The style sheet is applied up to its first zero byte, decoded as Latin-1.
    static QString styleSheetText(const QByteArray &bytes);
    // Writes the two bytes of the Flash settings file atomically; false (and a warning) on failure.
    static bool writeFlashSettings();
    // The pupil signed in, but some of the pupil's files could not be written.
    static void reportUnwritablePupilFolder(QWidget *parent);
    // Another shell holds the course's lock but does not come forward when asked.
    static void reportSilentRunningShell();
};

#endif
