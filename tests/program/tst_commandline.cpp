// The program as a process: --help, --version and a wrong argument print and end it with no display
// and without a file written (a window would need a display). And the window's icon, drawn by Qt's
// SVG icon engine from the program's resource.
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
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");    // what standard output starts with
        QTest::addColumn<QString>("errorText"); // what standard error holds

        const QString usage = QStringLiteral("Usage: TANGELO_Tune [options]\n");
        const QString version = QStringLiteral("TANGELO_Tune %1\n").arg(QLatin1String(ProgramVersion));
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString();
        QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
        QTest::newRow("-v") << QStringList{"-v"} << 0 << version << QString();
        QTest::newRow("unknown option")
            << QStringList{"--bogus"} << 2 << QString() << QStringLiteral("Unknown option 'bogus'.");
        QTest::newRow("Qt's own option") << QStringList{"-platform", "xcb"} << 2 << QString()
                                         << QStringLiteral("Unknown option 'platform'.");
        QTest::newRow("argument") << QStringList{"COM3"} << 2 << QString()
                                  << QStringLiteral("Unexpected argument 'COM3'.");
        QTest::newRow("unknown beside --help")
            << QStringList{"--help", "-x"} << 2 << QString() << QStringLiteral("Unknown option 'x'.");
    }

    void commandLine()
    {
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
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(root.path());
        process.start(program, arguments);
        QVERIFY2(process.waitForFinished(30000), "the program did not end");

        const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), exitCode);
        if (exitCode == 0) {
            QVERIFY2(out.startsWith(output), qPrintable(out));
            if (output.startsWith(u"Usage"))
                QVERIFY2(out.contains(u"--version") && out.contains(u"mysetup.ini"), qPrintable(out));
            else
                QCOMPARE(out, output);
            QCOMPARE(err, QString());
        } else {
            QCOMPARE(out, QString());
            QVERIFY2(err.contains(errorText) && err.contains(u"Usage: TANGELO_Tune"), qPrintable(err));
        }
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
