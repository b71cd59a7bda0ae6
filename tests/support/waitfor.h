#ifndef WAITFOR_H
#define WAITFOR_H

#include <QEventLoop>
#include <QTimer>

#include <functional>

// Waits in the event loop until `condition` holds. A page's requests to our scheme and Ruffle's
// wasm over loopback HTTP are answered from this thread, so it must keep answering while a test
// waits for a movie. QTest::qWait and qWaitFor sleep 10 ms between looks at the queue, which
// made a fresh process's first material take some 20 s to read its 14 MB of wasm and show.
inline bool waitFor(const std::function<bool()> &condition, int ms = 20000)
{
    if (condition())
        return true;
    QEventLoop loop;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &loop, [&] {
        if (condition())
            loop.quit();
    });
    look.start(10);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return condition();
}

// Lets the program run for `ms`, answering everything as it comes.
inline void runFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

#endif
