#ifndef WINDOWHARD_H
#define WINDOWHARD_H

#include "shellwindow.h"

class QGridLayout;
class QLabel;
class QLayout;
class QPushButton;

// The frame a material is shown in on a sheet: group icon, title, print / favorites / close buttons
// in the caption row, the content below. Without material buttons it also frames the table of
// contents and the add-to-favorites window.
class WindowHard : public ShellWindow
{
    Q_OBJECT

public:
    enum Button { PrintButton = 1, FavoritesButton = 2 };

    explicit WindowHard(int flags = 0, QWidget *parent = nullptr);

    void setCaptionIcon(const QIcon &icon);
    void setCaptionText(const QString &text);
    QString captionText() const;
    void setContentWidget(QWidget *widget);
    void setContentLayout(QLayout *layout);
    void disablePrinter();

signals:
    void favorites();
    void printer();
    void remove(QWidget *self);

public slots:
    // Closes a top-level frame; a frame on a sheet asks the main window to take it off instead.
    void close();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPushButton *makeButton(const char *objectName, int side, const QString &toolTip);

    QGridLayout *m_grid;
    QLabel *m_iconLabel;
    QLabel *m_caption;
    QPushButton *m_printerButton;
};

#endif
