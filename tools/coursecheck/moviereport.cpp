#include "moviereport.h"

#include "moviefile.h"

#include <QFileInfo>
#include <QUrl>

namespace {

enum TagCode { DefineFont2 = 48, DefineFont3 = 75 };

QString valueText(const SwfHostCalls::Value &value)
{
    return value.known ? QLatin1Char('"') + value.text + QLatin1Char('"') : QStringLiteral("?");
}

QString joined(const QStringList &items)
{
    return items.isEmpty() ? QStringLiteral("—") : items.join(QLatin1String("; "));
}

struct DeviceFonts
{
    bool styled = false;
    bool serifOrMono = false;
};

// Fonts without glyphs are drawn with the player's own fonts.
DeviceFonts deviceFonts(const SwfReader &swf)
{
    DeviceFonts fonts;
    for (const SwfReader::Tag &tag : swf.tags()) {
        if ((tag.code != DefineFont2 && tag.code != DefineFont3) || tag.body.size() < 5)
            continue;
        const quint8 flags = quint8(tag.body[2]);
        const int nameLength = quint8(tag.body[4]);
        if (tag.body.size() < 5 + nameLength + 2)
            continue;
        const int glyphs = quint8(tag.body[5 + nameLength]) | (quint8(tag.body[6 + nameLength]) << 8);
        if (glyphs != 0)
            continue;
        const QString name = QString::fromUtf8(tag.body.mid(5, nameLength)).remove(QChar(0)).toLower();
        fonts.styled = fonts.styled || (flags & 0x03);
        fonts.serifOrMono = fonts.serifOrMono || name.contains(QLatin1String("times")) || name.contains(QLatin1String("courier"))
                         || name == QLatin1String("_serif") || name == QLatin1String("_typewriter");
    }
    return fonts;
}

} // namespace

MovieReport::MovieReport(const QString &courseFolder)
    : m_course(courseFolder)
{
}

bool MovieReport::add(const QString &path, const QString &shownPath)
{
    Entry entry;
    entry.name = shownPath;
    MovieFile movie;
    if (!movie.read(path)) {
        entry.error = movie.error();
        m_entries.append(entry);
        return false;
    }
    entry.rows.append({tr("Заголовок"), header(movie)});
    addHostRows(entry, movie, path);
    entry.limits = limits(movie);
    m_entries.append(entry);
    return true;
}

QString MovieReport::header(const MovieFile &movie) const
{
    const SwfReader &swf = movie.swf();
    const QString compression = swf.compression() == SwfReader::Compression::Zlib ? tr("zlib (CWS)")
                              : swf.compression() == SwfReader::Compression::Lzma ? tr("LZMA (ZWS)")
                                                                                   : tr("нет (FWS)");
    return tr("версия %1, сжатие %2, кадр %3 × %4 пикселей, %5 кадров в секунду, кадров %6, %7")
        .arg(swf.version())
        .arg(compression)
        .arg(swf.stageTwips().width() / 20.0)
        .arg(swf.stageTwips().height() / 20.0)
        .arg(swf.frameRate())
        .arg(swf.frameCount())
        .arg(swf.isAvm2() ? tr("ActionScript 3 (AVM2)") : tr("ActionScript 1–2 (AVM1)"));
}

