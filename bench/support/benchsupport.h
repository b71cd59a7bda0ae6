// What the benchmarks share: waiting in a real event loop (requests a page makes to our
// scheme are answered from the event loop, so a wait that sleeps slows the page it waits
// for), first-pixel timing inside a page, and the memory and CPU of the process tree.
#ifndef BENCHSUPPORT_H
#define BENCHSUPPORT_H

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class FlashPlayer;
class QWebEnginePage;
class QWebEngineProfile;

namespace bench {

double now();                                   // epoch milliseconds
bool waitUntil(const std::function<bool()> &condition, int ms);
void settle(int ms);                            // an idle wait in the event loop

double median(QList<double> values);
QString range(const QList<double> &values);     // "median M ms (lo-hi, n=N)"

// "Shown": the first animation frame in which the movie's canvas has the wanted pixel at its
// centre (any opaque pixel of a new player when no colour is given).
void installWatcher(QWebEngineProfile *profile);
// With `anyCanvas`, a canvas that was there already counts too (for a page armed after its
// movie was asked for).
void arm(QWebEnginePage *page, const QColor &target = QColor(), bool anyCanvas = false);
double waitShown(QWebEnginePage *page, double t0, int timeoutMs = 20000);  // ms from t0, or -1
QWebEnginePage *pageOf(FlashPlayer *player);

QList<int> processTree();
double pssMegabytes(QStringList *parts = nullptr);   // PSS of this process and its descendants
QString cpuPercentOver(int seconds);                 // whole tree, with each process's share

} // namespace bench

#endif
