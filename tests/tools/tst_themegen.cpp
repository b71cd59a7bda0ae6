#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QHBoxLayout>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// Stand in for the program's sign-in window and comments panel: the style sheet tells them
// apart by class.
class WindowAuth : public QDialog
{
    Q_OBJECT
public:
    using QDialog::QDialog;
};

class ViewerComments : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;
};

namespace {

struct Picture
{
    const char *path;
    int width;
    int height;
};

// The sizes the program's geometry is built on.
const Picture fixedPictures[] = {
    {"theme/windows/main/frame.png", 120, 72},
    {"theme/windows/main/bg_head.jpg", 1920, 52},
    {"theme/windows/main/bg_body1.jpg", 1600, 1000},
    {"theme/windows/main/bg_body2.jpg", 2560, 1600},
    {"theme/windows/auth/frame.png", 48, 48},
    {"theme/windows/auth/bg_body.jpg", 800, 600},
    {"theme/slider/slider_groove.png", 200, 14},
    {"theme/slider/slider_handle.png", 28, 40},
    {"theme/slider/slider_handle_inverse.png", 28, 40},
    {"theme/slider/slider_stroke_big.png", 2, 10},
    {"theme/slider/slider_stroke_small.png", 2, 6},
    {"theme/other/icons/folder_expanded.png", 24, 24},
    {"theme/other/icons/folder_collapsed.png", 24, 24},
    {"theme/other/icons/magnifier.png", 16, 16},
    {"theme/other/gray.png", 24, 24},
    {"theme/other/red.png", 24, 24},
    {"theme/other/blue.png", 24, 24},
    {"theme/other/green.png", 24, 24},
    {"theme/other/header.png", 64, 28},
    {"theme/splitter.png", 2, 28},
};

struct Button
{
    const char *objectName;
    const char *file;
    int width;
    int height;
    bool checkable;
};

// Drawn no smaller than 32 x 32 whatever the program asks for: a child presses them all.
const Button buttons[] = {
    {"button_window_minimize", "minimize", 32, 32, false},
    {"button_window_maximize", "maximize", 32, 32, false},
    {"button_window_close", "close", 32, 32, false},
    {"button_window_close", "close_big", 32, 32, false},
    {"button_help", "help", 32, 32, false},
    {"button_prev", "prev", 80, 116, false},
    {"button_next", "next", 80, 116, false},
    {"button_content", "content", 78, 66, false},
    {"button_enter", "enter", 152, 48, false},
    {"button_append_resource", "append_resource", 152, 48, false},
    {"button_printer", "printer", 32, 32, false},
    {"button_favorites", "favorites", 32, 32, false},
    {"button_extensive", "extensive", 32, 32, false},
    {"button_append", "append", 32, 32, false},
    {"button_remove", "remove", 32, 32, false},
    {"button_export", "export", 32, 32, false},
    {"button_append_comment", "append_comment", 32, 32, false},
    {"button_remove_comment", "remove_comment", 32, 32, false},
    {"button_bold", "bold", 32, 32, true},
    {"button_italic", "italic", 32, 32, true},
    {"button_underline", "underline", 32, 32, true},
    {"button_upper", "upper", 32, 32, true},
    {"button_under", "under", 32, 32, true},
};

const char *const styledNames[] = {
    "window_main", "tabbar_main", "caption_window", "caption_icon", "label_caption", "label_hdr",
    "label_header", "frame_content", "frame_material", "widget_object", "widget_corner", "lineedit_search",
    "checkbox_checkall", "checkbox_group", "uname", "favor"};

// Share of the picture's opaque pixels that came out (nearly) unchanged in the shot.
double likeness(const QImage &shot, const QImage &picture)
{
    const QImage a = shot.convertToFormat(QImage::Format_ARGB32);
    const QImage b = picture.convertToFormat(QImage::Format_ARGB32);
    if (a.size() != b.size())
        return 0;
    int opaque = 0;
    int same = 0;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            const QRgb p = b.pixel(x, y);
            if (qAlpha(p) < 255)
                continue;
            ++opaque;
            const QRgb q = a.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) < 10 && qAbs(qGreen(p) - qGreen(q)) < 10 && qAbs(qBlue(p) - qBlue(q)) < 10)
                ++same;
        }
    }
    return opaque ? double(same) / opaque : 0;
}

