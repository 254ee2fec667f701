// SPDX-License-Identifier: GPL-3.0-or-later
// The disk's first questions, asked of the helper process: what lstat says,
// relative paths taken from "/" as the panel takes them, and nothing left
// open however often it is asked.
#include "support/disk/DiskProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

class TestDiskProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QFile::link(m_dir.filePath("nowhere"), m_dir.filePath("dangling")));
        // The test runs elsewhere than "/": what the helper is asked of a
        // relative path shows where it was asked.
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void answers_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("error");
        // clang-format off
        QTest::newRow("a folder") << m_dir.path() << 0;
        QTest::newRow("missing") << m_dir.filePath("missing") << ENOENT;
        QTest::newRow("a link to nothing is there") << m_dir.filePath("dangling") << 0;
        QTest::newRow("below a file") << "/etc/hostname/x" << ENOTDIR;
        QTest::newRow("relative: from /") << "etc" << 0;
        QTest::newRow("relative, there only here: not from here") << "dangling" << ENOENT;
        QTest::newRow("empty") << "" << ENOENT;
        // clang-format on
    }

    void answers()
    {
        QFETCH(QString, path);
        QFETCH(int, error);
        QCOMPARE(DiskProbe::ask(path, 2000), std::optional<int>(error));
    }

    void leavesNothingOpen()
    {
        const uint descriptors = QDir("/proc/self/fd").count();
        for (int i = 0; i < 50; ++i)
            QCOMPARE(DiskProbe::ask(m_dir.filePath(QString::number(i))), std::optional<int>(ENOENT));
        QCOMPARE(QDir("/proc/self/fd").count(), descriptors);
    }

    // In the process list by its own name, over the whole of the arguments.
    void namedInProcessList()
    {
        QStringList names;
        for (const QString &pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
            QFile comm("/proc/" + pid + "/comm"), cmdline("/proc/" + pid + "/cmdline");
            if (getpgid(pid.toInt()) == getpgrp() && comm.open(QIODevice::ReadOnly) &&
                comm.readAll() == "katalog-probe\n" && cmdline.open(QIODevice::ReadOnly))
                names.append(QString::fromLatin1(cmdline.readAll()));
        }
        QVERIFY(!names.isEmpty());
        for (const QString &name : names)
            QVERIFY2(name.startsWith(QLatin1String("katalog-probe\0", 14)), qPrintable(name));
    }

private:
    QTemporaryDir m_dir;
};

int main(int argc, char **argv)
{
    // As the panel does, before anything starts a thread.
    DiskProbe::startHelper(argv);
    QCoreApplication app(argc, argv);
    TestDiskProbe test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_diskprobe.moc"
