#ifndef VIEWEROBJECT_H
#define VIEWEROBJECT_H

#include "materialdescription.h"

#include <QDir>
#include <QScrollArea>

class QGridLayout;
class QPrinter;

// One material: the media its description lists (movies, web pages, pictures, texts), laid
// out in a grid. In preview mode (the catalogue) a material's preview.xml is shown when it
// has one.
class ViewerObject : public QScrollArea
{
    Q_OBJECT

public:
    enum Mode { Normal = 0, Preview = 1 };

    explicit ViewerObject(int mode = Normal, QWidget *parent = nullptr);

    // Replaces the media by those of the material; a missing or broken description leaves
    // the viewer as it was.
    void loadObject(const QString &id);

    QString materialId() const { return m_id; }
    bool isPrintable() const { return m_printable; }
    // Every medium prints on the printer, a page each, in the order of the description.
    void printAll(QPrinter *printer);

signals:
    void flashTransfer(QString request);
    void printObject(QPrinter *printer);

public slots:
    void printer();
    void favorites();
    void saveTestResult(QString mark, QString &history);

private:
    QString descriptionFile(const QDir &folder) const;
    // The material's title in the contents; empty for one the contents do not list.
    QString caption() const;
    void showParseError(const MaterialDescription &description, const QString &file);
    QWidget *createMedium(const MaterialDescription::Medium &medium, const QDir &folder, QWidget *parent);
    QWidget *createMovie(const QString &file, const MaterialDescription::Medium &medium, const QDir &folder,
                         QWidget *parent);
    QWidget *createText(const QString &file, QWidget *parent);
    static void place(QGridLayout *grid, QWidget *widget, const MaterialDescription::Medium &medium);

    int m_mode;
    bool m_printable = false;
    QString m_id;
};

#endif
