#include "classexport.h"

#include "classtablemodel.h"
#include "csvtext.h"

#include <QBrush>
#include <QFont>
#include <QLocale>
#include <QPrinter>
#include <QTextDocument>

#include <memory>

namespace {

QString percent(const ClassTableModel &table, int row, int column)
{
    const double m = table.index(row, column).data(ClassTableModel::SortRole).toDouble();
    return m < 0 ? QString() : QString::number(qRound(qBound(0.0, m, 1.0) * 100));
}

QString htmlTable(const ClassTableModel &table)
{
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\"><tr>");
    for (int c = 0; c < table.columnCount(); ++c)
        html += QStringLiteral("<th>%1</th>").arg(table.headerData(c, Qt::Horizontal).toString().toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (int r = 0; r < table.rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < table.columnCount(); ++c) {
            const QModelIndex cell = table.index(r, c);
            const QBrush tint = cell.data(Qt::BackgroundRole).value<QBrush>();
            // Paper has no transparency: the tint is laid over white here.
            const QColor colour = tint.style() == Qt::NoBrush ? QColor(Qt::white) : tint.color();
            const qreal a = colour.alphaF();
            const QColor onWhite = QColor::fromRgbF(1 - a + a * colour.redF(), 1 - a + a * colour.greenF(),
                                                   1 - a + a * colour.blueF());
            html += QStringLiteral("<td bgcolor=\"%1\"%2>%3</td>")
                        .arg(onWhite.name(), c ? QStringLiteral(" align=\"center\"") : QString(),
                             cell.data().toString().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QByteArray ClassExport::csv(const ClassTableModel &table)
{
    QByteArray bytes = CsvText::byteOrderMark();
    QStringList header;
    for (int c = 0; c < table.columnCount(); ++c)
        header.append(table.headerData(c, Qt::Horizontal).toString());
    bytes += CsvText::line(header).toUtf8();
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList fields{table.index(r, 0).data().toString()};
        for (int c = 1; c < table.columnCount(); ++c)
            fields.append(percent(table, r, c));
        bytes += CsvText::line(fields).toUtf8();
    }
    return bytes;
}

QTextDocument *ClassExport::document(const ClassTableModel &table, const QString &className, const QDate &date)
{
    ClassTableModel chapter;
    chapter.setResults(table.results());
    const QString day = QLocale(QLocale::Russian).toString(date, QLocale::LongFormat);
    QString html = QStringLiteral("<html><body>");
    const int chapters = int(table.results().chapters.size());
    for (int i = 0; i < chapters; ++i) {
        chapter.setChapter(i);
        if (chapter.columnCount() == 2)
            continue; // a chapter without tests has no page
        const QString pageBreak = html.size() > 12 ? QStringLiteral(" style=\"page-break-before: always\"") : QString();
        html += QStringLiteral("<h2%1>%2</h2><p>%3. %4</p>")
                    .arg(pageBreak, className.toHtmlEscaped(), table.results().chapters.at(i).toHtmlEscaped(), day);
        html += htmlTable(chapter);
    }
    auto *document = new QTextDocument;
    // Read at arm's length on paper, not at a screen's distance.
    QFont font = document->defaultFont();
    font.setPointSize(11);
    document->setDefaultFont(font);
    document->setHtml(html + QStringLiteral("</body></html>"));
    return document;
}

void ClassExport::print(const ClassTableModel &table, const QString &className, QPrinter *printer)
{
    const std::unique_ptr<QTextDocument> document(ClassExport::document(table, className, QDate::currentDate()));
    document->print(printer);
}
