#ifndef CLASSEXPORT_H
#define CLASSEXPORT_H

#include <QByteArray>
#include <QDate>
#include <QString>

class ClassTableModel;
class QPrinter;
class QTextDocument;

// The class table as files a school keeps: a spreadsheet (CSV) and paper or PDF.
class ClassExport
{
public:
    // The table of the chosen chapter (or all), pupils in name order, marks as whole
    // percents, an empty cell for a test not taken.
    static QByteArray csv(const ClassTableModel &table);
    // One page per chapter, each headed with the class's name, the chapter and the date.
    static QTextDocument *document(const ClassTableModel &table, const QString &className, const QDate &date);
    static void print(const ClassTableModel &table, const QString &className, QPrinter *printer);
};

#endif