// True when every pixel of column x equals the one of column x + 1.
bool columnsMatch(const QImage &image, int x, int other)
{
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) != image.pixel(other, y))
            return false;
    }
    return true;
}

bool rowsMatch(const QImage &image, int y, int other)
{
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != image.pixel(x, other))
            return false;
    }
    return true;
}

} // namespace

class TestThemeGen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void picturesHaveTheirSizes_data();
    void picturesHaveTheirSizes();
    void applicationIconIsAnIcon();
    void groupIconsTellGroupsApart();
    void redrawingGivesTheSameFiles();
    void stretchedPartsAreSeamless();
    void hintBubblesLeaveRoomForTheCaption();

    void styleSheetIsAsciiAndFindsItsPictures();
    void styleSheetStylesEveryNamedWidget();
    void styleSheetDrawsButtonsFromPictures();

private:
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    QByteArray styleSheet() const;

    QTemporaryDir m_dir;
    QString m_startDir;
};

void TestThemeGen::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QProcess generator;
    generator.start(QStringLiteral(THEMEGEN_PATH), {m_dir.path()});
    QVERIFY(generator.waitForFinished(120000));
    QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());
    m_startDir = QDir::currentPath();
}

void TestThemeGen::cleanupTestCase()
{
    QDir::setCurrent(m_startDir);
}

QByteArray TestThemeGen::styleSheet() const
{
    QFile qss(file(QStringLiteral("theme/style.qss")));
    return qss.open(QIODevice::ReadOnly) ? qss.readAll() : QByteArray();
}

void TestThemeGen::picturesHaveTheirSizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");

    for (const Picture &picture : fixedPictures)
        QTest::newRow(picture.path) << QString::fromLatin1(picture.path) << QSize(picture.width, picture.height);

    for (const char *key : {"ani", "pra", "wrk", "rzv", "con", "slv", "igr"}) {
        const QString big = QStringLiteral("theme/other/icons/groups/big/ico_%1.png").arg(QLatin1String(key));
        const QString small = QStringLiteral("theme/other/icons/groups/small/ico_%1.png").arg(QLatin1String(key));
        QTest::newRow(qPrintable(big)) << big << QSize(42, 43);
        QTest::newRow(qPrintable(small)) << small << QSize(35, 26);
    }
    for (const char *side : {"prev", "next"}) {
        for (const char *state : {"normal", "hover", "press"}) {
            const QString path = QStringLiteral("theme/slider/slider_button_%1_%2.png")
                                     .arg(QLatin1String(side), QLatin1String(state));
            QTest::newRow(qPrintable(path)) << path << QSize(48, 36);
        }
    }
    for (const Button &button : buttons) {
        QStringList states{QStringLiteral("normal"), QStringLiteral("hover"), QStringLiteral("pressed"),
                           QStringLiteral("disabled")};
        if (button.checkable)
            states << QStringLiteral("checked") << QStringLiteral("checked_hover");
        for (const QString &state : states) {
            const QString path = QStringLiteral("theme/buttons/%1_%2.png").arg(QLatin1String(button.file), state);
            QTest::newRow(qPrintable(path)) << path << QSize(button.width, button.height);
        }
    }
}

void TestThemeGen::picturesHaveTheirSizes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(file(path));
    QVERIFY2(!image.isNull(), qPrintable(path + QStringLiteral(" is missing or unreadable")));
    QCOMPARE(image.size(), size);
}

void TestThemeGen::applicationIconIsAnIcon()
{
    QImageReader reader(file(QStringLiteral("theme/theme.ico")));
    QCOMPARE(reader.format(), QByteArray("ico"));
    const QImage icon = reader.read();
    QVERIFY(icon.size() == QSize(64, 64) || icon.size() == QSize(32, 32));

    const QImage slider(file(QStringLiteral("theme/slider/slider_part.png")));
    QCOMPARE(slider.height(), 8);
    const QImage caption(file(QStringLiteral("theme/windows/main/caption.png")));
    QVERIFY(caption.width() >= 200 && caption.width() <= 360 && caption.height() >= 24 && caption.height() <= 36);
    QVERIFY(caption.hasAlphaChannel());
}

