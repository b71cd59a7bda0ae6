#ifndef CSVTEXT_H
#define CSVTEXT_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Text that a spreadsheet program in a Russian locale opens as a table: UTF-8 with a
// byte-order mark, fields separated by `;`, lines by CR LF, a field quoted when it holds a
// separator, a quote or a line break.
class CsvText
{
public:
    static constexpr char separator = ';';

    static QByteArray byteOrderMark() { return QByteArrayLiteral("\xEF\xBB\xBF"); }
    static QString line(const QStringList &fields);
    // The records of a text written this way (the byte-order mark already dropped). A last
    // record without its line end is kept: a spreadsheet may save it so.
    static QList<QStringList> records(const QString &text);

private:
    static QString field(const QString &text);
    static qsizetype quotedRecord(const QString &text, qsizetype pos, QStringList &record);
};

#endif
