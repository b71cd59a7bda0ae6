#ifndef HELPLAUNCHER_H
#define HELPLAUNCHER_H

#include <QString>

// The help file (the course's own help.chm, else the installation's), shown by the platform's help
// viewer running as a program of its own. Only one viewer at a time: while the one started
// last still runs, asking again starts nothing. It stays open when the shell ends.
class HelpLauncher
{
public:
    // True when a viewer shows the help (started now or still running from before); false,
    // with `error` saying why in a sentence for the pupil, when none could be started.
    static bool show(QString *error);

    // The viewer program: hh.exe on Windows; elsewhere the first of xchm, kchmviewer on the
    // search path. Empty when there is none.
    static QString viewerProgram();
    static bool isRunning(qint64 processId);
};

#endif
