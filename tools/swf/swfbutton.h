#ifndef SWFBUTTON_H
#define SWFBUTTON_H

#include "swfactions.h"

#include <QList>
#include <QTransform>

// The contents of a DefineButton2 character: which characters show in which state, and
// the actions run on state transitions.
struct SwfButton
{
    enum State : quint8 { Up = 0x01, Over = 0x02, Down = 0x04, HitTest = 0x08 };
    // Transition conditions, in the bit order the format stores them.
    enum Condition : quint16 {
        RollOver = 0x0100,       // idle -> over, button up
        RollOut = 0x0200,        // over -> idle, button up
        Press = 0x0400,          // over, button goes down
        Release = 0x0800,        // over, button goes up: a click
    };

    struct Record {
        quint16 characterId = 0;
        int depth = 1;
        quint8 states = Up;
        QTransform transformPixels;
    };
    struct Action {
        quint16 conditions = Release;
        SwfActions actions;
    };

    QList<Record> records;
    QList<Action> actions;
    bool trackAsMenu = false;
};

#endif
