// The Windows functions the program stands on, under the system itself (or Wine): the serial-device
// map in the registry, the settings file through the profile-string functions, the version check, the
// caption language from the system locale and the ANSI code page.
#include "data/AnsiCodePage.h"
#include "settings/ComPorts.h"
#include "settings/PortList.h"
#include "settings/PortWatch.h"
#include "settings/SerialDeviceMap.h"
#include "settings/Settings.h"
#include "window/SetLanguage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

#include <utility>

namespace {

constexpr char TestKeyRoot[] = "Software\\TANGELO_Tune tests";

using Values = QList<std::pair<QByteArray, QByteArray>>; // value name, data

// A key under HKEY_CURRENT_USER holding the values in this order; removed again on destruction.
class TestMap
{
public:
    TestMap(const QByteArray& name, const Values& values) : path(QByteArray(TestKeyRoot) + '\\' + name)
    {
        HKEY key = nullptr;
        QCOMPARE(RegCreateKeyA(HKEY_CURRENT_USER, path.constData(), &key), LONG(ERROR_SUCCESS));
        for (const auto& [valueName, data] : values)
            QCOMPARE(RegSetValueExA(key, valueName.constData(), 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size() + 1)),
                     LONG(ERROR_SUCCESS));
        RegCloseKey(key);
    }
    ~TestMap() { RegDeleteKeyA(HKEY_CURRENT_USER, path.constData()); }
    TestMap(const TestMap&) = delete;
    TestMap& operator=(const TestMap&) = delete;

    QString Key() const { return QStringLiteral("HKEY_CURRENT_USER\\") + QString::fromLatin1(path); }

private:
    QByteArray path;
};

QStringList Entries(const QList<SerialPortEntry>& ports)
{
    return ComPortListEntries(ports);
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

int EnvironmentNumber(const char* name)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : -1;
}

} // namespace

