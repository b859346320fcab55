// SPDX-FileCopyrightText: 2026 VEGA & LYRA tool maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
// The one writer every file of the tool goes through: whole or not there,
// never in place of a special file, and the system's reason when it fails.
#include "app/startup.h"
#include "files/filewriter.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestFileWriter : public QObject
{
    Q_OBJECT
private slots:
    void writesWholeOrNothing_data();
    void writesWholeOrNothing();
};

void TestFileWriter::writesWholeOrNothing_data()
{
    QTest::addColumn<QString>("target"); // how the name is prepared
    QTest::addColumn<bool>("createOnly");
    QTest::addColumn<QString>("reason"); // empty: written

    QTest::newRow("new name") << "new" << false << "";
    QTest::newRow("replaces a regular file") << "old" << false << "";
    QTest::newRow("through a link to a regular file") << "link to old" << false << "";
    QTest::newRow("beyond the size limit") << "old, limit" << false << "File too large";
    QTest::newRow("pipe") << "fifo" << false << "Not a regular file";
    QTest::newRow("device node") << "/dev/null" << false << "Not a regular file";
    QTest::newRow("link to a device") << "link to /dev/null" << false << "Not a regular file";
    QTest::newRow("read-only folder") << "read-only" << false << "Permission denied";
    QTest::newRow("new name only, taken") << "old" << true << "File exists";
    QTest::newRow("new name only, dangling link") << "dangling" << true << "File exists";
    QTest::newRow("new name only, free") << "new" << true << "";
    QTest::newRow("a name of 248 bytes") << "long" << false << "";
    QTest::newRow("read-only file (444)") << "old, read-only" << false << "Permission denied";
    QTest::newRow("another user's file in a shared folder")
        << "old, another user's" << false << "Permission denied";
}

void TestFileWriter::writesWholeOrNothing()
{
    QFETCH(QString, target);
    QFETCH(bool, createOnly);
    QFETCH(QString, reason);
#ifndef Q_OS_UNIX
    // Links, pipes, device nodes and size limits are the Unix system's.
    if (target != "new" && target != "old")
        QSKIP("a Unix file kind");
#endif
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray old = "the earlier file";
    const QByteArray content(2000, 'x');
    const QString oldPath = dir.filePath("old.txt");
    {
        QFile f(oldPath);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(old) == old.size());
    }
    QString path = dir.filePath("new.txt");
    bool asOther = false;
    [[maybe_unused]] const bool readOnlyFile = target == "old, read-only"; // Unix only
    if (target.startsWith("old"))
        path = oldPath;
    else if (target == "long")
        path = dir.filePath(QString(244, QChar(0x00e9)).left(122) + QString(4, 'x'));
    else if (target == "link to old" || target == "link to /dev/null" || target == "dangling") {
        path = dir.filePath("link.txt");
        const QString to = target == "link to old"         ? oldPath
                           : target == "link to /dev/null" ? QStringLiteral("/dev/null")
                                                           : dir.filePath("nowhere");
        QVERIFY(QFile::link(to, path));
    }
#ifdef Q_OS_UNIX
    else if (target == "fifo") {
        path = dir.filePath("pipe");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (target == "/dev/null") {
        path = target;
    } else if (target == "read-only" && ::geteuid() != 0) {
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    // Root may write everything: as root, the pilot is another user (65534),
    // the folder theirs to write, the file theirs made read-only, or ours.
    asOther = (::geteuid() == 0 && (readOnlyFile || target == "read-only")) ||
              target.endsWith("another user's");
    if (target.endsWith("another user's") && ::geteuid() != 0)
        QSKIP("a file of another user needs root to make and setpriv to try");
    if (readOnlyFile)
        QVERIFY(::chmod(QFile::encodeName(oldPath).constData(), 0444) == 0);
    if (asOther) {
        // Shared, but for the folder that is only this user's to write.
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(),
                        target == "read-only" ? 0755 : 0777) == 0);
        if (readOnlyFile)
            QVERIFY(::chown(QFile::encodeName(oldPath).constData(), 65534, 65534) == 0);
    }
    if (target.endsWith("limit")) {
        ignoreFileSizeSignal();
        rlimit limit{1000, RLIM_INFINITY};
        QVERIFY(setrlimit(RLIMIT_FSIZE, &limit) == 0);
    }
#endif
    const QStringList before =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);

    WholeFileWriter writer(path, createOnly ? FileCommit::CreateOnly : FileCommit::Replace);
    bool written = false;
    if (asOther) {
        // This test again, as that user: the reason comes back on standard output.
        QProcess child;
        child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups",
                                QCoreApplication::applicationFilePath(), "--write-as-child", path});
        if (!child.waitForFinished(10000) || child.exitCode() > 1)
            QSKIP("setpriv cannot run this test as user 65534 here");
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardOutput()), reason);
    } else {
        written = writer.commit(content);
    }
#ifdef Q_OS_UNIX
    rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!asOther)
        QCOMPARE(writer.errorString(), reason);
#else
    QCOMPARE(writer.errorString().isEmpty(), reason.isEmpty()); // in the system's words
#endif
    QCOMPARE(written, reason.isEmpty());
    QCOMPARE(writer.nameTaken(), reason == "File exists");
    QFile result(path);
    const QStringList after =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    if (written) {
        QVERIFY(result.open(QIODevice::ReadOnly));
        QCOMPARE(result.readAll(), content);
        QVERIFY(after.size() <= before.size() + 1); // the file itself, no leftovers
        QCOMPARE(QFileInfo(path).isSymLink(), target == "link to old");
    } else {
        QCOMPARE(after, before); // nothing new left behind
        QFile kept(oldPath);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
    }
#ifdef Q_OS_UNIX
    // The device node is still a device node, whatever name led to it.
    struct stat null {
    };
    QVERIFY(::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
#endif
    if (target == "fifo")
        QVERIFY(QFileInfo(path).exists() && !QFileInfo(path).isFile());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The write as another user (the rows as another user).
    if (argc == 3 && qstrcmp(argv[1], "--write-as-child") == 0) {
        WholeFileWriter writer(QString::fromLocal8Bit(argv[2]));
        const bool written = writer.commit("replaced");
        fputs(writer.errorString().toLocal8Bit().constData(), stdout);
        return written ? 0 : 1;
    }
    TestFileWriter test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_filewriter.moc"
