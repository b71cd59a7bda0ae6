// The player as a host of movies written against the Flash control's whole host interface:
// answers both ways, calls into the movie while it waits, FSCommand, links, what the
// movie says, and its local storage. Real movies, written with the SWF writer, in Ruffle.

#include "waitfor.h"
#include "flashengine.h"
#include "flashinvoke.h"
#include "flashplayer.h"
#include "swfmovie.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUuid>
#include <QWebEngineView>
#include <QtTest>

namespace {

QString invoke(const QString &name, const QString &arguments = QString())
{
    return QStringLiteral("<invoke name=\"%1\" returntype=\"xml\"><arguments>%2</arguments></invoke>").arg(name, arguments);
}

QString str(const QString &text)
{
    return QStringLiteral("<string>%1</string>").arg(text);
}

// An ActionScript object's properties come back in an order of Ruffle's choosing.
QJsonValue sortedObjects(const QJsonValue &tagged)
{
    QJsonArray item = tagged.toArray();
    const QString tag = item.at(0).toString();
    if (tag == QLatin1String("a")) {
        QJsonArray items;
        for (const QJsonValue &element : item.at(1).toArray())
            items.append(sortedObjects(element));
        return QJsonArray{tag, items};
    }
    if (tag == QLatin1String("o")) {
        QList<QJsonArray> pairs;
        for (const QJsonValue &pair : item.at(1).toArray())
            pairs.append(QJsonArray{pair.toArray().at(0), sortedObjects(pair.toArray().at(1))});
        std::sort(pairs.begin(), pairs.end(),
                  [](const QJsonArray &a, const QJsonArray &b) { return a.at(0).toString() < b.at(0).toString(); });
        QJsonArray items;
        for (const QJsonArray &pair : pairs)
            items.append(pair);
        return QJsonArray{tag, items};
    }
    return tagged;
}

QByteArray sameValue(const QString &xml)
{
    return QJsonDocument(QJsonArray{sortedObjects(FlashInvoke::valueFromXml(xml))}).toJson(QJsonDocument::Compact);
}

QByteArray finish(SwfMovie &movie, SwfActions &actions)
{
    actions.op(SwfActions::Stop);
    movie.doAction(actions);
    movie.showFrame();
    return movie.toBytes();
}

// For each kind: r = ExternalInterface.call("ask", kind); ExternalInterface.call("got", kind, r).
QByteArray askingMovie(const QStringList &kinds)
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions actions;
    for (const QString &kind : kinds)
        actions.push(kind).externalCall(QStringLiteral("ask"), 1).push(kind).externalCall(QStringLiteral("got"), 2).op(SwfActions::Pop);
    return finish(movie, actions);
}

// Callbacks "give" (returns its argument) and "nothing" (returns nothing), then "ready".
QByteArray givingMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions actions;
    actions.defineFunction2(QString(), {QStringLiteral("value")}, 2, SwfActions().pushRegister(1).op(SwfActions::Return))
        .addExternalCallback(QStringLiteral("give"))
        .op(SwfActions::Pop)
        .defineFunction2(QString(), {}, 1, SwfActions())
        .addExternalCallback(QStringLiteral("nothing"))
        .op(SwfActions::Pop)
        .externalCall(QStringLiteral("ready"), 0)
        .op(SwfActions::Pop);
    return finish(movie, actions);
}

// Callback "mark" logs "mark:" + its argument; then r = call("first"); log("returned:" + r).
QByteArray reentrantMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions mark;
    mark.push("mark:").pushRegister(1).op(SwfActions::Add2).externalCall(QStringLiteral("log"), 1).op(SwfActions::Pop);
    SwfActions actions;
    actions.defineFunction2(QString(), {QStringLiteral("value")}, 2, mark)
        .addExternalCallback(QStringLiteral("mark"))
        .op(SwfActions::Pop)
        .push("returned:")
        .externalCall(QStringLiteral("first"), 0)
        .op(SwfActions::Add2)
        .externalCall(QStringLiteral("log"), 1)
        .op(SwfActions::Pop);
    return finish(movie, actions);
}

