#ifndef FLASHREQUEST_H
#define FLASHREQUEST_H

#include <QList>
#include <QPair>
#include <QString>

class QDomElement;

// The bridge between a material's movies and the shell, as text: what a movie asks for,
// and what the shell sends back. Everything a movie sends is untrusted; a request this
// class cannot read is an action of None, never an error.
class FlashRequest
{
public:
    enum Action {
        None,
        Send,                    // relay the message to every movie of the material
        Save,                    // a test's mark and history
        GetFirstScreenVisible,
        SetFirstScreenVisible,
        Load,                    // switch the material window to another material
        Jump,                    // open another material in a new window
    };

    // Reads a movie's call: an invoke element whose first string argument is the message.
    static FlashRequest parse(const QString &request);

    Action action() const { return m_action; }
    // The message as the movie sent it (empty for None): what Send relays.
    QString message() const { return m_message; }
    // The result's mark and history (Save).
    QString mark() const { return m_mark; }
    QString history() const { return m_history; }
    // The material id (Load, Jump) or the switch's value text (SetFirstScreenVisible).
    QString text() const { return m_text; }
    // What setFirstScreenVisible's text means: on for a non-zero decimal integer.
    bool switchedOn() const;

    // Name/value pairs as the Flash control's variables string: UTF-8, percent-encoded,
    // "=" and "&" inside a name or value encoded too.
    static QString flashVars(const QList<QPair<QString, QString>> &pairs);
    // The call that hands `message` to the movie's send2flash callback, unchanged.
    static QString send2flash(const QString &message);
    // The answer to getFirstScreenVisible.
    static QString firstScreenVisibleReply(bool visible);

private:
    static FlashRequest read(const QString &message);
    static FlashRequest readShell(const QDomElement &root);

    Action m_action = None;
    QString m_message;
    QString m_mark;
    QString m_history;
    QString m_text;
};

#endif
