#ifndef SWFHOSTCALLS_H
#define SWFHOSTCALLS_H

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// What an AVM1 movie asks of its host, read from its action programs without running them:
// ExternalInterface calls and callbacks, fscommand, getURL, loadMovie and loadVariables. The
// values the actions push are followed along one straight pass (branches are not taken), so
// a name or argument the movie computes at run time shows as unknown rather than guessed.
class SwfHostCalls
{
public:
    enum Kind { ExternalCall, Callback, FsCommand, GetUrl, LoadMovie, LoadVariables };

    struct Value
    {
        bool known = false;
        QString text;
    };

    struct Call
    {
        Kind kind = ExternalCall;
        Value name;          // the call or callback name, the command, or the URL
        Value target;        // getURL's window, loadMovie's clip or level, fscommand's argument
        QList<Value> arguments;
        bool posts = false;  // sends the timeline's variables with POST
    };

    // Strings longer than this (built by concatenation) are taken as unknown.
    static constexpr int MaxText = 4096;

    void scan(const QByteArray &program);

    const QList<Call> &calls() const { return m_calls; }
    // Every string the actions push or keep in their constant pools, in order, once each.
    const QStringList &strings() const { return m_strings; }

private:
    struct Frame;
    void addString(const QString &text);
    void record(Kind kind, const Value &name, const Value &target, const QList<Value> &arguments = {},
                bool posts = false);
    void urlCall(const Value &url, const Value &target, int flags);

    QList<Call> m_calls;
    QStringList m_strings;
    QSet<QString> m_seen; // m_strings as a set: a movie may push many thousands
    QStringList m_pool;
};

#endif
