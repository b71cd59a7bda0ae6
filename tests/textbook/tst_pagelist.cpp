#include "pagelist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPageList : public QObject
{
    Q_OBJECT

private slots:
    void matchIgnoresCaseSortDoesNot();
    void missingFolderGivesNoPages();
};

void TestPageList::matchIgnoresCaseSortDoesNot()
{
    QTemporaryDir dir;
    const QStringList files = {"010-011.swf", "002-003.SWF", "001-002.swf", "0a1-0b2.swf", "01-002.swf",
                               "a01-002.swf", "004-005.swf.bak", "005-006.png", "1xx-2yy.swf"};
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir(dir.path()).mkdir("003-004.swf")); // a folder is no page
    QStringList names;
    for (const QString &path : PageList::scan(dir.path())) {
        QCOMPARE(QFileInfo(path).path(), dir.path());
        names << QFileInfo(path).fileName();
    }
    QCOMPARE(names, QStringList({"001-002.swf", "002-003.SWF", "010-011.swf", "0a1-0b2.swf", "1xx-2yy.swf"}));
}

void TestPageList::missingFolderGivesNoPages()
{
    QCOMPARE(PageList::scan("/no/such/folder"), QStringList());
}

QTEST_MAIN(TestPageList)
#include "tst_pagelist.moc"
