// Qt's standard buttons and dialogs read in Russian once the programs' catalogue is installed.

#include "russianui.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

class TestRussianUi : public QObject
{
    Q_OBJECT

private slots:
    void standardButtonsReadInRussian();
};

void TestRussianUi::standardButtonsReadInRussian()
{
    QVERIFY(RussianUi::install(*qApp));
    // The hitzone editor's question before a page with changes is closed.
    QMessageBox box(QMessageBox::Warning, "Редактор", "Сохранить изменения?",
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Save)->text().remove('&'), QString("Сохранить"));
    QCOMPARE(box.button(QMessageBox::Cancel)->text().remove('&'), QString("Отмена"));
    QVERIFY(!box.button(QMessageBox::Discard)->text().contains("Discard"));
}

QTEST_MAIN(TestRussianUi)
#include "tst_russianui.moc"
