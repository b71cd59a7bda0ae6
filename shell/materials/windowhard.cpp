#include "windowhard.h"

#include "environment.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>

static constexpr int kContentColumns = 11;

WindowHard::WindowHard(int flags, QWidget *parent)
    : ShellWindow(ShellWindowTheme::materialWindow(), parent)
    , m_grid(new QGridLayout(this))
    , m_iconLabel(new QLabel(this))
    , m_caption(new QLabel(this))
{
    m_grid->setContentsMargins(1, 0, 1, 1);
    m_grid->setSpacing(0);
    m_grid->setHorizontalSpacing(9);
    m_grid->setRowMinimumHeight(0, 34);
    m_grid->setRowMinimumHeight(1, 1);
    m_grid->setRowStretch(1, 1);
    for (int column : {0, 8, 10})
        m_grid->setColumnMinimumWidth(column, 6);
    m_grid->setColumnStretch(3, 1);

    m_iconLabel->setAlignment(Qt::AlignCenter);
    m_grid->addWidget(m_iconLabel, 0, 1);
    auto *decoration = new QLabel(this);
    decoration->setObjectName(QStringLiteral("caption_icon"));
    m_grid->addWidget(decoration, 0, 2);
    m_caption->setObjectName(QStringLiteral("caption_window"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_grid->addWidget(m_caption, 0, 3);
    showCaptionIn(m_caption);

    m_printerButton = makeButton("button_printer", 28, tr("Печать материала"));
    m_printerButton->setVisible(flags & PrintButton);
    connect(m_printerButton, &QPushButton::clicked, this, &WindowHard::printer);
    m_grid->addWidget(m_printerButton, 0, 4);
    QPushButton *favoritesButton = makeButton("button_favorites", 24, tr("Добавить в избранное"));
    favoritesButton->setVisible(flags & FavoritesButton);
    connect(favoritesButton, &QPushButton::clicked, this, &WindowHard::favorites);
    m_grid->addWidget(favoritesButton, 0, 5);
    if (flags) {
        auto *splitter = new QLabel(this);
        splitter->setPixmap(QPixmap(themed(QStringLiteral("theme/splitter.png"))));
        m_grid->addWidget(splitter, 0, 7);
    }
    QPushButton *closeButton = makeButton("button_window_close", 29, tr("Закрыть"));
    connect(closeButton, &QPushButton::clicked, this, &WindowHard::close);
    m_grid->addWidget(closeButton, 0, 9);

    // Once a movie or a web page inside has been clicked, its web view keeps every key it is
    // given: Escape is a shortcut of the frame, taken before the focused widget sees it.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
    connect(escape, &QShortcut::activated, this, &WindowHard::close);
}

QPushButton *WindowHard::makeButton(const char *objectName, int side, const QString &toolTip)
{
    auto *button = new QPushButton(this);
    button->setObjectName(QLatin1String(objectName));
    button->setFixedSize(side, side);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(toolTip);
    button->setAccessibleName(toolTip);
    return button;
}

void WindowHard::setCaptionIcon(const QIcon &icon)
{
    m_iconLabel->setPixmap(icon.pixmap(35, 26));
}

void WindowHard::setCaptionText(const QString &text)
{
    setWindowTitle(text);
}

QString WindowHard::captionText() const
{
    return windowTitle();
}

void WindowHard::setContentWidget(QWidget *widget)
{
    m_grid->addWidget(widget, 1, 0, 1, kContentColumns);
}

void WindowHard::setContentLayout(QLayout *layout)
{
    m_grid->addLayout(layout, 1, 0, 1, kContentColumns);
}

void WindowHard::disablePrinter()
{
    m_printerButton->setEnabled(false);
}

void WindowHard::close()
{
    if (isWindow())
        QDialog::close();
    else
        emit remove(this);
}

void WindowHard::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        event->accept();
        return;
    }
    ShellWindow::keyPressEvent(event);
}
