#ifndef GAMEMOVIES_H
#define GAMEMOVIES_H

#include <QByteArray>
#include <QStringList>

class SourceElement;

// The one-file game movies by their description element: cards, assemble, columns,
// dragword, select, write, match.
namespace GameMovies {

QStringList kinds();
QByteArray build(const SourceElement &element);

} // namespace GameMovies

#endif
