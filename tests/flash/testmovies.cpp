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

QByteArray fileLoader(const QStringList &paths, const QString &loaderClass)
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions first;
    for (int i = 0; i < paths.size(); ++i) {
        const QString loader = QStringLiteral("loader%1").arg(i);
        first.push(loader).push(0).push(loaderClass).op(SwfActions::NewObject).op(SwfActions::SetVariable);
        SwfActions onData;
        onData.pushRegister(1).push(paths[i]).externalCall(QStringLiteral("loaded"), 2).op(SwfActions::Pop);
        first.pushPath(loader).push("onData").defineFunction2(QString(), {QStringLiteral("text")}, 2, onData)
            .op(SwfActions::SetMember);
        first.push(paths[i]).callMethod(loader, QStringLiteral("load"), 1).op(SwfActions::Pop);
    }
    first.op(SwfActions::Stop);
    movie.doAction(first);
    movie.showFrame();
    return movie.toBytes();
}

QByteArray movieLoader(const QString &child)
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions first;
    first.push(1).push("holder").callMethod(QStringLiteral("_root"), QStringLiteral("createEmptyMovieClip"), 2)
        .op(SwfActions::Pop);
    first.push(child).callMethod(QStringLiteral("_root.holder"), QStringLiteral("loadMovie"), 1).op(SwfActions::Pop);
    first.op(SwfActions::Stop);
    movie.doAction(first);
    movie.showFrame();
    return movie.toBytes();
}

QByteArray whoAmI()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions first;
    first.push("_url").op(SwfActions::GetVariable).externalCall(QStringLiteral("child"), 1).op(SwfActions::Pop);
    first.op(SwfActions::Stop);
    movie.doAction(first);
    movie.showFrame();
    return movie.toBytes();
}

QByteArray bridge(const QStringList &vars, const QStringList &callbacks, const QStringList &requests)
{
    SwfMovie movie(QSize(400, 300), 12);
    movie.setBackgroundColor(QColor(0xdd, 0xee, 0xff));
    SwfActions first;
    for (auto name = vars.crbegin(); name != vars.crend(); ++name)
        first.push(*name).op(SwfActions::GetVariable);
    first.externalCall(QStringLiteral("vars"), int(vars.size())).op(SwfActions::Pop);
    for (const QString &callback : callbacks) {
        SwfActions body;
        body.pushRegister(1).push(callback).externalCall(QStringLiteral("echoed"), 2).op(SwfActions::Pop);
        first.defineFunction2(QString(), {QStringLiteral("value")}, 2, body).addExternalCallback(callback)
            .op(SwfActions::Pop);
    }
    first.externalCall(QStringLiteral("registered"), 0).op(SwfActions::Pop);
    for (const QString &request : requests)
        first.push(request).externalCall(QStringLiteral("flashCall"), 1).op(SwfActions::Pop);
    first.op(SwfActions::Stop);
    movie.doAction(first);
    movie.showFrame();
    return movie.toBytes();
}

} // namespace TestMovies