void TestThemeGen::groupIconsTellGroupsApart()
{
    // Pupils find a group by its colour first: no two badges may share a hue.
    QMap<QString, int> hues;
    for (const char *key : {"ani", "pra", "wrk", "rzv", "con", "slv", "igr"}) {
        const QImage icon(file(QStringLiteral("theme/other/icons/groups/big/ico_%1.png").arg(QLatin1String(key))));
        // The badge's colour shows best along its left edge, clear of the symbol.
        const QColor edge = icon.pixelColor(5, icon.height() / 2);
        QVERIFY2(edge.alpha() == 255 && edge.hsvSaturation() > 80, key);
        for (auto other = hues.cbegin(); other != hues.cend(); ++other) {
            const int distance = qAbs(edge.hsvHue() - other.value());
            QVERIFY2(qMin(distance, 360 - distance) >= 12,
                     qPrintable(QStringLiteral("%1 and %2").arg(QLatin1String(key), other.key())));
        }
        hues.insert(QLatin1String(key), edge.hsvHue());
    }
}

void TestThemeGen::redrawingGivesTheSameFiles()
{
    // The build redraws the theme whenever the generator changes; identical output
    // keeps installed copies and packages stable between builds.
    QTemporaryDir again;
    QProcess generator;
    generator.start(QStringLiteral(THEMEGEN_PATH), {again.path()});
    QVERIFY(generator.waitForFinished(120000));
    QCOMPARE(generator.exitCode(), 0);

    QDirIterator files(m_dir.filePath(QStringLiteral("theme")), QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        const QString twin = again.filePath(QDir(m_dir.path()).relativeFilePath(path));
        QFile first(path);
        QFile second(twin);
        QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
        QVERIFY2(first.readAll() == second.readAll(), qPrintable(path));
        ++count;
    }
    QVERIFY(count > 100);
}

void TestThemeGen::stretchedPartsAreSeamless()
{
    // The program stretches single rows and columns of these; anything drawn there
    // would smear across the window.
    const QImage frame(file(QStringLiteral("theme/windows/main/frame.png")));
    for (int x = 33; x < 120 - 32; ++x)
        QVERIFY2(columnsMatch(frame, 32, x), qPrintable(QStringLiteral("frame column %1").arg(x)));
    for (int y = 33; y < 72 - 32; ++y)
        QVERIFY2(rowsMatch(frame, 32, y), qPrintable(QStringLiteral("frame row %1").arg(y)));
    QCOMPARE(qAlpha(frame.pixel(0, 0)), 0);

    const QImage header(file(QStringLiteral("theme/other/header.png")));
    QVERIFY(columnsMatch(header, 11, 12) && columnsMatch(header, 11, 52));

    const QImage normal(file(QStringLiteral("theme/slider/slider_hint_normal.png")));
    QVERIFY(columnsMatch(normal, 40, 39) && columnsMatch(normal, 40, 41));
    const QImage inverse(file(QStringLiteral("theme/slider/slider_hint_inverse.png")));
    QVERIFY(columnsMatch(inverse, 25, 24) && columnsMatch(inverse, 25, 26));
}

void TestThemeGen::hintBubblesLeaveRoomForTheCaption()
{
    // The page name is drawn in black from x=20, baseline y=25: the bubble must be
    // there, opaque and light, in both directions.
    for (const char *name : {"normal", "inverse"}) {
        const QImage bubble(file(QStringLiteral("theme/slider/slider_hint_%1.png").arg(QLatin1String(name))));
        QCOMPARE(bubble.height(), 70);
        for (int y = 10; y <= 33; ++y) {
            for (int x = 16; x < bubble.width() - 8; ++x) {
                const QRgb pixel = bubble.pixel(x, y);
                QVERIFY2(qAlpha(pixel) == 255 && qGray(pixel) > 200,
                         qPrintable(QStringLiteral("%1 at %2,%3").arg(QLatin1String(name)).arg(x).arg(y)));
            }
        }
    }
}

