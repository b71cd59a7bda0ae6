#ifndef MOVIEFILE_H
#define MOVIEFILE_H

#include "swfhostcalls.h"
#include "swfreader.h"

#include <QList>
#include <QString>
#include <QStringList>

// One movie of a course as the checker sees it: its header and tags, and what its code asks
// of the host.
class MovieFile
{
public:
    // A message of the shell's call protocol that the movie's strings hold.
    struct BridgeMessage
    {
        QString root;     // "shell" or "flash"
        QString action;
        QString materialId; // for "load" and "jump" written out whole; empty otherwise
    };

    // False, with error() saying why, when the file cannot be read or is no movie.
    bool read(const QString &path);
    QString error() const { return m_error; }

    const SwfReader &swf() const { return m_swf; }
    const SwfHostCalls &calls() const { return m_calls; }

    // What the textbook opens when a page movie calls its host: the first string argument of
    // each ExternalInterface call, whatever the call's name.
    QStringList openedIds() const;
    QList<BridgeMessage> bridgeMessages() const;

private:
    SwfReader m_swf;
    SwfHostCalls m_calls;
    QString m_error;
};

#endif
