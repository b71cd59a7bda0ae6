#include "quizscript.h"

#include "stagekit.h"

using Op = SwfActions::Op;

namespace {
// Feedback colours: green for right, red for "try again".
constexpr quint32 rightColor = 0x2e8b3a;
constexpr quint32 wrongColor = 0xc83232;

QString slotName(int slot)
{
    return QStringLiteral("slot%1").arg(slot);
}
} // namespace

QuizScript::QuizScript(Mode mode, const Quiz &builtIn, int slotCount, bool hasLink)
    : m_mode(mode), m_builtIn(builtIn), m_slots(slotCount), m_hasLink(hasLink)
{
}

QString QuizScript::label(const QString &base)
{
    return QStringLiteral("%1_%2").arg(base).arg(++m_labels);
}

SwfActions QuizScript::slotClick()
{
    // Runs in the slot clip, which knows its own index; the functions live on _root.
    SwfActions a;
    a.getVariable(QStringLiteral("index")).pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("choose"), 1).op(Op::Pop);
    return a;
}

SwfActions QuizScript::againClick()
{
    SwfActions a;
    a.pushPath(QStringLiteral("_root")).callMethodOnStack(QStringLiteral("restart"), 0).op(Op::Pop);
    return a;
}

void QuizScript::orEmpty(SwfActions &a)
{
    // undefined and null (equal under ==) read as "".
    const QString done = label(QStringLiteral("defined"));
    a.op(Op::PushDuplicate).pushUndefined().op(Op::Equals2).ifFalse(done);
    a.op(Op::Pop).push("");
    a.label(done);
}

void QuizScript::gotoPicture(SwfActions &a, const QString &clipPath)
{
    // The picture name is on the stack; an absent picture leaves the clip on "none".
    a.push("none").pushPath(clipPath).callMethodOnStack(QStringLiteral("gotoAndStop"), 1).op(Op::Pop);
    const QString skip = label(QStringLiteral("nopicture"));
    a.op(Op::PushDuplicate).pushUndefined().op(Op::Equals2).ifTrue(skip);
    a.pushPath(clipPath).callMethodOnStack(QStringLiteral("gotoAndStop"), 1);
    a.label(skip).op(Op::Pop);
}

void QuizScript::setVisible(SwfActions &a, const QString &clip, bool visible)
{
    a.pushPath(clip).push(visible).setMember(QStringLiteral("_visible"));
}

void QuizScript::setFeedback(SwfActions &a, const QString &text, quint32 rgb)
{
    a.push(text).setVariable(QStringLiteral("feedback_text"));
    a.pushPath(QStringLiteral("feedback")).push(int(rgb)).setMember(QStringLiteral("textColor"));
}

SwfActions QuizScript::lastTimeFunction()
{
    // lastTime(h): "4/5" becomes "В прошлый раз: 4 из 5"; nothing to show clears the line.
    SwfActions f;
    const QString clear = label(QStringLiteral("clear"));
    const QString plain = label(QStringLiteral("plain"));
    for (const char *empty : {"", "null"})
        f.pushRegister(1).push(empty).op(Op::Equals2).ifTrue(clear);
    f.pushRegister(1).pushUndefined().op(Op::Equals2).ifTrue(clear);
    f.push("/").pushRegister(1).callMethodOnStack(QStringLiteral("split"), 1).storeRegister(2).op(Op::Pop);
    f.pushRegister(2).getMember(QStringLiteral("length")).push(2).op(Op::Equals2).ifFalse(plain);
    f.push("В прошлый раз: ").pushRegister(2).push(0).op(Op::GetMember).op(Op::Add2);
    f.push(" из ").op(Op::Add2).pushRegister(2).push(1).op(Op::GetMember).op(Op::Add2);
    f.setVariable(QStringLiteral("last_text")).op(Op::Return);
    f.label(plain).push("В прошлый раз: ").pushRegister(1).op(Op::Add2).setVariable(QStringLiteral("last_text")).op(Op::Return);
    f.label(clear).push("").setVariable(QStringLiteral("last_text"));
    return f;
}

