#include "swftarget.h"

#include "swfhostcalls.h"
#include "swfreader.h"

#include <QByteArray>

namespace {

struct Reading
{
    bool read = false;
    int tags = 0;
    int programs = 0;
    int calls = 0;
    int strings = 0;
};

QString readOnce(const QByteArray &input, Reading *reading)
{
    SwfReader swf;
    reading->read = swf.read(input);
    if (!reading->read) {
        if (swf.error().isEmpty())
            return QStringLiteral("refused without saying why");
        if (!swf.tags().isEmpty() || !swf.actionPrograms().isEmpty())
            return QStringLiteral("refused, yet holds tags");
        return QString();
    }
    if (swf.declaredLength() > SwfReader::MaxLength)
        return QStringLiteral("took a movie longer than the limit: %1").arg(swf.declaredLength());
    for (const SwfReader::Tag &tag : swf.tags()) {
        if (tag.offset < 8 || quint64(tag.offset) + quint64(tag.body.size()) > swf.declaredLength())
            return QStringLiteral("tag %1 at %2 lies outside the movie").arg(tag.code).arg(tag.offset);
    }
    SwfHostCalls calls;
    for (const QByteArray &program : swf.actionPrograms()) {
        if (program.size() > qsizetype(swf.declaredLength()))
            return QStringLiteral("an action program longer than the movie");
        calls.scan(program);
    }
    for (const QString &text : calls.strings()) {
        if (text.size() > SwfHostCalls::MaxText)
            return QStringLiteral("kept a string of %1 characters").arg(text.size());
    }
    for (const SwfHostCalls::Call &call : calls.calls()) {
        if (call.name.text.size() > SwfHostCalls::MaxText || call.target.text.size() > SwfHostCalls::MaxText)
            return QStringLiteral("a call named by a string beyond the limit");
    }
    *reading = {true, int(swf.tags().size()), int(swf.actionPrograms().size()), int(calls.calls().size()),
                int(calls.strings().size())};
    return QString();
}

} // namespace

QString SwfTarget::run(const QByteArray &input)
{
    Reading first, second;
    const QString problem = readOnce(input, &first);
    if (!problem.isEmpty())
        return problem;
    readOnce(input, &second);
    if (first.read != second.read || first.tags != second.tags || first.programs != second.programs
        || first.calls != second.calls || first.strings != second.strings)
        return QStringLiteral("the same bytes read differently");
    return QString();
}
