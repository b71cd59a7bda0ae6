#ifndef BOXANSWER_H
#define BOXANSWER_H

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// Answers the next message box with the given button and remembers its text.
class BoxAnswer
{
public:
    explicit BoxAnswer(QMessageBox::StandardButton button)
    {
        QTimer::singleShot(0, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            text = box->windowTitle() + ": " + box->text();
            box->button(button)->click();
        });
    }
    QString text;
};

#endif
