#ifndef ANSWERBOXES_H
#define ANSWERBOXES_H

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Delivers the events posted so far, answering every message box they open; returns the
// boxes' texts, in order.
inline QStringList answerPendingBoxes()
{
    QStringList texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&texts] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->done(QMessageBox::Ok);
        }
    });
    poll.start(0);
    QCoreApplication::processEvents();
    return texts;
}

#endif