void MovieReport::addHostRows(Entry &entry, const MovieFile &movie, const QString &path) const
{
    QStringList calls, callbacks, commands, links, loads;
    for (const SwfHostCalls::Call &call : movie.calls().calls()) {
        switch (call.kind) {
        case SwfHostCalls::ExternalCall: {
            QStringList arguments;
            for (const SwfHostCalls::Value &argument : call.arguments)
                arguments << valueText(argument);
            calls << QStringLiteral("%1(%2)").arg(valueText(call.name), arguments.join(QLatin1String(", ")));
            break;
        }
        case SwfHostCalls::Callback:
            callbacks << valueText(call.name);
            break;
        case SwfHostCalls::FsCommand:
            commands << QStringLiteral("%1 (%2)").arg(valueText(call.name), valueText(call.target));
            break;
        case SwfHostCalls::GetUrl:
            links << QStringLiteral("%1 → %2").arg(valueText(call.name), valueText(call.target));
            break;
        case SwfHostCalls::LoadMovie:
        case SwfHostCalls::LoadVariables:
            loads << QStringLiteral("%1 %2: %3")
                         .arg(call.kind == SwfHostCalls::LoadMovie ? QStringLiteral("loadMovie") : QStringLiteral("loadVariables"),
                              valueText(call.name), call.name.known ? whereLoaded(call.name.text, path) : tr("имя вычисляется при показе"));
            break;
        }
    }
    calls.removeDuplicates();
    callbacks.removeDuplicates();
    QStringList bridge;
    for (const MovieFile::BridgeMessage &message : movie.bridgeMessages())
        bridge << (message.materialId.isEmpty() ? QStringLiteral("%1 %2").arg(message.root, message.action)
                                                : QStringLiteral("%1 %2 → %3").arg(message.root, message.action, message.materialId));

    if (movie.swf().isAvm2()) {
        // ABC code is not followed here: its string constants say what it may ask for.
        const QStringList &strings = movie.swf().abcStrings();
        const bool external = strings.contains(QLatin1String("flash.external")) || strings.contains(QLatin1String("ExternalInterface"));
        calls.clear();
        if (external)
            calls << tr("используется (в коде ActionScript 3 имена вызовов не прослеживаются)");
        QStringList own;
        for (const QString &s : strings) {
            if (!s.isEmpty() && !s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char(':')) && own.size() < 40)
                own << s;
        }
        entry.rows.append({tr("Строки кода ActionScript 3"), joined(own)});
    }
    entry.rows.append({tr("Вызовы ExternalInterface"), joined(calls)});
    entry.rows.append({tr("Функции для оболочки (addCallback)"), joined(callbacks)});
    entry.rows.append({tr("Действия моста с оболочкой"), joined(bridge)});
    entry.rows.append({tr("fscommand"), joined(commands)});
    entry.rows.append({tr("Ссылки getURL"), joined(links)});
    entry.rows.append({tr("Загрузки файлов"), joined(loads)});
}

QString MovieReport::whereLoaded(const QString &url, const QString &moviePath) const
{
    // The player takes a relative name from the movie's own folder.
    const QUrl parsed(url);
    if (parsed.scheme().size() > 1)
        return tr("вне курса");
    QString name = url.section(QLatin1Char('?'), 0, 0);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString file = QDir::cleanPath(QFileInfo(moviePath).absoluteDir().absoluteFilePath(name));
    const QString data = QDir::cleanPath(m_course.absoluteFilePath(QStringLiteral("data")));
    if (!file.startsWith(data + QLatin1Char('/')))
        return tr("вне папки курса, проигрыватель не даст загрузить");
    return QFileInfo(file).isFile() ? tr("есть в курсе") : tr("нет в курсе");
}

QList<RuffleLimits::Limit> MovieReport::limits(const MovieFile &movie) const
{
    const SwfReader &swf = movie.swf();
    const SwfHostCalls &calls = movie.calls();
    bool externalCalls = false, callbacks = false, javascript = false, posts = false;
    for (const SwfHostCalls::Call &call : calls.calls()) {
        externalCalls = externalCalls || call.kind == SwfHostCalls::ExternalCall;
        callbacks = callbacks || call.kind == SwfHostCalls::Callback;
        javascript = javascript
                  || (call.kind == SwfHostCalls::GetUrl && call.name.text.startsWith(QLatin1String("javascript:"), Qt::CaseInsensitive));
        posts = posts || call.posts;
    }
    bool asFunction = false;
    for (const QString &s : calls.strings()) {
        const int at = s.indexOf(QLatin1String("asfunction:"), 0, Qt::CaseInsensitive);
        asFunction = asFunction || (at >= 0 && !s.mid(at).startsWith(QLatin1String("asfunction:")));
    }
    const QStringList &strings = calls.strings();
    const bool keys = strings.contains(QLatin1String("Key"))
                   && (strings.contains(QLatin1String("addListener")) || strings.contains(QLatin1String("isDown")));
    const DeviceFonts fonts = deviceFonts(swf);

    QList<RuffleLimits::Limit> found;
    const auto note = [&found](bool touched, RuffleLimits::Feature feature) {
        if (touched)
            found.append(RuffleLimits::limit(feature));
    };
    note(swf.isAvm2() && swf.abcStrings().contains(QLatin1String("addCallback")), RuffleLimits::As3Callbacks);
    note(!swf.isAvm2() && swf.version() < 9 && externalCalls, RuffleLimits::EmptyStringAnswers);
    note(!swf.isAvm2() && swf.version() < 8 && callbacks, RuffleLimits::CallbacksBeforeVersion8);
    note(javascript, RuffleLimits::JavascriptLinks);
    note(asFunction, RuffleLimits::AsFunctionLinks);
    note(strings.contains(QLatin1String("hitArea")), RuffleLimits::HitAreas);
    note(fonts.styled, RuffleLimits::StyledDeviceText);
    note(fonts.serifOrMono, RuffleLimits::SerifDeviceFonts);
    note(keys, RuffleLimits::Keyboard);
    note(posts, RuffleLimits::PostedVariables);
    return found;
}

