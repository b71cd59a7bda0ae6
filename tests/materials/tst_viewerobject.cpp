// The object viewer on materials made for each case inside the demo installation's
// data/objects (temporary folders, removed afterwards).

#include "environment.h"
#include "favorites.h"
#include "favoritesmodel.h"
#include "flashengine.h"
#include "markbookmodel.h"
#include "materialid.h"
#include "materialprinter.h"
#include "treeitem.h"
#include "viewercomments.h"
#include "viewerimage.h"
#include "viewerobject.h"
#include "waitfor.h"
#include "viewerweb.h"
#include "writefile.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <functional>

namespace {

// The result of a script run in `page`, or an invalid value when it gives none in time.
QVariant runIn(QWebEnginePage *page, const QString &script)
{
    QVariant result;
    bool done = false;
    page->runJavaScript(script, [&](const QVariant &value) {
        result = value;
        done = true;
    });
    return waitFor([&] { return done; }, 5000) ? result : QVariant();
}

void writeImage(const QString &path, const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QPainter(&image).fillRect(QRect(QPoint(0, 0), size / 2), Qt::black);
    QVERIFY(image.save(path));
}

// Answers the next message box with Ok; its title and text land in the string.
QString *answerNextBox()
{
    auto *text = new QString;
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, text] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            *text = box->windowTitle() + ": " + box->text();
            box->button(QMessageBox::Ok)->click();
            poll->deleteLater();
        }
    });
    poll->start(10);
    return text;
}

// Hands the next modal dialog of type T, once it is up, to `answer`.
template <typename T>
void whenShown(std::function<void(T *)> answer)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(dialog);
        }
    });
    poll->start(10);
}

} // namespace

class TestViewerObject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void gridFollowsTheDescription();
    void brokenDescriptionWarnsAndKeepsWhatWasShown();
    void previewModeShowsThePreview();
    void unsafeIdsReadNothing();
    void everyMediumPrintsOnAPageOfItsOwn();
    void testResultIsOnDiskAtOnce();
    void webPageSeesOnlyTheDataFolder();
    void webPageReachesNoPupilsMovieData();
    void savedFilesStartInThePupilsOwnFolder();

private:
    QString material() const { return QFileInfo(m_material->path()).fileName(); }
    QString materialFile(const QString &name) const { return m_material->filePath(name); }
    QGridLayout *grid(const ViewerObject &viewer) const
    {
        return viewer.widget() ? qobject_cast<QGridLayout *>(viewer.widget()->layout()) : nullptr;
    }

    QTemporaryDir *m_material = nullptr;
};

void TestViewerObject::init()
{
    QVERIFY(QDir().mkpath("data/objects"));
    m_material = new QTemporaryDir(QDir::current().absoluteFilePath("data/objects/test-XXXXXX"));
    QVERIFY(m_material->isValid());
}

void TestViewerObject::cleanup()
{
    delete m_material;
}

