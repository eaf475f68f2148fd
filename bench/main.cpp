// tangelo_bench: how fast the program reads and writes against the virtual radio on a modelled
// 115200 8N1 line, and with --window how its real window starts, what memory it holds and what it
// costs while idle, beside the Qt peers that are installed.
#include "Report.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>
#include <QThread>

#include <cstdio>

namespace {

QString LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    return QString::fromLatin1(file.readAll()).section(u' ', 0, 2);
}

QString Processor()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : file.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown processor");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times reads, writes, start-up, memory and idle cost."));
    parser.addHelpOption();
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Reads and writes to time, each (0: none)."),
                                   QStringLiteral("N"), QStringLiteral("50"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("JSON instead of the Markdown table."));
    const QCommandLineOption window(QStringLiteral("window"), QStringLiteral("Also start the real window."));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Starts of each program to time."),
                                  QStringLiteral("N"), QStringLiteral("7"));
    const QCommandLineOption clicks(QStringLiteral("clicks"),
                                    QStringLiteral("Reads to press on the window's Read button."),
                                    QStringLiteral("N"), QStringLiteral("7"));
    const QCommandLineOption idle(QStringLiteral("idle-seconds"),
                                  QStringLiteral("How long the idle window's processor time is taken."),
                                  QStringLiteral("S"), QStringLiteral("60"));
    const QCommandLineOption program(
        QStringLiteral("program"), QStringLiteral("The TANGELO_Tune to start."), QStringLiteral("PATH"),
        QCoreApplication::applicationDirPath() + QStringLiteral("/../window/TANGELO_Tune"));
    const QCommandLineOption peer(QStringLiteral("peer"),
                                  QStringLiteral("Another Qt program to compare start-up with."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption lots(QStringLiteral("lots"),
                                  QStringLiteral("Also read with the radio's replies in lots of MS "
                                                 "milliseconds, as a USB bridge's latency timer hands "
                                                 "them on (0: not)."),
                                  QStringLiteral("MS"), QStringLiteral("16"));
    const QCommandLineOption locale(
        QStringLiteral("locale"), QStringLiteral("The locale the programs start in (zh_CN.UTF-8: Chinese)."),
        QStringLiteral("NAME"), QStringLiteral("C.UTF-8"));
    parser.addOptions({count, json, window, runs, clicks, idle, program, peer, lots, locale});
    parser.process(app);

    BenchFigures figures;
    const QString loadBefore = LoadAverage();
    if (const int n = parser.value(count).toInt(); n > 0)
        figures.sessions = RunSessions(n, std::max(0, parser.value(lots).toInt()));
    if (parser.isSet(window)) {
        WindowOptions options;
        options.program = parser.value(program);
        options.runs = std::max(1, parser.value(runs).toInt());
        options.idleSeconds = std::max(1, parser.value(idle).toInt());
        options.clicks = std::max(1, parser.value(clicks).toInt());
        options.peers = parser.values(peer);
        options.locale = parser.value(locale);
        figures.window = RunWindow(options);
    }
    figures.machine = QStringLiteral("%1, %2 cores; load average %3 before, %4 after")
                          .arg(Processor())
                          .arg(QThread::idealThreadCount())
                          .arg(loadBefore, LoadAverage());

    QTextStream out(stdout);
    if (parser.isSet(json))
        out << QJsonDocument(JsonReport(figures)).toJson();
    else
        out << MarkdownReport(figures);
    const bool failed = (figures.sessions && !figures.sessions->error.isEmpty());
    return failed ? 1 : 0;
}
