// Serial-port discovery from a fake sysfs tree and a folder of aliases, built from real directories
// and symbolic links in a temporary folder; pseudo-terminals for the aliases of live devices. The
// watch that spares the idle refresh its scans, on the same tree.
#include "CableFields.h"
#include "IsolatedProgram.h"
#include "link/CableText.h"
#include "ports/CableInfo.h"
#include "ports/ComPorts.h"
#include "ports/PortWatch.h"
#include "ports/PresentCable.h"

#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <stdlib.h>
#include <unistd.h>
#include <vector>

namespace {

// A pseudo-terminal pair whose slave has never been opened.
class Pty
{
public:
    Pty()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~Pty() { Close(); }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    QString SlavePath() const { return m_slave; }
    void Close()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }
    // A read on the master fails with EIO once the slave has been opened and closed again; before
    // that it finds nothing to read.
    bool SlaveEverOpened() const
    {
        char byte = 0;
        return ::read(m_master, &byte, 1) < 0 && errno == EIO;
    }

private:
    int m_master = -1;
    QString m_slave;
};

QStringList Listed(const QList<SerialPortEntry>& entries)
{
    QStringList texts;
    for (const SerialPortEntry& e : entries)
        texts << QString::number(e.Number) + u' ' + e.DevicePath;
    return texts;
}

enum class WatchChange {
    Nothing,
    TtyAppears,
    TtyGoes,
    AliasMade,
    AliasRemoved,
    AliasRetargeted,
    TargetReplaced,
    TargetCloses,
    AliasFolderMade,
    FileRewritten,
    FileDeleted,
    UserFileWritten,
};

} // namespace

Q_DECLARE_METATYPE(WatchChange)

class TestComPorts : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<IsolatedProgram> m_dir;

    QString SysRoot() const { return m_dir->SysRoot(); }
    QString AliasDir() const { return m_dir->AliasDir(); }
    void AddTty(const QString& row) const { m_dir->AddTty(row); }

    // An entry of the alias folder: "name>target" makes a symbolic link; the targets "@missing",
    // "@file" and "@chain" stand for a missing path, a regular file and a link to /dev/null.
    // "name" alone makes a regular file.
    void AddAlias(const QString& row)
    {
        QVERIFY(QDir().mkpath(AliasDir()));
        const QString name = row.section(u'>', 0, 0);
        QString target = row.section(u'>', 1);
        const QString path = AliasDir() + u'/' + name;
        if (target.isEmpty()) {
            WriteTestFile(path, "not a link");
            return;
        }
        if (target == u"@missing") {
            target = m_dir->Path(QStringLiteral("gone"));
        } else if (target == u"@file") {
            target = m_dir->Path(QStringLiteral("regular"));
            WriteTestFile(target, "x");
        } else if (target == u"@chain") {
            target = m_dir->Path(QStringLiteral("chain"));
            QFile::link(QStringLiteral("/dev/null"), target);
        }
        QVERIFY(QFile::link(target, path));
    }

    // A USB adapter in the fake sysfs: usb device 1-NAME with its attributes, interface 1-1:1.0, and the
    // tty's device link pointing at the usb-serial port below the interface (with its driver and the
    // FTDI driver's latency_timer when given) or, for CDC ACM, at the interface itself.
    void AddUsbTty(const QString& name, const QMap<QString, QByteArray>& attributes,
                   const QString& driver = {}, const QByteArray& latencyTimer = {})
    {
        const QString usbDevice =
            SysRoot() + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-") + name;
        const bool atInterface = driver == u"cdc_acm";
        const QString relative = QStringLiteral("1-1:1.0") + (atInterface ? QString() : u'/' + name);
        const QString port = usbDevice + u'/' + relative;
        QVERIFY(QDir().mkpath(port));
        for (auto it = attributes.begin(); it != attributes.end(); ++it)
            WriteTestFile(usbDevice + u'/' + it.key(), it.value() + '\n');
        if (!driver.isEmpty()) {
            const QString drivers = SysRoot() + QStringLiteral("/bus/usb-serial/drivers/") + driver;
            QVERIFY(QDir().mkpath(drivers));
            QVERIFY(QFile::link(drivers, port + QStringLiteral("/driver")));
        }
        if (!latencyTimer.isEmpty())
            WriteTestFile(port + QStringLiteral("/latency_timer"), latencyTimer + '\n');
        const QString ttyDir = SysRoot() + QStringLiteral("/class/tty/") + name;
        QVERIFY(QDir().mkpath(ttyDir));
        QVERIFY(QFile::link(QStringLiteral("../../../devices/pci0000:00/0000:00:14.0/usb1/1-") + name + u'/' +
                                relative,
                            ttyDir + QStringLiteral("/device")));
    }

