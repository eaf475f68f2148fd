// A test program whose time is spent waiting (on pseudo-terminals, reply waits, programs it starts)
// rather than computing runs side by side in processes of its own, each with its own radios, ports,
// settings and temporary folders, as when run alone. The slow functions the main names go first, their
// rows dealt out over processes of their own; the other functions are dealt out over a number of
// processes the main gives (a window test's process costs a tenth of a second of processor time to
// start, a few hundredths without a window). Each process's output is shown as it ends (a failing one's
// whole), and the program fails if any did.
//
// Run with no arguments, or with function names only. TT_TEST_JOBS sets how many processes run at
// once (the main says how many unless set); 1, or any other argument (a row, an option such as -o), runs
// everything in this one process as QtTest does.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTest>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>

namespace side_by_side {

// The functions and rows one process runs, as QtTest takes them on its command line.
using Unit = QStringList;

// A slow function the main names: its rows dealt out over `processes` processes, or each in a process
// of its own if none is given (or the function has no rows: then it runs alone).
struct Slow
{
    QString function;
    int processes = 0;
};

// QtTest's own banner lines, the same in every process: left out of a passing process's output.
inline bool Banner(const QByteArray& line)
{
    return line.startsWith("********* ") || line.startsWith("Config: ") || line.startsWith("Totals: ") ||
           line.contains("::initTestCase()") || line.contains("::cleanupTestCase()");
}

inline void Show(const QByteArray& output, bool whole)
{
    for (const QByteArray& line : output.split('\n')) {
        if (!line.isEmpty() && (whole || !Banner(line)))
            std::printf("%s\n", line.constData());
    }
    std::fflush(stdout);
}

// Rows and functions dealt out in turn over `count` units, which keeps each in its order.
inline QList<Unit> DealOut(const QStringList& arguments, int count)
{
    QList<Unit> units(std::min<qsizetype>(std::max(count, 1), arguments.size()));
    for (qsizetype i = 0; i < arguments.size(); ++i)
        units[i % units.size()] << arguments[i];
    return units;
}

// The program's functions and rows, from its own -datatags listing: "Class function [row]" a line.
inline bool ListUnits(const QStringList& selected, const QList<Slow>& slow, int othersProcesses,
                      QList<Unit>& units)
{
    QProcess list;
    list.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    list.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-datatags")});
    if (!list.waitForFinished(60000) || list.exitStatus() != QProcess::NormalExit || list.exitCode() != 0) {
        std::fprintf(stderr, "could not list the test functions: %s\n", qPrintable(list.errorString()));
        return false;
    }
    QList<QStringList> slowRows(slow.size());
    QStringList others;
    QStringList found;
    for (const QByteArray& raw : list.readAllStandardOutput().split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype first = line.indexOf(u' ');
        if (first < 0)
            continue;
        const qsizetype second = line.indexOf(u' ', first + 1);
        const QString function = line.mid(first + 1, second < 0 ? -1 : second - first - 1);
        found << function;
        if (function == QLatin1String("initTestCase") || function == QLatin1String("cleanupTestCase") ||
            (!selected.isEmpty() && !selected.contains(function)))
            continue;
        const auto named = std::find_if(slow.begin(), slow.end(),
                                        [&](const Slow& entry) { return entry.function == function; });
        if (named != slow.end())
            slowRows[named - slow.begin()]
                << (second < 0 ? function : function + u':' + line.mid(second + 1));
        else if (!others.contains(function))
            others << function;
    }
    // A function named on the command line that is none (renamed, say) would otherwise run nowhere and
    // pass.
    for (const QString& function : selected) {
        if (!found.contains(function)) {
            std::fprintf(stderr, "no test function %s\n", qPrintable(function));
            return false;
        }
    }
    // The slow functions' rows first, so that the longest waits begin at once.
    for (qsizetype i = 0; i < slow.size(); ++i) {
        const QStringList& rows = slowRows[i];
        units += DealOut(rows, slow[i].processes > 0 ? slow[i].processes : int(rows.size()));
    }
    units += DealOut(others, othersProcesses);
    return true;
}

// The exit code of the whole run, or -1 where the program is to run as QtTest does.
inline int Run(int atOnceUnlessSet, int othersProcesses, const QList<Slow>& slow)
{
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    for (const QString& argument : arguments)
        if (argument.startsWith(u'-') || argument.contains(u':'))
            return -1;
    bool set = false;
    const int jobs = qEnvironmentVariableIntValue("TT_TEST_JOBS", &set);
    const int atOnce = set ? jobs : atOnceUnlessSet;
    if (atOnce <= 1)
        return -1;

    QList<Unit> units;
    if (!ListUnits(arguments, slow, std::min(othersProcesses, atOnce), units))
        return 1;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    qsizetype next = 0;
    int running = 0;
    QStringList failed;
    std::function<void()> startNext;
    const auto ended = [&](QProcess* process, const QString& name, const QString& failure) {
        if (!failure.isEmpty()) {
            failed << name;
            std::printf("FAIL!  : %s %s\n", qPrintable(name), qPrintable(failure));
        }
        process->deleteLater();
        --running;
        startNext();
        if (running == 0)
            loop.quit();
    };
    startNext = [&] {
        while (running < atOnce && next < units.size()) {
            const Unit& unit = units[next++];
            auto* process = new QProcess(&loop);
            process->setProcessChannelMode(QProcess::MergedChannels);
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("TT_TEST_JOBS"), QStringLiteral("1"));
            process->setProcessEnvironment(environment);
            // A run stopped from outside (a CTest time-out) takes its processes with it.
            process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
            const QString name = unit.size() == 1
                                     ? unit[0]
                                     : QStringLiteral("%1 and %2 more").arg(unit[0]).arg(unit.size() - 1);
            const qint64 began = clock.elapsed();
            QObject::connect(process, &QProcess::finished, &loop,
                             [&, process, name, began](int code, QProcess::ExitStatus status) {
                                 const bool passed = status == QProcess::NormalExit && code == 0;
                                 Show(process->readAll(), !passed);
                                 std::printf("Process: %s, %lld ms\n", qPrintable(name),
                                             static_cast<long long>(clock.elapsed() - began));
                                 ended(process, name,
                                       passed                           ? QString()
                                       : status == QProcess::NormalExit ? QStringLiteral("failed")
                                                                        : QStringLiteral("crashed"));
                             });
            QObject::connect(
                process, &QProcess::errorOccurred, &loop, [&, process, name](QProcess::ProcessError error) {
                    if (error == QProcess::FailedToStart)
                        ended(process, name, QStringLiteral("could not start: ") + process->errorString());
                });
            ++running;
            process->start(QCoreApplication::applicationFilePath(), unit);
        }
    };
    startNext();
    if (running > 0)
        loop.exec();
    std::printf("Side by side: %d processes, %d at a time, %lld ms; %s\n", int(units.size()), atOnce,
                static_cast<long long>(clock.elapsed()),
                failed.isEmpty() ? "all passed" : qPrintable(QStringLiteral("failed: ") + failed.join(", ")));
    std::fflush(stdout);
    return failed.isEmpty() ? 0 : 1;
}

} // namespace side_by_side