// Callback "give" calls "given" with its argument and returns it; then, in one frame,
// "tick" `count` times in a row and "done".
QByteArray floodingMovie(int count)
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions give;
    give.pushRegister(1).externalCall(QStringLiteral("given"), 1).op(SwfActions::Pop).pushRegister(1).op(SwfActions::Return);
    SwfActions loop;
    loop.push(0).storeRegister(2).op(SwfActions::Pop)
        .label(QStringLiteral("next"))
        .pushRegister(2).pushRegister(1).op(SwfActions::Less2)
        .ifFalse(QStringLiteral("end"))
        .pushRegister(2).externalCall(QStringLiteral("tick"), 1).op(SwfActions::Pop)
        .pushRegister(2).op(SwfActions::Increment).storeRegister(2).op(SwfActions::Pop)
        .jump(QStringLiteral("next"))
        .label(QStringLiteral("end"));
    SwfActions actions;
    actions.defineFunction2(QString(), {QStringLiteral("value")}, 2, give)
        .addExternalCallback(QStringLiteral("give"))
        .op(SwfActions::Pop)
        .defineFunction2(QStringLiteral("flood"), {QStringLiteral("count")}, 3, loop)
        .push(count)
        .callFunction(QStringLiteral("flood"), 1)
        .op(SwfActions::Pop)
        .externalCall(QStringLiteral("done"), 0)
        .op(SwfActions::Pop);
    return finish(movie, actions);
}

// fscommand twice, three links (another window, its own window, a POST with the timeline's
// variables), a child movie that is not there, a trace, then "done".
QByteArray talkativeMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions actions;
    actions.getUrl(QStringLiteral("FSCommand:quit"), QStringLiteral("now"))
        .getUrl(QStringLiteral("fscommand:show"), QStringLiteral("меню"))
        .getUrl(QStringLiteral("http://example.com/a?x=1"), QStringLiteral("_blank"))
        .getUrl(QStringLiteral("https://example.org/b"), QString())
        .push("name")
        .push("Аня")
        .op(SwfActions::SetVariable)
        .push("http://example.com/post")
        .push("_blank")
        .getUrl2(2)
        .push("missing-child.swf")
        .push("_level5")
        .getUrl2(0)
        .push("трассировка")
        .op(SwfActions::Trace)
        .externalCall(QStringLiteral("done"), 0)
        .op(SwfActions::Pop);
    return finish(movie, actions);
}

// so = SharedObject.getLocal(_root.key); call("stored", so.data.x); so.data.x = _root.value; so.flush().
QByteArray storingMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    SwfActions actions;
    actions.getVariable(QStringLiteral("key"))
        .callMethod(QStringLiteral("SharedObject"), QStringLiteral("getLocal"), 1)
        .setVariable(QStringLiteral("so"))
        .getVariable(QStringLiteral("so"))
        .getMember(QStringLiteral("data"))
        .getMember(QStringLiteral("x"))
        .externalCall(QStringLiteral("stored"), 1)
        .op(SwfActions::Pop)
        .getVariable(QStringLiteral("so"))
        .getMember(QStringLiteral("data"))
        .getVariable(QStringLiteral("value"))
        .setMember(QStringLiteral("x"))
        .getVariable(QStringLiteral("so"))
        .callMethodOnStack(QStringLiteral("flush"), 0)
        .op(SwfActions::Pop);
    return finish(movie, actions);
}

// getURL of script that lists the player page's storage, into its own window and another;
// then call("done") in the next frame.
QByteArray scriptingMovie()
{
    SwfMovie movie(QSize(400, 300), 12);
    const QString steal = QStringLiteral("javascript:void PelloraPlayer.toHost('fsCommand', 'stolen',"
                                         " Object.keys(PelloraPlayer.realStorage).join('|'))");
    SwfActions links;
    links.getUrl(steal, QString()).getUrl(steal, QStringLiteral("_blank"));
    movie.doAction(links);
    movie.showFrame();
    SwfActions done;
    done.externalCall(QStringLiteral("done"), 0).op(SwfActions::Pop);
    return finish(movie, done);
}

} // namespace

class TestFlashHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void hostAnswersEveryKindOfValue();
    void callbackResultsComeBackToTheHost();
    void hostCallsIntoTheMovieWhileItWaits();
    void anotherPlayerIsNotWaitedOnWhileAMovieWaits();
    void aMovieCallingWithoutPauseDoesNotHoldTheWindow();
    void commandsLinksAndMessagesReachTheHost();
    void eachPupilKeepsItsOwnLocalData();

private:
    QString write(const QString &name, const QByteArray &bytes);
    bool play(const QString &name, const QByteArray &bytes, const QString &lastCall);

    QScopedPointer<QTemporaryDir> m_folder;
    QScopedPointer<FlashPlayer> m_player;
    QScopedPointer<QSignalSpy> m_calls;
};

void TestFlashHost::initTestCase()
{
    // Read when a player page is made: the trace case needs it.
    qputenv("PELLORA_FLASH_TRACE", "1");
    QVERIFY(QDir::setCurrent(QStringLiteral(INSTALLATION_FOLDER)));
    m_folder.reset(new QTemporaryDir(QDir::current().filePath(QStringLiteral("flashhost-XXXXXX"))));
    QVERIFY(m_folder->isValid());
    m_player.reset(new FlashPlayer);
    m_player->setObjectName(QStringLiteral("lessonMovie"));
    m_player->setFixedSize(400, 300);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.data()));
    QVERIFY(m_player->isPlaying());
}

void TestFlashHost::cleanupTestCase()
{
    m_calls.reset();
    m_player.reset();
}

void TestFlashHost::init()
{
    m_calls.reset(new QSignalSpy(m_player.data(), &FlashPlayer::FlashCall));
}

QString TestFlashHost::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_folder->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

bool TestFlashHost::play(const QString &name, const QByteArray &bytes, const QString &lastCall)
{
    m_player->SetMovie(write(name, bytes));
    return waitFor([&] {
        for (const QList<QVariant> &call : std::as_const(*m_calls)) {
            if (call.at(0).toString().startsWith(QStringLiteral("<invoke name=\"%1\"").arg(lastCall)))
                return true;
        }
        return false;
    });
}

void TestFlashHost::hostAnswersEveryKindOfValue()
{
    const QMap<QString, QString> answers = {
        {QStringLiteral("string"), str(QStringLiteral("Привет &amp; &lt;b&gt;"))},
        {QStringLiteral("number"), QStringLiteral("<number>2.5</number>")},
        {QStringLiteral("true"), QStringLiteral("<true/>")},
        {QStringLiteral("false"), QStringLiteral("<false/>")},
        {QStringLiteral("null"), QStringLiteral("<null/>")},
        {QStringLiteral("nested"),
         QStringLiteral("<object><property id=\"a\"><number>1</number></property><property id=\"list\"><array>"
                        "<property id=\"0\"><string>x</string></property><property id=\"1\"><object>"
                        "<property id=\"deep\"><true/></property></object></property></array></property></object>")},
    };
    QStringList kinds = answers.keys();
    kinds << QStringLiteral("unanswered");
    auto handler = connect(m_player.data(), &FlashPlayer::FlashCall, this, [&](const QString &request) {
        const FlashInvoke call = FlashInvoke::fromXml(request);
        const QString kind = call.arguments().at(0).toArray().at(1).toString();
        if (call.name() == QLatin1String("ask") && answers.contains(kind))
            m_player->SetReturnValue(answers.value(kind));
    });
    m_player->SetMovie(write(QStringLiteral("asking.swf"), askingMovie(kinds)));
    QVERIFY(waitFor([&] { return m_calls->size() >= 2 * kinds.size(); }));
    disconnect(handler);
    QMap<QString, QString> got;
    for (const QList<QVariant> &signal : std::as_const(*m_calls)) {
        const FlashInvoke call = FlashInvoke::fromXml(signal.at(0).toString());
        if (call.name() == QLatin1String("got"))
            got.insert(call.arguments().at(0).toArray().at(1).toString(), FlashInvoke::valueToXml(call.arguments().at(1)));
    }
    for (const QString &kind : answers.keys())
        QCOMPARE(sameValue(got.value(kind)), sameValue(answers.value(kind)));
    // A call nobody answers returns null, as Flash's did for a name the page lacked.
    QCOMPARE(got.value(QStringLiteral("unanswered")), QStringLiteral("<null/>"));
}

