#ifndef RUFFLELIMITS_H
#define RUFFLELIMITS_H

#include <QCoreApplication>
#include <QList>
#include <QString>

// What the pinned Ruffle is known to play only in part, each item with the way a movie's
// reading shows that it is touched. Checked against one Ruffle version: when Ruffle is
// upgraded (package-lock.json), each item is tried again and the version here raised.
class RuffleLimits
{
    Q_DECLARE_TR_FUNCTIONS(RuffleLimits)

public:
    enum Feature {
        As3Callbacks,           // ActionScript 3 ExternalInterface.addCallback
        EmptyStringAnswers,     // an AVM1 movie (below version 9) calling its host
        CallbacksBeforeVersion8,
        JavascriptLinks,        // getURL("javascript:...")
        AsFunctionLinks,        // "asFunction:" spelt in another case in an HTML link
        HitAreas,               // MovieClip.hitArea
        StyledDeviceText,       // bold or italic text in a device font
        SerifDeviceFonts,       // serif and typewriter device fonts
        Keyboard,               // the movie listens to keys
        PostedVariables,        // variables sent with POST (sendAndLoad, getURL with POST)
    };

    struct Limit
    {
        Feature feature;
        QString text;      // what a school sees, in Russian
        QString reference; // where it was seen or reported
    };

    static QString checkedVersion();
    static const QList<Limit> &all();
    static Limit limit(Feature feature);
};

#endif