SwfActions QuizScript::showQuestionFunction()
{
    // r1 the question, r2 its answers, r3 one answer.
    SwfActions f;
    f.getVariable(QStringLiteral("qs")).getVariable(QStringLiteral("at")).op(Op::GetMember).storeRegister(1).op(Op::Pop);
    f.push("Вопрос ").getVariable(QStringLiteral("at")).push(1).op(Op::Add2).op(Op::Add2);
    f.push(" из ").op(Op::Add2).getVariable(QStringLiteral("qs")).getMember(QStringLiteral("length")).op(Op::Add2);
    f.setVariable(QStringLiteral("counter_text"));
    if (m_mode == Test)
        f.push("").setVariable(QStringLiteral("feedback_text"));

    // With a picture the text stands beside it, without one across the stage.
    const QString withPicture = label(QStringLiteral("withpicture"));
    const QString textDone = label(QStringLiteral("textdone"));
    f.pushRegister(1).getMember(QStringLiteral("text"));
    orEmpty(f);
    f.pushRegister(1).getMember(QStringLiteral("picture")).pushUndefined().op(Op::Equals2).ifFalse(withPicture);
    f.setVariable(QStringLiteral("question_wide")).push("").setVariable(QStringLiteral("question_narrow")).jump(textDone);
    f.label(withPicture).setVariable(QStringLiteral("question_narrow")).push("").setVariable(QStringLiteral("question_wide"));
    f.label(textDone);
    f.pushRegister(1).getMember(QStringLiteral("picture"));
    gotoPicture(f, QStringLiteral("picture"));

    f.pushRegister(1).getMember(QStringLiteral("answers")).storeRegister(2).op(Op::Pop);
    for (int slot = 0; slot < m_slots; ++slot) {
        const QString unused = label(QStringLiteral("unused"));
        const QString next = label(QStringLiteral("nextslot"));
        const QString clip = slotName(slot);
        f.push(slot).pushRegister(2).getMember(QStringLiteral("length")).op(Op::Less2).ifFalse(unused);
        f.pushRegister(2).push(slot).op(Op::GetMember).storeRegister(3).op(Op::Pop);
        f.pushPath(clip).pushRegister(3).getMember(QStringLiteral("text"));
        orEmpty(f);
        f.setMember(QStringLiteral("answer"));
        f.pushPath(clip).push(100).setMember(QStringLiteral("_alpha"));
        setVisible(f, clip, true);
        f.pushRegister(3).getMember(QStringLiteral("picture"));
        gotoPicture(f, clip + QStringLiteral(".icon"));
        f.jump(next);
        f.label(unused);
        setVisible(f, clip, false);
        f.label(next);
    }
    f.push(false).setVariable(QStringLiteral("busy"));
    return f;
}

SwfActions QuizScript::chooseFunction()
{
    // choose(k): r1 the slot, r2 the question, r3 the slot's clip.
    SwfActions f;
    const QString ignore = label(QStringLiteral("ignore"));
    f.getVariable(QStringLiteral("busy")).ifTrue(ignore);
    f.getVariable(QStringLiteral("finished")).ifTrue(ignore);
    f.getVariable(QStringLiteral("qs")).getVariable(QStringLiteral("at")).op(Op::GetMember).storeRegister(2).op(Op::Pop);
    f.pushRegister(1).pushRegister(2).getMember(QStringLiteral("answers")).getMember(QStringLiteral("length")).op(Op::Less2).ifFalse(ignore);
    f.push("slot").pushRegister(1).op(Op::Add2).op(Op::GetVariable).storeRegister(3).op(Op::Pop);
    f.pushRegister(3).getMember(QStringLiteral("_alpha")).push(100).op(Op::Less2).ifTrue(ignore);

    const QString wrong = label(QStringLiteral("wrong"));
    f.pushRegister(1).pushRegister(2).getMember(QStringLiteral("right")).op(Op::Equals2).ifFalse(wrong);
    if (m_mode == Test) {
        f.getVariable(QStringLiteral("score")).push(1).op(Op::Add2).setVariable(QStringLiteral("score"));
        f.label(wrong);
        f.callFunction(QStringLiteral("advance"), 0).op(Op::Pop);
    } else {
        setFeedback(f, QStringLiteral("Верно! Молодец!"), rightColor);
        f.push(true).setVariable(QStringLiteral("busy"));
        f.push(900).getVariable(QStringLiteral("advance")).callFunction(QStringLiteral("setInterval"), 2).setVariable(QStringLiteral("timer"));
        f.op(Op::Return);
        f.label(wrong);
        setFeedback(f, QStringLiteral("Подумай ещё!"), wrongColor);
        f.pushRegister(3).push(35).setMember(QStringLiteral("_alpha"));
    }
    f.label(ignore);
    return f;
}