void TestFlashHost::callbackResultsComeBackToTheHost()
{
    QVERIFY(play(QStringLiteral("giving.swf"), givingMovie(), QStringLiteral("ready")));
    const QStringList values = {
        str(QStringLiteral("ёлка &lt;3")),
        QStringLiteral("<number>-7.25</number>"),
        QStringLiteral("<true/>"),
        QStringLiteral("<null/>"),
        QStringLiteral("<array><property id=\"0\"><number>1</number></property><property id=\"1\"><object>"
                       "<property id=\"k\"><string>v</string></property></object></property></array>"),
    };
    for (const QString &value : values)
        QCOMPARE(sameValue(m_player->CallFunction(invoke(QStringLiteral("give"), value))), sameValue(value));
    QCOMPARE(m_player->CallFunction(invoke(QStringLiteral("nothing"))), QStringLiteral("<undefined/>"));
    // A name the movie never registered: nothing to answer now (the call waits for it).
    QCOMPARE(m_player->CallFunction(invoke(QStringLiteral("absent"))), QString());

    // An ActionScript 3 movie's callbacks answer the same way, also when the host has sent a
    // message to a callback the movie does not have (as a material window does when it shows).
#ifdef AS3_MOVIES
    QFile parrot(QStringLiteral(AS3_MOVIES "/parrot.swf"));
    QVERIFY(parrot.open(QIODevice::ReadOnly));
    m_calls->clear();
    m_player->SetMovie(write(QStringLiteral("parrot.swf"), parrot.readAll()));
    QCOMPARE(m_player->CallFunction(invoke(QStringLiteral("send2flash"), str(QStringLiteral("resize")))), QString());
    QVERIFY(waitFor([&] { return !m_calls->isEmpty(); }));
    QCOMPARE(m_calls->first().at(0).toString(), invoke(QStringLiteral("ready"), str(QStringLiteral("as3"))));
    for (const QString &value : values)
        QCOMPARE(sameValue(m_player->CallFunction(invoke(QStringLiteral("parrot"), value))), sameValue(value));
#else
    qWarning("haxe was not installed when this was built: ActionScript 3 callbacks are not checked");
#endif

    // The page's player element carries the widget's name: Ruffle's ExternalInterface.objectID.
    QWebEnginePage *page = m_player->findChild<QWebEngineView *>()->page();
    QString name;
    page->runJavaScript(QStringLiteral("document.querySelector('#stage > :not(.retired):not(.standby)').getAttribute('name')"),
                        [&](const QVariant &result) { name = result.toString(); });
    QVERIFY(waitFor([&] { return !name.isEmpty(); }));
    QCOMPARE(name, QStringLiteral("lessonMovie"));
}

void TestFlashHost::hostCallsIntoTheMovieWhileItWaits()
{
    QStringList results;
    auto handler = connect(m_player.data(), &FlashPlayer::FlashCall, this, [&](const QString &request) {
        if (!request.startsWith(QLatin1String("<invoke name=\"first\"")))
            return;
        // As in Flash: the movie's callback runs before the movie's own call returns.
        results << m_player->CallFunction(invoke(QStringLiteral("mark"), str(QStringLiteral("inside"))));
        m_player->SetReturnValue(str(QStringLiteral("outer")));
    });
    QVERIFY(play(QStringLiteral("reentrant.swf"), reentrantMovie(), QStringLiteral("log")));
    disconnect(handler);
    QVERIFY(waitFor([&] { return m_calls->size() >= 3; }));
    QStringList order;
    for (const QList<QVariant> &signal : std::as_const(*m_calls))
        order << signal.at(0).toString();
    QCOMPARE(order, (QStringList{invoke(QStringLiteral("first")), invoke(QStringLiteral("log"), str(QStringLiteral("mark:inside"))),
                                 invoke(QStringLiteral("log"), str(QStringLiteral("returned:outer")))}));
    QCOMPARE(results, QStringList{QString()});
}

