#ifndef FLASHINVOKE_H
#define FLASHINVOKE_H

#include <QJsonArray>
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