SwfActions QuizScript::advanceFunction()
{
    SwfActions f;
    const QString last = label(QStringLiteral("last"));
    if (m_mode == Exercise) {
        f.getVariable(QStringLiteral("timer")).callFunction(QStringLiteral("clearInterval"), 1).op(Op::Pop);
        setFeedback(f, QString(), rightColor);
    }
    f.getVariable(QStringLiteral("at")).push(1).op(Op::Add2).setVariable(QStringLiteral("at"));
    f.getVariable(QStringLiteral("at")).getVariable(QStringLiteral("qs")).getMember(QStringLiteral("length")).op(Op::Less2).ifFalse(last);
    f.callFunction(QStringLiteral("showQuestion"), 0).op(Op::Pop).op(Op::Return);
    f.label(last).callFunction(QStringLiteral("finish"), 0).op(Op::Pop);
    return f;
}

SwfActions QuizScript::finishFunction()
{
    // r1 the mark, r2 the number of questions.
    SwfActions f;
    f.push(true).setVariable(QStringLiteral("finished"));
    for (int slot = 0; slot < m_slots; ++slot)
        setVisible(f, slotName(slot), false);
    f.push("").setVariable(QStringLiteral("question_wide"));
    f.push("Готово!").setVariable(QStringLiteral("counter_text"));
    f.push("owl");
    gotoPicture(f, QStringLiteral("picture"));
    if (m_mode == Test) {
        f.getVariable(QStringLiteral("qs")).getMember(QStringLiteral("length")).storeRegister(2).op(Op::Pop);
        // The mark is the share answered right, to two decimals: 4 of 5 gives 0.8.
        f.getVariable(QStringLiteral("score")).push(100).op(Op::Multiply).pushRegister(2).op(Op::Divide);
        f.pushPath(QStringLiteral("Math")).callMethodOnStack(QStringLiteral("round"), 1).push(100).op(Op::Divide);
        f.storeRegister(1).op(Op::Pop);
        f.push("Правильно: ").getVariable(QStringLiteral("score")).op(Op::Add2).push(" из ").op(Op::Add2);
        f.pushRegister(2).op(Op::Add2).push("\n").op(Op::Add2);
        const QString good = label(QStringLiteral("good"));
        const QString weak = label(QStringLiteral("weak"));
        const QString praised = label(QStringLiteral("praised"));
        f.pushRegister(1).push(0.95).op(Op::Less2).ifTrue(good);
        f.push("Молодец! Всё правильно!").jump(praised);
        f.label(good).pushRegister(1).push(0.65).op(Op::Less2).ifTrue(weak);
        f.push("Хорошо!").jump(praised);
        f.label(weak).push("Нужно ещё поработать!");
        f.label(praised).op(Op::Add2).setVariable(QStringLiteral("question_narrow"));

        f.push("<shell action=\"save\"><result mark=\"").pushRegister(1).op(Op::Add2).push("\">").op(Op::Add2);
        f.getVariable(QStringLiteral("score")).op(Op::Add2).push("/").op(Op::Add2).pushRegister(2).op(Op::Add2);
        f.push("</result></shell>").op(Op::Add2);
        f.externalCall(StageKit::shellCallName(), 1).op(Op::Pop);
    } else {
        f.push("Все задания выполнены!\nМолодец!").setVariable(QStringLiteral("question_narrow"));
    }
    setVisible(f, QStringLiteral("again"), true);
    if (m_hasLink)
        setVisible(f, QStringLiteral("link"), true);
    return f;
}