void TestViewerObject::gridFollowsTheDescription()
{
    writeImage(materialFile("a.png"), QSize(40, 30), Qt::red);
    writeImage(materialFile("b.jpg"), QSize(40, 30), Qt::blue);
    writeFile(materialFile("text.html"), "<p>Жили-были</p>");
    writeFile(materialFile("normal.xml"), R"(<object>
        <media file="a.png" row="1" col="2" rowsf="2" colspan="2"/>
        <media file="b.jpg" row="1" col="0" rowsf="5" colsf="3"/>
        <media file="a.png"/>
        <media file="TEXT.HTML"/>
        <media file="text.html" row="2" col="abc" rowspan="99999999"/>
        <media file="../../../theme/style.qss.png"/>
        <media file="../../content.xml"/>
        <media file="notes.txt"/>
        <other file="a.png" row="3"/>
    </object>)");
    ViewerObject viewer;
    viewer.loadObject(material());
    QGridLayout *layout = grid(viewer);
    QVERIFY(layout);
    // Only the known kinds inside the data folder; upper-case suffixes are not known.
    QCOMPARE(layout->count(), 4);
    int row, column, rowSpan, columnSpan;
    layout->getItemPosition(0, &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(QList<int>({row, column, rowSpan, columnSpan}), QList<int>({1, 2, 1, 2}));
    layout->getItemPosition(2, &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(QList<int>({row, column}), QList<int>({0, 0}));
    layout->getItemPosition(3, &row, &column, &rowSpan, &columnSpan);
    QCOMPARE(QList<int>({row, column, rowSpan}), QList<int>({2, 0, MaterialDescription::MaxCell}));
    QVERIFY(qobject_cast<ViewerComments *>(layout->itemAt(3)->widget()));
    // The largest wish for a row or column wins.
    QCOMPARE(layout->rowStretch(1), 5);
    QCOMPARE(layout->columnStretch(0), 3);
    QCOMPARE(layout->columnStretch(2), 1);
    QVERIFY(!viewer.isPrintable());
}

void TestViewerObject::brokenDescriptionWarnsAndKeepsWhatWasShown()
{
    writeImage(materialFile("a.png"), QSize(40, 30), Qt::red);
    writeFile(materialFile("normal.xml"), "<object><media file=\"a.png\"/></object>");
    ViewerObject viewer;
    viewer.loadObject(material());
    QWidget *shown = viewer.widget();
    QVERIFY(shown);

    writeFile(materialFile("normal.xml"), "<object>\n  <media file=\"a.png\">\n</object>");
    QScopedPointer<QString> box(answerNextBox());
    viewer.loadObject(material());
    QVERIFY2(box->startsWith("DOM Parser: Parse error at line 3, column "), qPrintable(*box));
    QVERIFY2(box->endsWith(QDir::toNativeSeparators(materialFile("normal.xml"))), qPrintable(*box));
    QCOMPARE(viewer.widget(), shown);

    // A description of more media than a screen can show is refused before any is built
    // (100,000 pictures froze the shell for minutes).
    QByteArray crowd = "<object>\n";
    for (int i = 0; i < 100000; ++i)
        crowd += "<media file=\"a.png\"/>\n";
    writeFile(materialFile("normal.xml"), crowd + "</object>");
    box.reset(answerNextBox());
    viewer.loadObject(material());
    QVERIFY2(box->startsWith("DOM Parser: Parse error at line 66, column "), qPrintable(*box));
    QVERIFY2(box->contains("64"), qPrintable(*box));
    QCOMPARE(viewer.widget(), shown);

    // A description of something else than a material changes nothing either, silently.
    writeFile(materialFile("normal.xml"), "<notobject><media file=\"a.png\"/></notobject>");
    viewer.loadObject(material());
    QCOMPARE(viewer.widget(), shown);
}

void TestViewerObject::previewModeShowsThePreview()
{
    writeImage(materialFile("a.png"), QSize(40, 30), Qt::red);
    writeFile(materialFile("normal.xml"), "<object><media file=\"a.png\"/><media file=\"a.png\"/></object>");
    writeFile(materialFile("preview.xml"), "<object><media file=\"a.png\"/></object>");
    ViewerObject preview(ViewerObject::Preview);
    preview.loadObject(material());
    QCOMPARE(grid(preview)->count(), 1);
    ViewerObject normal(ViewerObject::Normal);
    normal.loadObject(material());
    QCOMPARE(grid(normal)->count(), 2);
}

void TestViewerObject::unsafeIdsReadNothing()
{
    // Descriptions where an id that climbs out of its folder would find them.
    writeImage(materialFile("a.png"), QSize(40, 30), Qt::red);
    const QByteArray description = "<object><media file=\"" + material().toUtf8() + "/a.png\"/></object>";
    writeFile("data/objects/normal.xml", description);
    for (const QString &id : QStringList{QString(), ".", "..", material() + "/..", material() + "\\..",
                              QString("a\u0001b")}) {
        QVERIFY2(!MaterialId::isSafe(id), qPrintable(id));
        ViewerObject viewer;
        viewer.loadObject(id);
        QVERIFY2(!viewer.widget(), qPrintable(id));
    }
    QFile::remove("data/objects/normal.xml");
    QVERIFY(MaterialId::isSafe("con_01_slog"));
}

namespace {

// The smallest rectangle of the pixels that match.
QRect areaOf(const QImage &image, const std::function<bool(const QColor &)> &match)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (match(image.pixelColor(x, y)))
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

void TestViewerObject::everyMediumPrintsOnAPageOfItsOwn()
{
    const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm (poppler-utils) is not installed");
    writeImage(materialFile("big.png"), QSize(3000, 1500), QColor(250, 200, 0));
    writeImage(materialFile("small.jpg"), QSize(60, 40), QColor(0, 120, 255));
    // A workbook page far longer than its cell: green at its top, red at its very end.
    writeFile(materialFile("long.htm"),
              "<html><body style=\"margin:0;-webkit-print-color-adjust:exact\">"
              "<div style=\"height:150px;background:#00c000\"></div><div style=\"height:2500px\"></div>"
              "<div style=\"height:150px;background:#ff0000\"></div></body></html>");
    writeFile(materialFile("normal.xml"),
              "<object><media file=\"big.png\" printable=\"true\"/><media file=\"small.jpg\" col=\"1\"/>"
              "<media file=\"long.htm\" col=\"2\"/></object>");
    ViewerObject viewer;
    viewer.resize(600, 300);
    viewer.show();
    viewer.loadObject(material());
    QVERIFY(viewer.isPrintable());
    auto *web = viewer.findChild<ViewerWeb *>();
    QVERIFY(web);
    QSignalSpy loaded(web, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(20000));

    const QString pdf = materialFile("out.pdf");
    {
        MaterialPrinter printer(QPrinter::ScreenResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        viewer.printAll(&printer);
    }
    QProcess render;
    render.start(pdftoppm, {"-r", "30", "-png", pdf, materialFile("page")});
    QVERIFY(render.waitForFinished(30000));
    QCOMPARE(render.exitCode(), 0);
    QStringList pages = QDir(m_material->path()).entryList({"page*.png"}, QDir::Files, QDir::Name);
    QVERIFY2(pages.size() >= 4, qPrintable(pages.join(' '))); // the web page takes two sheets or more
    // The big picture fits the page (its right part is not cut off).
    const QImage first(materialFile(pages[0]));
    const int y = first.height() / 10;
    QCOMPARE(first.pixelColor(first.width() / 4, y).blue() < 60, true);        // the black quarter
    QVERIFY(qAbs(first.pixelColor(first.width() * 3 / 4, y).red() - 250) < 30); // the yellow, still on the page
    // The small one is printed at its own size (60 px at 96 dpi is some 19 px here), not enlarged.
    const QRect blue = areaOf(QImage(materialFile(pages[1])),
                              [](const QColor &c) { return c.blue() > 200 && c.red() < 50; });
    QVERIFY2(!blue.isEmpty() && blue.width() < 30, qPrintable(QString::number(blue.width())));
    // The web page, from its top to its end.
    const auto green = [](const QColor &c) { return c.green() > 150 && c.red() < 80 && c.blue() < 80; };
    const auto red = [](const QColor &c) { return c.red() > 200 && c.green() < 80 && c.blue() < 80; };
    QVERIFY(!areaOf(QImage(materialFile(pages[2])), green).isEmpty());
    QVERIFY(!areaOf(QImage(materialFile(pages.last())), red).isEmpty());
}

void TestViewerObject::testResultIsOnDiskAtOnce()
{
    QTemporaryDir pupil;
    pupilDir = QDir(pupil.path());
    const QString id = material();
    writeFile(pupil.filePath("markbook.xml"),
              "<markbook><chapter caption=\"Глава\"><object caption=\"Тест\" mark=\"-1.0\" id=\"" + id.toUtf8()
                  + "\"/><object caption=\"Без папки\" mark=\"-1.0\" id=\"con_no_folder\"/></chapter></markbook>");
    writeFile(materialFile("normal.xml"), "<object/>");
    ensureMarkbookModel();
    ViewerObject viewer;
    viewer.loadObject(id);
    // A material that cannot be shown leaves the movie that still plays reporting to its own.
    viewer.loadObject("con_no_folder");
    QString history = "2/3";
    viewer.saveTestResult("0.67", history);

    QFile file(pupil.filePath("markbook.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray onDisk = file.readAll();
    QVERIFY2(onDisk.contains(QByteArray("mark=\"0.67\" id=\"" + id.toUtf8() + "\">2/3</object>")), onDisk.constData());
    QVERIFY2(onDisk.contains("mark=\"-1.0\" id=\"con_no_folder\""), onDisk.constData());
}

void TestViewerObject::webPageSeesOnlyTheDataFolder()
{
    writeImage(materialFile("inside.png"), QSize(40, 30), Qt::red);
    writeFile(materialFile("page.htm"),
              "<html><body><p>Рабочая тетрадь</p><img id=\"inside\" src=\"inside.png\">"
              "<img id=\"outside\" src=\"/theme/theme.ico\"><img id=\"web\" src=\"https://example.com/x.png\">"
              "</body></html>");
    writeFile(materialFile("normal.xml"), "<object><media file=\"page.htm\"/></object>");
    ViewerObject viewer;
    viewer.resize(400, 300);
    viewer.show();
    viewer.loadObject(material());
    auto *web = viewer.findChild<ViewerWeb *>();
    QVERIFY(web);
    QSignalSpy loaded(web, &QWebEngineView::loadFinished);
    QVERIFY(loaded.wait(20000));
    QVERIFY(loaded.first().first().toBool());

    const auto run = [web](const QString &script) {
        QVariant result;
        bool done = false;
        web->page()->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        if (!waitFor([&] { return done; }, 5000))
            return QVariant();
        return result;
    };
    QTRY_COMPARE_WITH_TIMEOUT(run("document.getElementById('inside').naturalWidth").toInt(), 40, 5000);
    QCOMPARE(run("document.getElementById('outside').naturalWidth").toInt(), 0);
    QCOMPARE(run("document.getElementById('web').naturalWidth").toInt(), 0);

    // A link out of the data folder goes nowhere.
    const QUrl page = web->url();
    run("location.href = '/theme/style.qss'");
    runFor(500);
    QCOMPARE(web->url(), page);
}

void TestViewerObject::webPageReachesNoPupilsMovieData()
{
    // A pupil's movie data where the players keep it.
    QWebEnginePage players(FlashEngine::instance()->profile());
    QSignalSpy seeded(&players, &QWebEnginePage::loadFinished);
    writeFile(materialFile("seed.htm"), "<p>seed</p>");
    players.load(FlashEngine::instance()->files().urlForFile(materialFile("seed.htm")));
    QVERIFY(seeded.wait(20000));
    const QString key = QStringLiteral("pupil Аня\\nlocalhost/lesson.swf/progress");
    QCOMPARE(runIn(&players, QStringLiteral("localStorage.setItem('%1', 'секрет'); 1").arg(key)).toInt(), 1);

    // A course's page that looks for it, poses as the player to read the installation and
    // to load files through the players' door, and asks WebRTC for the computer's addresses.
    writeFile(materialFile("spy.htm"), R"(<html><head><meta charset="utf-8"></head><body><pre id="found"></pre><script>
        const found = [];
        for (let i = 0; i < localStorage.length; ++i)
            found.push('key: ' + localStorage.key(i).replace('\n', ' / '));
        localStorage.setItem('pupil Аня\nlocalhost/lesson.swf/progress', 'stolen');
        history.pushState({}, '', '/player/player.html');
        function posing() {
            for (const path of ['/ruffle/ruffle.js', '/player/load?url=pellora%3A%2F%2Fapp%2Fruffle%2Fruffle.js']) {
                const xhr = new XMLHttpRequest();
                xhr.open('GET', path, false);
                try { xhr.send(); found.push(path + ': ' + xhr.status); } catch (e) { found.push(path + ': refused'); }
            }
            addresses();
        }
        setTimeout(posing, 300);  // once the program has heard of the new address
        function done() {
            document.getElementById('found').textContent = found.join('\n') || 'nothing';
            document.title = 'done';
        }
        function addresses() { try {
            const rtc = new RTCPeerConnection({iceServers: []});
            rtc.createDataChannel('x');
            let addresses = 0;
            rtc.onicecandidate = function (e) {
                if (e.candidate && e.candidate.candidate)
                    ++addresses;
                else if (!e.candidate) { found.push('webrtc addresses: ' + addresses); done(); }
            };
            rtc.createOffer().then(function (offer) { return rtc.setLocalDescription(offer); });
        } catch (e) { found.push('webrtc: ' + e); done(); } }
        </script></body></html>)");
    writeFile(materialFile("normal.xml"), "<object><media file=\"spy.htm\"/></object>");
    ViewerObject viewer;
    viewer.resize(500, 300);
    viewer.show();
    viewer.loadObject(material());
    auto *web = viewer.findChild<ViewerWeb *>();
    QVERIFY(web);
    QTRY_COMPARE_WITH_TIMEOUT(web->title(), QStringLiteral("done"), 20000);
    const QString found = runIn(web->page(), "document.getElementById('found').textContent").toString();
    QCOMPARE(found, QStringLiteral("/ruffle/ruffle.js: refused\n"
                                   "/player/load?url=pellora%3A%2F%2Fapp%2Fruffle%2Fruffle.js: refused\n"
                                   "webrtc addresses: 0"));
    QCOMPARE(runIn(&players, QStringLiteral("localStorage.getItem('%1')").arg(key)).toString(), QStringLiteral("секрет"));
    runIn(&players, QStringLiteral("localStorage.removeItem('%1'); 1").arg(key));
}

void TestViewerObject::savedFilesStartInThePupilsOwnFolder()
{
    // A home of the test's own, with its documents folder and two folders a pupil chooses.
    QTemporaryDir home, anna, boris;
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        if (oldConfig.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", oldConfig);
    });
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toUtf8());
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVERIFY(documents.startsWith(home.path()));
    const QString printed = home.filePath("рисунки"), exported = home.filePath("материалы");
    for (const QString &folder : {documents, printed, exported})
        QVERIFY(QDir().mkpath(folder));

    writeImage(materialFile("p.png"), QSize(40, 40), Qt::red);
    writeFile(materialFile("normal.xml"), "<object><media file=\"p.png\" printable=\"true\"/></object>");
    ViewerObject viewer;
    viewer.loadObject(material());
    // The file the print dialog offers to print to; `answer` closes the dialog.
    const auto printTo = [](ViewerObject &viewer, std::function<void(QPrintDialog *)> answer) {
        QString offered;
        whenShown<QPrintDialog>([&offered, answer](QPrintDialog *dialog) {
            offered = dialog->findChild<QLineEdit *>("filename")->text();
            answer(dialog);
        });
        viewer.printer();
        return offered;
    };
    const auto cancel = [](QDialog *dialog) { dialog->reject(); };
    const QString ownName = "/" + material() + ".pdf"; // not in the contents: named by its id

    pupilDir = QDir(anna.path());
    QCOMPARE(printTo(viewer, [&](QPrintDialog *dialog) {
                 auto *printers = dialog->findChild<QComboBox *>("printers");
                 printers->setCurrentIndex(printers->count() - 1); // to a file
                 dialog->findChild<QLineEdit *>("filename")->setText(printed + "/лист.pdf");
                 dialog->accept();
             }),
             documents + ownName);
    QVERIFY(QFileInfo(printed + "/лист.pdf").size() > 0);
    QCOMPARE(printTo(viewer, cancel), printed + ownName);

    // Another pupil starts afresh.
    pupilDir = QDir(boris.path());
    QCOMPARE(printTo(viewer, cancel), documents + ownName);

    // The folder a pupil exports to is where her next print goes.
    pupilDir = QDir(anna.path());
    Favorites favorites;
    favorites.addMaterial({"Аист", "ani", "ani_03_bukva_a", "p", "Аист"});
    favorites.tree()->setCurrentIndex(favoritesModel->index(favoritesModel->rowCount() - 1, 0));
    QString startedIn;
    whenShown<QFileDialog>([&startedIn, exported](QFileDialog *dialog) {
        startedIn = dialog->directory().absolutePath();
        dialog->setDirectory(exported);
        static_cast<QDialog *>(dialog)->accept();
    });
    answerNextBox();
    favorites._export();
    QCOMPARE(startedIn, printed);
    QVERIFY(QFileInfo(exported + "/ani_03_bukva_a/normal.xml").isFile());
    ViewerObject listed;
    listed.loadObject("slv_01_zvuk_o");
    QCOMPARE(printTo(listed, cancel), exported + "/Слова со звуком [о].pdf");
    QCOMPARE(MaterialPrinter::fileNameFor("\"../Угадай\\кто?\""), QString("Угадай кто"));
}

QTEST_MAIN(TestViewerObject)
#include "tst_viewerobject.moc"
