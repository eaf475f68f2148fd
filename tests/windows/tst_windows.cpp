// The Windows functions the program stands on, under the system itself (or Wine): the serial-device
// map in the registry, the settings file through the profile-string functions, the version check, the
// caption language from the system locale and the ANSI code page.
#include "CableFields.h"
#include "data/AnsiCodePage.h"
#include "link/CableText.h"
#include "ports/CableInfo.h"
#include "ports/ComPorts.h"
#include "ports/PortList.h"
#include "ports/PortWatch.h"
#include "ports/SerialDeviceMap.h"
#include "settings/Settings.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "system/SystemType.h"
#include "window/SetLanguage.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

#include <optional>
#include <utility>

namespace {

constexpr char TestKeyRoot[] = "Software\\TANGELO_Tune tests";

using Values = QList<std::pair<QByteArray, QByteArray>>; // value name, data

// The key at `path` under HKEY_CURRENT_USER, made if missing, given these text values in this order.
void SetTexts(const QByteArray& path, const Values& values)
{
    HKEY key = nullptr;
    QCOMPARE(RegCreateKeyA(HKEY_CURRENT_USER, path.constData(), &key), LONG(ERROR_SUCCESS));
    for (const auto& [valueName, data] : values)
        QCOMPARE(RegSetValueExA(key, valueName.constData(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.constData()), DWORD(data.size() + 1)),
                 LONG(ERROR_SUCCESS));
    RegCloseKey(key);
}

// A key under HKEY_CURRENT_USER holding the values in this order; removed again on destruction.
class TestMap
{
public:
    TestMap(const QByteArray& name, const Values& values) : path(QByteArray(TestKeyRoot) + '\\' + name)
    {
        SetTexts(path, values);
    }
    ~TestMap() { RegDeleteKeyA(HKEY_CURRENT_USER, path.constData()); }
    TestMap(const TestMap&) = delete;
    TestMap& operator=(const TestMap&) = delete;

    QString Key() const { return QStringLiteral("HKEY_CURRENT_USER\\") + QString::fromLatin1(path); }

private:
    QByteArray path;
};

// A device's keys as Windows keeps them under ...\Enum: the instance with its maker, description and
// driver service, and its "Device Parameters" with the port's name and FTDI's latency timer.
// Removed again on destruction.
class TestEnum
{
public:
    TestEnum() : root(QByteArray(TestKeyRoot) + "\\Enum") {}
    ~TestEnum() { RegDeleteTreeA(HKEY_CURRENT_USER, root.constData()); }
    TestEnum(const TestEnum&) = delete;
    TestEnum& operator=(const TestEnum&) = delete;

    void AddDevice(const QByteArray& instance, const Values& texts, const QByteArray& portName,
                   std::optional<DWORD> latencyTimer)
    {
        const QByteArray path = root + '\\' + instance;
        SetTexts(path, texts);
        SetTexts(path + "\\Device Parameters", {{"PortName", portName}});
        if (latencyTimer) {
            HKEY key = nullptr;
            QCOMPARE(RegCreateKeyA(HKEY_CURRENT_USER, (path + "\\Device Parameters").constData(), &key),
                     LONG(ERROR_SUCCESS));
            QCOMPARE(RegSetValueExA(key, "LatencyTimer", 0, REG_DWORD,
                                    reinterpret_cast<const BYTE*>(&*latencyTimer), sizeof(DWORD)),
                     LONG(ERROR_SUCCESS));
            RegCloseKey(key);
        }
    }
    QString Key() const { return QStringLiteral("HKEY_CURRENT_USER\\") + QString::fromLatin1(root); }

private:
    QByteArray root;
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

    // The cable behind a COM port from the device's registry keys, which every user may read: an FTDI
    // cable under FTDIBUS with its latency timer, a CH340 under USB without one; and in words, the
    // timer above 1 ms with the way to change it in Device Manager.
    void cableInfo_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("known"); // maker|product|ids|driver|timer
        QTest::addColumn<QStringList>("says");
        QTest::newRow("FTDI, timer 16 ms")
            << "COM5" << 1 << "FTDI|USB Serial Port|0403:6001|FTSER2K|16"
            << QStringList{"The cable is FTDI USB Serial Port (USB 0403:6001, driver FTSER2K).",
                           "latency timer is 16 ms", "Device Manager", "\"Latency Timer (msec)\" to 1."};
        QTest::newRow("FTDI, timer 16 ms, Chinese")
            << "COM5" << 2 << "FTDI|USB Serial Port|0403:6001|FTSER2K|16"
            << QStringList{
                   QString::fromUtf8("写频线使用 FTDI USB Serial Port（USB 0403:6001，驱动程序 FTSER2K）。"),
                   QString::fromUtf8("延迟计时器为 16 毫秒"), QString::fromUtf8("设备管理器")};
        QTest::newRow("FTDI, timer 1 ms") << "COM6" << 1 << "FTDI|USB Serial Port|0403:6015|FTSER2K|1"
                                          << QStringList{"(USB 0403:6015, driver FTSER2K)."};
        QTest::newRow("CH340, any capitals")
            << "com3" << 1 << "wch.cn|USB-SERIAL CH340|1a86:7523|CH341SER_A64|"
            << QStringList{"The cable is wch.cn USB-SERIAL CH340 (USB 1a86:7523, driver CH341SER_A64)."};
        QTest::newRow("no such port") << "COM9" << 1 << "||||" << QStringList{};
    }
    void cableInfo()
    {
        QFETCH(QString, port);
        QFETCH(int, language);
        QFETCH(QString, known);
        QFETCH(QStringList, says);
        const ProgramTranslations translations(language); // English installs nothing
        TestEnum devices;
        devices.AddDevice(
            "FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000",
            {{"Mfg", "@oem12.inf,%ftdi%;FTDI"}, {"DeviceDesc", "USB Serial Port"}, {"Service", "FTSER2K"}},
            "COM5", 16);
        devices.AddDevice("FTDIBUS\\VID_0403+PID_6015+DK0AB1CD\\0000",
                          {{"Mfg", "FTDI"}, {"DeviceDesc", "USB Serial Port"}, {"Service", "FTSER2K"}},
                          "COM6", 1);
        devices.AddDevice("USB\\VID_1A86&PID_7523\\5&2f3b1c&0&2",
                          {{"Mfg", "@oem7.inf,%wch%;wch.cn"},
                           {"DeviceDesc", "@oem7.inf,%ch341sersa64.devicedesc%;USB-SERIAL CH340"},
                           {"Service", "CH341SER_A64"}},
                          "COM3", std::nullopt);
        devices.AddDevice("USB\\VID_046D&PID_C52B\\6&1a2b3c&0&1", {{"DeviceDesc", "USB Receiver"}}, "",
                          std::nullopt);
        const CableInfo cable = CableInfoFor(port, devices.Key());
        QCOMPARE(CableFields(cable), known);
        const QString text = CableDetail(cable, port);
        QCOMPARE(text.isEmpty(), says.isEmpty());
        for (const QString& part : says)
            QVERIFY2(text.contains(part), qPrintable(text));
        QCOMPARE(text.contains(QStringLiteral("Latency Timer (msec)")), cable.LatencyTimerMs == 16);
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