SwfActions QuizScript::restartFunction()
{
    SwfActions f;
    f.push(0).setVariable(QStringLiteral("at"));
    f.push(0).setVariable(QStringLiteral("score"));
    f.push(false).setVariable(QStringLiteral("finished"));
    setFeedback(f, QString(), rightColor);
    setVisible(f, QStringLiteral("again"), false);
    if (m_hasLink)
        setVisible(f, QStringLiteral("link"), false);
    f.callFunction(QStringLiteral("showQuestion"), 0).op(Op::Pop);
    return f;
}

SwfActions QuizScript::parseFunction()
{
    // parseQuestions(doc): r1 doc, r2 the <test> element, r3 its children, r4 i, r5 a child,
    // r6 the question, r7 its children, r8 j, r9 an <answer>, r10 the result, r11 the answer.
    SwfActions f;
    const QString findRoot = label(QStringLiteral("findroot"));
    const QString rootFound = label(QStringLiteral("rootfound"));
    const QString done = label(QStringLiteral("done"));
    f.newObject(QStringLiteral("Array"), 0).storeRegister(10).op(Op::Pop);
    f.pushRegister(1).getMember(QStringLiteral("firstChild")).storeRegister(2).op(Op::Pop);
    f.label(findRoot);
    f.pushRegister(2).pushNull().op(Op::Equals2).ifTrue(done);
    f.pushRegister(2).getMember(QStringLiteral("nodeName")).push("test").op(Op::Equals2).ifTrue(rootFound);
    f.pushRegister(2).getMember(QStringLiteral("nextSibling")).storeRegister(2).op(Op::Pop).jump(findRoot);
    f.label(rootFound);

    const QString questionLoop = label(QStringLiteral("questions"));
    const QString nextQuestion = label(QStringLiteral("nextquestion"));
    f.pushRegister(2).getMember(QStringLiteral("childNodes")).storeRegister(3).op(Op::Pop);
    f.push(0).storeRegister(4).op(Op::Pop);
    f.label(questionLoop);
    f.pushRegister(4).pushRegister(3).getMember(QStringLiteral("length")).op(Op::Less2).ifFalse(done);
    f.pushRegister(3).pushRegister(4).op(Op::GetMember).storeRegister(5).op(Op::Pop);
    f.pushRegister(5).getMember(QStringLiteral("nodeName")).push("question").op(Op::Equals2).ifFalse(nextQuestion);
    f.newObject(QStringLiteral("Object"), 0).storeRegister(6).op(Op::Pop);
    f.pushRegister(6).pushRegister(5).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("text")).setMember(QStringLiteral("text"));
    f.pushRegister(6).pushRegister(5).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("picture")).setMember(QStringLiteral("picture"));
    f.pushRegister(6).push(-1).setMember(QStringLiteral("right"));
    f.pushRegister(6).newObject(QStringLiteral("Array"), 0).setMember(QStringLiteral("answers"));

    const QString answerLoop = label(QStringLiteral("answers"));
    const QString answersDone = label(QStringLiteral("answersdone"));
    const QString nextAnswer = label(QStringLiteral("nextanswer"));
    const QString notRight = label(QStringLiteral("notright"));
    f.pushRegister(5).getMember(QStringLiteral("childNodes")).storeRegister(7).op(Op::Pop);
    f.push(0).storeRegister(8).op(Op::Pop);
    f.label(answerLoop);
    f.pushRegister(8).pushRegister(7).getMember(QStringLiteral("length")).op(Op::Less2).ifFalse(answersDone);
    f.pushRegister(7).pushRegister(8).op(Op::GetMember).storeRegister(9).op(Op::Pop);
    f.pushRegister(9).getMember(QStringLiteral("nodeName")).push("answer").op(Op::Equals2).ifFalse(nextAnswer);
    f.pushRegister(9).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("right")).push("true").op(Op::Equals2).ifFalse(notRight);
    f.pushRegister(6).pushRegister(6).getMember(QStringLiteral("answers")).getMember(QStringLiteral("length")).setMember(QStringLiteral("right"));
    f.label(notRight);
    f.newObject(QStringLiteral("Object"), 0).storeRegister(11).op(Op::Pop);
    f.pushRegister(11).pushRegister(9).getMember(QStringLiteral("firstChild")).getMember(QStringLiteral("nodeValue")).setMember(QStringLiteral("text"));
    f.pushRegister(11).pushRegister(9).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("picture")).setMember(QStringLiteral("picture"));
    f.pushRegister(11).pushRegister(6).getMember(QStringLiteral("answers")).callMethodOnStack(QStringLiteral("push"), 1).op(Op::Pop);
    f.label(nextAnswer);
    f.pushRegister(8).op(Op::Increment).storeRegister(8).op(Op::Pop).jump(answerLoop);
    f.label(answersDone);
    f.pushRegister(6).pushRegister(10).callMethodOnStack(QStringLiteral("push"), 1).op(Op::Pop);
    f.label(nextQuestion);
    f.pushRegister(4).op(Op::Increment).storeRegister(4).op(Op::Pop).jump(questionLoop);
    f.label(done);
    f.pushRegister(10).op(Op::Return);
    return f;
}

