#include "moviefile.h"

#include <QFile>
#include <QRegularExpression>

bool MovieFile::read(const QString &path)
{
    m_error.clear();
    m_calls = SwfHostCalls();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    // Bytes past the longest movie the reader takes would be ignored anyway.
    if (!m_swf.read(file.read(SwfReader::MaxLength))) {
        m_error = m_swf.error();
        return false;
    }
    for (const QByteArray &program : m_swf.actionPrograms())
        m_calls.scan(program);
    return true;
}

QStringList MovieFile::openedIds() const
{
    QStringList ids;
    for (const SwfHostCalls::Call &call : m_calls.calls()) {
        if (call.kind != SwfHostCalls::ExternalCall || call.arguments.isEmpty() || !call.arguments.first().known)
            continue;
        if (!ids.contains(call.arguments.first().text))
            ids.append(call.arguments.first().text);
    }
    return ids;
}

QList<MovieFile::BridgeMessage> MovieFile::bridgeMessages() const
{
    static const QRegularExpression opening(QStringLiteral("<(shell|flash)\\s+action\\s*=\\s*[\"']([^\"']*)[\"']"));
    static const QRegularExpression opensMaterial(QStringLiteral("^<shell\\s+action\\s*=\\s*[\"'](load|jump)[\"']\\s*>"
                                                                 "([^<]*)</shell>$"));
    QList<BridgeMessage> messages;
    for (const QString &text : m_calls.strings()) {
        QRegularExpressionMatchIterator it = opening.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            BridgeMessage message{match.captured(1), match.captured(2), QString()};
            const QRegularExpressionMatch whole = opensMaterial.match(text);
            if (whole.hasMatch())
                message.materialId = whole.captured(2).trimmed();
            bool seen = false;
            for (const BridgeMessage &m : messages)
                seen = seen || (m.root == message.root && m.action == message.action && m.materialId == message.materialId);
            if (!seen)
                messages.append(message);
        }
    }
    return messages;
}