class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void deviceMap_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("first"); // what ListSerialPorts returns
        // Value names in the same order either way: Wine enumerates by name, Windows as written.
        QTest::newRow("the order as enumerated, not by number")
            << Values{{"\\Device\\Serial0", "COM12"}, {"\\Device\\Serial1", "COM3"}}
            << QStringList{"COM12", "COM3"} << 12;
        QTest::newRow("three digits at most")
            << Values{{"\\Device\\VCP0", "COM1234"}} << QStringList{"COM123"} << 123;
        QTest::newRow("blanks around the number") << Values{{"a", "COM 7 "}} << QStringList{"COM7"} << 7;
        QTest::newRow("the first three characters are not examined")
            << Values{{"a", "XYZ5"}} << QStringList{"COM5"} << 5;
        QTest::newRow("a name that is no number, then a port")
            << Values{{"\\Device\\com0com10", "CNCA0"}, {"\\Device\\Serial0", "COM4"}}
            << QStringList{"COMA0", "COM4"} << 4;
        QTest::newRow("an empty key") << Values{} << QStringList{} << 0;
    }
    void deviceMap()
    {
        QFETCH(Values, values);
        QFETCH(QStringList, entries);
        QFETCH(int, first);
        const TestMap map(QTest::currentDataTag(), values);
        const QList<SerialPortEntry> ports = ReadSerialDeviceMap(map.Key());
        QCOMPARE(Entries(ports), entries);
        QCOMPARE(int(FirstListedPortNumber(Entries(ports))), first);
        // The settings object reads the same map, and names COM n by the system's own name.
        const QTemporaryDir dir;
        const ProgramSettings settings(dir.path(), map.Key());
        QCOMPARE(Entries(settings.DiscoverSerialPorts()), entries);
        if (first > 0)
            QCOMPARE(settings.DevicePathForComPort(int16_t(first)), QStringLiteral("COM%1").arg(first));
    }

    // The refresh scans only when the watch says so: a port that comes or a settings file written by
    // hand must say so, and nothing else.
    void portWatch()
    {
        const TestMap map("watch", {{"\\Device\\Serial0", "COM3"}});
        const QTemporaryDir dir;
        const ProgramSettings settings(dir.path(), map.Key());
        PortWatch watch(settings);
        // QTRY_ evaluates its condition once more at the end: the answer is kept once given.
        bool seen = false;
        const auto changedSoon = [&] {
            seen = false;
            QTRY_VERIFY_WITH_TIMEOUT(seen = seen || watch.Changed(), 5000);
        };
        QVERIFY(watch.Watching());
        QVERIFY(watch.Changed()); // the first question
        QVERIFY(!watch.Changed());
        const TestMap more("watch", {{"\\Device\\Serial1", "COM4"}});
        changedSoon();
        QVERIFY(!watch.Changed());
        WriteFile(dir.filePath(QStringLiteral("mysetup.ini")), "[language]\r\ncomPort=4\r\n");
        changedSoon();
        QTest::qWait(100);
        watch.Changed(); // a write can come as more than one notification
        QVERIFY(!watch.Changed());
    }

    void deviceMapThatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("key");
        QTest::newRow("missing key") << QStringLiteral(
            "HKEY_CURRENT_USER\\Software\\TANGELO_Tune tests\\none");
        QTest::newRow("unknown root") << QStringLiteral("HKEY_NOWHERE\\HARDWARE\\DEVICEMAP\\SERIALCOMM");
    }
    void deviceMapThatCannotBeOpened()
    {
        QFETCH(QString, key);
        QVERIFY(ReadSerialDeviceMap(key).isEmpty());
    }

    // Files written by hand, as a user or an older program left them; the value is read through
    // GetPrivateProfileStringA.
    void profileFileRead_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("number");
        QTest::newRow("as Windows writes it") << QByteArray("[language]\r\ncomPort=12\r\n") << 12;
        QTest::newRow("line feeds only") << QByteArray("[language]\ncomPort=4\n") << 4;
        QTest::newRow("capitals and blanks") << QByteArray("[LANGUAGE]\r\nCOMPORT = 7 \r\n") << 7;
        QTest::newRow("comments, other sections and keys")
            << QByteArray("; set up by the dealer\r\n[other]\r\ncomPort=5\r\n\r\n[language]\r\n"
                          "lang=1\r\n;comPort=8\r\ncomPort=3\r\n[after]\r\ncomPort=9\r\n")
            << 3;
        QTest::newRow("no such key") << QByteArray("[language]\r\nport=3\r\n") << 0;
        QTest::newRow("no number") << QByteArray("[language]\r\ncomPort=COM3\r\n") << 0;
        QTest::newRow("empty file") << QByteArray() << 0;
    }
    void profileFileRead()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, number);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mysetup.ini"));
        WriteFile(path, content);
        const ProgramSettings settings(dir.path());
        QCOMPARE(settings.SettingsFilePath(), path);
        QCOMPARE(int(settings.LoadComPortSetting()), number);
    }

    // A save through WritePrivateProfileStringA changes the one value and keeps everything else.
    void profileFileWrite_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("new file") << QByteArray("<missing>") << QByteArray("[language]\r\ncomPort=9\r\n");
        QTest::newRow("value replaced")
            << QByteArray("[language]\r\ncomPort=3\r\n") << QByteArray("[language]\r\ncomPort=9\r\n");
        QTest::newRow("others kept")
            << QByteArray(
                   "; set up by the dealer\r\n[other]\r\ncomPort=5\r\n[language]\r\nlang=1\r\ncomPort=3\r\n")
            << QByteArray(
                   "; set up by the dealer\r\n[other]\r\ncomPort=5\r\n[language]\r\nlang=1\r\ncomPort=9\r\n");
        QTest::newRow("section added") << QByteArray("[other]\r\nx=1\r\n")
                                       << QByteArray("[other]\r\nx=1\r\n[language]\r\ncomPort=9\r\n");
    }
    void profileFileWrite()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, written);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mysetup.ini"));
        if (content != "<missing>")
            WriteFile(path, content);
        const ProgramSettings settings(dir.path());
        settings.SaveComPortSetting(9);
        QCOMPARE(ReadFile(path), written);
        QCOMPARE(int(settings.LoadComPortSetting()), 9);
    }

    // What is no settings file is neither read nor rewritten.
    void noSettingsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("2 MiB file") << QStringLiteral("2 MiB file");
    }
    void noSettingsFile()
    {
        QFETCH(QString, kind);
        const QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mysetup.ini"));
        QByteArray content = "[language]\r\ncomPort=900\r\n";
        if (kind == u"folder") {
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("mysetup.ini")));
        } else {
            content += QByteArray(2 * 1024 * 1024, ';');
            WriteFile(path, content);
        }
        const ProgramSettings settings(dir.path());
        QCOMPARE(int(settings.LoadComPortSetting()), 0);
        settings.SaveComPortSetting(5);
        if (kind == u"folder")
            QVERIFY(QFileInfo(path).isDir());
        else
            QVERIFY(ReadFile(path) == content);
        // The user's folder took the setting instead.
        QCOMPARE(settings.SettingsFilePath(), ProgramSettings::UserSettingsFilePath());
        QCOMPARE(int(settings.LoadComPortSetting()), 5);
        QFile::remove(ProgramSettings::UserSettingsFilePath());
    }

    // A portable copy keeps its file beside itself; an installed one (its uninstaller beside it) in
    // the user's roaming application data.
    void settingsPlace()
    {
        const QTemporaryDir dir;
        const ProgramSettings settings(dir.path());
        QCOMPARE(settings.SettingsFilePath(), dir.filePath(QStringLiteral("mysetup.ini")));
        WriteFile(dir.filePath(QStringLiteral("uninstall.exe")), "MZ");
        const QString user = ProgramSettings::UserSettingsFilePath();
        QCOMPARE(settings.SettingsFilePath(), user);
        QCOMPARE(QFileInfo(user).absolutePath(),
                 QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        settings.SaveComPortSetting(6);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("mysetup.ini"))));
        QCOMPARE(ReadFile(user), QByteArray("[language]\r\ncomPort=6\r\n"));
        QFile::remove(user);
    }

    void versionRule_data()
    {
        QTest::addColumn<uint>("platform");
        QTest::addColumn<uint>("major");
        QTest::addColumn<uint>("minor");
        QTest::addColumn<bool>("fixed");
        QTest::newRow("NT 6.0") << 2u << 6u << 0u << true;
        QTest::newRow("NT 6.1") << 2u << 6u << 1u << false;
        QTest::newRow("NT 6.2") << 2u << 6u << 2u << false;
        QTest::newRow("NT 5.1") << 2u << 5u << 1u << false;
        QTest::newRow("NT 10.0") << 2u << 10u << 0u << false;
        QTest::newRow("9x 6.0") << 1u << 6u << 0u << false;
    }
    void versionRule()
    {
        QFETCH(uint, platform);
        QFETCH(uint, major);
        QFETCH(uint, minor);
        QFETCH(bool, fixed);
        QCOMPARE(IsFixedPortListVersion(platform, major, minor), fixed);
    }

    // The system's own answer: EXPECTED_FIXED_LIST says which version the test runs on.
    void versionCheck()
    {
        const std::optional<bool> fixed = DetectSystemType();
        QVERIFY(fixed.has_value());
        const int expected = EnvironmentNumber("EXPECTED_FIXED_LIST");
        if (expected < 0)
            QSKIP("EXPECTED_FIXED_LIST is not set");
        QCOMPARE(int(*fixed), expected);
    }

    void languageRule_data()
    {
        QTest::addColumn<uint>("lcid");
        QTest::addColumn<int>("language");
        QTest::newRow("Chinese (PRC)") << 0x0804u << 2;
        QTest::newRow("Chinese (Taiwan)") << 0x0404u << 1;
        QTest::newRow("Chinese (Hong Kong)") << 0x0C04u << 1;
        QTest::newRow("Chinese (Singapore)") << 0x1004u << 1;
        QTest::newRow("English (US)") << 0x0409u << 1;
        QTest::newRow("Japanese") << 0x0411u << 1;
    }
    void languageRule()
    {
        QFETCH(uint, lcid);
        QFETCH(int, language);
        QCOMPARE(int(LanguageIndexForLcid(lcid)), language);
    }

    // The system locale, set for the test by its environment, gives the captions and the code page.
    void systemLocale()
    {
        const int language = EnvironmentNumber("EXPECTED_LANGUAGE_INDEX");
        if (language < 0)
            QSKIP("EXPECTED_LANGUAGE_INDEX is not set");
        QCOMPARE(int(SystemLanguageIndex()), language);
        const AnsiCodePage page = AnsiCodePage::System();
        QCOMPARE(page.Name(), qgetenv("EXPECTED_CODE_PAGE"));
        QCOMPARE(page.Name(), language == 2 ? QByteArray("GBK") : QByteArray("windows-1252"));
    }

    // Every page a name or a number gives is the system's own; one the system lacks falls back.
    void codePageNames_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("GBK") << QByteArray("GBK") << QStringLiteral("张三")
                             << QByteArray::fromHex("d5c5c8fd");
        QTest::newRow("number") << QByteArray("936") << QStringLiteral("张三")
                                << QByteArray::fromHex("d5c5c8fd");
        QTest::newRow("cp name") << QByteArray("cp1251") << QStringLiteral("Иван")
                                 << QByteArray::fromHex("c8e2e0ed");
        QTest::newRow("a page beyond the Linux table")
            << QByteArray("windows-1361") << QStringLiteral("A") << QByteArray("A");
        QTest::newRow("unknown falls back to 1252")
            << QByteArray("no-such-page") << QStringLiteral("é") << QByteArray("\xE9");
    }
    void codePageNames()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const AnsiCodePage page(name);
        QCOMPARE(page.ToAnsi(text), bytes);
        QCOMPARE(page.FromAnsi(bytes), text);
    }
};

QTEST_GUILESS_MAIN(TestWindows)
#include "tst_windows.moc"
