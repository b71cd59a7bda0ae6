#include "swfactions.h"

#include "swfstream.h"

#include <QtMath>
#include <QDebug>
#include <cstring>

SwfActions &SwfActions::op(Op code)
{
    m_code.append(char(code));
    return *this;
}

void SwfActions::record(quint8 code, const QByteArray &payload)
{
    SwfStream out;
    out.u8(code);
    out.u16(quint32(payload.size()));
    out.bytes(payload);
    m_code.append(out.data());
}

void SwfActions::pushItem(const QByteArray &typedValue)
{
    record(0x96, typedValue);
}

SwfActions &SwfActions::push(const QString &text)
{
    SwfStream out;
    out.u8(0);
    out.string(text);
    pushItem(out.data());
    return *this;
}

SwfActions &SwfActions::push(int value)
{
    SwfStream out;
    out.u8(7);
    out.u32(quint32(value));
    pushItem(out.data());
    return *this;
}

SwfActions &SwfActions::push(double value)
{
    if (value == std::floor(value) && qAbs(value) < 2147483647.0 && !(value == 0 && std::signbit(value)))
        return push(int(value));
    // AVM1 stores a double as its two 32-bit halves, high half first, each little-endian.
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    SwfStream out;
    out.u8(6);
    out.u32(quint32(bits >> 32));
    out.u32(quint32(bits & 0xffffffffu));
    pushItem(out.data());
    return *this;
}

SwfActions &SwfActions::push(bool value)
{
    pushItem(QByteArray("\x05", 1) + char(value ? 1 : 0));
    return *this;
}

SwfActions &SwfActions::pushNull()
{
    pushItem(QByteArray("\x02", 1));
    return *this;
}

SwfActions &SwfActions::pushUndefined()
{
    pushItem(QByteArray("\x03", 1));
    return *this;
}

SwfActions &SwfActions::pushRegister(int reg)
{
    pushItem(QByteArray("\x04", 1) + char(reg));
    return *this;
}

SwfActions &SwfActions::storeRegister(int reg)
{
    record(0x87, QByteArray(1, char(reg)));
    return *this;
}

SwfActions &SwfActions::label(const QString &name)
{
    m_labels.insert(name, int(m_code.size()));
    return *this;
}

void SwfActions::branch(quint8 code, const QString &label)
{
    record(code, QByteArray(2, '\0'));
    m_fixups.append({int(m_code.size()) - 2, int(m_code.size()), label});
}

SwfActions &SwfActions::jump(const QString &label)
{
    branch(0x99, label);
    return *this;
}

SwfActions &SwfActions::ifTrue(const QString &label)
{
    branch(0x9d, label);
    return *this;
}

SwfActions &SwfActions::ifFalse(const QString &label)
{
    op(Not);
    return ifTrue(label);
}

SwfActions &SwfActions::gotoFrame(int frame)
{
    SwfStream out;
    out.u16(quint32(frame));
    record(0x81, out.data());
    return *this;
}

SwfActions &SwfActions::defineFunction(const QString &name, const QStringList &params, const SwfActions &body)
{
    const QByteArray bodyCode = body.code();
    SwfStream out;
    out.string(name);
    out.u16(quint32(params.size()));
    for (const QString &param : params)
        out.string(param);
    out.u16(quint32(bodyCode.size()));
    record(0x9b, out.data());
    m_code.append(bodyCode);
    return *this;
}

namespace {
enum FunctionFlag : quint8 { PreloadThis = 0x01, SuppressThis = 0x02, SuppressArguments = 0x08, SuppressSuper = 0x20 };
}

void SwfActions::function2(const QString &name, const QStringList &params, int registerCount, bool thisInFirst,
                           const SwfActions &body)
{
    const QByteArray bodyCode = body.code();
    const int firstParam = thisInFirst ? 2 : 1;
    SwfStream out;
    out.string(name);
    out.u16(quint32(params.size()));
    out.u8(quint32(qMax(registerCount, int(params.size()) + firstParam)));
    out.u8((thisInFirst ? PreloadThis : SuppressThis) | SuppressArguments | SuppressSuper);
    out.u8(0x00);
    for (int i = 0; i < params.size(); ++i) {
        out.u8(quint32(i + firstParam));
        out.string(params[i]);
    }
    out.u16(quint32(bodyCode.size()));
    record(0x8e, out.data());
    m_code.append(bodyCode);
}

