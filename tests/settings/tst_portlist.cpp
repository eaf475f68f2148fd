// The choices of start-up, refresh and port choice for the COM-port list, for what the whole
// program's tests cannot reach: the fixed list, ports not in ascending order, a saved number below 0,
// whether the list is rebuilt, odd entries.
#include "IsolatedProgram.h"
#include "ports/PortList.h"

#include <memory>

namespace {

QList<SerialPortEntry> Ports(const QList<int>& numbers)
{
    QList<SerialPortEntry> ports;
    for (int n : numbers)
        ports.append({static_cast<int16_t>(n),
                      QStringLiteral("/dev/x%1").arg(n),
                      QStringLiteral("tip %1").arg(n),
                      {}});
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

    std::unique_ptr<IsolatedProgram> m_dir;

private slots:
    void init() { m_dir = std::make_unique<IsolatedProgram>(); }
    void cleanup() { m_dir.reset(); }

    void startup_data()
    {
        QTest::addColumn<QList<int>>("ports");
        QTest::addColumn<int>("saved");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<int>("number");
        QTest::newRow("saved 0, first reported") << QList<int>{3, 1} << 0 << "COM3" << 3;
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

    // A port choice: an entry longer than three characters names the number to take (and save);
    // anything else changes nothing.
    void portChoice_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("number"); // -1: nothing
        QTest::newRow("COM7") << "COM7" << 7;
        QTest::newRow("COM999") << "COM999" << 999;
        QTest::newRow("three characters") << "COM" << -1;
        QTest::newRow("no selection") << QString() << -1;
    }

    void portChoice()
    {
        QFETCH(QString, entry);
        QFETCH(int, number);
        QCOMPARE(int(ComPortFromEntry(entry).value_or(-1)), number);
    }
};

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
