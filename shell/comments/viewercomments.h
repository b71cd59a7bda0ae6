#ifndef VIEWERCOMMENTS_H
#define VIEWERCOMMENTS_H

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QPrinter;
class QPushButton;
class QTabWidget;
class QTextCharFormat;
class QTextEdit;

// A material's text, read-only, and the pupil's comments on it, one tab each, with simple
// formatting. The comments live in the pupil's "comments/<id>.cmt"; every panel open on
// the same material hears when another one saves it.
class ViewerComments : public QWidget
{
    Q_OBJECT

public:
    ViewerComments(const QString &id, int, const QString &text, QWidget *parent = nullptr);
    ~ViewerComments() override;

    // The comment file of a material in the pupil's folder; empty for an unsafe id.
    static QString commentFile(const QString &id);

public slots:
    void print(QPrinter *printer);
    void appendComment();
    void removeComment();
    void updateComments(QString path);
    void folderChanged(const QString &folder);
    void updateButtons();
    void bold();
    void italic();
    void underline();
    void upper();
    void under();
    void currentCharFormatChanged(const QTextCharFormat &format);

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *makeCommentButtons();
    QWidget *makeFormatButtons();
    QPushButton *makeButton(const char *name, const QString &toolTip, QSize size, bool checkable);
    QTextEdit *addTab(const QString &html);
    void loadComments();
    QStringList unsavedComments() const;
    bool commentsChanged() const;
    void save();
    void watch();
    void watchFolder();
    QTextEdit *commentEditor() const;
    void mergeFormat(const QTextCharFormat &format);

    QString m_id;
    QString m_file;
    bool m_commentsRemoved = false;
    QTabWidget *m_tabWidget = nullptr;
    QPushButton *m_bold = nullptr;
    QPushButton *m_italic = nullptr;
    QPushButton *m_underline = nullptr;
    QPushButton *m_upper = nullptr;
    QPushButton *m_under = nullptr;
    // What this panel last read from or wrote to its file: a change that brings nothing
    // else (its own save) does not reload it.
    QByteArray m_knownBytes;
    // Typing is saved after a pause, so a crash loses seconds, not a session.
    QTimer m_saveTimer;
    QPixmap m_header;
};

#endif
