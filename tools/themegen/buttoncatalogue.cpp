#include "buttoncatalogue.h"

namespace {

// The size given is the one the program asks for.
ButtonEntry button(const char *name, const char *file, int w, int h, bool checkable = false,
                   const QStringList &scopes = {})
{
    const int least = ButtonCatalogue::smallestSide;
    return {QLatin1String(name), QLatin1String(file), QSize(w, h).expandedTo(QSize(least, least)), scopes, checkable};
}

} // namespace

const QVector<ButtonEntry> &ButtonCatalogue::entries()
{
    static const QVector<ButtonEntry> list{
        button("button_window_minimize", "minimize", 23, 23),
        button("button_window_maximize", "maximize", 23, 23),
        // The sign-in and material windows are children of the main window, so the main
        // window's name cannot tell them apart: their classes do.
        button("button_window_close", "close", 23, 23),
        button("button_window_close", "close_big", 29, 29, false,
               {QStringLiteral("WindowAuth"), QStringLiteral("WindowHard")}),
        button("button_help", "help", 26, 26),
        button("button_prev", "prev", 80, 116),
        button("button_next", "next", 80, 116),
        button("button_content", "content", 78, 66),
        button("button_enter", "enter", 152, 48),
        button("button_append_resource", "append_resource", 152, 48),
        button("button_printer", "printer", 28, 28),
        button("button_favorites", "favorites", 24, 24),
        button("button_extensive", "extensive", 18, 24),
        button("button_append", "append", 29, 30),
        button("button_remove", "remove", 29, 30),
        button("button_export", "export", 29, 30),
        button("button_append_comment", "append_comment", 18, 32),
        button("button_remove_comment", "remove_comment", 18, 32),
        button("button_bold", "bold", 21, 29, true),
        button("button_italic", "italic", 21, 29, true),
        button("button_underline", "underline", 21, 29, true),
        button("button_upper", "upper", 21, 29, true),
        button("button_under", "under", 21, 29, true),
    };
    return list;
}

QStringList ButtonCatalogue::states(const ButtonEntry &entry)
{
    QStringList list{QStringLiteral("normal"), QStringLiteral("hover"), QStringLiteral("pressed"),
                     QStringLiteral("disabled")};
    if (entry.checkable)
        list << QStringLiteral("checked") << QStringLiteral("checked_hover");
    return list;
}

QString ButtonCatalogue::imagePath(const ButtonEntry &entry, const QString &state)
{
    return QStringLiteral("theme/buttons/%1_%2.png").arg(entry.file, state);
}
