// The settings file mysetup.ini: reading, writing, writing only on change, and the configuration
// folder when the program's directory cannot be written. Real files in temporary folders.
#include "IsolatedProgram.h"
#include "ProgramInfo.h"
#include "settings/Settings.h"

#include <QElapsedTimer>

#include <cstdio>
#include <memory>

class TestSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedProgram> m_program;

    QString ProgramFile() const { return m_program->SettingsFile(); }

    // A value of the key in a plain file.
    static void AddValueRow(const char* name, const QByteArray& value, int expected)
    {
        QTest::newRow(name) << "[language]\ncomPort=" + value + "\n" << expected;
    }

    // The window's number and its settings object, as the window keeps them.
    int16_t ComPortNumber = 0;
    std::optional<ProgramSettings> settings;

    void SetProgramDirectory(const QString& directory) { settings = ProgramSettings(directory); }
    void LoadComPortSetting() { ComPortNumber = settings->LoadComPortSetting(); }
    void SaveComPortSetting() { settings->SaveComPortSetting(ComPortNumber); }
    QString ProgramDirectory() const { return settings->ProgramDirectory(); }
    static QString UserSettingsFilePath() { return ProgramSettings::UserSettingsFilePath(); }

private slots:
    void init()
    {
        // A fresh program directory and configuration folder for every test.
        m_program = std::make_unique<IsolatedProgram>();
        settings = m_program->Settings();
        ComPortNumber = 77; // every load must overwrite it
    }

    void cleanup() { m_program.reset(); }

    void defaultProgramDirectory()
    {
        SetProgramDirectory({});
        QCOMPARE(ProgramDirectory(), QCoreApplication::applicationDirPath());
        QVERIFY(UserSettingsFilePath().startsWith(m_program->Path(QStringLiteral("config/"))));
    }

    void loadFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QByteArray("[language]\ncomPort=12\n") << 12;
        QTest::newRow("empty file") << QByteArray() << 0;
        QTest::newRow("line ends CRLF") << QByteArray("[language]\r\ncomPort=12\r\n") << 12;
        QTest::newRow("no last line end") << QByteArray("[language]\ncomPort=12") << 12;
        QTest::newRow("blanks around names") << QByteArray("  [ language ]\n comPort \t=\t12\n") << 12;
        QTest::newRow("other capitals") << QByteArray("[LANGUAGE]\nCOMPORT=4\n") << 4;
        QTest::newRow("missing key") << QByteArray("[language]\nport=12\n") << 0;
        QTest::newRow("key in another section") << QByteArray("[other]\ncomPort=5\n[language]\n") << 0;
        QTest::newRow("key before any section") << QByteArray("comPort=5\n[language]\n") << 0;
        QTest::newRow("other keys and sections")
            << QByteArray("[top]\ncomPort=1\n[language]\nlang=zh\ncomPort=9\n[x]\ncomPort=3\n") << 9;
        QTest::newRow("first of two keys") << QByteArray("[language]\ncomPort=6\ncomPort=8\n") << 6;
        QTest::newRow("first of two sections")
            << QByteArray("[language]\nlang=zh\n[language]\ncomPort=8\n") << 0;
        QTest::newRow("commented out") << QByteArray("[language]\n;comPort=6\ncomPort=8\n") << 8;
        AddValueRow("spaces around", " 12 ", 12);
        AddValueRow("tabs around", "\t12\t", 12);
        AddValueRow("leading zeros", "007", 7);
        AddValueRow("zero", "0", 0);
        AddValueRow("largest", "32767", 32767);
        AddValueRow("too large", "32768", 0);
        AddValueRow("70000", "70000", 0);
        AddValueRow("wraps in 32 bits", "4294967299", 0);
        AddValueRow("many digits", "000000000000000000000000012", 12);
        AddValueRow("negative", "-3", -3);
        AddValueRow("smallest", "-32768", -32768);
        AddValueRow("too small", "-32769", 0);
        AddValueRow("plus sign", "+5", 5);
        AddValueRow("sign only", "-", 0);
        AddValueRow("empty", "", 0);
        AddValueRow("letters", "abc", 0);
        AddValueRow("number then letters", "12abc", 0);
        AddValueRow("space inside", "1 2", 0);
        AddValueRow("decimal point", "12.0", 0);
        AddValueRow("hexadecimal", "0x12", 0);
        AddValueRow("full-width digits", "\xef\xbc\x91\xef\xbc\x92", 0);
        AddValueRow("with COM", "COM3", 0);
    }

    void loadFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, expected);
        WriteTestFile(ProgramFile(), content);
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, expected);
    }

    void loadMissingFile()
    {
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 0);
        QVERIFY(!QFileInfo::exists(ProgramFile())); // reading creates nothing
    }

    void save_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << false << QByteArray() << 3 << QByteArray("[language]\ncomPort=3\n");
        QTest::newRow("three digits")
            << false << QByteArray() << 999 << QByteArray("[language]\ncomPort=999\n");
        QTest::newRow("empty file") << true << QByteArray() << 3 << QByteArray("[language]\ncomPort=3\n");
        QTest::newRow("replaces") << true << QByteArray("[language]\ncomPort=12\n") << 3
                                  << QByteArray("[language]\ncomPort=3\n");
        QTest::newRow("replaces hand edit") << true << QByteArray("[language]\n comPort = 12 \n") << 3
                                            << QByteArray("[language]\ncomPort=3\n");
        QTest::newRow("replaces a non-number")
            << true << QByteArray("[language]\ncomPort=abc\n") << 0 << QByteArray("[language]\ncomPort=0\n");
        QTest::newRow("keeps the rest")
            << true << QByteArray("[a]\nx=1\n[language]\nlang=zh\ncomPort=12\nz=2\n\n[b]\ncomPort=4\n") << 3
            << QByteArray("[a]\nx=1\n[language]\nlang=zh\ncomPort=3\nz=2\n\n[b]\ncomPort=4\n");
        QTest::newRow("adds key to section") << true << QByteArray("[language]\nlang=zh\n\n[b]\ny=2\n") << 3
                                             << QByteArray("[language]\nlang=zh\ncomPort=3\n\n[b]\ny=2\n");
        QTest::newRow("adds section")
            << true << QByteArray("[a]\nx=1\n") << 3 << QByteArray("[a]\nx=1\n[language]\ncomPort=3\n");
        QTest::newRow("no last line end")
            << true << QByteArray("[a]\nx=1") << 3 << QByteArray("[a]\nx=1\n[language]\ncomPort=3\n");
        QTest::newRow("CRLF replaced") << true << QByteArray("[a]\r\nx=1\r\n[language]\r\ncomPort=12\r\n")
                                       << 3 << QByteArray("[a]\r\nx=1\r\n[language]\r\ncomPort=3\r\n");
        QTest::newRow("CRLF added") << true << QByteArray("[language]\r\nlang=zh\r\n") << 3
                                    << QByteArray("[language]\r\nlang=zh\r\ncomPort=3\r\n");
        QTest::newRow("section in capitals")
            << true << QByteArray("[LANGUAGE]\nCOMPORT=12\n") << 3 << QByteArray("[LANGUAGE]\ncomPort=3\n");
    }

    void save()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, before);
        QFETCH(int, number);
        QFETCH(QByteArray, after);
        if (exists)
            WriteTestFile(ProgramFile(), before);
        ComPortNumber = static_cast<int16_t>(number);
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(ProgramFile()), after);
        QVERIFY(!QFileInfo::exists(UserSettingsFilePath()));
        QCOMPARE(ComPortNumber, number);
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, number);
    }

    // The refresh saves once a second; the file changes only when the number does.
    void saveOnlyOnChange()
    {
        const QByteArray handEdited = "[language]\ncomPort= 7 \n";
        WriteTestFile(ProgramFile(), handEdited);
        AgeFile(ProgramFile());
        const QDateTime old = FileTime(ProgramFile());
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 7);
        for (int i = 0; i < 3; ++i)
            SaveComPortSetting();
        QCOMPARE(ReadTestFile(ProgramFile()), handEdited);
        QCOMPARE(FileTime(ProgramFile()), old);

        ComPortNumber = 8;
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(ProgramFile()), QByteArray("[language]\ncomPort=8\n"));
        AgeFile(ProgramFile());
        SaveComPortSetting();
        QCOMPARE(FileTime(ProgramFile()), old);
    }

    // What decides a write is the file, not a remembered value: a file removed, edited or replaced
    // while the program runs gets the number again, also when its size and time stay the same.
    void saveAfterOutsideChange_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("removed") << QStringLiteral("removed");
        QTest::newRow("edited in place, same size") << QStringLiteral("edited");
        QTest::newRow("replaced, same size and time") << QStringLiteral("replaced");
    }

    void saveAfterOutsideChange()
    {
        QFETCH(QString, change);
        ComPortNumber = 5;
        SaveComPortSetting();
        AgeFile(ProgramFile());
        SaveComPortSetting(); // the file is known to hold 5 now
        const QByteArray other = "[language]\ncomPort=6\n";
        if (change == u"removed") {
            QVERIFY(QFile::remove(ProgramFile()));
        } else if (change == u"edited") {
            WriteTestFile(ProgramFile(), other);
        } else {
            const QString replacement = m_program->Path(QStringLiteral("replacement"));
            WriteTestFile(replacement, other);
            AgeFile(replacement);
            QVERIFY(::rename(QFile::encodeName(replacement).constData(),
                             QFile::encodeName(ProgramFile()).constData()) == 0);
        }
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(ProgramFile()), QByteArray("[language]\ncomPort=5\n"));
    }

    // Where the settings file is written, something that is no settings file is neither read nor
    // changed, and reading it never waits: the number stays for this run only.
    void noSettingsFileWhereWritten_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"link to /dev/zero", "FIFO", "2 MiB file"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void noSettingsFileWhereWritten()
    {
        QFETCH(QString, kind);
        SetProgramDirectory(QStringLiteral("/proc")); // the configuration folder takes the file
        const QString file = UserSettingsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
        MakeNoSettingsFile(file, kind);
        const QString before = DescribeNoSettingsFile(file);
        const FifoUnblocker unblocker(file, std::chrono::seconds(10));
        QElapsedTimer clock;
        clock.start();
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 0);
        ComPortNumber = 5;
        SaveComPortSetting();
        SaveComPortSetting();
        LoadComPortSetting();
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        QCOMPARE(ComPortNumber, 0);
        QCOMPARE(DescribeNoSettingsFile(file), before);
    }

    // An installed program, or one that cannot write its directory: the file goes to the configuration
    // folder, with the aliases beside it, is read from there, and is not rewritten while the number
    // stays. An installed program's folder is left alone even where it could be written (by root).
    void unwritableProgramDirectory_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("under a regular file") << QStringLiteral("file");
        QTest::newRow("read-only folder") << QStringLiteral("readonly");
        QTest::newRow("proc") << QStringLiteral("proc");
        QTest::newRow("installed") << QStringLiteral("installed");
    }

    void unwritableProgramDirectory()
    {
        QFETCH(QString, kind);
        QString directory = m_program->Directory();
        std::unique_ptr<ReadOnlyGuard> guard;
        if (kind == u"file") {
            WriteTestFile(m_program->Path(QStringLiteral("plain")), "x");
            directory = m_program->Path(QStringLiteral("plain/sub"));
        } else if (kind == u"readonly") {
            guard = std::make_unique<ReadOnlyGuard>(directory);
            if (guard->Writable())
                QSKIP("this process can write a read-only folder here");
        } else if (kind == u"installed") {
            directory = m_program->Path(QStringLiteral("usr/bin"));
            QVERIFY(QDir().mkpath(directory));
            WriteTestFile(
                m_program->Path(
                    QStringLiteral("usr/share/applications/%1.desktop").arg(QLatin1String(ProgramAppId))),
                "[Desktop Entry]\n");
        } else {
            directory = QStringLiteral("/proc");
        }
        SetProgramDirectory(directory);
        const QString programFile = QDir(directory).filePath(QStringLiteral("mysetup.ini"));

        ComPortNumber = 5;
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(UserSettingsFilePath()), QByteArray("[language]\ncomPort=5\n"));
        QVERIFY(!QFileInfo::exists(programFile));
        QCOMPARE(settings->AliasDirectory(),
                 QFileInfo(UserSettingsFilePath()).absolutePath() + QStringLiteral("/dosdevices"));
        ComPortNumber = 0;
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 5);

        AgeFile(UserSettingsFilePath());
        const QDateTime old = FileTime(UserSettingsFilePath());
        SaveComPortSetting();
        QCOMPARE(FileTime(UserSettingsFilePath()), old);

        ComPortNumber = 6;
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(UserSettingsFilePath()), QByteArray("[language]\ncomPort=6\n"));
        QVERIFY(!QFileInfo::exists(programFile));
    }

    void readPrefersProgramDirectory()
    {
        WriteTestFile(ProgramFile(), "[language]\ncomPort=4\n");
        WriteTestFile(UserSettingsFilePath(), "[language]\ncomPort=9\n");
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 4);
    }

    // A file left in the configuration folder is read while the program directory has none, and the
    // program directory takes the file once the number changes.
    void readsConfigurationFolderWhenProgramHasNone()
    {
        WriteTestFile(UserSettingsFilePath(), "[language]\ncomPort=9\n");
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 9);
        SaveComPortSetting();
        QVERIFY(!QFileInfo::exists(ProgramFile()));
        ComPortNumber = 3;
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(ProgramFile()), QByteArray("[language]\ncomPort=3\n"));
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 3);
    }

    // A file shipped read-only beside the program is the starting value; the user's choices then
    // live in the configuration folder and win from then on.
    void readOnlyFileBesideProgram()
    {
        WriteTestFile(ProgramFile(), "[language]\ncomPort=4\n");
        ReadOnlyGuard fileGuard(ProgramFile());
        ReadOnlyGuard folderGuard(m_program->Directory());
        if (fileGuard.Writable() || folderGuard.Writable())
            QSKIP("this process can write read-only files here");
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 4);
        ComPortNumber = 5;
        SaveComPortSetting();
        QCOMPARE(ReadTestFile(UserSettingsFilePath()), QByteArray("[language]\ncomPort=5\n"));
        QCOMPARE(ReadTestFile(ProgramFile()), QByteArray("[language]\ncomPort=4\n"));
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 5);
    }

    // Nowhere to write: silent, and the number stays for this run.
    void nowhereToWrite()
    {
        WriteTestFile(m_program->Path(QStringLiteral("plain")), "x");
        SetProgramDirectory(m_program->Path(QStringLiteral("plain/sub")));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_program->Path(QStringLiteral("plain/config"))));
        ComPortNumber = 5;
        SaveComPortSetting();
        QCOMPARE(ComPortNumber, 5);
        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 0);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