void TestThemeGen::styleSheetIsAsciiAndFindsItsPictures()
{
    const QByteArray sheet = styleSheet();
    QVERIFY(!sheet.isEmpty());
    for (const char c : sheet)
        QVERIFY2(uchar(c) < 0x80, "the style sheet is read as Latin-1 and must stay ASCII");

    static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
    int count = 0;
    for (const QRegularExpressionMatch &match : url.globalMatch(QString::fromLatin1(sheet))) {
        const QString path = match.captured(1);
        QVERIFY2(path.startsWith(QLatin1String("theme/")), qPrintable(path));
        QVERIFY2(QFile::exists(file(path)), qPrintable(path));
        ++count;
    }
    QVERIFY(count > 100);
}

void TestThemeGen::styleSheetStylesEveryNamedWidget()
{
    const QString sheet = QString::fromLatin1(styleSheet());
    for (const char *name : styledNames)
        QVERIFY2(sheet.contains(QLatin1Char('#') + QLatin1String(name)), name);
    for (const Button &button : buttons) {
        for (const char *state : {"normal", "hover", "pressed", "disabled"}) {
            const QString picture = QStringLiteral("theme/buttons/%1_%2.png").arg(QLatin1String(button.file),
                                                                                  QLatin1String(state));
            QVERIFY2(sheet.contains(picture), qPrintable(picture));
        }
        if (button.checkable)
            QVERIFY(sheet.contains(QStringLiteral("#%1:checked").arg(QLatin1String(button.objectName))));
    }
    QVERIFY(sheet.contains(QLatin1String("QTabBar#tabbar_main::tab")));
}

void TestThemeGen::styleSheetDrawsButtonsFromPictures()
{
    // The urls are relative to the working directory, as in the program.
    QVERIFY(QDir::setCurrent(m_dir.path()));
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type != QtDebugMsg)
                warnings << message;
        });
    qApp->setStyleSheet(QString::fromLatin1(styleSheet()));

    QDialog main;
    main.setObjectName(QStringLiteral("window_main"));
    auto *mainClose = new QPushButton(&main);
    mainClose->setObjectName(QStringLiteral("button_window_close"));
    mainClose->setFixedSize(23, 23);
    auto *bold = new QPushButton(&main);
    bold->setObjectName(QStringLiteral("button_bold"));
    bold->setCheckable(true);
    bold->setChecked(true);
    bold->setFixedSize(21, 29);
    // The sign-in window is the main window's child, yet has its bigger close button.
    WindowAuth auth(&main);
    auto *authClose = new QPushButton(&auth);
    authClose->setObjectName(QStringLiteral("button_window_close"));
    authClose->setFixedSize(29, 29);
    main.ensurePolished();
    auth.ensurePolished();

    const QImage mainShot = mainClose->grab().toImage();
    const QImage authShot = authClose->grab().toImage();
    const QImage boldShot = bold->grab().toImage();

    // The comments panel's "+" sits in a corner of its tab widget, which is cut to the tab
    // height: all of it shows.
    ViewerComments comments;
    auto *tabs = new QTabWidget(&comments);
    tabs->addTab(new QWidget, QStringLiteral("Source"));
    auto *corner = new QWidget;
    auto *box = new QHBoxLayout(corner);
    box->setContentsMargins(0, 0, 0, 0);
    auto *append = new QPushButton(corner);
    append->setObjectName(QStringLiteral("button_append_comment"));
    append->setFixedSize(18, 32);
    box->addWidget(append);
    tabs->setCornerWidget(corner, Qt::TopRightCorner);
    tabs->resize(300, 200);
    comments.show();
    QVERIFY(QTest::qWaitForWindowExposed(&comments));
    const QRect shown = append->visibleRegion().boundingRect();
    qApp->setStyleSheet(QString());
    qInstallMessageHandler(previous);

    QVERIFY2(warnings.isEmpty(), qPrintable(warnings.join(QLatin1Char('\n'))));
    for (const QImage &shot : {mainShot, authShot, boldShot})
        QCOMPARE(shot.size(), QSize(32, 32));
    QCOMPARE(shown, QRect(0, 0, 32, 32));
    QVERIFY(likeness(mainShot, QImage(QStringLiteral("theme/buttons/close_normal.png"))) > 0.95);
    QVERIFY(likeness(authShot, QImage(QStringLiteral("theme/buttons/close_big_normal.png"))) > 0.95);
    QVERIFY(likeness(boldShot, QImage(QStringLiteral("theme/buttons/bold_checked.png"))) > 0.95);
}

QTEST_MAIN(TestThemeGen)
#include "tst_themegen.moc"
