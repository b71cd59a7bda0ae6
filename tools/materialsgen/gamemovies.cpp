#include "gamemovies.h"

#include "assemblemovie.h"
#include "cardsmovie.h"
#include "matchmovie.h"
#include "selectmovie.h"
#include "sortmovie.h"
#include "sourceelement.h"
#include "writemovie.h"

namespace GameMovies {

QStringList kinds()
{
    return {QStringLiteral("cards"), QStringLiteral("assemble"), QStringLiteral("columns"), QStringLiteral("dragword"),
            QStringLiteral("select"), QStringLiteral("write"), QStringLiteral("match")};
}

QByteArray build(const SourceElement &element)
{
    const QString kind = element.tagName();
    if (kind == QLatin1String("cards"))
        return CardsMovie(element).build();
    if (kind == QLatin1String("assemble"))
        return AssembleMovie(element).build();
    if (kind == QLatin1String("columns") || kind == QLatin1String("dragword"))
        return SortMovie(element).build();
    if (kind == QLatin1String("select"))
        return SelectMovie(element).build();
    if (kind == QLatin1String("write"))
        return WriteMovie(element).build();
    return MatchMovie(element).build();
}

} // namespace GameMovies