SwfActions QuizScript::receiveFunction()
{
    // send2flash(message): r1 the message, r2 its root element. Only the history matters here.
    SwfActions f;
    const QString ignore = label(QStringLiteral("ignore"));
    f.pushRegister(1).newObject(QStringLiteral("XML"), 1).getMember(QStringLiteral("firstChild")).storeRegister(2).op(Op::Pop);
    f.pushRegister(2).getMember(QStringLiteral("nodeName")).push("flash").op(Op::Equals2).ifFalse(ignore);
    f.pushRegister(2).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("action")).push("history").op(Op::Equals2).ifFalse(ignore);
    f.pushRegister(2).getMember(QStringLiteral("firstChild")).getMember(QStringLiteral("nodeValue"));
    f.callFunction(QStringLiteral("lastTime"), 1).op(Op::Pop);
    f.label(ignore);
    return f;
}

SwfActions QuizScript::loadFromFile()
{
    // doc.onLoad(ok): r1 ok.
    SwfActions onLoad;
    const QString failed = label(QStringLiteral("failed"));
    const QString empty = label(QStringLiteral("empty"));
    const QString captioned = label(QStringLiteral("captioned"));
    onLoad.pushRegister(1).ifFalse(failed);
    onLoad.getVariable(QStringLiteral("doc")).callFunction(QStringLiteral("parseQuestions"), 1).setVariable(QStringLiteral("qs"));
    onLoad.getVariable(QStringLiteral("qs")).getMember(QStringLiteral("length")).push(0).op(Op::Equals2).ifTrue(empty);
    onLoad.getVariable(QStringLiteral("caption_text")).push("").op(Op::Equals2).ifFalse(captioned);
    onLoad.getVariable(QStringLiteral("doc")).getMember(QStringLiteral("firstChild")).getMember(QStringLiteral("attributes")).getMember(QStringLiteral("caption"));
    orEmpty(onLoad);
    onLoad.setVariable(QStringLiteral("caption_text"));
    onLoad.label(captioned);
    onLoad.callFunction(QStringLiteral("restart"), 0).op(Op::Pop).op(Op::Return);
    onLoad.label(empty).push("В файле нет вопросов.").setVariable(QStringLiteral("question_wide")).op(Op::Return);
    onLoad.label(failed).push("Не получилось открыть вопросы.").setVariable(QStringLiteral("question_wide"));

    SwfActions a;
    a.push("Загружаю вопросы…").setVariable(QStringLiteral("question_wide"));
    a.newObject(QStringLiteral("XML"), 0).setVariable(QStringLiteral("doc"));
    a.getVariable(QStringLiteral("doc")).push(true).setMember(QStringLiteral("ignoreWhite"));
    a.getVariable(QStringLiteral("doc")).defineFunction2(QString(), {QStringLiteral("ok")}, 2, onLoad).setMember(QStringLiteral("onLoad"));
    a.getVariable(QStringLiteral("param")).getVariable(QStringLiteral("doc")).callMethodOnStack(QStringLiteral("load"), 1).op(Op::Pop);
    return a;
}

