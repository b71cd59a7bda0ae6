#include "chmtopics.h"

#include "chmstream.h"

#include <QHash>

#include <algorithm>

namespace {

// Titles longer than this are cut: a string must fit on one 4 KiB page of #STRINGS.
constexpr qsizetype LongestTitle = 1023;
constexpr quint16 NotInBinaryContents = 2;

struct UrlRecord
{
    quint32 hash;
    quint32 topic;
    quint32 urlString;
};

// Offset 0 of both string files is an empty string, so that zero reads as "nothing".
QByteArray stringTable(const QList<QByteArray> &texts, QList<quint32> *offsets)
{
    ChmStream out;
    out.zeros(1);
    QHash<QByteArray, quint32> interned;
    for (const QByteArray &text : texts) {
        if (text.isEmpty()) {
            offsets->append(0xffffffff);
            continue;
        }
        if (!interned.contains(text)) {
            out.keepOnOnePage(text.size() + 1);
            interned.insert(text, quint32(out.size()));
            out.cstring(text);
        }
        offsets->append(interned.value(text));
    }
    return out.data();
}

QByteArray urlStringTable(const QList<QByteArray> &locals, QList<quint32> *offsets)
{
    ChmStream out;
    out.zeros(1);
    for (const QByteArray &local : locals) {
        out.keepOnOnePage(8 + local.size() + 1);
        offsets->append(quint32(out.size()));
        out.u32(0); // no remote URL
        out.u32(0); // no frame name
        out.cstring(local);
    }
    return out.data();
}

QByteArray urlTable(const QList<QByteArray> &locals, const QList<quint32> &localAt, QList<quint32> *recordAt)
{
    QList<UrlRecord> urls;
    for (qsizetype i = 0; i < locals.size(); ++i)
        urls.append({ChmTopics::urlHash(locals.at(i)), quint32(i), localAt.at(i)});
    std::sort(urls.begin(), urls.end(), [](const UrlRecord &a, const UrlRecord &b) {
        return a.hash != b.hash ? a.hash < b.hash : a.topic < b.topic;
    });
    ChmStream out;
    recordAt->resize(locals.size());
    for (const UrlRecord &url : std::as_const(urls)) {
        out.keepOnOnePage(12);
        (*recordAt)[url.topic] = quint32(out.size());
        out.u32(url.hash);
        out.u32(url.topic);
        out.u32(url.urlString);
    }
    return out.data();
}

} // namespace

void ChmTopics::add(const QByteArray &local, const QByteArray &title)
{
    m_pages.append({local, title.left(LongestTitle)});
}

quint32 ChmTopics::urlHash(const QByteArray &local)
{
    quint32 hash = 0;
    for (const char byte : local) {
        const int c = static_cast<signed char>(byte); // as on the compiler's platform
        const int value = c == '/' ? 0x2c : c <= 'Z' ? c - 0x30 : c - 0x50;
        hash = hash * 43u + quint32(value); // modulo 2^32, negative values included
    }
    return hash == 0 ? 1 : hash;
}

ChmTopicFiles ChmTopics::files() const
{
    QList<QByteArray> titles;
    QList<QByteArray> locals;
    for (const Page &page : m_pages) {
        titles.append(page.title);
        locals.append(page.local);
    }
    QList<quint32> titleAt;
    QList<quint32> localAt;
    QList<quint32> urlRecordAt;
    ChmTopicFiles files;
    files.strings = stringTable(titles, &titleAt);
    files.urlStrings = urlStringTable(locals, &localAt);
    files.urlTable = urlTable(locals, localAt, &urlRecordAt);

    ChmStream topics;
    for (qsizetype i = 0; i < m_pages.size(); ++i) {
        // Without a binary contents tree there is no #TOCIDX record to point at, so no
        // topic claims a place in it; the viewer builds its tree from the sitemap file.
        topics.u32(0);
        topics.u32(titleAt.at(i));
        topics.u32(urlRecordAt.at(i));
        topics.u16(NotInBinaryContents);
        topics.u16(0);
    }
    files.topics = topics.data();
    return files;
}
