#ifndef WAITFOR_H
#define WAITFOR_H

#include <QElapsedTimer>
#include <QTest>

#include <functional>

// Waits in the event loop, in short steps, until `condition` holds: a page's requests to our
// scheme are answered from this loop, so it must keep running while a test waits for a movie.
inline bool waitFor(const std::function<bool()> &condition, int ms = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

#endif