QString MovieReport::text() const
{
    QString out;
    for (const Entry &entry : m_entries) {
        out += entry.name + QLatin1Char('\n');
        if (!entry.error.isEmpty()) {
            out += QStringLiteral("  %1: %2\n\n").arg(tr("Не читается"), entry.error);
            continue;
        }
        for (const auto &row : entry.rows)
            out += QStringLiteral("  %1: %2\n").arg(row.first, row.second);
        out += QStringLiteral("  %1:").arg(tr("Ruffle %1 воспроизводит не полностью").arg(RuffleLimits::checkedVersion()));
        if (entry.limits.isEmpty())
            out += QStringLiteral(" —\n");
        else
            out += QLatin1Char('\n');
        for (const RuffleLimits::Limit &limit : entry.limits)
            out += QStringLiteral("    - %1 (%2)\n").arg(limit.text, limit.reference);
        out += QLatin1Char('\n');
    }
    return out;
}

QString MovieReport::html() const
{
    QString body;
    for (const Entry &entry : m_entries) {
        body += QStringLiteral("<h2>%1</h2>\n").arg(entry.name.toHtmlEscaped());
        if (!entry.error.isEmpty()) {
            body += QStringLiteral("<p class=\"bad\">%1: %2</p>\n").arg(tr("Не читается"), entry.error.toHtmlEscaped());
            continue;
        }
        body += QStringLiteral("<table>\n");
        for (const auto &row : entry.rows)
            body += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n").arg(row.first.toHtmlEscaped(), row.second.toHtmlEscaped());
        QString limits;
        for (const RuffleLimits::Limit &limit : entry.limits)
            limits += QStringLiteral("<li>%1 <small>(%2)</small></li>").arg(limit.text.toHtmlEscaped(), limit.reference.toHtmlEscaped());
        body += QStringLiteral("<tr><th>%1</th><td>%2</td></tr>\n</table>\n")
                    .arg(tr("Ruffle %1 воспроизводит не полностью").arg(RuffleLimits::checkedVersion()).toHtmlEscaped(),
                         limits.isEmpty() ? QStringLiteral("—") : QStringLiteral("<ul class=\"bad\">%1</ul>").arg(limits));
    }
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>%1</title>\n"
                          "<style>body{font-family:sans-serif;margin:2em;max-width:70em}"
                          "table{border-collapse:collapse;width:100%}th,td{border:1px solid #bbb;padding:.3em .6em;"
                          "text-align:left;vertical-align:top}th{width:18em;background:#f2f2f2}.bad{color:#a00}</style>"
                          "</head><body>\n<h1>%1</h1>\n<p>%2</p>\n%3</body></html>\n")
        .arg(tr("Фильмы курса и проигрыватель Ruffle %1").arg(RuffleLimits::checkedVersion()).toHtmlEscaped(),
             tr("Для каждого фильма: что он просит у оболочки, какие файлы загружает и что из его возможностей "
                "Ruffle воспроизводит не полностью.").toHtmlEscaped(),
             body);
}
