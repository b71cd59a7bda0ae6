#ifndef FILEANSWER_H
#define FILEANSWER_H

#include <QApplication>
#include <QFileDialog>
#include <QTimer>

// Answers the next file dialog as an author would: types the name and accepts the dialog, so
// whatever the dialog does with a typed name (such as adding a suffix) happens.
// Remembers the dialog's title. Needs Qt's own dialogs (Qt::AA_DontUseNativeDialogs).
class FileAnswer
{
public:
    explicit FileAnswer(const QString &typedName)
    {
        QTimer::singleShot(0, [this, typedName] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            dialog->selectFile(typedName);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    }
    QString title;
};

#endif
