#ifndef FLASHINVOKE_H
#define FLASHINVOKE_H

#include <QJsonArray>
#include <QJsonValue>
#include <QString>

// One call between a movie and its host in the Flash control's external API form:
// <invoke name="NAME" returntype="xml"><arguments>…</arguments></invoke>.
//
// Arguments travel to and from the page as tagged JSON so that every ActionScript value
// survives, `undefined` included: ["s", text], ["n", "1.5"], ["t"], ["f"], ["null"], ["u"],
// ["a", [item, …]], ["o", [[key, item], …]]. Numbers keep the text the movie's side wrote.
class FlashInvoke
{
public:
    FlashInvoke() = default;
    FlashInvoke(const QString &name, const QJsonArray &arguments);

    // Null (isValid() false) unless `xml` is an invoke element with a name.
    static FlashInvoke fromXml(const QString &xml);

    // One value in the control's XML form (<string>…</string>, <number>…</number>, <true/>,
    // <null/>, <undefined/>, <object>, <array>…) to tagged JSON and back. Text that is not
    // one well-formed value reads as null.
    static QJsonValue valueFromXml(const QString &xml);
    static QString valueToXml(const QJsonValue &tagged);

    bool isValid() const;
    QString name() const;
    QJsonArray arguments() const;
    QString toXml() const;

private:
    QString m_name;
    QJsonArray m_arguments;
    bool m_valid = false;
};

#endif