void TestFlashHost::anotherPlayerIsNotWaitedOnWhileAMovieWaits()
{
    // All player pages share one renderer thread, which the waiting movie holds: a call into
    // another player must not wait for its answer (it did, until a timeout, with a warning).
    FlashPlayer other;
    other.resize(400, 300);
    other.show();
    QSignalSpy otherCalls(&other, &FlashPlayer::FlashCall);
    other.SetMovie(write(QStringLiteral("giving-too.swf"), givingMovie()));
    QVERIFY(waitFor([&] { return !otherCalls.isEmpty(); }, 30000));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("did not answer")));
    QStringList results;
    auto handler = connect(m_player.data(), &FlashPlayer::FlashCall, this, [&](const QString &request) {
        if (!request.startsWith(QLatin1String("<invoke name=\"first\"")))
            return;
        results << other.CallFunction(invoke(QStringLiteral("give"), str(QStringLiteral("later"))));
        m_player->SetReturnValue(str(QStringLiteral("outer")));
    });
    QVERIFY(play(QStringLiteral("reentrant-again.swf"), reentrantMovie(), QStringLiteral("log")));
    disconnect(handler);
    QCOMPARE(results, QStringList{QString()});
    QVERIFY(waitFor([&] { return m_calls->size() >= 2; }));
    QCOMPARE(m_calls->last().at(0).toString(), invoke(QStringLiteral("log"), str(QStringLiteral("returned:outer"))));
}

void TestFlashHost::aMovieCallingWithoutPauseDoesNotHoldTheWindow()
{
    // Its callbacks can run only once its burst of calls ends, and the window takes no input
    // while CallFunction waits for one: CallFunction must not wait for the burst to end.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("did not answer")));
    const int burst = 300;
    int ticks = 0;
    int ticksWhenReturned = -1;
    auto handler = connect(m_player.data(), &FlashPlayer::FlashCall, this, [&](const QString &request) {
        if (!request.startsWith(QLatin1String("<invoke name=\"tick\"")) || ++ticks != 20)
            return;
        // As the shell relays a movie's message: after the movie's call has returned.
        QMetaObject::invokeMethod(this, [&] {
            m_player->CallFunction(invoke(QStringLiteral("give"), str(QStringLiteral("later"))));
            ticksWhenReturned = ticks;
        }, Qt::QueuedConnection);
    });
    m_player->SetMovie(write(QStringLiteral("flooding.swf"), floodingMovie(burst)));
    const QString done = invoke(QStringLiteral("done"));
    const auto arrived = [&](const QString &call) {
        return std::any_of(m_calls->cbegin(), m_calls->cend(), [&](const QList<QVariant> &signal) { return signal.at(0) == call; });
    };
    QVERIFY2(waitFor([&] { return arrived(done); }, 60000),
             qPrintable(QStringLiteral("%1 ticks, %2 calls").arg(ticks).arg(m_calls->size())));
    disconnect(handler);
    QVERIFY(ticksWhenReturned >= 20);
    QVERIFY2(ticksWhenReturned < burst / 2, qPrintable(QString::number(ticksWhenReturned)));
    const QString given = invoke(QStringLiteral("given"), str(QStringLiteral("later")));
    QVERIFY(waitFor([&] { return arrived(given); }));
}