#define TT_QTEST_MAIN_SIDE_BY_SIDE_WRAPPER(TestObject, Setup, AtOnce, Others, ...)                           \
    int main(int argc, char* argv[])                                                                         \
    {                                                                                                        \
        Setup if (const int code = side_by_side::Run(AtOnce, Others, {__VA_ARGS__}); code >= 0) return code; \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }

// QTEST_MAIN and QTEST_GUILESS_MAIN, run side by side: AtOnce is how many processes run at once unless
// TT_TEST_JOBS says, Others the number of processes for the functions not named slow, then the slow
// functions as Slow: {"name"} for a process a row, {"name", N} for N processes.
#define TT_QTEST_MAIN_SIDE_BY_SIDE(TestObject, AtOnce, Others, ...)                                          \
    TT_QTEST_MAIN_SIDE_BY_SIDE_WRAPPER(TestObject, QTEST_MAIN_SETUP(), AtOnce, Others, __VA_ARGS__)
#define TT_QTEST_GUILESS_MAIN_SIDE_BY_SIDE(TestObject, AtOnce, Others, ...)                                  \
    TT_QTEST_MAIN_SIDE_BY_SIDE_WRAPPER(TestObject, QTEST_QAPP_SETUP(QCoreApplication), AtOnce, Others,       \
                                       __VA_ARGS__)