SwfActions &SwfActions::defineFunction2(const QString &name, const QStringList &params, int registerCount,
                                        const SwfActions &body)
{
    function2(name, params, registerCount, false, body);
    return *this;
}

SwfActions &SwfActions::defineMethod(const QString &name, const QStringList &params, int registerCount,
                                     const SwfActions &body)
{
    function2(name, params, registerCount, true, body);
    return *this;
}

SwfActions &SwfActions::getVariable(const QString &name)
{
    return push(name).op(GetVariable);
}

SwfActions &SwfActions::setVariable(const QString &name)
{
    return push(name).op(StackSwap).op(SetVariable);
}

SwfActions &SwfActions::getMember(const QString &name)
{
    return push(name).op(GetMember);
}

SwfActions &SwfActions::setMember(const QString &name)
{
    return push(name).op(StackSwap).op(SetMember);
}

SwfActions &SwfActions::callFunction(const QString &name, int argumentCount)
{
    return push(argumentCount).push(name).op(CallFunction);
}

SwfActions &SwfActions::callMethodOnStack(const QString &method, int argumentCount)
{
    // CallMethod wants the count below the object: slide it under.
    return push(argumentCount).op(StackSwap).push(method).op(CallMethod);
}

SwfActions &SwfActions::newObject(const QString &className, int argumentCount)
{
    return push(argumentCount).push(className).op(NewObject);
}

SwfActions &SwfActions::initArray(int count)
{
    return push(count).op(InitArray);
}

SwfActions &SwfActions::pushPath(const QString &dottedPath)
{
    const QStringList parts = dottedPath.split(QLatin1Char('.'));
    push(parts.first()).op(GetVariable);
    for (int i = 1; i < parts.size(); ++i)
        push(parts[i]).op(GetMember);
    return *this;
}

SwfActions &SwfActions::callMethod(const QString &objectPath, const QString &method, int argumentCount)
{
    push(argumentCount);
    pushPath(objectPath);
    push(method);
    return op(CallMethod);
}

SwfActions &SwfActions::externalCall(const QString &name, int argumentCount)
{
    push(name);
    return callMethod(QStringLiteral("flash.external.ExternalInterface"), QStringLiteral("call"), argumentCount + 1);
}

SwfActions &SwfActions::getUrl(const QString &url, const QString &target)
{
    SwfStream out;
    out.string(url);
    out.string(target);
    record(0x83, out.data());
    return *this;
}

SwfActions &SwfActions::getUrl2(int method)
{
    SwfStream out;
    out.u8(quint8(method & 3));
    record(0x9a, out.data());
    return *this;
}

SwfActions &SwfActions::addExternalCallback(const QString &name)
{
    // Stack on entry: the function. addCallback(name, instance, function) wants it pushed first.
    pushNull();
    push(name);
    return callMethod(QStringLiteral("flash.external.ExternalInterface"), QStringLiteral("addCallback"), 3);
}

SwfActions &SwfActions::append(const SwfActions &other)
{
    const int offset = int(m_code.size());
    for (auto it = other.m_labels.cbegin(); it != other.m_labels.cend(); ++it) {
        if (m_labels.contains(it.key()))
            qWarning("SwfActions: the label \"%s\" is defined twice", qPrintable(it.key()));
        m_labels.insert(it.key(), it.value() + offset);
    }
    for (const Fixup &fixup : other.m_fixups)
        m_fixups.append({fixup.offsetField + offset, fixup.recordEnd + offset, fixup.label});
    m_code.append(other.m_code);
    return *this;
}

QByteArray SwfActions::code() const
{
    QByteArray code = m_code;
    for (const Fixup &fixup : m_fixups) {
        const int target = m_labels.value(fixup.label, -1);
        if (target < 0)
            qWarning("SwfActions: branch to the undefined label \"%s\"", qPrintable(fixup.label));
        const qint32 offset = target < 0 ? 0 : target - fixup.recordEnd;
        code[fixup.offsetField] = char(offset & 0xff);
        code[fixup.offsetField + 1] = char((offset >> 8) & 0xff);
    }
    return code;
}

QByteArray SwfActions::program() const
{
    return code() + QByteArray(1, '\0');
}
