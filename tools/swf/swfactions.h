#ifndef SWFACTIONS_H
#define SWFACTIONS_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// An assembler of AVM1 action records (the byte code of DoAction, button actions and
// function bodies). Values are pushed in stack order; operations consume them as the AVM1
// machine does. Branches name labels, which may be defined before or after the branch.
class SwfActions
{
public:
    enum Op : quint8 {
        NextFrame = 0x04, Play = 0x06, Stop = 0x07,
        Subtract = 0x0b, Multiply = 0x0c, Divide = 0x0d,
        Not = 0x12, Pop = 0x17, GetVariable = 0x1c, SetVariable = 0x1d,
        StringAdd = 0x21, Trace = 0x26,
        CallFunction = 0x3d, Return = 0x3e, Modulo = 0x3f, DefineLocal = 0x3c, NewObject = 0x40,
        InitArray = 0x42, InitObject = 0x43, TypeOf = 0x44, Add2 = 0x47, Less2 = 0x48,
        Equals2 = 0x49, ToNumber = 0x4a, ToString = 0x4b, PushDuplicate = 0x4c, StackSwap = 0x4d,
        GetMember = 0x4e, SetMember = 0x4f, Increment = 0x50, Decrement = 0x51,
        CallMethod = 0x52, StrictEquals = 0x66, Greater = 0x67,
    };

    SwfActions &op(Op code);

    SwfActions &push(const QString &text);
    SwfActions &push(const char *text) { return push(QString::fromUtf8(text)); }
    SwfActions &push(int value);
    SwfActions &push(double value);
    SwfActions &push(bool value);
    SwfActions &pushNull();
    SwfActions &pushUndefined();
    SwfActions &pushRegister(int reg);
    SwfActions &storeRegister(int reg);

    SwfActions &label(const QString &name);
    SwfActions &jump(const QString &label);
    SwfActions &ifTrue(const QString &label);   // pops the condition
    SwfActions &ifFalse(const QString &label);  // pops the condition
    SwfActions &gotoFrame(int frame);           // 0-based

    // function name(params) { body }; an empty name leaves the function on the stack.
    SwfActions &defineFunction(const QString &name, const QStringList &params, const SwfActions &body);
    // The parameters arrive in registers 1..n; `this`, `arguments` and `super` are suppressed.
    SwfActions &defineFunction2(const QString &name, const QStringList &params, int registerCount,
                                const SwfActions &body);
    // The same for a function called as a method or an event handler: `this` arrives in
    // register 1 and the parameters in registers 2..n+1.
    SwfActions &defineMethod(const QString &name, const QStringList &params, int registerCount,
                             const SwfActions &body);

    // Shorthands for the usual stack dances. A "value on the stack" is the last one pushed.
    SwfActions &getVariable(const QString &name);
    SwfActions &setVariable(const QString &name);              // pops the value
    SwfActions &getMember(const QString &name);                // pops the object, pushes object.name
    SwfActions &setMember(const QString &name);                // pops the value, then the object
    // name(…) with the `argumentCount` arguments already pushed (last first); leaves the result.
    SwfActions &callFunction(const QString &name, int argumentCount);
    // object.method(…): the arguments pushed (last first), then the object; leaves the result.
    SwfActions &callMethodOnStack(const QString &method, int argumentCount);
    // new className(…) with the arguments already pushed (last first).
    SwfActions &newObject(const QString &className, int argumentCount);
    // [a, b, …] from the `count` values already pushed (last element first).
    SwfActions &initArray(int count);

    // Pushes the object a dotted path names: "flash.external.ExternalInterface".
    SwfActions &pushPath(const QString &dottedPath);
    // Calls objectPath.method with the `argumentCount` values already pushed (last argument first).
    SwfActions &callMethod(const QString &objectPath, const QString &method, int argumentCount);
    // ExternalInterface.call(name, …) with the arguments already pushed (last first); leaves the result.
    SwfActions &externalCall(const QString &name, int argumentCount);
    // ExternalInterface.addCallback(name, null, <function on the stack>); leaves the result.
    SwfActions &addExternalCallback(const QString &name);
    // getURL(url, target) with both known now ("FSCommand:name" as the url is fscommand).
    SwfActions &getUrl(const QString &url, const QString &target);
    // getURL with the url and then the target pushed; `method` 0 sends no variables, 1 GET,
    // 2 POST (the variables of the current timeline).
    SwfActions &getUrl2(int method);

    // Appends another program; its labels must not clash with ours.
    SwfActions &append(const SwfActions &other);

    // The record bytes without the terminating end action.
    QByteArray code() const;
    // The record bytes followed by the end action, as DoAction and button actions want them.
    QByteArray program() const;

private:
    void record(quint8 code, const QByteArray &payload);
    void branch(quint8 code, const QString &label);
    void function2(const QString &name, const QStringList &params, int registerCount, bool thisInFirst,
                   const SwfActions &body);
    void pushItem(const QByteArray &typedValue);

    struct Fixup {
        int offsetField;   // where the 16-bit offset goes
        int recordEnd;     // branch offsets count from the end of the branch record
        QString label;
    };
    QByteArray m_code;
    QHash<QString, int> m_labels;
    QList<Fixup> m_fixups;
};

#endif
