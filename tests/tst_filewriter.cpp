// The one writer every file of the tool goes through: whole or not there,
// never in place of a special file, and the system's reason when it fails.
#include "app/startup.h"
#include "files/filewriter.h"

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
    if (target.startsWith("old"))
        path = oldPath;
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
    } else if (target == "read-only") {
        if (::geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
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
    const bool written = writer.commit(content);
#ifdef Q_OS_UNIX
    rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
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

QTEST_GUILESS_MAIN(TestFileWriter)
#include "tst_filewriter.moc"
