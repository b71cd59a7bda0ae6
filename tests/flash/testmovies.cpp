#include "testmovies.h"

#include "swfmovie.h"

namespace TestMovies {

QByteArray echo(int registerFrame, const QString &unregisteredName)
{
    SwfMovie movie(QSize(400, 300), 12);
    movie.setBackgroundColor(QColor(0xdd, 0xee, 0xff));

    SwfActions first;
    for (const char *name : {"c", "b", "a"})
        first.push(name).op(SwfActions::GetVariable);
    first.externalCall(QStringLiteral("vars"), 3).op(SwfActions::Pop);
    first.push("x").externalCall(unregisteredName, 1).op(SwfActions::Pop);
    movie.doAction(first);

    SwfActions body;
    body.pushRegister(1).externalCall(QStringLiteral("echoed"), 1).op(SwfActions::Pop);
    SwfActions registration;
    registration.defineFunction2(QString(), {QStringLiteral("value")}, 2, body)
        .addExternalCallback(QStringLiteral("echo"))
        .op(SwfActions::Pop)
        .externalCall(QStringLiteral("registered"), 0)
        .op(SwfActions::Pop)
        .op(SwfActions::Stop);

    for (int frame = 1; frame <= registerFrame; ++frame) {
        if (frame == registerFrame)
            movie.doAction(registration);
        movie.showFrame();
    }
    return movie.toBytes();
}

QByteArray still(const QColor &background, const QColor &shapeColor)
{
    SwfMovie movie(QSize(400, 300), 12);
    movie.setBackgroundColor(background);
    SwfShape shape;
    shape.addRect(QRectF(100, 75, 200, 150), shape.addSolidFill(shapeColor));
    movie.placeObject(movie.defineShape(shape), 1);
    SwfActions stop;
    stop.op(SwfActions::Stop);
    movie.doAction(stop);
    movie.showFrame();
    return movie.toBytes();
}

QByteArray whereAmI()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions first;
    first.push("a").op(SwfActions::GetVariable).push("_url").op(SwfActions::GetVariable);
    first.externalCall(QStringLiteral("where"), 2).op(SwfActions::Pop).op(SwfActions::Stop);
    movie.doAction(first);
    movie.showFrame();
    return movie.toBytes();
}

QByteArray ticker(const QString &label)
{
    SwfMovie movie(QSize(400, 300), 24);
    SwfActions tick;
    tick.push(label).externalCall(QStringLiteral("tick"), 1).op(SwfActions::Pop);
    for (int frame = 0; frame < 2; ++frame) {
        movie.doAction(tick);
        movie.showFrame();
    }
    return movie.toBytes();
}

} // namespace TestMovies
