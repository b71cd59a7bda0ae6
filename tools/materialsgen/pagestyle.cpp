#include "pagestyle.h"

namespace PageStyle {

QByteArray css()
{
    // Big, warm and plain: a six-year-old reads it, a printer prints it.
    return QByteArrayLiteral(
        "body { margin: 16px 24px; background: #fff8e9; color: #3a2e26;\n"
        "       font-family: \"DejaVu Sans\", sans-serif; font-size: 22px; line-height: 1.5; }\n"
        "h1 { font-size: 30px; color: #e96d3f; margin: 0 0 12px; }\n"
        "h2 { font-size: 24px; color: #3f8ce0; margin: 18px 0 8px; }\n"
        "p.task { background: #fbeac8; border-radius: 12px; padding: 8px 14px; }\n"
        "img { vertical-align: middle; }\n"
        "table.words { border-collapse: separate; border-spacing: 14px; }\n"
        "table.words td { background: #ffffff; border: 2px solid #e9c89b; border-radius: 14px;\n"
        "                 text-align: center; padding: 8px 14px; font-size: 26px; }\n"
        "span.gap { display: inline-block; min-width: 1.1em; border-bottom: 3px solid #3a2e26; }\n"
        "ol li { margin: 6px 0; }\n"
        "@media print { body { background: #ffffff; } p.task { border: 1px solid #999999; } }\n");
}

} // namespace PageStyle
