#include "classresultspage.h"

#include "atomicfile.h"
#include "classexport.h"
#include "classtablemodel.h"
#include "classtableproxy.h"
#include "contentmodel.h"
#include "environment.h"

#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

ClassResultsPage::ClassResultsPage(const QDir &courseFolder, QWidget *parent)
    : QWidget(parent)
    , m_courseFolder(courseFolder)
    , m_table(new ClassTableModel(this))
    , m_sorted(new ClassTableProxy(this))
    , m_view(new QTableView(this))
    , m_chapter(new QComboBox(this))
    , m_className(new QLineEdit(this))
{
    m_sorted->setSourceModel(m_table);
    m_view->setModel(m_sorted);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(0, Qt::AscendingOrder);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    // Test captions often begin alike ("Проверочная работа: …"): they wrap onto three lines
    // instead of being cut to the same few letters.
    QHeaderView *header = m_view->horizontalHeader();
    header->setDefaultSectionSize(140);
    header->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    header->setTextElideMode(Qt::ElideRight);
    header->setFixedHeight(header->fontMetrics().lineSpacing() * 3 + 12);
    m_view->verticalHeader()->hide();
    m_chapter->setObjectName(QStringLiteral("combobox_chapter"));
    m_className->setObjectName(QStringLiteral("lineedit_class"));
    m_className->setPlaceholderText(tr("например, 1 «А»"));
    m_className->setText(QSettings(m_courseFolder.filePath(QStringLiteral("teacher.ini")), QSettings::IniFormat)
                             .value(QStringLiteral("class"))
                             .toString());

    auto *exportCsv = new QPushButton(tr("Сохранить таблицу…"), this);
    exportCsv->setObjectName(QStringLiteral("button_export_csv"));
    exportCsv->setToolTip(tr("Таблица для электронных таблиц (CSV)"));
    auto *print = new QPushButton(tr("Печать…"), this);
    print->setObjectName(QStringLiteral("button_print_class"));
    print->setToolTip(tr("На бумагу или в PDF, по странице на главу"));
    auto *again = new QPushButton(tr("Обновить"), this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Класс:"), this));
    top->addWidget(m_className);
    top->addSpacing(12);
    top->addWidget(new QLabel(tr("Глава:"), this));
    top->addWidget(m_chapter, 1);
    top->addWidget(again);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(tr("Двойной щелчок по оценке — все попытки."), this), 1);
    bottom->addWidget(exportCsv);
    bottom->addWidget(print);
    auto *box = new QVBoxLayout(this);
    box->addLayout(top);
    box->addWidget(m_view, 1);
    box->addLayout(bottom);

    connect(m_chapter, &QComboBox::activated, this, &ClassResultsPage::chooseChapter);
    connect(m_view, &QTableView::doubleClicked, this, &ClassResultsPage::showAttempts);
    connect(exportCsv, &QPushButton::clicked, this, &ClassResultsPage::exportCsv);
    connect(print, &QPushButton::clicked, this, &ClassResultsPage::print);
    connect(again, &QPushButton::clicked, this, &ClassResultsPage::reload);
    connect(m_className, &QLineEdit::editingFinished, this, [this] {
        QSettings(m_courseFolder.filePath(QStringLiteral("teacher.ini")), QSettings::IniFormat)
            .setValue(QStringLiteral("class"), m_className->text());
    });
    reload();
}

void ClassResultsPage::reload()
{
    ensureContentModel();
    m_table->setResults(ClassResults::read(QDir(m_courseFolder.filePath(QStringLiteral("pupils"))),
                                           contentModel->rootItem()));
    const int chosen = m_table->chapter();
    m_chapter->clear();
    m_chapter->addItem(tr("Все главы"));
    m_chapter->addItems(m_table->results().chapters);
    m_chapter->setCurrentIndex(chosen + 1);
    m_view->resizeColumnToContents(0);
}

void ClassResultsPage::chooseChapter(int index)
{
    m_table->setChapter(index - 1);
    m_view->resizeColumnToContents(0);
}

QString ClassResultsPage::className() const
{
    return m_className->text().trimmed().isEmpty() ? courseTitle : m_className->text().trimmed();
}

void ClassResultsPage::showAttempts(const QModelIndex &index)
{
    const QModelIndex cell = m_sorted->mapToSource(index);
    const ClassResults::Pupil *pupil = m_table->pupil(cell.row());
    const ClassResults::Test *test = m_table->test(cell.column());
    if (!pupil || !test)
        return;
    QMessageBox box(QMessageBox::NoIcon, tr("Попытки"), QStringLiteral("%1 — %2").arg(pupil->name, test->caption),
                    QMessageBox::Ok, this);
    box.setInformativeText(cell.data(Qt::ToolTipRole).toString());
    box.exec();
}

void ClassResultsPage::exportCsv()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = QDir(documents).filePath(
        tr("Оценки %1 %2.csv").arg(className(), QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"))));
    const QString file = QFileDialog::getSaveFileName(this, tr("Сохранить таблицу оценок"), suggested,
                                                      tr("Таблица CSV (*.csv)"));
    if (file.isEmpty())
        return;
    QString error;
    if (AtomicFile::write(file, ClassExport::csv(*m_table), &error))
        QMessageBox::information(this, tr("Оценки"), tr("Таблица сохранена в файл %1.").arg(QDir::toNativeSeparators(file)));
    else
        QMessageBox::warning(this, tr("Ошибка"), tr("Не могу сохранить таблицу в файл %1: %2")
                                                      .arg(QDir::toNativeSeparators(file), error));
}

void ClassResultsPage::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        ClassExport::print(*m_table, className(), &printer);
}