void TestFlashHost::commandsLinksAndMessagesReachTheHost()
{
    QSignalSpy commands(m_player.data(), &FlashPlayer::FSCommand);
    QSignalSpy links(m_player.data(), &FlashPlayer::linkRequested);
    QSignalSpy messages(m_player.data(), &FlashPlayer::movieMessage);
    const QString movie = write(QStringLiteral("talkative.swf"), talkativeMovie());
    m_player->SetMovie(movie);
    QVERIFY(waitFor([&] { return !m_calls->isEmpty() && links.size() >= 3; }));
    QCOMPARE(m_calls->first().at(0).toString(), invoke(QStringLiteral("done")));

    QCOMPARE(commands.size(), 2);
    QCOMPARE(commands.at(0), (QList<QVariant>{QStringLiteral("quit"), QStringLiteral("now")}));
    QCOMPARE(commands.at(1), (QList<QVariant>{QStringLiteral("show"), QStringLiteral("меню")}));

    QMap<QString, QList<QVariant>> byUrl;
    for (const QList<QVariant> &link : std::as_const(links))
        byUrl.insert(link.at(0).toString(), link);
    QCOMPARE(byUrl.value(QStringLiteral("http://example.com/a?x=1")).mid(1),
             (QList<QVariant>{QStringLiteral("_blank"), QStringLiteral("GET"), QString()}));
    QCOMPARE(byUrl.value(QStringLiteral("https://example.org/b")).mid(1),
             (QList<QVariant>{QStringLiteral("_self"), QStringLiteral("GET"), QString()}));
    const QList<QVariant> post = byUrl.value(QStringLiteral("http://example.com/post"));
    QCOMPARE(post.mid(1, 2), (QList<QVariant>{QStringLiteral("_blank"), QStringLiteral("POST")}));
    QVERIFY2(post.value(3).toString().contains(QStringLiteral("name=%D0%90%D0%BD%D1%8F")), qPrintable(post.value(3).toString()));

    // Nothing was opened: the page still plays its movie and answers.
    QCOMPARE(m_player->movie(), movie);

    const auto said = [&](const QString &level, const QString &part) {
        for (const QList<QVariant> &message : std::as_const(messages)) {
            if (message.at(0).toString() == level && message.at(1).toString().contains(part))
                return true;
        }
        return false;
    };
    QVERIFY(waitFor([&] { return said(QStringLiteral("trace"), QStringLiteral("трассировка")); }));
    QVERIFY(waitFor([&] {
        return said(QStringLiteral("warning"), QStringLiteral("missing-child.swf"))
               || said(QStringLiteral("error"), QStringLiteral("missing-child.swf"));
    }));
}

void TestFlashHost::eachPupilKeepsItsOwnLocalData()
{
    const QString key = QUuid::createUuid().toString(QUuid::Id128);
    const QString movie = write(QStringLiteral("storing.swf"), storingMovie());
    const auto storedBy = [&](const QString &pupil, const QString &value) {
        FlashEngine::instance()->setStorageSpace(pupil);
        m_calls->clear();
        m_player->SetFlashVars(QStringLiteral("key=%1&value=%2").arg(key, value));
        m_player->SetMovie(QString());
        m_player->SetMovie(movie);
        if (!waitFor([&] { return !m_calls->isEmpty(); }))
            return QStringLiteral("(no call)");
        return m_calls->first().at(0).toString();
    };
    QCOMPARE(storedBy(QStringLiteral("Аня"), QStringLiteral("anna")), invoke(QStringLiteral("stored"), QStringLiteral("<undefined/>")));
    QCOMPARE(storedBy(QStringLiteral("Боря"), QStringLiteral("boris")), invoke(QStringLiteral("stored"), QStringLiteral("<undefined/>")));
    QCOMPARE(storedBy(QStringLiteral("Аня"), QStringLiteral("again")), invoke(QStringLiteral("stored"), str(QStringLiteral("anna"))));

    // Another pupil's movie cannot run script of its own in the page, where the storage is whole.
    FlashEngine::instance()->setStorageSpace(QStringLiteral("Боря"));
    QSignalSpy commands(m_player.data(), &FlashPlayer::FSCommand);
    QSignalSpy links(m_player.data(), &FlashPlayer::linkRequested);
    QSignalSpy messages(m_player.data(), &FlashPlayer::movieMessage);
    const auto refusals = [&] {
        return std::count_if(messages.cbegin(), messages.cend(), [](const QList<QVariant> &message) {
            return message.at(1).toString().startsWith(QStringLiteral("refused to run script javascript:"));
        });
    };
    QVERIFY(play(QStringLiteral("scripting.swf"), scriptingMovie(), QStringLiteral("done")));
    QVERIFY(waitFor([&] { return refusals() == 2 || !commands.isEmpty(); }));
    QCOMPARE(commands.size(), 0);
    QCOMPARE(links.size(), 0);
    FlashEngine::instance()->setStorageSpace(QString());
}

QTEST_MAIN(TestFlashHost)
#include "tst_flashhost.moc"
