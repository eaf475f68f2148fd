// The cables that give no port, as `ports` and `check` tell of them in both languages, from a made-up
// sysfs tree; the braille display daemon is a process named brltty in a made-up /proc.
#include "cli/CliContext.h"
#include "IsolatedProgram.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "UsbTree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

class TestCablesCli : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedProgram> program;
    QString out;
    QString err;

    int Cli(const QStringList& arguments)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        CliContext context;
        context.out = &outStream;
        context.err = &errStream;
        context.settings = program->Settings();
        context.timings = {150ms, 80ms};
        return RunCli(QStringList{QStringLiteral("tangelo-cli")} + arguments, context);
    }

    // A CH340 taken by brltty, a PL2303 without a driver, a hub and a mouse; `withPort`: an FTDI cable
    // with its port beside them.
    void AddCables(bool withPort)
    {
        const QStringList rows{"1-1 1a86:7523 ff/01/usbfs product=USB_Serial", "1-3 067b:23a3 ff/00/",
                               "1-8 05e3:0610 09/00/hub", "1-9 046d:c077 03/01/usbhid"};
        for (const QString& row : rows)
            AddUsbDevice(program->SysRoot(), row);
        if (withPort)
            AddUsbDevice(program->SysRoot(), "1-2 0403:6001 ff/ff/ftdi_sio tty=ttyUSB0");
    }

private slots:
    void init() { program = std::make_unique<IsolatedProgram>(); }
    void cleanup() { program.reset(); }

    // After the ports, a line for each cable without one, in the system's language.
    void portsNamesCables_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("English")
            << int(EnglishLanguage)
            << QStringList{
                   "COM100  /dev/ttyUSB0 - 0403:6001",
                   "The cable CH340 USB Serial (1a86:7523) is plugged in but has no port: "
                   "the braille display program brltty took it. Unless a braille display "
                   "is used, run  sudo apt remove brltty  (or mask its udev rule and "
                   "brltty.path), then unplug the cable and plug it in again.",
                   "The cable PL2303 (067b:23a3) is plugged in but has no port: no driver "
                   "took it. Run  sudo modprobe pl2303  to load its driver; a kernel "
                   "without that module needs the distribution's extra modules.",
               };
        QTest::newRow("Chinese")
            << int(ChineseLanguage)
            << QStringList{
                   "COM100  /dev/ttyUSB0 - 0403:6001",
                   "写频线 CH340 USB Serial (1a86:7523) 已插上，但没有串口：盲文显示程序 "
                   "brltty 占用了它。不使用盲文显示器时，请运行  sudo apt remove brltty  "
                   "后拔下写频线再重新插入（也可以屏蔽它的 udev 规则和 brltty.path）。",
                   "写频线 PL2303 (067b:23a3) 已插上，但没有串口：没有驱动程序接管它。请运行  "
                   "sudo modprobe pl2303  加载驱动程序；内核没有该模块时，需要安装发行版的附加模块。",
               };
    }

    void portsNamesCables()
    {
        QFETCH(int, language);
        QFETCH(QStringList, lines);
        AddCables(true);
        AddProcess(program->ProcRoot(), 812, "brltty");
        const ProgramTranslations translations{int16_t(language)};
        QCOMPARE(Cli({"ports"}), 0);
        QCOMPARE(out.split(u'\n', Qt::SkipEmptyParts), lines);
        QVERIFY2(err.isEmpty(), qPrintable(err));
    }

    // --json: the ports and the cables, English whatever the language; on Linux the driver's
    // version is its module's, and there is no problem code.
    void portsJson()
    {
        AddCables(true);
        AddUsbDevice(program->SysRoot(), "1-4 0403:6001 ff/ff/option module=option:0.7.2");
        const ProgramTranslations translations(ChineseLanguage);
        QCOMPARE(Cli({"ports", "--json"}), 0);
        const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
        QCOMPARE(object.value("ports").toArray().size(), 1);
        QCOMPARE(object.value("ports").toArray().at(0)["port"].toString(), "COM100");
        QStringList cables;
        for (const QJsonValue cable : object.value("cables_without_port").toArray())
            cables << QStringList{cable["usb_bridge"].toString(),
                                  cable["vendor_id"].toString(),
                                  cable["product_id"].toString(),
                                  cable["reason"].toString(),
                                  cable["driver"].toString(),
                                  cable["module"].toString(),
                                  cable["driver_version"].toString(),
                                  QString::number(cable["problem_code"].toInt(-1))}
                          .join(u' ');
        // No brltty runs and none of its rules is here: a program holds the CH340 through usbfs.
        QCOMPARE(cables,
                 QStringList({"CH340 1a86 7523 usbfs usbfs ch341  0", "PL2303 067b 23a3 no_driver  pl2303  0",
                              "FTDI 0403 6001 other_driver option ftdi_sio 0.7.2 0"}));
        QVERIFY(object.value("cables_without_port")
                    .toArray()
                    .at(1)["text"]
                    .toString()
                    .startsWith("The cable PL2303 (067b:23a3) is plugged in but has no port"));
    }

    // Without a port, check names the cables first and never says to plug one in.
    void checkWithoutPort_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("summary");
        QTest::newRow("English") << int(EnglishLanguage)
                                 << "The cable CH340 USB Serial (1a86:7523) is plugged in but has no port: a "
                                    "program holds it through usbfs."
                                 << "No port with a USB serial cable was found, but a cable is plugged in "
                                    "without a port: see above for why.";
        QTest::newRow("Chinese")
            << int(ChineseLanguage)
            << "写频线 CH340 USB Serial (1a86:7523) 已插上，但没有串口：有程序通过 usbfs 占用了它。"
            << "没有找到接有 USB 写频线的串口，但有写频线已插上却没有串口：原因见上文。";
    }

    void checkWithoutPort()
    {
        QFETCH(int, language);
        QFETCH(QString, first);
        QFETCH(QString, summary);
        AddCables(false);
        const ProgramTranslations translations{int16_t(language)};
        QCOMPARE(Cli({"check"}), 1);
        const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[0].startsWith(first), qPrintable(lines[0]));
        QVERIFY2(lines[1].contains(QStringLiteral("sudo modprobe pl2303")), qPrintable(lines[1]));
        QCOMPARE(lines[2], summary);
    }

    // check --json carries the cables too, and its summary never says to plug a cable in.
    void checkJson()
    {
        AddCables(false);
        QCOMPARE(Cli({"check", "--json"}), 1);
        const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
        QStringList reasons;
        for (const QJsonValue cable : object.value("cables_without_port").toArray())
            reasons << cable["usb_bridge"].toString() + u' ' + cable["reason"].toString();
        QCOMPARE(reasons, QStringList({"CH340 usbfs", "PL2303 no_driver"}));
        QVERIFY2(!object.value("summary").toString().contains("plug the cable in"),
                 qPrintable(object.value("summary").toString()));
    }
};

QTEST_GUILESS_MAIN(TestCablesCli)
#include "tst_cablescli.moc"
