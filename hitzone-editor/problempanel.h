#ifndef PROBLEMPANEL_H
#define PROBLEMPANEL_H

#include <QListWidget>

// What building a page movie found wrong, one "file:line: message" a row; a row about a zone
// (a line of the hitzone file or of the material map) names its number, and a click on it
// announces that zone.
class ProblemPanel : public QListWidget
{
    Q_OBJECT

public:
    explicit ProblemPanel(QWidget *parent = nullptr);

    void showProblems(const QStringList &errors, const QStringList &warnings, const QString &hitzonePath,
                      const QString &mapPath);
    // The zone a row is about; 0 when it is about none.
    static int zoneOf(const QListWidgetItem *item);

signals:
    void zoneChosen(int number);

private:
    void addRow(const QString &text, bool error, const QString &hitzonePath, const QString &mapPath);
    static int zoneAt(const QString &file, int line, const QString &hitzonePath, const QString &mapPath);
};

#endif
