#ifndef VIEWERFLASH_H
#define VIEWERFLASH_H

#include <QWidget>

class FlashPlayer;
class QPrinter;
class TreeItem;

// One Flash medium of a material and the conversation between its movie and the shell: the
// movie learns who the pupil is and what it reported last time, reports test results, opens
// or switches materials and sends messages to the other movies of the same material.
class ViewerFlash : public QWidget
{
    Q_OBJECT

public:
    explicit ViewerFlash(QWidget *parent = nullptr);

    // Loads the movie with its six flash variables; called once per medium by the object viewer.
    void loadMovie(const QString &path, const QString &param, const QString &id, const QString &type,
                   const QString &caption, const QString &bgcolor);

    FlashPlayer *player() const { return m_player; }

    // The largest history a test may save, in bytes of UTF-8.
    static constexpr int MaxHistoryBytes = 64 * 1024;

signals:
    void transfer(QString request);
    void test(QString mark, QString &history);
    void load(QString id);
    void jump(QString id);

public slots:
    void request(QString request);
    void print(QPrinter *printer);

private slots:
    void parseFlashRequest(QString request);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    static bool fitsTheMarkbook(const QString &history);

    FlashPlayer *m_player;
    QString m_moviePath;
    TreeItem *m_markbookItem = nullptr;
};

#endif
