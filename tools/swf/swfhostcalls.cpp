#include "swfhostcalls.h"

#include <QtEndian>

#include <cstring>

namespace {

// A value on the AVM1 stack as far as a straight reading can tell: a string, a number, the
// object a dotted path names ("flash.external.ExternalInterface"), or unknown.
struct Item
{
    enum Kind { Unknown, Text, Number, Path } kind = Unknown;
    QString text;
    double number = 0;

    static Item text_(const QString &s) { return s.size() > SwfHostCalls::MaxText ? Item() : Item{Text, s, 0}; }
    static Item number_(double n) { return Item{Number, QString::number(n), n}; }
};

constexpr int MaxStack = 1024;
// More arguments than this are read as unknown rather than popped one by one.
constexpr int MaxArguments = 64;
// Functions nested in functions, each keeping its outer stack: deeper than any real movie.
constexpr int MaxNestedBodies = 64;

SwfHostCalls::Value valueOf(const Item &item)
{
    if (item.kind == Item::Text || item.kind == Item::Number)
        return {true, item.text};
    return {};
}

bool endsWithName(const QString &path, QLatin1String name)
{
    return path == name || path.endsWith(QLatin1Char('.') + name);
}

} // namespace

struct SwfHostCalls::Frame
{
    QList<Item> stack;

    Item pop() { return stack.isEmpty() ? Item() : stack.takeLast(); }
    void push(const Item &item)
    {
        if (stack.size() >= MaxStack)
            stack.removeFirst();
        stack.append(item);
    }
    void drop(int count)
    {
        for (int i = 0; i < count; ++i)
            pop();
    }
    // A count the movie pushed, then that many values (the first argument on top).
    QList<Value> arguments()
    {
        const Item count = pop();
        QList<Value> values;
        if (count.kind != Item::Number || count.number < 0 || count.number > MaxArguments) {
            stack.clear();
            return values;
        }
        for (int i = 0; i < int(count.number); ++i)
            values.append(valueOf(pop()));
        return values;
    }
};

void SwfHostCalls::addString(const QString &text)
{
    if (text.size() <= MaxText && !m_seen.contains(text)) {
        m_seen.insert(text);
        m_strings.append(text);
    }
}

void SwfHostCalls::record(Kind kind, const Value &name, const Value &target, const QList<Value> &arguments, bool posts)
{
    m_calls.append({kind, name, target, arguments, posts});
}

void SwfHostCalls::urlCall(const Value &url, const Value &target, int flags)
{
    static const QLatin1String fsPrefix("FSCommand:");
    const bool posts = (flags & 3) == 2;
    if (flags & 0x80) {
        record(LoadVariables, url, target, {}, posts);
    } else if (flags & 0x40) {
        record(LoadMovie, url, target, {}, posts);
    } else if (url.known && url.text.startsWith(fsPrefix, Qt::CaseInsensitive)) {
        record(FsCommand, {true, url.text.mid(fsPrefix.size())}, target);
    } else if (target.known && target.text.startsWith(QLatin1String("_level"))) {
        // loadMovieNum and unloadMovieNum: an empty URL unloads.
        if (!url.known || !url.text.isEmpty())
            record(LoadMovie, url, target, {}, posts);
    } else {
        record(GetUrl, url, target, {}, posts);
    }
}

