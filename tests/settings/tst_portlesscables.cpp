// The USB serial cables that give no port, from made-up sysfs trees, with a made-up /proc and udev rule
// folder that show brltty for the cases that need it.
#include "link/PortlessCableText.h"
#include "ports/PortlessCables.h"
#include "UsbTree.h"

#include <QTemporaryDir>
#include <QTest>

class TestPortlessCables : public QObject
{
    Q_OBJECT

private slots:
    void found_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QString>("daemon");       // "process", "rules" or nothing of brltty
        QTest::addColumn<QStringList>("expected"); // chip, reason, driver bound, module[, driver's version]

        QTest::newRow("CH340 taken by a running brltty")
            << QStringList{"1-1 1a86:7523 ff/01/usbfs"} << "process"
            << QStringList{"CH340 brltty usbfs ch341"};
        QTest::newRow("CH340 taken, brltty's rules installed")
            << QStringList{"1-1 1a86:7523 ff/01/usbfs"} << "rules" << QStringList{"CH340 brltty usbfs ch341"};
        QTest::newRow("usbfs without brltty")
            << QStringList{"1-1 10c4:ea60 ff/00/usbfs"} << "" << QStringList{"CP210x usbfs usbfs cp210x"};
        QTest::newRow("PL2303 without a driver")
            << QStringList{"1-3 067b:23a3 ff/00/"} << "" << QStringList{"PL2303 no_driver - pl2303"};
        QTest::newRow("a FIFO where the maker's name should be")
            << QStringList{"1-3 067b:23a3 ff/00/ fifo=manufacturer"} << ""
            << QStringList{"PL2303 no_driver - pl2303"};
        QTest::newRow("FTDI bound to another driver") << QStringList{"1-4 0403:6001 ff/ff/option"} << ""
                                                      << QStringList{"FTDI other_driver option ftdi_sio"};
        QTest::newRow("another driver, its module's version through the driver's link")
            << QStringList{"1-4 0403:6001 ff/ff/option module=usb_wwan_option:0.7.2"} << ""
            << QStringList{"FTDI other_driver option ftdi_sio 0.7.2"};
        QTest::newRow("another driver, its module's version by the driver's name")
            << QStringList{"1-4 0403:6001 ff/ff/option version=0.7.2"} << ""
            << QStringList{"FTDI other_driver option ftdi_sio 0.7.2"};
        QTest::newRow("CH9102 without a driver needs cdc_acm")
            << QStringList{"1-5 1a86:55d4 02/02/"} << "" << QStringList{"CH9102 no_driver - cdc_acm"};
        QTest::newRow("an unknown CDC ACM device without a driver")
            << QStringList{"1-6 2e8a:000a 02/02/"} << "" << QStringList{"CDC ACM no_driver - cdc_acm"};
        QTest::newRow("a working bridge beside a taken one")
            << QStringList{"1-1 1a86:7523 ff/01/usbfs", "1-2 0403:6001 ff/ff/ftdi_sio tty=ttyUSB0",
                           "1-7 2e8a:000a 02/02/cdc_acm tty=ttyACM0"}
            << "process" << QStringList{"CH340 brltty usbfs ch341"};
        QTest::newRow("its own driver, the tty not yet there")
            << QStringList{"1-1 1a86:7523 ff/01/ch341"} << "" << QStringList{};
        QTest::newRow("a hub and a mouse")
            << QStringList{"1-8 05e3:0610 09/00/hub", "1-9 046d:c077 03/01/usbhid", "1-10 046d:c52b 03/01/"}
            << "process" << QStringList{};
    }

    void found()
    {
        QFETCH(QStringList, devices);
        QFETCH(QString, daemon);
        QFETCH(QStringList, expected);
        QTemporaryDir root;
        const QString sys = root.filePath(QStringLiteral("sys"));
        QVERIFY(QDir().mkpath(sys + QStringLiteral("/class/tty")));
        for (const QString& row : devices)
            AddUsbDevice(sys, row);
        const QString rules = root.filePath(QStringLiteral("rules.d"));
        QVERIFY(QDir().mkpath(rules));
        WriteTestFile(rules + QStringLiteral("/60-serial.rules"), "\n");
        if (daemon == u"rules")
            WriteTestFile(rules + QStringLiteral("/85-brltty.rules"), "\n");
        const QString proc = root.filePath(QStringLiteral("proc"));
        AddProcess(proc, 1, "systemd");
        if (daemon == u"process")
            AddProcess(proc, 812, "brltty");

        QStringList found;
        for (const PortlessCable& cable : FindPortlessCables(sys, {rules}, proc)) {
            found << QStringLiteral("%1 %2 %3 %4%5")
                         .arg(cable.Chip, PortlessReasonKey(cable.Reason),
                              cable.Driver.isEmpty() ? QStringLiteral("-") : cable.Driver, cable.Module,
                              cable.DriverVersion.isEmpty() ? QString() : u' ' + cable.DriverVersion);
        }
        QCOMPARE(found, expected);
    }

    // brltty among the processes: each one's name read from its comm, whatever else stands there.
    void brlttyProcess_data()
    {
        // "812 brltty": a process and its name; "10 <fifo>", "11 <huge>", "12 <zero>", "13 <folder>":
        // its comm a FIFO, a file far past any name's size that begins "brltty", a link to /dev/zero, a
        // folder; "14 <none>": no comm at all.
        QTest::addColumn<QStringList>("processes");
        QTest::addColumn<bool>("seen");
        QTest::newRow("brltty among other processes")
            << QStringList{"1 systemd", "245 bash", "812 brltty", "901 sleep"} << true;
        QTest::newRow("names that only hold brltty")
            << QStringList{"1 systemd", "300 brlttyd", "301 xbrltty", "302 brltty-setup"} << false;
        QTest::newRow("no process at all") << QStringList{} << false;
        QTest::newRow("a FIFO, a huge comm, /dev/zero, a folder and none, then brltty")
            << QStringList{"10 <fifo>", "11 <huge>", "12 <zero>", "13 <folder>", "14 <none>", "812 brltty"}
            << true;
        QTest::newRow("a huge comm that begins with brltty is no name") << QStringList{"11 <huge>"} << false;
    }

    void brlttyProcess()
    {
        QFETCH(QStringList, processes);
        QFETCH(bool, seen);
        QTemporaryDir root;
        const QString sys = root.filePath(QStringLiteral("sys"));
        QVERIFY(QDir().mkpath(sys + QStringLiteral("/class/tty")));
        AddUsbDevice(sys, QStringLiteral("1-1 1a86:7523 ff/01/usbfs"));
        const QString rules = root.filePath(QStringLiteral("rules.d"));
        const QString proc = root.filePath(QStringLiteral("proc"));
        QVERIFY(QDir().mkpath(rules) && QDir().mkpath(proc));
        for (const QString& row : processes) {
            const QString pid = row.section(u' ', 0, 0);
            const QString name = row.section(u' ', 1);
            const QString comm = proc + u'/' + pid + QStringLiteral("/comm");
            if (name == u"<fifo>")
                MakeFifo(comm);
            else if (name == u"<huge>")
                WriteTestFile(comm, "brltty" + QByteArray(1 << 20, ' ') + '\n');
            else if (name == u"<zero>")
                QVERIFY(QDir().mkpath(proc + u'/' + pid) && QFile::link(QStringLiteral("/dev/zero"), comm));
            else if (name == u"<folder>")
                QVERIFY(QDir().mkpath(comm));
            else if (name == u"<none>")
                QVERIFY(QDir().mkpath(proc + u'/' + pid));
            else
                AddProcess(proc, pid.toInt(), name.toUtf8());
        }
        const QList<PortlessCable> cables = FindPortlessCables(sys, {rules}, proc);
        QCOMPARE(cables.size(), 1);
        QCOMPARE(PortlessReasonKey(cables[0].Reason),
                 seen ? QStringLiteral("brltty") : QStringLiteral("usbfs"));
    }

    // Windows: what a device's problem code on a known bridge means, and nothing for the rest.
    void windowsDevice_data()
    {
        QTest::addColumn<QString>("ids");
        QTest::addColumn<unsigned>("code");
        QTest::addColumn<QString>("expected"); // reason key, or empty for no cable without a port
        QTest::addColumn<QString>("words");    // in the English sentence
        QTest::newRow("PL2303 refused by its driver") << "067B:2303" << 10u << "driver_refuses_chip"
                                                      << "Prolific USB-to-Serial Comm Port (version 3.9.6.2)";
        QTest::newRow("Code 10 on a CH340 is no refusal of the chip")
            << "1A86:7523" << 10u << "device_problem"
            << "(Code 10)";
        QTest::newRow("CH340 without a driver") << "1A86:7523" << 28u << "no_driver_installed"
                                                << "CH340 chip (Code 28)";
        QTest::newRow("FTDI disabled") << "0403:6001" << 22u << "disabled"
                                       << "(Code 22)";
        QTest::newRow("CP210x stopped") << "10C4:EA60" << 43u << "device_problem"
                                        << "(Code 43)";
        QTest::newRow("a working PL2303") << "067B:2303" << 0u << ""
                                          << "";
        QTest::newRow("a mouse with a problem") << "046D:C077" << 28u << ""
                                                << "";
    }

    void windowsDevice()
    {
        QFETCH(QString, ids);
        QFETCH(unsigned, code);
        QFETCH(QString, expected);
        QFETCH(QString, words);
        WindowsUsbDevice device;
        device.VendorId = ids.section(u':', 0, 0);
        device.ProductId = ids.section(u':', 1);
        device.ProblemCode = code;
        device.DriverName = QStringLiteral("Prolific USB-to-Serial Comm Port");
        device.DriverVersion = QStringLiteral("3.9.6.2");
        const std::optional<PortlessCable> cable = ClassifyWindowsDevice(device);
        QCOMPARE(cable ? PortlessReasonKey(cable->Reason) : QString(), expected);
        if (cable) {
            QCOMPARE(cable->UsbIds(), ids.toLower());
            const QString sentence = PortlessCableSentence(*cable);
            QVERIFY2(sentence.contains(words), qPrintable(sentence));
        }
    }

    // The label names the chip, the device's own names where it gives them, and the ids.
    void label_data()
    {
        QTest::addColumn<QString>("maker");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("label");
        QTest::newRow("both") << "QinHeng"
                              << "USB Serial"
                              << "CH340 QinHeng USB Serial (1a86:7523)";
        QTest::newRow("product only") << ""
                                      << "USB Serial"
                                      << "CH340 USB Serial (1a86:7523)";
        QTest::newRow("none") << ""
                              << ""
                              << "CH340 (1a86:7523)";
        QTest::newRow("the chip's name alone") << ""
                                               << "CH340"
                                               << "CH340 (1a86:7523)";
    }

    void label()
    {
        QFETCH(QString, maker);
        QFETCH(QString, product);
        QFETCH(QString, label);
        PortlessCable cable;
        cable.Maker = maker;
        cable.Product = product;
        cable.VendorId = QStringLiteral("1a86");
        cable.ProductId = QStringLiteral("7523");
        cable.Chip = QStringLiteral("CH340");
        QCOMPARE(cable.Label(), label);
    }
};

QTEST_GUILESS_MAIN(TestPortlessCables)
#include "tst_portlesscables.moc"
