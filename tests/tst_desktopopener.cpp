// SPDX-License-Identifier: GPL-3.0-or-later
// Real launches, no desktop needed: the tests' own XDG folders name a small
// recording application as the default for folders, text and web addresses,
// so every open request shows up in its log.
#include "helpers/TestFiles.h"
#include "support/DesktopOpener.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

bool writeExecutable(const QString &path, const QByteArray &content)
{
    return writeBytes(path, content) &&
           QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

// Writes the recording desktop into home and points XDG at it.
bool setUpDesktop(const QString &home)
{
    QDir dir(home);
    if (!dir.mkpath(QStringLiteral("config")) || !dir.mkpath(QStringLiteral("data/applications")) ||
        !dir.mkpath(QStringLiteral("files")))
        return false;
    const QByteArray log = QFile::encodeName(dir.filePath(QStringLiteral("log")));
    const QByteArray recorder = QFile::encodeName(dir.filePath(QStringLiteral("record.sh")));
    return writeExecutable(recorder, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + log + "'\n") &&
           writeBytes(dir.filePath(QStringLiteral("data/applications/recorder.desktop")),
                      "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + recorder +
                          " opened %U\nMimeType=inode/directory;text/plain;"
                          "x-scheme-handler/http;x-scheme-handler/https;\n") &&
           writeBytes(dir.filePath(QStringLiteral("config/mimeapps.list")),
                      "[Default Applications]\ninode/directory=recorder.desktop\n"
                      "text/plain=recorder.desktop\nx-scheme-handler/http=recorder.desktop\n"
                      "x-scheme-handler/https=recorder.desktop\n") &&
           qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config")))) &&
           qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath(QStringLiteral("data"))));
}

} // namespace

class TestDesktopOpener : public QObject
{
    Q_OBJECT

public:
    explicit TestDesktopOpener(const QString &home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        const QByteArray recorder = QFile::encodeName(m_home.filePath(QStringLiteral("record.sh")));
        QVERIFY(m_home.mkpath(QStringLiteral("files/Папка с книгами")));
        QVERIFY(m_home.mkpath(QStringLiteral("files/数据")));
        for (const char *name : {"заметка.txt", "Café résumé.txt", "-n", "$(touch pwned).txt",
                                 "a;b 'c'.txt", ";rm -rf x", "back\\slash \"quoted\".txt"})
            QVERIFY(writeBytes(file(QString::fromUtf8(name)), "text\n"));
        QVERIFY(writeExecutable(file(QStringLiteral("program")),
                                "#!/bin/sh\n'" + recorder + "' program-ran \"$PWD\" \"$#\"\n"));
        QVERIFY(writeBytes(file(QStringLiteral("app.desktop")),
                           "[Desktop Entry]\nType=Application\nName=App\nExec=" + recorder +
                               " app-ran\n"));
        QVERIFY(writeBytes(file(QStringLiteral("Müller 🎵.desktop")),
                           "[Desktop Entry]\nType=Application\nName=M\nExec=" + recorder +
                               " müller-ran\n"));
        QVERIFY(writeBytes(file(QStringLiteral("link.desktop")),
                           "[Desktop Entry]\nType=Link\nName=Link\nURL=http://example.org/link\n"));
    }

    void init() { QFile::remove(m_home.filePath(QStringLiteral("log"))); }

    void opensEachKindOfTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected");

        const auto opened = [](const QString &what) { return QStringLiteral("opened ") + what; };
        const QString folder = file(QStringLiteral("Папка с книгами"));
        // clang-format off
        QTest::newRow("folder") << folder << opened(folder);
        QTest::newRow("document") << file("заметка.txt") << opened(file("заметка.txt"));
        QTest::newRow("accented document") << file("Café résumé.txt") << opened(file("Café résumé.txt"));
        QTest::newRow("CJK folder") << file("数据") << opened(file("数据"));
        QTest::newRow(".desktop named with an emoji") << file("Müller 🎵.desktop") << "müller-ran";
        QTest::newRow("web address") << "http://example.org/page" << opened("http://example.org/page");
        QTest::newRow("program, run in / with no arguments") << file("program") << "program-ran / 0";
        QTest::newRow(".desktop application") << file("app.desktop") << "app-ran";
        QTest::newRow(".desktop link") << file("link.desktop") << opened("http://example.org/link");
        QTest::newRow("name like an option") << file("-n") << opened(file("-n"));
        QTest::newRow("name like a command") << file("$(touch pwned).txt") << opened(file("$(touch pwned).txt"));
        QTest::newRow("a command after a semicolon") << file(";rm -rf x") << opened(file(";rm -rf x"));
        QTest::newRow("backslash and double quotes") << file("back\\slash \"quoted\".txt") << opened(file("back\\slash \"quoted\".txt"));
        QTest::newRow("quotes and a semicolon") << file("a;b 'c'.txt") << opened(file("a;b 'c'.txt"));
        // clang-format on
    }

    void opensEachKindOfTarget()
    {
        QFETCH(QString, target);
        QFETCH(QString, expected);
        m_opener.open(target);
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QStringList{expected}, 10000);
        QVERIFY(!QFile::exists(m_home.filePath(QStringLiteral("files/pwned"))));
        QVERIFY(!QFile::exists(QStringLiteral("/pwned")));
    }

    void targetThatNamesNothingOpensNothing_data()
    {
        QTest::addColumn<QString>("target");
        // clang-format off
        QTest::newRow("placeholder") << "1";
        QTest::newRow("missing file") << file("gone.txt");
        QTest::newRow("empty") << "";
        // clang-format on
    }

    void targetThatNamesNothingOpensNothing()
    {
        QFETCH(QString, target);
        m_opener.open(target);
        // Any launch would have shown up long before this.
        QTest::qWait(500);
        QCOMPARE(recorded(), QStringList());
    }

private:
    QString file(const QString &name) const
    {
        return m_home.filePath(QStringLiteral("files/") + name);
    }
    // The log's lines, file URIs turned back into paths.
    QStringList recorded() const;

    QDir m_home;
    DesktopOpener m_opener;
};

QStringList TestDesktopOpener::recorded() const
{
    QStringList lines = QString::fromUtf8(readBytes(m_home.filePath(QStringLiteral("log"))))
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines) {
        const qsizetype uri = line.indexOf(QLatin1String("file://"));
        if (uri >= 0)
            line = line.left(uri) + QUrl(line.mid(uri)).toLocalFile();
    }
    return lines;
}

int main(int argc, char **argv)
{
    // GLib reads the XDG folders once, so they are set before anything starts.
    QTemporaryDir home;
    if (!home.isValid() || !setUpDesktop(home.path()))
        return 1;
    QCoreApplication app(argc, argv);
    TestDesktopOpener test(home.path());
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktopopener.moc"
