#include "TestFiles.h"
#include "common/SystemReason.h"
#include "common/UiText.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

class TestSystemReason : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void inBothLanguages_data();
    void inBothLanguages();
    void fromAFileThatFailed();
};

void TestSystemReason::inBothLanguages_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("chinese");

    QTest::newRow("ENOENT") << ENOENT << "No such file or directory"
                            << "文件或文件夹不存在";
    QTest::newRow("EACCES") << EACCES << "Permission denied"
                            << "权限不足";
    QTest::newRow("EPERM") << EPERM << "Operation not permitted"
                           << "不允许的操作";
    QTest::newRow("EROFS") << EROFS << "Read-only file system"
                           << "文件系统为只读";
    QTest::newRow("ENOSPC") << ENOSPC << "No space left on device"
                            << "设备上没有剩余空间";
    QTest::newRow("ENOTDIR") << ENOTDIR << "Not a directory"
                             << "不是文件夹";
    QTest::newRow("EISDIR") << EISDIR << "Is a directory"
                            << "是一个文件夹";
    // Rarer reasons keep the system's words in either language (the tests run in the C locale).
    QTest::newRow("EFBIG, the system's words") << EFBIG << "File too large"
                                               << "File too large";
    QTest::newRow("EIO, the system's words") << EIO << "Input/output error"
                                             << "Input/output error";
}

void TestSystemReason::inBothLanguages()
{
    QFETCH(int, code);
    QFETCH(QString, english);
    QFETCH(QString, chinese);
    for (const bool inEnglish : {true, false}) {
        setUiEnglish(inEnglish);
        const QString expected = inEnglish ? english : chinese;
        QCOMPARE(systemReason(code), expected);
        // The same reason arriving as text: from this process, and from a
        // child process that wrote C's words.
        QCOMPARE(systemReasonFromText(qt_error_string(code)), expected);
        QCOMPARE(systemReasonFromText(english), expected);
    }
}

void TestSystemReason::fromAFileThatFailed()
{
    // A file keeps only the system's words; the reason is found by them.
    QTemporaryDir folder;
    QVERIFY(folder.isValid() && writeFile(folder.filePath("plain"), "x"));
    setUiEnglish(false);
    QFile missing(folder.filePath("gone/a.txt"));
    QVERIFY(!missing.open(QIODevice::ReadOnly));
    QCOMPARE(systemReason(missing), "文件或文件夹不存在");
    QFile belowAFile(folder.filePath("plain/a.txt"));
    QVERIFY(!belowAFile.open(QIODevice::WriteOnly));
    QCOMPARE(systemReason(belowAFile), "不是文件夹");
    QFile existing(folder.filePath("plain"));
    QVERIFY(!existing.open(QIODevice::WriteOnly | QIODevice::NewOnly));
    QCOMPARE(systemReason(existing), "File exists"); // EEXIST: the system's words
}

QTEST_GUILESS_MAIN(TestSystemReason)
#include "tst_systemreason.moc"
