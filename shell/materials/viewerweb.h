#ifndef VIEWERWEB_H
#define VIEWERWEB_H

#include <QWebEngineView>

class QPageLayout;
class QPrinter;

// An `htm` medium of a material: a local web page from the installation's data folder, on
// an offline profile of its own (see MaterialWebPage).
class ViewerWeb : public QWebEngineView
{
    Q_OBJECT

public:
    explicit ViewerWeb(QWidget *parent = nullptr);

    void loadFile(const QString &path);

public slots:
    void print(QPrinter *printer);

private:
    static constexpr int pdfTimeoutMs = 30000;
    QByteArray pageAsPdf(const QPageLayout &layout);
};

#endif