void SwfHostCalls::scan(const QByteArray &program)
{
    m_pool.clear();
    Frame frame;
    // Function bodies lie inline: each has its own stack, and the outer one resumes after it.
    struct Body { int end; QList<Item> outer; bool pushesFunction; };
    QList<Body> bodies;

    const auto u16At = [&](int at) { return int(qFromLittleEndian<quint16>(program.constData() + at)); };
    const auto stringAt = [&](int &at, int end) {
        const int stop = int(program.indexOf('\0', at));
        if (stop < 0 || stop >= end) {
            at = end;
            return QString();
        }
        const QString text = QString::fromUtf8(program.constData() + at, stop - at);
        at = stop + 1;
        return text;
    };

    int at = 0;
    const int size = int(program.size());
    while (at < size) {
        while (!bodies.isEmpty() && at >= bodies.last().end) {
            const Body body = bodies.takeLast();
            frame.stack = body.outer;
            if (body.pushesFunction)
                frame.push(Item());
        }
        const quint8 code = quint8(program[at++]);
        if (code == 0)
            break;
        int length = 0;
        if (code >= 0x80) {
            if (at + 2 > size)
                break;
            length = u16At(at);
            at += 2;
            if (length > size - at)
                break;
        }
        const int payload = at;
        const int end = at + length;
        at = end;

        switch (code) {
        case 0x96: { // Push
            int p = payload;
            while (p < end) {
                const quint8 type = quint8(program[p++]);
                if (type == 0) {
                    const QString text = stringAt(p, end);
                    addString(text);
                    frame.push(Item::text_(text));
                } else if (type == 1 && p + 4 <= end) {
                    float f;
                    const quint32 raw = qFromLittleEndian<quint32>(program.constData() + p);
                    std::memcpy(&f, &raw, sizeof f);
                    frame.push(Item::number_(f));
                    p += 4;
                } else if (type == 6 && p + 8 <= end) {
                    // The two halves of the double, high half first, each little-endian.
                    const quint64 raw = (quint64(qFromLittleEndian<quint32>(program.constData() + p)) << 32)
                                      | qFromLittleEndian<quint32>(program.constData() + p + 4);
                    double d;
                    std::memcpy(&d, &raw, sizeof d);
                    frame.push(Item::number_(d));
                    p += 8;
                } else if (type == 7 && p + 4 <= end) {
                    frame.push(Item::number_(qint32(qFromLittleEndian<quint32>(program.constData() + p))));
                    p += 4;
                } else if ((type == 8 && p + 1 <= end) || (type == 9 && p + 2 <= end)) {
                    const int index = type == 8 ? quint8(program[p]) : u16At(p);
                    p += type == 8 ? 1 : 2;
                    frame.push(index < m_pool.size() ? Item::text_(m_pool[index]) : Item());
                } else if (type == 2 || type == 3) {
                    frame.push(Item());
                } else if ((type == 4 || type == 5) && p + 1 <= end) {
                    frame.push(Item());
                    ++p;
                } else {
                    break;
                }
            }
            break;
        }
        case 0x88: { // ConstantPool
            m_pool.clear();
            if (length < 2)
                break;
            int p = payload + 2;
            for (int i = u16At(payload); i > 0 && p < end; --i) {
                const QString text = stringAt(p, end);
                addString(text);
                m_pool.append(text);
            }
            break;
        }
        case 0x9b:   // DefineFunction
        case 0x8e: { // DefineFunction2
            if (length < 2)
                break;
            int p = payload;
            const QString name = stringAt(p, end);
            const int bodySize = u16At(end - 2);
            if (bodies.size() >= MaxNestedBodies)
                return; // a movie built to exhaust the reader: what was read so far stands
            bodies.append({qMin(size, end + bodySize), frame.stack, name.isEmpty()});
            frame.stack.clear();
            break;
        }
        case 0x17: // Pop
        case 0x26: // Trace
        case 0x20: // SetTarget2
        case 0x9f: // GotoFrame2
        case 0x9d: // If
        case 0x9e: // Call
        case 0x25: // RemoveSprite
        case 0x3e: // Return
        case 0x41: // DefineLocal2
        case 0x94: // With
        case 0x2a: // Throw
            frame.pop();
            break;
        case 0x1d: // SetVariable
        case 0x3c: // DefineLocal
            frame.drop(2);
            break;
        case 0x4f: // SetMember
        case 0x23: // SetProperty
        case 0x24: // CloneSprite
            frame.drop(3);
            break;
        case 0x1c: { // GetVariable
            const Item name = frame.pop();
            frame.push(name.kind == Item::Text ? Item{Item::Path, name.text, 0} : Item());
            break;
        }
        case 0x4e: { // GetMember
            const Item member = frame.pop();
            const Item object = frame.pop();
            if (object.kind == Item::Path && member.kind == Item::Text && object.text.size() + member.text.size() < MaxText)
                frame.push({Item::Path, object.text + QLatin1Char('.') + member.text, 0});
            else
                frame.push(Item());
            break;
        }
        case 0x21:   // StringAdd
        case 0x47: { // Add2
            const Item second = frame.pop();
            const Item first = frame.pop();
            if (first.kind == Item::Text && second.kind == Item::Text)
                frame.push(Item::text_(first.text + second.text));
            else
                frame.push(Item());
            break;
        }
        case 0x0a: case 0x0b: case 0x0c: case 0x0d: case 0x0e: case 0x0f: case 0x10: case 0x11:
        case 0x13: case 0x22: case 0x29: case 0x3a: case 0x3f: case 0x48: case 0x49: case 0x54:
        case 0x60: case 0x61: case 0x62: case 0x63: case 0x64: case 0x65: case 0x66: case 0x67: case 0x68:
            frame.drop(2);
            frame.push(Item());
            break;
        case 0x12: case 0x14: case 0x18: case 0x30: case 0x31: case 0x32: case 0x33: case 0x36: case 0x37:
        case 0x3b: case 0x44: case 0x45: case 0x4a: case 0x4b: case 0x50: case 0x51:
            frame.pop();
            frame.push(Item());
            break;
        case 0x34: // GetTime
            frame.push(Item());
            break;
        case 0x4c: { // PushDuplicate
            const Item top = frame.pop();
            frame.push(top);
            frame.push(top);
            break;
        }
        case 0x4d: { // StackSwap
            const Item top = frame.pop();
            const Item below = frame.pop();
            frame.push(top);
            frame.push(below);
            break;
        }
        case 0x87: // StoreRegister
        case 0x99: // Jump
        case 0x81: // GotoFrame
        case 0x8b: // SetTarget
        case 0x8c: // GoToLabel
        case 0x04: case 0x05: case 0x06: case 0x07: case 0x08: case 0x09: case 0x28:
            break;
        case 0x3d: { // CallFunction
            frame.pop();
            frame.arguments();
            frame.push(Item());
            break;
        }
        case 0x40: { // NewObject
            frame.pop();
            frame.arguments();
            frame.push(Item());
            break;
        }
        case 0x52:   // CallMethod
        case 0x53: { // NewMethod
            const Item method = frame.pop();
            const Item object = frame.pop();
            const QList<Value> arguments = frame.arguments();
            if (code == 0x52 && object.kind == Item::Path && endsWithName(object.text, QLatin1String("ExternalInterface"))
                && method.kind == Item::Text) {
                const Value name = arguments.isEmpty() ? Value() : arguments.first();
                if (method.text == QLatin1String("call"))
                    record(ExternalCall, name, {}, arguments.mid(1));
                else if (method.text == QLatin1String("addCallback"))
                    record(Callback, name, {});
            } else if (code == 0x52 && method.kind == Item::Text && !arguments.isEmpty()
                       && (method.text == QLatin1String("loadClip") || method.text == QLatin1String("loadMovie"))) {
                record(LoadMovie, arguments.first(), arguments.value(1));
            } else if (code == 0x52 && method.kind == Item::Text && !arguments.isEmpty()
                       && (method.text == QLatin1String("load") || method.text == QLatin1String("sendAndLoad")
                           || method.text == QLatin1String("loadVariables"))) {
                record(LoadVariables, arguments.first(), {}, {}, method.text == QLatin1String("sendAndLoad"));
            }
            frame.push(Item());
            break;
        }
        case 0x42: { // InitArray
            frame.arguments();
            frame.push(Item());
            break;
        }
        case 0x83: { // GetURL: both strings in the record
            int p = payload;
            const QString url = stringAt(p, end);
            const QString target = stringAt(p, end);
            addString(url);
            addString(target);
            urlCall({true, url}, {true, target}, 0);
            break;
        }
        case 0x9a: { // GetURL2
            const Item target = frame.pop();
            const Item url = frame.pop();
            urlCall(valueOf(url), valueOf(target), length > 0 ? quint8(program[payload]) : 0);
            break;
        }
        default:
            // An operation whose effect on the stack this reading does not follow: what was
            // on the stack can no longer be told apart.
            frame.stack.clear();
            break;
        }
    }
}