void QuizScript::pushAnswers(SwfActions &a, const Quiz::Question &question) const
{
    for (int i = int(question.answers.size()) - 1; i >= 0; --i) {
        const Quiz::Answer &answer = question.answers[i];
        int members = 1;
        a.push("text").push(answer.text);
        if (!answer.picture.isEmpty()) {
            a.push("picture").push(answer.picture);
            ++members;
        }
        a.push(members).op(Op::InitObject);
    }
    a.initArray(int(question.answers.size()));
}

void QuizScript::pushBuiltIn(SwfActions &a) const
{
    for (int i = int(m_builtIn.questions.size()) - 1; i >= 0; --i) {
        const Quiz::Question &question = m_builtIn.questions[i];
        int members = 3;
        a.push("text").push(question.text).push("right").push(question.right).push("answers");
        pushAnswers(a, question);
        if (!question.picture.isEmpty()) {
            a.push("picture").push(question.picture);
            ++members;
        }
        a.push(members).op(Op::InitObject);
    }
    a.initArray(int(m_builtIn.questions.size()));
}

SwfActions QuizScript::firstFrame()
{
    SwfActions a;
    a.op(Op::Stop);
    a.defineFunction2(QStringLiteral("lastTime"), {QStringLiteral("h")}, 3, lastTimeFunction());
    a.defineFunction2(QStringLiteral("showQuestion"), {}, 4, showQuestionFunction());
    a.defineFunction2(QStringLiteral("choose"), {QStringLiteral("k")}, 4, chooseFunction());
    a.defineFunction2(QStringLiteral("advance"), {}, 1, advanceFunction());
    a.defineFunction2(QStringLiteral("finish"), {}, 3, finishFunction());
    a.defineFunction2(QStringLiteral("restart"), {}, 1, restartFunction());
    a.defineFunction2(QStringLiteral("parseQuestions"), {QStringLiteral("doc")}, 12, parseFunction());

    // The material's caption, given by the shell, heads the stage; the file's own otherwise.
    const QString captioned = label(QStringLiteral("captioned"));
    a.getVariable(QStringLiteral("caption"));
    orEmpty(a);
    a.op(Op::PushDuplicate).push("").op(Op::Equals2).ifFalse(captioned);
    a.op(Op::Pop).push(m_builtIn.caption);
    a.label(captioned).setVariable(QStringLiteral("caption_text"));
    a.getVariable(QStringLiteral("history")).callFunction(QStringLiteral("lastTime"), 1).op(Op::Pop);

    for (int slot = 0; slot < m_slots; ++slot) {
        a.pushPath(slotName(slot)).push(slot).setMember(QStringLiteral("index"));
        setVisible(a, slotName(slot), false);
    }
    setVisible(a, QStringLiteral("again"), false);
    if (m_hasLink)
        setVisible(a, QStringLiteral("link"), false);
    a.defineFunction2(QString(), {QStringLiteral("message")}, 3, receiveFunction())
        .addExternalCallback(QStringLiteral("send2flash"))
        .op(Op::Pop);

    const QString builtIn = label(QStringLiteral("builtin"));
    const QString started = label(QStringLiteral("started"));
    a.getVariable(QStringLiteral("param")).op(Op::PushDuplicate).pushUndefined().op(Op::Equals2).ifTrue(builtIn);
    a.push("").op(Op::Equals2).ifTrue(started + QStringLiteral("_empty"));
    a.append(loadFromFile());
    a.jump(started);
    a.label(builtIn).op(Op::Pop);
    a.label(started + QStringLiteral("_empty"));
    if (m_builtIn.questions.isEmpty()) {
        a.push("Нет файла с вопросами.").setVariable(QStringLiteral("question_wide"));
    } else {
        pushBuiltIn(a);
        a.setVariable(QStringLiteral("qs"));
        a.callFunction(QStringLiteral("restart"), 0).op(Op::Pop);
    }
    a.label(started);
    return a;
}
