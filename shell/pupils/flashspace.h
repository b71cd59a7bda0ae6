#ifndef FLASHSPACE_H
#define FLASHSPACE_H

#include <QDir>
#include <QString>

// The name a pupil's movie data (saved games, progress in movies) is kept under. It lives in
// her folder, so it goes with her when the teacher renames her, and it is not her name: a new
// pupil who takes the name of a removed one starts with nothing of hers.
class FlashSpace
{
public:
    static QString fileName() { return QStringLiteral("flash.space"); }

    // Read from the pupil's folder, made at her first sign-in. A pupil who worked before the
    // file existed keeps her folder's name, under which her movie data already lies.
    static QString forPupil(const QDir &pupilFolder);
};

#endif
