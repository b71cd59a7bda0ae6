#ifndef TESTMOVIES_H
#define TESTMOVIES_H

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

// Movies the player tests play, written with the SWF writer.
namespace TestMovies {

// Frame 1 calls "vars" with _root.a, _root.b and _root.c, then `unregisteredName` with "x".
// On frame `registerFrame` (1-based, 12 frames a second) it registers "echo", which calls
// "echoed" with the argument it was given, and calls "registered".
QByteArray echo(int registerFrame, const QString &unregisteredName = QStringLiteral("unregistered"));

// A still 400 × 300 movie: a `shape` rectangle over the middle of a stage that shows its
// own background colour around it.
QByteArray still(const QColor &background, const QColor &shape);

// Frame 1 calls "where" with the movie's _url and _root.a.
QByteArray whereAmI();

// Calls "tick" with `label` on every frame, for ever (two frames that loop).
QByteArray ticker(const QString &label);

// Frame 1 loads each of `paths` with a new object of `loaderClass` ("LoadVars" or "XML");
// its onData calls "loaded" with the path and what arrived (undefined when nothing did).
QByteArray fileLoader(const QStringList &paths, const QString &loaderClass = QStringLiteral("LoadVars"));

// Frame 1 loads `child` into a new clip; the child movie (see whoAmI) then reports.
QByteArray movieLoader(const QString &child);

// Frame 1 calls "child" with the movie's _url.
QByteArray whoAmI();

// A material movie talking to the shell. Frame 1 calls "vars" with the _root variables
// `vars` names, registers for each of `callbacks` a callback that calls "echoed" with its
// own name and the argument it was given, calls "registered", and then sends each of
// `requests` to the shell with ExternalInterface.call("flashCall", request).
QByteArray bridge(const QStringList &vars, const QStringList &callbacks, const QStringList &requests = {});

} // namespace TestMovies

#endif
