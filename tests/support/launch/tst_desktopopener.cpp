// SPDX-License-Identifier: GPL-3.0-or-later
// Real launches, no desktop needed: the test's own XDG folders, the system's
// too (only the machine's type database is shared), name a small recording
// application as the default for folders, text and web addresses, so every
// open request shows up in its log.
#include "helpers/TestFiles.h"
#include "support/launch/ApplicationChoice.h"
#include "support/launch/DesktopOpener.h"
#include "support/launch/OpenCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

QString home; // set before GLib starts
QString file(const QString &name)
{
    return home + QStringLiteral("/files/") + name;
}
const QString Tricky = QStringLiteral("-n $(touch pwned);'a' \"b\" \\c.txt");

bool write(const QString &path, const QByteArray &content, bool executable = false)
{
    return writeBytes(path, content) &&
           (!executable ||
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner));
}

QByteArray uri(const QString &name)
{
    return QUrl::fromLocalFile(file(name)).toEncoded();
}
bool writeLink(const QString &name, const QByteArray &url)
{
    return write(file(name), "[Desktop Entry]\nType=Link\nName=L\nURL=" + url + '\n');
}

// The recording desktop, and the targets it is asked to open.
bool setUpDesktop()
{
    const QByteArray recorder = QFile::encodeName(home + "/record.sh");
    QDir dir(home);
    const QByteArray list = "[Default Applications]\n";
    return dir.mkpath("config/xfce4") && dir.mkpath("data/applications") &&
           dir.mkpath("files/Папка 数据") && dir.mkpath("system config/xfce4") &&
           dir.mkpath("system data") &&
           QFile::link("/usr/share/mime", home + "/system data/mime") &&
           write(recorder,
                 "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + QFile::encodeName(home) + "/log'\n",
                 true) &&
           write(home + "/data/applications/recorder.desktop",
                 "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + recorder +
                     " opened %U\nMimeType=inode/directory;text/plain;application/pdf;"
                     "x-scheme-handler/http;x-scheme-handler/mailto;"
                     "x-scheme-handler/re;\n") &&
           write(home + "/data/applications/other.desktop",
                 "[Desktop Entry]\nType=Application\nName=Other\nExec=" + recorder +
                     " other-opened %U\n") &&
           write(home + "/data/applications/hidden.desktop",
                 "[Desktop Entry]\nType=Application\nName=Hidden\nExec=" + recorder +
                     " hidden-ran %U\nMimeType=application/pdf;\nOnlyShowIn=MATE;\n") &&
           write(file("paper.pdf"), "%PDF-1.4\n") &&
           write(home + "/config/mimeapps.list",
                 list + "application/pdf=hidden.desktop;recorder.desktop;\n"
                        "text/plain=recorder.desktop\nx-scheme-handler/http=recorder.desktop\n"
                        "x-scheme-handler/mailto=recorder.desktop\n"
                        "x-scheme-handler/re=recorder.desktop\ntext/csv=other.desktop\n"
                        "[Removed Associations]\nimage/png=other.desktop\n") &&
           write(home + "/config/xfce-mimeapps.list", list + "text/csv=recorder.desktop\n") &&
           write(home + "/data/applications/mimeapps.list",
                 list + "text/markdown=other.desktop\n") &&
           write(home + "/system config/mimeapps.list",
                 list + "text/x-csrc=other.desktop\nimage/png=other.desktop;recorder.desktop\n") &&
           write(home + "/config/xfce4/helpers.rc", "FileManager=recorder\n") &&
           write(home + "/system config/xfce4/helpers.rc", "# XFCE's own\nFileManager=other\n") &&
           write(file("table.csv"), "a,b\n") && write(file("main.c"), "int main;\n") &&
           write(file("notes.md"), "# Notes\n") && write(file("picture.png"), "picture\n") &&
           write(file(Tricky), "text\n") &&
           write(file("program"), "#!/bin/sh\n'" + recorder + "' program-ran \"$PWD\" \"$#\"\n",
                 true) &&
           write(file("readme.txt"), "#!/bin/sh\n'" + recorder + "' readme-ran\n", true) &&
           write(file("Müller 🎵.desktop"),
                 "[Desktop Entry]\nType=Application\nName=M\nExec=" + recorder + " müller-ran\n") &&
           write(file("own.desktop"), "[Desktop Entry]\nType=Application\nName=Own\nExec=" +
                                          QFile::encodeName(file("program")) + "\n") &&
           writeLink("link.desktop", "http://example.org/link") &&
           writeLink("to folder.desktop", uri("Папка 数据")) &&
           writeLink("to file.desktop", uri(Tricky)) &&
           writeLink("to link.desktop", uri("to folder.desktop")) &&
           writeLink("nothing.desktop", "katalog-none:/x") &&
           writeLink("elsewhere.desktop", "file://otherhost" + uri("Папка 数据").mid(7)) &&
           writeLink("loop.desktop", uri("loop back.desktop")) &&
           writeLink("loop back.desktop", uri("loop.desktop")) &&
           write(file("kde.desktop"), "[Desktop Entry]\nType=Link\nURL[$e]=file:${KATALOG_HERE}/"
                                      "$KATALOG_WORD 数据\nName[$i]=K\n") &&
           qputenv("KATALOG_WORD", "Папка") &&
           qputenv("KATALOG_HERE", QFile::encodeName(home + "/files")) &&
           qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + "/config")) &&
           qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/data")) &&
           qputenv("XDG_CONFIG_DIRS", QFile::encodeName(home + "/system config")) &&
           qputenv("XDG_DATA_DIRS", QFile::encodeName(home + "/system data"));
}

