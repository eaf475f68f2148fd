// The program as a process: --help, --version and a wrong argument print and end it with no display
// and without a file written (a window would need a display), in the system's language. And the
// window's icon, drawn by Qt's SVG icon engine from the program's resource.
#include "OtherLanguage.h"
#include "ProgramInfo.h"
#include "window/WindowIcon.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCommandLine : public QObject
{
    Q_OBJECT

    // Every file and folder below `root`, relative to it.
    static QStringList Contents(const QString& root)
    {
        QStringList entries;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            entries << QDir(root).relativeFilePath(it.next());
        entries.sort();
        return entries;
    }

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");    // what standard output starts with
        QTest::addColumn<QString>("errorText"); // what standard error holds

        const QString usage = QStringLiteral("Usage: TANGELO_Tune [options]\n");
        const QString usageZh = QStringLiteral("用法：TANGELO_Tune [选项]\n");
        const QString version = QStringLiteral("TANGELO_Tune %1\n").arg(QLatin1String(ProgramVersion));
        const QString c = QStringLiteral("C.UTF-8");
        const QString zh = QStringLiteral("zh_CN.UTF-8");
        QTest::newRow("--help") << c << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h") << c << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("--version") << c << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("-v") << c << QStringList{"-v"} << 0 << version << QString();
        QTest::newRow("unknown option")
            << c << QStringList{"--bogus"} << 2 << QString() << QStringLiteral("Unknown option 'bogus'.");
        QTest::newRow("Qt's own option") << c << QStringList{"-platform", "xcb"} << 2 << QString()
                                         << QStringLiteral("Unknown option 'platform'.");
        QTest::newRow("argument") << c << QStringList{"COM3"} << 2 << QString()
                                  << QStringLiteral("Unexpected argument 'COM3'.");
        QTest::newRow("unknown beside --help")
            << c << QStringList{"--help", "-x"} << 2 << QString() << QStringLiteral("Unknown option 'x'.");
        QTest::newRow("--help, zh_CN") << zh << QStringList{"--help"} << 0 << usageZh << QString();
        QTest::newRow("--version, zh_CN") << zh << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("unknown option, zh_CN")
            << zh << QStringList{"--bogus"} << 2 << QString() << QStringLiteral("未知选项“bogus”。");
        QTest::newRow("argument, zh_CN")
            << zh << QStringList{"COM3"} << 2 << QString() << QStringLiteral("多余的参数“COM3”。");
    }

    void commandLine()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errorText);

        // A copy of the program in a folder of its own, where it would put mysetup.ini.
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("home/.config")));
        const QString program = root.filePath(QStringLiteral("TANGELO_Tune"));
        QVERIFY(QFile::copy(QStringLiteral(TT_PROGRAM), program));
        const QStringList before = Contents(root.path());

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("home/.config")));
        environment.remove(QStringLiteral("LANGUAGE"));
        environment.insert(QStringLiteral("LANG"), locale);
        environment.insert(QStringLiteral("LC_ALL"), locale);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(root.path());
        process.start(program, arguments);
        QVERIFY2(process.waitForFinished(30000), "the program did not end");

        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        const int language = locale.startsWith(u"zh_CN") ? 2 : 1;
        const QString usageLine =
            language == 2 ? QStringLiteral("用法：TANGELO_Tune") : QStringLiteral("Usage: TANGELO_Tune");
        if (exitCode == 0) {
            QVERIFY2(out.startsWith(output), qPrintable(out));
            if (output.startsWith(usageLine))
                QVERIFY2(out.contains(u"--version") && out.contains(u"mysetup.ini"), qPrintable(out));
            else
                QCOMPARE(out, output);
            QCOMPARE(err, QString());
        } else {
            QCOMPARE(out, QString());
            QVERIFY2(err.contains(errorText) && err.contains(usageLine), qPrintable(err));
        }
        const QStringList foreign = OtherLanguage::Foreign(out + err, language);
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + out + err));
        QCOMPARE(Contents(root.path()), before);
    }

    // The icon is vector: a large size is drawn at that size (without the SVG icon engine Qt would
    // read the file as a 64-pixel picture, or not at all when the resource is missing).
    void icon()
    {
        const QIcon icon = WindowIcon();
        for (const int size : {16, 32, 256}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size));
            QCOMPARE(pixmap.size(), QSize(size, size));
            QCOMPARE(pixmap.toImage().pixelColor(size / 2, size * 7 / 8).alpha(), 255); // the radio
        }
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