private slots:
    // The fake sysfs and the aliases beside the settings file of a temporary program directory.
    void init() { m_dir = std::make_unique<IsolatedProgram>(); }
    void cleanup() { m_dir.reset(); }

    // Every family's range lies in 1 to 899 apart from the others, and a family's name is never
    // taken for a longer one's (ttyS for ttySC, ttySAC, ttySTM).
    void familyRanges()
    {
        for (size_t i = 0; i < ComPortFamilies.size(); ++i) {
            const PortFamily& f = ComPortFamilies[i];
            const QString prefix = QString::fromLatin1(f.Prefix.data(), qsizetype(f.Prefix.size()));
            QVERIFY2(f.First >= 1 && f.First <= f.Last && f.Last <= 899, qPrintable(prefix));
            for (size_t j = 0; j < i; ++j)
                QVERIFY2(f.Last < ComPortFamilies[j].First || f.First > ComPortFamilies[j].Last,
                         qPrintable(prefix));
            QCOMPARE(ComNumberForDevice(prefix + u'0'), f.First);
            QCOMPARE(ComNumberForDevice(prefix + QString::number(f.Last - f.First)), f.Last);
            QCOMPARE(ComNumberForDevice(prefix + QString::number(f.Last - f.First + 1)), int16_t(0));
        }
    }

    void comNumberForDevice_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("number");
        // The ttyS, ttyUSB and ttyACM rules; what a name must look like.
        const std::initializer_list<std::pair<const char*, int>> rows = {
            {"ttyS0", 1},     {"ttyS3", 4},     {"ttyS10", 11},    {"ttyS98", 99},   {"ttyS99", 0},
            {"ttyUSB0", 100}, {"ttyUSB5", 105}, {"ttyUSB99", 199}, {"ttyUSB100", 0}, {"ttyACM0", 200},
            {"ttyACM1", 201}, {"ttyS", 0},      {"ttyS01", 0},     {"ttyUSB007", 0}, {"ttyS4294967297", 0},
            {"ttyusb0", 0},   {"TTYS0", 0},     {"tty0", 0},       {"tty", 0},       {"console", 0},
            {"ptmx", 0},      {"", 0},          {"ttyUSB-1", 0},   {"xttyS0", 0},    {"ttyS0x", 0},
        };
        for (const auto& [name, number] : rows)
            QTest::newRow(name[0] ? name : "empty") << QString::fromLatin1(name) << number;
        QTest::newRow("arabic-indic digit") << QStringLiteral("ttyS\u0663") << 0;
    }

    void comNumberForDevice()
    {
        QFETCH(QString, name);
        QFETCH(int, number);
        QCOMPARE(ComNumberForDevice(name), number);
    }

    void discover_data()
    {
        QTest::addColumn<QStringList>("ttys");
        QTest::addColumn<QStringList>("aliases");
        QTest::addColumn<QStringList>("listed");
        using L = QStringList;
        QTest::newRow("nothing") << L{} << L{} << L{};
        QTest::newRow("ttyS numbering") << L{"ttyS0", "ttyS3"} << L{} << L{"1 /dev/ttyS0", "4 /dev/ttyS3"};
        QTest::newRow("placeholders left out")
            << L{"ttyS0,type=4", "ttyS1,type=0", "ttyS2"} << L{} << L{"1 /dev/ttyS0", "3 /dev/ttyS2"};
        QTest::newRow("FIFOs where the attributes should be")
            << L{"ttyS0,fifo=type", "ttyS1,fifo=dev"} << L{} << L{"1 /dev/ttyS0", "2 /dev/ttyS1"};
        QTest::newRow("no device link")
            << L{"tty0,nodevice", "ttyS0,nodevice", "ttyUSB0"} << L{} << L{"100 /dev/ttyUSB0"};
        QTest::newRow("no family") << L{"ttyXYZ0", "tty1", "console", "ttyS99"} << L{} << L{};
        QTest::newRow("ascending") << L{"ttyUSB0",      "ttyACM1", "ttyS2", "rfcomm0",
                                        "ttyCH341USB0", "ttyS10",  "ttyS9"}
                                   << L{} << L{"3 /dev/ttyS2",         "10 /dev/ttyS9",    "11 /dev/ttyS10",
                                               "100 /dev/ttyUSB0",     "201 /dev/ttyACM1", "320 /dev/rfcomm0",
                                               "360 /dev/ttyCH341USB0"};
        QTest::newRow("alias") << L{} << L{"com5>/dev/null"} << L{"5 /dev/null"};
        QTest::newRow("alias capitals")
            << L{} << L{"COM7>/dev/null", "Com8>/dev/zero"} << L{"7 /dev/null", "8 /dev/zero"};
        QTest::newRow("alias highest") << L{} << L{"com999>/dev/null"} << L{"999 /dev/null"};
        QTest::newRow("not alias names")
            << L{} << L{"com0>/dev/null",  "com1000>/dev/zero",  "com05>/dev/full", "comx>/dev/null",
                        "lpt1>/dev/null",  "com5.bak>/dev/null", "xcom5>/dev/null", "com>/dev/null",
                        "com-1>/dev/null", "com1\n>/dev/urandom"}
            << L{};
        QTest::newRow("alias to missing target") << L{} << L{"com5>@missing"} << L{};
        QTest::newRow("alias to regular file") << L{} << L{"com5>@file"} << L{};
        QTest::newRow("alias to folder") << L{} << L{"com5>/dev"} << L{};
        QTest::newRow("alias not a link") << L{} << L{"com5"} << L{};
        QTest::newRow("alias through a link") << L{} << L{"com5>@chain"} << L{"5 /dev/null"};
        // /dev/null is character device 1:3: the fake ttyUSB0 claims to be it.
        QTest::newRow("alias renumbers a device")
            << L{"ttyUSB0,dev=1:3"} << L{"com9>/dev/null"} << L{"9 /dev/null"};
        QTest::newRow("alias takes another device's number")
            << L{"ttyUSB0"} << L{"com100>/dev/null"} << L{"100 /dev/null"};
        QTest::newRow("alias among devices") << L{"ttyS0", "ttyUSB0"} << L{"com50>/dev/null"}
                                             << L{"1 /dev/ttyS0", "50 /dev/null", "100 /dev/ttyUSB0"};
        QTest::newRow("two aliases, one device")
            << L{} << L{"com6>/dev/null", "com3>/dev/null"} << L{"3 /dev/null"};
        QTest::newRow("two aliases, lower number first by value")
            << L{} << L{"com10>/dev/null", "com9>/dev/null"} << L{"9 /dev/null"};
        QTest::newRow("two spellings, one number")
            << L{} << L{"COM4>/dev/zero", "com4>/dev/null"} << L{"4 /dev/zero"};
    }

    void discover()
    {
        QFETCH(QStringList, ttys);
        QFETCH(QStringList, aliases);
        QFETCH(QStringList, listed);
        for (const QString& tty : ttys)
            AddTty(tty);
        for (const QString& alias : aliases)
            AddAlias(alias);
        QCOMPARE(Listed(DiscoverSerialPorts(SysRoot(), AliasDir())), listed);
        QCOMPARE(Listed(m_dir->Settings().DiscoverSerialPorts()), listed);
    }

    void missingFolders()
    {
        QVERIFY(DiscoverSerialPorts(m_dir->Path(QStringLiteral("none")), m_dir->Path(QStringLiteral("none")))
                    .isEmpty());
    }

    void descriptions()
    {
        AddUsbTty(QStringLiteral("ttyUSB0"), {{QStringLiteral("idVendor"), "0403"},
                                              {QStringLiteral("idProduct"), "6001"},
                                              {QStringLiteral("manufacturer"), "FTDI"},
                                              {QStringLiteral("product"), "FT232R USB UART"}});
        AddTty(QStringLiteral("ttyS0"));
        // Above the sysfs root: must not be taken for the on-board port's adapter.
        WriteTestFile(m_dir->Path(QStringLiteral("idVendor")), "dead\n");
        WriteTestFile(SysRoot() + QStringLiteral("/class/tty/ttyUSB0/dev"), "1:3\n");
        AddAlias(QStringLiteral("com9>/dev/null"));

        const QList<SerialPortEntry> entries = m_dir->Settings().DiscoverSerialPorts();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].Description, QStringLiteral("/dev/ttyS0"));
        QCOMPARE(entries[1].Number, 9);
        QCOMPARE(entries[1].Description, QStringLiteral("/dev/null - FTDI FT232R USB UART (0403:6001)"));

        QVERIFY(QFile::remove(AliasDir() + QStringLiteral("/com9")));
        const QList<SerialPortEntry> plain = m_dir->Settings().DiscoverSerialPorts();
        QCOMPARE(plain[1].Number, 100);
        QCOMPARE(plain[1].Description, QStringLiteral("/dev/ttyUSB0 - FTDI FT232R USB UART (0403:6001)"));
    }

    void descriptionWithoutNames()
    {
        AddUsbTty(QStringLiteral("ttyACM0"),
                  {{QStringLiteral("idVendor"), "1a86"}, {QStringLiteral("idProduct"), "7523"}});
        const QList<SerialPortEntry> entries = m_dir->Settings().DiscoverSerialPorts();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].Description, QStringLiteral("/dev/ttyACM0 - 1a86:7523"));
    }

    // What the system knows of the cable behind a device, from the same tree: names, USB ids, the
    // driver and an FTDI latency timer; nothing for a port without a USB device or outside sysfs.
    void cableInfo_data()
    {
        QTest::addColumn<QString>("device"); // a name below /dev, or "link:NAME" for a link to NAME
        QTest::addColumn<QString>("known");  // maker|product|ids|driver|timer
        QTest::addColumn<QString>("says");
        QTest::newRow("FTDI with its latency timer")
            << "/dev/ttyUSB0"
            << "FTDI|FT232R USB UART|0403:6001|ftdi_sio|16"
            << "The cable is FTDI FT232R USB UART (USB 0403:6001, driver ftdi_sio). Its latency timer still "
               "reads 16 ms";
        QTest::newRow("through a link named otherwise") << "link:ttyUSB0"
                                                        << "FTDI|FT232R USB UART|0403:6001|ftdi_sio|16"
                                                        << "FTDI FT232R USB UART";
        QTest::newRow("CH340 without names")
            << "/dev/ttyUSB1"
            << "||1a86:7523|ch341|"
            << "The cable is a USB serial bridge (USB 1a86:7523, driver ch341).";
        QTest::newRow("CDC ACM, the tty below the interface")
            << "/dev/ttyACM0"
            << "|Radio cable|2e8a:000a|cdc_acm|"
            << "The cable is Radio cable (USB 2e8a:000a, driver cdc_acm).";
        QTest::newRow("built-in port") << "/dev/ttyS0"
                                       << "||||"
                                       << "";
        QTest::newRow("pseudo-terminal, outside sysfs") << "/dev/pts/7"
                                                        << "||||"
                                                        << "";
    }
    void cableInfo()
    {
        QFETCH(QString, device);
        QFETCH(QString, known);
        QFETCH(QString, says);
        AddUsbTty(QStringLiteral("ttyUSB0"),
                  {{QStringLiteral("idVendor"), "0403"},
                   {QStringLiteral("idProduct"), "6001"},
                   {QStringLiteral("manufacturer"), "FTDI"},
                   {QStringLiteral("product"), "FT232R USB UART"}},
                  QStringLiteral("ftdi_sio"), "16");
        AddUsbTty(QStringLiteral("ttyUSB1"),
                  {{QStringLiteral("idVendor"), "1a86"}, {QStringLiteral("idProduct"), "7523"}},
                  QStringLiteral("ch341"));
        AddUsbTty(QStringLiteral("ttyACM0"),
                  {{QStringLiteral("idVendor"), "2e8a"},
                   {QStringLiteral("idProduct"), "000a"},
                   {QStringLiteral("product"), "Radio cable"}},
                  QStringLiteral("cdc_acm"));
        AddTty(QStringLiteral("ttyS0"));
        QString path = device;
        if (device.startsWith(u"link:")) {
            const QString target = m_dir->Path(device.mid(5));
            WriteTestFile(target, "");
            path = m_dir->Path(QStringLiteral("usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"));
            QVERIFY(QFile::link(target, path));
        }
        const CableInfo cable = CableInfoFor(path, SysRoot());
        QCOMPARE(CableFields(cable), known);
        const QString text = CableDetail(cable, path);
        QVERIFY2(says.isEmpty() ? text.isEmpty() : text.contains(says), qPrintable(text));
    }

    // Windows keeps the entries of adapters unplugged long ago with the COM number they had: only the
    // device the system lists behind the port now describes the cable. Entries as the registry holds
    // them (maker|product|ids|driver|timer per entry), the device present as vid:pid:serial.
    void presentCable_data()
    {
        QTest::addColumn<QStringList>("entries"); // deviceId instanceId fields
        QTest::addColumn<QString>("present");     // "unset": every entry is of a device present
        QTest::addColumn<QString>("known");
        const QString ftdi =
            QStringLiteral("VID_0403+PID_6001+A50285BIA 0000 FTDI|USB Serial Port|0403:6001|FTSER2K|16");
        const QString ftdiOther =
            QStringLiteral("VID_0403+PID_6001+DK0AB1CDA 0000 FTDI|USB Serial Port|0403:6001|FTSER2K|1");
        const QString ch340 =
            QStringLiteral("VID_1A86&PID_7523 5&2f3b1c&0&2 wch.cn|USB-SERIAL CH340|1a86:7523|CH341SER_A64|");
        const QString ch340Again =
            QStringLiteral("VID_1A86&PID_7523 5&19c0a2&0&1 wch.cn|USB-SERIAL CH340|1a86:7523|CH341SER_A64|");
        QTest::newRow("the one entry, present")
            << QStringList{ch340} << "1a86:7523:" << ch340.section(u' ', 2);
        QTest::newRow("an old FTDI entry before the CH340 present")
            << QStringList{ftdi, ch340} << "1a86:7523:" << ch340.section(u' ', 2);
        QTest::newRow("two FTDI cables, told by serial number")
            << QStringList{ftdi, ftdiOther} << "0403:6001:DK0AB1CD" << ftdiOther.section(u' ', 2);
        QTest::newRow("serial number in other capitals")
            << QStringList{ftdiOther, ftdi} << "0403:6001:a50285bi" << ftdi.section(u' ', 2);
        QTest::newRow("one CH340 in two sockets: the same words")
            << QStringList{ch340, ch340Again} << "1A86:7523:" << ch340.section(u' ', 2);
        QTest::newRow("two FTDI cables, no serial number: nothing known")
            << QStringList{ftdi, ftdiOther} << "0403:6001:"
            << "||||";
        QTest::newRow("only an old entry: nothing known") << QStringList{ftdi} << "1a86:7523:"
                                                          << "||||";
        QTest::newRow("no USB device listed behind the port") << QStringList{ftdi} << "::"
                                                              << "||||";
        QTest::newRow("the caller's own key") << QStringList{ftdi} << "unset" << ftdi.section(u' ', 2);
    }
    void presentCable()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, present);
        QFETCH(QString, known);
        QList<PortEntry> list;
        for (const QString& entry : entries) {
            const QStringList fields = entry.section(u' ', 2).split(u'|');
            CableInfo cable{fields[0], fields[1],   fields[2].section(u':', 0, 0), fields[2].section(u':', 1),
                            fields[3], std::nullopt};
            if (!fields[4].isEmpty())
                cable.LatencyTimerMs = fields[4].toInt();
            list.append({entry.section(u' ', 0, 0), entry.section(u' ', 1, 1), cable});
        }
        std::optional<PresentUsbDevice> device;
        if (present != u"unset")
            device = PresentUsbDevice{present.section(u':', 0, 0), present.section(u':', 1, 1),
                                      present.section(u':', 2)};
        QCOMPARE(CableFields(PresentCable(list, device)), known);
    }

    // A live pseudo-terminal through an alias: listed while it exists, gone with it, and never
    // opened by the discovery (opening would switch a cable's DTR and RTS lines).
    void pseudoTerminalAlias()
    {
        Pty pty;
        QVERIFY(!pty.SlavePath().isEmpty());
        AddTty(QStringLiteral("ttyS0"));
        AddAlias(QStringLiteral("com950>") + pty.SlavePath());
        QCOMPARE(Listed(m_dir->Settings().DiscoverSerialPorts()),
                 (QStringList{"1 /dev/ttyS0", "950 " + pty.SlavePath()}));
        QCOMPARE(m_dir->Settings().DevicePathForComPort(950), pty.SlavePath());
        QCOMPARE(m_dir->Settings().DevicePathForComPort(1), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(m_dir->Settings().DevicePathForComPort(2), QString());
        QVERIFY(!pty.SlaveEverOpened());
        pty.Close();
        // A test running beside this one may be given the same terminal number at once.
        if (!QFileInfo::exists(pty.SlavePath()))
            QCOMPARE(m_dir->Settings().DevicePathForComPort(950), QString());
    }

    void matchListEntry_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("match");
        using L = QStringList;
        QTest::newRow("empty list") << L{} << "COM3" << QString();
        QTest::newRow("empty list, empty text") << L{} << QString() << QString();
        QTest::newRow("equal") << L{"COM1", "COM3"} << "COM3"
                               << "COM3";
        QTest::newRow("none equal") << L{"COM1", "COM3"} << "COM7"
                                    << "COM1";
        QTest::newRow("capitals differ") << L{"COM1", "com3"} << "COM3"
                                         << "COM1";
        QTest::newRow("prefix only") << L{"COM12", "COM1"} << "COM1"
                                     << "COM1";
        QTest::newRow("longer only") << L{"COM12", "COM2"} << "COM1"
                                     << "COM12";
        QTest::newRow("trailing space") << L{"COM1", "COM3"} << "COM3 "
                                        << "COM1";
    }

    void matchListEntry()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, text);
        QFETCH(QString, match);
        QCOMPARE(MatchListEntry(list, text), match);
    }
    // Each change that the refresh's scan could see is noticed once, at the next question, and the
    // question after it finds quiet again (else the idle refresh would scan every time).
    void watch_data()
    {
        QTest::addColumn<WatchChange>("change");
        QTest::addColumn<bool>("noticed");
        QTest::addColumn<WatchChange>("then"); // a second change, after the first was noticed
        QTest::newRow("nothing") << WatchChange::Nothing << false << WatchChange::Nothing;
        QTest::newRow("a serial device appears") << WatchChange::TtyAppears << true << WatchChange::Nothing;
        QTest::newRow("a serial device goes") << WatchChange::TtyGoes << true << WatchChange::Nothing;
        QTest::newRow("an alias is made") << WatchChange::AliasMade << true << WatchChange::Nothing;
        QTest::newRow("an alias is removed") << WatchChange::AliasRemoved << true << WatchChange::Nothing;
        QTest::newRow("an alias is pointed elsewhere")
            << WatchChange::AliasRetargeted << true << WatchChange::Nothing;
        QTest::newRow("an alias's pseudo-terminal closes")
            << WatchChange::TargetCloses << true << WatchChange::Nothing;
        QTest::newRow("an alias's pseudo-terminal is replaced by another of its number")
            << WatchChange::TargetReplaced << true << WatchChange::Nothing;
        QTest::newRow("the alias folder is made, with an alias")
            << WatchChange::AliasFolderMade << true << WatchChange::AliasMade;
        QTest::newRow("settings file rewritten, same size")
            << WatchChange::FileRewritten << true << WatchChange::Nothing;
        QTest::newRow("settings file deleted") << WatchChange::FileDeleted << true << WatchChange::Nothing;
        QTest::newRow("settings file in the configuration folder")
            << WatchChange::UserFileWritten << true << WatchChange::UserFileWritten;
    }

    void watch()
    {
        QFETCH(WatchChange, change);
        QFETCH(bool, noticed);
        QFETCH(WatchChange, then);
        AddTty(QStringLiteral("ttyS0"));
        AddTty(QStringLiteral("ttyS1"));
        Pty first;
        Pty second;
        WriteTestFile(m_dir->SettingsFile(), "[language]\ncomPort=900\n");
        if (change == WatchChange::AliasFolderMade)
            QVERIFY(QDir(AliasDir()).removeRecursively());
        else
            AddAlias(QStringLiteral("com900>") + first.SlavePath());

        std::vector<std::unique_ptr<Pty>> replacements;
        bool numberTaken = false;
        PortWatch watch(m_dir->Settings());
        QVERIFY(watch.Watching());
        QVERIFY(watch.Changed()); // the first question
        QVERIFY(!watch.Changed());

        const auto make = [&](WatchChange made) {
            switch (made) {
            case WatchChange::Nothing:
                break;
            case WatchChange::TtyAppears:
                AddTty(QStringLiteral("ttyUSB0"));
                break;
            case WatchChange::TtyGoes:
                QVERIFY(QDir(SysRoot() + QStringLiteral("/class/tty/ttyS1")).removeRecursively());
                break;
            case WatchChange::AliasMade:
                AddAlias(QStringLiteral("COM7>") + second.SlavePath());
                break;
            case WatchChange::AliasRemoved:
                QVERIFY(QFile::remove(AliasDir() + QStringLiteral("/com900")));
                break;
            case WatchChange::AliasRetargeted:
                QVERIFY(QFile::remove(AliasDir() + QStringLiteral("/com900")));
                AddAlias(QStringLiteral("com900>") + second.SlavePath());
                break;
            case WatchChange::TargetCloses:
                first.Close();
                break;
            case WatchChange::TargetReplaced: {
                // The lowest free number goes to the next new pseudo-terminal: it is this one's again
                // unless another program took it in between.
                const QString path = first.SlavePath();
                first.Close();
                for (int i = 0; i < 16 && !QFileInfo::exists(path); ++i)
                    replacements.push_back(std::make_unique<Pty>());
                numberTaken = replacements.empty() || replacements.back()->SlavePath() != path;
                break;
            }
            case WatchChange::AliasFolderMade:
                AddAlias(QStringLiteral("com900>") + first.SlavePath());
                break;
            case WatchChange::FileRewritten:
                WriteTestFile(m_dir->SettingsFile(), "[language]\ncomPort=901\n");
                break;
            case WatchChange::FileDeleted:
                QVERIFY(QFile::remove(m_dir->SettingsFile()));
                break;
            case WatchChange::UserFileWritten:
                WriteTestFile(ProgramSettings::UserSettingsFilePath(), "[language]\ncomPort=7\n");
                break;
            }
        };
        make(change);
        if (numberTaken)
            QSKIP("another program took the closed pseudo-terminal's number");
        QCOMPARE(watch.Changed(), noticed);
        QVERIFY(!watch.Changed());
        // A folder that came into being is watched from then on.
        if (then != WatchChange::Nothing) {
            make(then);
            QVERIFY(watch.Changed());
            QVERIFY(!watch.Changed());
        }
    }
};

QTEST_GUILESS_MAIN(TestComPorts)
#include "tst_comports.moc"