// The log's lines, file URIs turned back into paths.
QStringList recorded()
{
    QStringList lines =
        QString::fromUtf8(readBytes(home + "/log")).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : lines) {
        const qsizetype uri = line.indexOf(QLatin1String("file://"));
        if (uri >= 0)
            line = line.left(uri) + QUrl(line.mid(uri)).toLocalFile();
    }
    return lines;
}

} // namespace

class TestDesktopOpener : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(home + "/log"); }

    void opensEachKindOfTarget_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("expected"); // empty: nothing is opened
        QTest::addColumn<QByteArray>("after"); // "folder": the panel knows it is one
        const QString folder = file("Папка 数据");
        // clang-format off
        QTest::newRow("folder") << folder << "opened " + folder << QByteArray();
        QTest::newRow("a name with shell and option syntax") << file(Tricky) << "opened " + file(Tricky) << QByteArray();
        QTest::newRow(".desktop application named with an emoji") << file("Müller 🎵.desktop") << "müller-ran" << QByteArray();
        QTest::newRow(".desktop link") << file("link.desktop") << "opened http://example.org/link" << QByteArray();
        QTest::newRow("link to a folder") << file("to folder.desktop") << "opened " + folder << QByteArray();
        QTest::newRow("link to a file with shell and option syntax") << file("to file.desktop") << "opened " + file(Tricky) << QByteArray();
        QTest::newRow("link to a link to a folder") << file("to link.desktop") << "opened " + folder << QByteArray();
        QTest::newRow("link to a scheme nothing opens") << file("nothing.desktop") << "" << QByteArray();
        QTest::newRow("link to another machine's file") << file("elsewhere.desktop") << "" << QByteArray();
        QTest::newRow("links that lead back to each other") << file("loop.desktop") << "" << QByteArray();
        QTest::newRow("KDE's link, its variables expanded") << file("kde.desktop") << "opened " + folder << QByteArray();
        QTest::newRow("mail address") << "mailto:someone@example.org" << "opened mailto:someone@example.org" << QByteArray();
        QTest::newRow(".desktop application naming a program") << file("own.desktop") << "program-ran / 0" << QByteArray();
        QTest::newRow("the user's choice hidden from this desktop: the next one") << file("paper.pdf") << "opened " + file("paper.pdf") << QByteArray();
        QTest::newRow("program, run in /, no arguments") << file("program") << "program-ran / 0" << QByteArray();
        QTest::newRow("executable text with #!: opened, not run") << file("readme.txt") << "opened " + file("readme.txt") << QByteArray();
        QTest::newRow("the desktop's own list of the user's before their generic one") << file("table.csv") << "opened " + file("table.csv") << QByteArray();
        QTest::newRow("a C source: the choice for its parent type") << file("main.c") << "opened " + file("main.c") << QByteArray();
        QTest::newRow("the type's own choice in a weaker list before its parent's") << file("notes.md") << "other-opened " + file("notes.md") << QByteArray();
        QTest::newRow("removed by the user: the system's next choice") << file("picture.png") << "opened " + file("picture.png") << QByteArray();
        QTest::newRow("a name with a colon is no web address") << "Re:minutes.txt" << "" << QByteArray();
        QTest::newRow("empty") << "" << "" << QByteArray();
        QTest::newRow("placeholder") << "1" << "" << QByteArray();
        QTest::newRow("missing file") << file("gone.txt") << "" << QByteArray();
        QTest::newRow("a folder the panel knows: not asked again") << file("not here") << "opened " + file("not here") << QByteArray("folder");
        QTest::newRow("a word after the folder mark: nothing") << folder << "" << QByteArray("folder x");
        QTest::newRow("another word than the folder mark: nothing") << folder << "" << QByteArray("files");
        // clang-format on
    }

    void opensEachKindOfTarget()
    {
        QFETCH(QString, target);
        QFETCH(QString, expected);
        QFETCH(QByteArray, after);
        // As the disk helper runs it.
        const auto open = [](const QByteArray &target, const QByteArray &after = {}) {
            QList<QByteArray> arguments{"katalog", "--open", "--", target};
            if (!after.isEmpty())
                arguments += after.split(' ');
            std::vector<char *> argv;
            for (QByteArray &argument : arguments)
                argv.push_back(argument.data());
            return OpenCommand::run(int(argv.size()), argv.data());
        };
        const bool understood = after.isEmpty() || after == "folder";
        QCOMPARE(open(QFile::encodeName(target), after), std::optional<int>(understood ? 0 : 2));
        // Where nothing opens, a web address opened after it shows that any
        // launch it made would have shown up.
        const QString marker = "http://example.org/after";
        if (expected.isEmpty())
            QCOMPARE(open(marker.toUtf8()), std::optional<int>(0));
        QTRY_COMPARE_WITH_TIMEOUT(
            recorded(), QStringList{expected.isEmpty() ? "opened " + marker : expected}, 10000);
        QVERIFY(!QFile::exists(file("pwned")) && !QFile::exists(QStringLiteral("/pwned")));
    }

    void choosesTheDesktopsApplication_data()
    {
        QTest::addColumn<QStringList>("desktops");
        QTest::addColumn<QStringList>("types");
        QTest::addColumn<QString>("userList");
        QTest::addColumn<QString>("systemList");
        QTest::addColumn<QStringList>("xfceHelpers");
        QTest::addColumn<QString>("expected");
        const QStringList folder{"inode/directory"};
        const QStringList cSource{"text/x-csrc", "text/plain"};
        const QString hidden = "inode/directory=caja-folder-handler.desktop";
        // clang-format off
        QTest::newRow("the user's choice first") << QStringList{"xfce"} << folder << "inode/directory=thunar.desktop" << "inode/directory=org.gnome.Nautilus.desktop" << QStringList{"FileManager=nautilus"} << "thunar.desktop";
        QTest::newRow("the user's choice hidden here: the next one it names") << QStringList{"gnome"} << folder << "inode/directory=caja-folder-handler.desktop;org.kde.dolphin.desktop;" << "" << QStringList() << "org.kde.dolphin.desktop";
        QTest::newRow("the user's choice not installed: the desktop's") << QStringList{"gnome"} << folder << "inode/directory=gone.desktop" << "inode/directory=org.gnome.Nautilus.desktop" << QStringList() << "org.gnome.Nautilus.desktop";
        QTest::newRow("a choice in another section is none") << QStringList{"gnome"} << folder << "[Added Associations]\ninode/directory=thunar.desktop" << "inode/directory=org.gnome.Nautilus.desktop" << QStringList() << "org.gnome.Nautilus.desktop";
        QTest::newRow("the parent type's choice") << QStringList{"xfce"} << cSource << "text/plain=mousepad.desktop" << "" << QStringList() << "mousepad.desktop";
        QTest::newRow("the desktop's list before its own file manager") << QStringList{"gnome"} << folder << "" << "inode/directory=thunar.desktop" << QStringList() << "thunar.desktop";
        QTest::newRow("the desktop's list names a hidden entry: its own file manager") << QStringList{"lxqt"} << folder << "" << hidden << QStringList() << "pcmanfm-qt.desktop";
        QTest::newRow("GNOME Flashback: GNOME's file manager, by its current id") << QStringList{"gnome-flashback", "gnome"} << folder << "" << "" << QStringList() << "org.gnome.Nautilus.desktop";
        QTest::newRow("its own file manager not installed: the first shown") << QStringList{"cinnamon"} << folder << "" << hidden << QStringList() << "org.gnome.Nautilus.desktop";
        QTest::newRow("its own file manager for folders only") << QStringList{"lxqt"} << cSource << "" << "" << QStringList() << "mousepad.desktop";
        QTest::newRow("XFCE's file manager before the lists") << QStringList{"xfce"} << folder << "" << hidden << QStringList{"TerminalEmulator=x\nFileManager=thunar"} << "thunar.desktop";
        QTest::newRow("XFCE's file manager named by its program") << QStringList{"xfce"} << folder << "" << hidden << QStringList{"FileManager=nautilus"} << "org.gnome.Nautilus.desktop";
        QTest::newRow("XFCE: the user's helpers.rc before the system's") << QStringList{"xfce"} << folder << "" << "" << QStringList{"", "FileManager=thunar", "FileManager=nautilus"} << "thunar.desktop";
        QTest::newRow("XFCE's file manager for folders only") << QStringList{"xfce"} << cSource << "" << "" << QStringList{"FileManager=thunar"} << "mousepad.desktop";
        QTest::newRow("helpers.rc elsewhere than XFCE: no choice") << QStringList{"i3"} << folder << "" << "" << QStringList{"FileManager=thunar"} << "org.gnome.Nautilus.desktop";
        QTest::newRow("KDE: the application it prefers") << QStringList{"kde"} << folder << "" << hidden << QStringList() << "org.kde.dolphin.desktop";
        QTest::newRow("an unknown desktop: the first application shown") << QStringList() << folder << "" << hidden << QStringList() << "org.gnome.Nautilus.desktop";
        QTest::newRow("removed by the user: neither the desktop's choice nor its own") << QStringList{"gnome"} << folder << "[Removed Associations]\ninode/directory=org.gnome.Nautilus.desktop" << "inode/directory=org.gnome.Nautilus.desktop" << QStringList() << "org.kde.dolphin.desktop";
        QTest::newRow("removed in a weaker list: the stronger choice stands") << QStringList{"gnome"} << folder << "inode/directory=thunar.desktop" << "[Removed Associations]\ninode/directory=thunar.desktop" << QStringList() << "thunar.desktop";
        QTest::newRow("removed in the same list: its own choice stands") << QStringList{"gnome"} << folder << "inode/directory=thunar.desktop\n[Removed Associations]\ninode/directory=thunar.desktop" << "" << QStringList() << "thunar.desktop";
        QTest::newRow("a type nothing takes") << QStringList{"xfce"} << QStringList{"application/x-nothing"} << "" << "" << QStringList() << "";
        // clang-format on
    }

    void choosesTheDesktopsApplication()
    {
        QFETCH(QStringList, desktops);
        QFETCH(QStringList, types);
        QFETCH(QString, userList);
        QFETCH(QString, systemList);
        QFETCH(QStringList, xfceHelpers);
        QFETCH(QString, expected);
        using ApplicationChoice::Application;
        // In Debian's order; Caja's folder handler is meant for MATE alone,
        // and Dolphin is the one KDE prefers. An older Nautilus's handler,
        // left behind, comes last.
        const QList<Application> folderApps{
            {"caja-folder-handler.desktop", "caja", false, 0},
            {"org.gnome.Nautilus.desktop", "nautilus", true, 0},
            {"org.kde.dolphin.desktop", "dolphin", true, 10},
            {"pcmanfm-qt.desktop", "pcmanfm-qt", true, 0},
            {"thunar.desktop", "thunar", true, 0},
            {"nautilus-folder-handler.desktop", "nautilus", true, 0},
        };
        const QList<Application> textApps{{"mousepad.desktop", "mousepad", true, 0}};
        ApplicationChoice::Desktop desktop;
        desktop.names = desktops;
        const auto list = [](const QString &body) {
            return QByteArray("[Default Applications]\n") + body.toUtf8() + '\n';
        };
        desktop.userLists = {list(userList)};
        desktop.systemLists = {list(systemList)};
        for (const QString &helpers : xfceHelpers)
            desktop.xfceHelpers.append(helpers.toUtf8());
        desktop.find = [&](const QString &id) -> std::optional<Application> {
            for (const Application &app : folderApps + textApps) {
                if (app.id == id)
                    return app;
            }
            return std::nullopt;
        };
        const QList<Application> candidates = types.constFirst() == "inode/directory" ? folderApps
                                              : types.contains("text/plain")          ? textApps
                                                                             : QList<Application>();
        QCOMPARE(ApplicationChoice::choose(desktop, types, candidates), expected);
    }
};

int main(int argc, char **argv)
{
    // GLib reads the XDG folders once, so they are set, all of them, before
    // anything starts; the rows differ by the files they open.
    QTemporaryDir dir;
    home = dir.path();
    // Opens must not wait for GLib's event loop, which Qt may run without.
    qputenv("QT_NO_GLIB", "1");
    qputenv("XDG_CURRENT_DESKTOP", "XFCE");
    if (!dir.isValid() || !setUpDesktop())
        return 1;
    QCoreApplication app(argc, argv);
    TestDesktopOpener test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktopopener.moc"
