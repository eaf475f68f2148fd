// The choices of start-up, refresh and port choice for the COM-port list, and their effect on the
// settings file, with real files in a temporary program directory.
#include "settings/ComPorts.h"
#include "settings/PortList.h"
#include "settings/Settings.h"

#include "TestFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QList<SerialPortEntry> Ports(const QList<int>& numbers)
{
    QList<SerialPortEntry> ports;
    for (int n : numbers)
        ports.append(
            {static_cast<int16_t>(n), QStringLiteral("/dev/x%1").arg(n), QStringLiteral("tip %1").arg(n)});
    return ports;
}

QStringList Entries(const QList<int>& numbers)
{
    QStringList entries;
    for (int n : numbers)
        entries << QStringLiteral("COM%1").arg(n);
    return entries;
}

} // namespace

class TestPortList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_shown; // what the list widget would show

    QString SettingsFile() const { return m_dir->filePath(QStringLiteral("mysetup.ini")); }

    // What the window does with a plan: the selection is a port choice, then start-up saves.
    void Apply(const PortListPlan& plan)
    {
        if (plan.Rebuild)
            m_shown = plan.Entries;
        ComPortNumber = plan.ComPortNumber;
        if (!plan.Selection.isEmpty())
            SetComPortFromEntry(plan.Selection);
        if (plan.Save)
            SaveComPortSetting();
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("config"))));
        SetProgramDirectory(m_dir->path());
        m_shown.clear();
        ComPortNumber = 0;
    }

    void cleanup()
    {
        SetProgramDirectory({});
        SetDiscoveryRoots({}, {});
        m_dir.reset();
    }

    void startup_data()
    {
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<int>("saved");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<int>("number");
        QTest::newRow("saved 0, first reported") << QList<int>{3, 1} << 0 << "COM3" << 3;
        QTest::newRow("saved port present") << QList<int>{7} << 7 << "COM7" << 7;
        QTest::newRow("saved port among others") << QList<int>{3, 12} << 12 << "COM12" << 12;
        QTest::newRow("saved port gone") << QList<int>{1, 2} << 7 << "COM1" << 1;
        QTest::newRow("no ports") << QList<int>{} << 5 << QString() << 0;
        QTest::newRow("no ports, saved 0") << QList<int>{} << 0 << QString() << 0;
        QTest::newRow("saved negative") << QList<int>{4} << -3 << "COM4" << 4;
    }

    void startup()
    {
        QFETCH(QList<int>, ports);
        QFETCH(int, saved);
        QFETCH(QString, selection);
        QFETCH(int, number);
        const PortListPlan plan = PlanStartupPortList(false, Ports(ports), static_cast<int16_t>(saved));
        QCOMPARE(plan.Entries, Entries(ports));
        QCOMPARE(plan.ToolTips.size(), ports.size());
        QCOMPARE(plan.Selection, selection);
        QCOMPARE(plan.ComPortNumber, number);
        QCOMPARE(plan.Save, number != 0);
    }

    void startupFixedList_data()
    {
        QTest::addColumn<int>("saved");
        QTest::addColumn<QString>("selection");
        QTest::newRow("saved 5") << 5 << "COM5";
        QTest::newRow("saved 256") << 256 << "COM256";
        QTest::newRow("saved 0") << 0 << QString();
        QTest::newRow("saved 300") << 300 << QString();
    }

    void startupFixedList()
    {
        QFETCH(int, saved);
        QFETCH(QString, selection);
        const PortListPlan plan = PlanStartupPortList(true, Ports({3}), static_cast<int16_t>(saved));
        QCOMPARE(plan.Entries.size(), 256);
        QCOMPARE(plan.Entries.first(), QStringLiteral("COM1"));
        QCOMPARE(plan.Entries.last(), QStringLiteral("COM256"));
        QCOMPARE(plan.Selection, selection);
        QCOMPARE(plan.ComPortNumber, saved);
        QCOMPARE(plan.Save, saved != 0);
    }

    void refresh_data()
    {
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<int>("remembered");
        QTest::addColumn<bool>("rebuild");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<int>("number");
        using L = QList<int>;
        QTest::newRow("unchanged") << L{1, 5} << L{1, 5} << 5 << false << "COM5" << 5;
        QTest::newRow("port appears") << L{} << L{3} << 0 << true << "COM3" << 3;
        QTest::newRow("remembered port gone") << L{1, 5} << L{1} << 5 << true << "COM1" << 1;
        QTest::newRow("other port comes back") << L{1} << L{1, 5} << 1 << true << "COM1" << 1;
        QTest::newRow("every port gone") << L{1} << L{} << 1 << true << QString() << 0;
        QTest::newRow("still nothing") << L{} << L{} << 0 << false << QString() << 0;
        QTest::newRow("other order") << L{5, 1} << L{1, 5} << 5 << true << "COM5" << 5;
    }

    void refresh()
    {
        QFETCH(QList<int>, shown);
        QFETCH(QList<int>, ports);
        QFETCH(int, remembered);
        QFETCH(bool, rebuild);
        QFETCH(QString, selection);
        QFETCH(int, number);
        const PortListPlan plan =
            PlanPortListRefresh(Entries(shown), Ports(ports), static_cast<int16_t>(remembered));
        QCOMPARE(plan.Entries, Entries(ports));
        QCOMPARE(plan.ToolTips.size(), ports.size());
        if (!ports.isEmpty())
            QCOMPARE(plan.ToolTips.last(), QStringLiteral("tip %1").arg(ports.last()));
        QCOMPARE(plan.Rebuild, rebuild);
        QCOMPARE(plan.Selection, selection);
        QCOMPARE(plan.ComPortNumber, number);
    }

    void portChoice_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("number");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("COM7") << "COM7" << 7 << QByteArray("[language]\ncomPort=7\n");
        QTest::newRow("COM999") << "COM999" << 999 << QByteArray("[language]\ncomPort=999\n");
        QTest::newRow("three characters") << "COM" << 42 << QByteArray("<missing>");
        QTest::newRow("no selection") << QString() << 42 << QByteArray("<missing>");
    }

    void portChoice()
    {
        QFETCH(QString, entry);
        QFETCH(int, number);
        QFETCH(QByteArray, file);
        ComPortNumber = 42;
        SetComPortFromEntry(entry);
        QCOMPARE(ComPortNumber, number);
        QCOMPARE(ReadTestFile(SettingsFile()), file);
    }

    // Start-up and refreshes over a fake sysfs and the alias folder, with the real file: the
    // remembered port gone at start-up, a port that comes and goes, and no rewrite while nothing
    // changes.
    void startupAndRefreshes()
    {
        const QString sys = m_dir->filePath(QStringLiteral("sys"));
        const QString aliases = m_dir->filePath(QStringLiteral("dosdevices"));
        const QString ttyS2 = sys + QStringLiteral("/class/tty/ttyS2");
        QVERIFY(QDir().mkpath(ttyS2));
        QVERIFY(QFile::link(sys, ttyS2 + QStringLiteral("/device")));
        QVERIFY(QDir().mkpath(aliases));
        SetDiscoveryRoots(sys, aliases);
        WriteTestFile(SettingsFile(), "[language]\ncomPort= 12 \n");

        LoadComPortSetting();
        QCOMPARE(ComPortNumber, 12);
        Apply(PlanStartupPortList(false, DiscoverSerialPorts(), ComPortNumber));
        QCOMPARE(m_shown, QStringList{"COM3"});
        QCOMPARE(ComPortNumber, 3);
        QCOMPARE(ReadTestFile(SettingsFile()), QByteArray("[language]\ncomPort=3\n"));

        // COM12 comes back: listed, but the choice stays, and the file is not touched.
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), aliases + QStringLiteral("/COM12")));
        AgeFile(SettingsFile());
        const QDateTime old = FileTime(SettingsFile());
        for (int i = 0; i < 3; ++i) {
            Apply(PlanPortListRefresh(m_shown, DiscoverSerialPorts(), ComPortNumber));
            QCOMPARE(m_shown, (QStringList{"COM3", "COM12"}));
            QCOMPARE(ComPortNumber, 3);
        }
        QCOMPARE(FileTime(SettingsFile()), old);

        // COM3 goes: the choice and the file move to COM12.
        QVERIFY(QDir(ttyS2).removeRecursively());
        Apply(PlanPortListRefresh(m_shown, DiscoverSerialPorts(), ComPortNumber));
        QCOMPARE(m_shown, QStringList{"COM12"});
        QCOMPARE(ComPortNumber, 12);
        QCOMPARE(ReadTestFile(SettingsFile()), QByteArray("[language]\ncomPort=12\n"));

        // Everything goes: nothing selected, 0, and the file keeps the last choice.
        QVERIFY(QFile::remove(aliases + QStringLiteral("/COM12")));
        Apply(PlanPortListRefresh(m_shown, DiscoverSerialPorts(), ComPortNumber));
        QVERIFY(m_shown.isEmpty());
        QCOMPARE(ComPortNumber, 0);
        QCOMPARE(ReadTestFile(SettingsFile()), QByteArray("[language]\ncomPort=12\n"));
    }
};

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
