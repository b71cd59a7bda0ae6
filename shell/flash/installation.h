#ifndef INSTALLATION_H
#define INSTALLATION_H

#include <QString>

// Where a program of this installation finds its shared files. Both the shell and the hitzone
// editor play movies, so both need Ruffle from the same place.
class Installation
{
public:
    // The installation's shared files (its theme, Ruffle, the help file, the demo course): the
    // folder PELLORA_SHARED_FOLDER names beside the program once installed (../share/pellora),
    // the program's own folder in a build folder.
    static QString folder();

    // Ruffle's folder: always the installation's, never one a course brings along (its script
    // would run in the player pages, beside every pupil's movie data). A test program has no
    // installation of its own: it takes the build tree's it runs in.
    static QString ruffleFolder();
};

#endif
