#include "WindowBench.h"

#include "Exchanges.h"
#include "RadioThread.h"
#include "XDisplay.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <mutex>
#include <thread>
#include <utility>

namespace {

using Clock = XDisplay::Clock;
using namespace std::chrono_literals;

// Qt serial terminals that Debian packages; whichever is installed is measured.
struct Peer
{
    const char* name;
    const char* path;
};
constexpr std::array<Peer, 2> KnownPeers{{
    {"cutecom", "/usr/bin/cutecom"},
    {"Qt 5 serial terminal example", "/usr/lib/x86_64-linux-gnu/qt5/examples/serialport/terminal/terminal"},
}};

// Where the Read button's middle lies, in twips from the window's corner: the frame's top edge plus
// the button's place and half its size, as the window lays them out.
constexpr double WindowWidthTwips = 9315;
constexpr double ReadButtonX = 7200 + 1455 / 2.0;
constexpr double ReadButtonY = 120 + 1800 + 375 / 2.0;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// stderrFd: where the program's standard error goes; /dev/null when none.
pid_t Spawn(const QString& path, const QByteArrayList& environment, int stderrFd = -1)
{
    QList<char*> env;
    for (const QByteArray& entry : environment)
        env << const_cast<char*>(entry.constData());
    env << nullptr;
    const QByteArray file = QFile::encodeName(path);
    char* argv[] = {const_cast<char*>(file.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    if (stderrFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stderrFd, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, file.constData(), &actions, nullptr, argv, env.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void Stop(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        std::this_thread::sleep_for(10ms);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

std::optional<qint64> ResidentKiB(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return std::nullopt;
}

// Processor time of all the process's threads, to the nanosecond (the scheduler's own count).
std::optional<double> CpuNs(pid_t pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (ids.isEmpty())
        return std::nullopt;
    double ns = 0;
    for (const QString& id : ids) {
        QFile stat(tasks.filePath(id + QStringLiteral("/schedstat")));
        if (!stat.open(QIODevice::ReadOnly))
            return std::nullopt;
        ns += stat.readAll().split(' ').first().toDouble();
    }
    return ns;
}

// utime + stime from /proc/PID/stat, in clock ticks: the coarse count that `top` shows.
std::optional<qint64> CpuTicks(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return std::nullopt;
    return fields[11].toLongLong() + fields[12].toLongLong(); // fields 14 and 15 of the line
}

// The program's standard error, read line by line as it comes. Its trace lines tell when its steps
// were done: each starts with the monotonic clock's milliseconds (Qt's "time boot"), the clock of
// the other figures; a line without that is taken at the time it came.
class TraceReader
{
public:
    TraceReader()
    {
        if (::pipe2(fds.data(), O_CLOEXEC) != 0)
            return;
        reader = std::thread([this] { Read(); });
    }
    ~TraceReader()
    {
        CloseWriteEnd();
        if (reader.joinable())
            reader.join();
        if (fds[0] >= 0)
            ::close(fds[0]);
    }
    TraceReader(const TraceReader&) = delete;
    TraceReader& operator=(const TraceReader&) = delete;

    int WriteEnd() const { return fds[1]; }
    // Once the program has it: the reader then sees the end when the program ends.
    void CloseWriteEnd()
    {
        if (fds[1] >= 0)
            ::close(std::exchange(fds[1], -1));
    }
    struct Line
    {
        Clock::time_point at;
        QByteArray text;
    };
    QList<Line> Take()
    {
        const std::lock_guard lock(mutex);
        return std::exchange(lines, {});
    }

private:
    void Read()
    {
        QByteArray partial;
        std::array<char, 4096> buffer{};
        for (;;) {
            const ssize_t n = ::read(fds[0], buffer.data(), buffer.size());
            if (n <= 0)
                return;
            const Clock::time_point now = Clock::now();
            partial.append(buffer.data(), n);
            const std::lock_guard lock(mutex);
            for (qsizetype end = partial.indexOf('\n'); end >= 0; end = partial.indexOf('\n')) {
                const QByteArray line = partial.left(end);
                partial.remove(0, end + 1);
                bool stamped = false;
                const Clock::time_point at(std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(line.trimmed().split(' ').first().toDouble(&stamped))));
                // Qt keeps the milliseconds in 32 bits: after 49 days they wrap, and the time it came
                // is the better figure.
                stamped = stamped && at <= now && now - at < 1s;
                // A whole millisecond was written: the step lies, on average, in its middle.
                lines.append({stamped ? at + 500us : now, line});
            }
        }
    }

    std::array<int, 2> fds{-1, -1};
    std::thread reader;
    std::mutex mutex;
    QList<Line> lines;
};

// The program's trace lines that mark a step of a read, the first of each after the click.
constexpr std::array<std::pair<ReadClick::Point, const char*>, 7> TraceMarks{{
    {ReadClick::Pressed, "ms Read pressed"},
    {ReadClick::PortOpened, "ms opened "},
    {ReadClick::CoreEnd, "session complete"},
    {ReadClick::PortClosed, "ms closed "},
    {ReadClick::RecordShown, "tangelo.window: record read"},
    {ReadClick::Finished, "tangelo.window: session finished"},
    {ReadClick::BoxBuilt, "tangelo.window: message box built"},
}};

struct Setting
{
    QTemporaryDir root;
    QByteArrayList environment;
    QString ours; // the copy of the program, beside its settings file and alias folder
};

bool Prepare(Setting& setting, const WindowOptions& options, const XDisplay& display,
             const RadioThread& radio, QString& error)
{
    const QString dir = setting.root.path();
    for (const char* sub : {"home", "run", "program/dosdevices"})
        QDir(dir).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(dir + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setting.ours = dir + QStringLiteral("/program/TANGELO_Tune");
    if (!QFile::copy(options.program, setting.ours)) {
        error = QStringLiteral("cannot copy %1").arg(options.program);
        return false;
    }
    // The virtual radio as COM900, remembered as the chosen port, as scripts/run.sh sets it up.
    QFile::link(radio.DevicePath(), dir + QStringLiteral("/program/dosdevices/com900"));
    QFile ini(dir + QStringLiteral("/program/mysetup.ini"));
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[language]\ncomPort=900\n") < 0) {
        error = QStringLiteral("cannot write %1").arg(ini.fileName());
        return false;
    }
    const QByteArray root = QFile::encodeName(dir);
    setting.environment = {
        "DISPLAY=" + display.Name().toLatin1(),
        "QT_QPA_PLATFORM=xcb",
        "HOME=" + root + "/home",
        "XDG_RUNTIME_DIR=" + root + "/run",
        // No session bus: every program fails to reach it at once, none starts one.
        "DBUS_SESSION_BUS_ADDRESS=unix:path=" + root + "/no-bus",
        "PATH=/usr/bin:/bin",
        "LANG=" + options.locale.toLatin1(),
        "LC_ALL=" + options.locale.toLatin1(),
    };
    return true;
}

// One start: the process's start to the first drawing into its window.
std::optional<double> StartOnce(XDisplay& display, const QString& path, const Setting& setting, pid_t& pid)
{
    display.Reset();
    const Clock::time_point start = Clock::now();
    pid = Spawn(path, setting.environment);
    if (pid <= 0)
        return std::nullopt;
    const auto painted = display.WaitForFirstPaint(start + 30s);
    if (!painted)
        return std::nullopt;
    return Ms(painted->paintedAt - start);
}

// One read pressed on the Read button, to its message box's first paint; the box is then closed.
std::optional<ReadClick> ClickRead(XDisplay& display, RadioThread& radio, TraceReader& trace,
                                   const XDisplay::Geometry& geometry, pid_t pid,
                                   std::optional<qint64>& resident)
{
    const double scale = geometry.width / WindowWidthTwips;
    display.Reset();
    radio.TakeTraces();
    trace.Take();
    const Clock::time_point pressed = Clock::now();
    display.Click(geometry.x + int(ReadButtonX * scale), geometry.y + int(ReadButtonY * scale));
    // The read ends with its message box, a window of its own.
    const auto box = display.WaitForMap(pressed + 20s);
    if (!box)
        return std::nullopt;
    if (!resident)
        resident = ResidentKiB(pid);
    const auto painted = display.WaitForPaintOf(box->id, Clock::now() + 5s);
    ReadClick click;
    const auto since = [&](Clock::time_point t) { return Ms(t - pressed); };
    click.at[ReadClick::BoxCreated] = since(box->createdAt);
    click.at[ReadClick::BoxMapped] = since(box->mappedAt);
    if (painted)
        click.at[ReadClick::BoxPainted] = since(painted->paintedAt);
    // What the radio saw; a read that needed a second try has no regular wire figures.
    const SessionTiming wire = AnalyseSession(radio.TakeTraces(), pressed, box->mappedAt);
    click.wireFloorMs = wire.wireFloorMs;
    if (wire.regular) {
        click.at[ReadClick::FirstByte] = wire.startUs / 1000.0;
        click.at[ReadClick::LastByte] = (wire.startUs / 1000.0) + wire.exchangesMs;
    }
    // The box is closed as a window manager closes it; its trace lines have all come by then.
    display.CloseWindow(box->id, Clock::now() + 5s);
    for (const TraceReader::Line& line : trace.Take()) {
        for (const auto& [point, mark] : TraceMarks) {
            if (!click.at[point] && line.at >= pressed && line.text.contains(mark))
                click.at[point] = since(line.at);
        }
    }
    return click;
}

// Ours, once more: idle for a while, then reads pressed on its Read button.
void MeasureOurs(XDisplay& display, RadioThread& radio, const Setting& setting, const WindowOptions& options,
                 WindowRuns& runs)
{
    ProgramStartups& ours = runs.programs.first();
    QStringList& notes = runs.notes;
    pid_t pid = -1;
    display.Reset();
    // Its trace on, to tell where a read's time goes.
    QByteArrayList environment = setting.environment;
    environment << "QT_LOGGING_RULES=tangelo.link.debug=true;tangelo.window.debug=true"
                << "QT_MESSAGE_PATTERN=%{time boot} %{category}: %{message}";
    TraceReader trace;
    pid = Spawn(setting.ours, environment, trace.WriteEnd());
    trace.CloseWriteEnd();
    const auto painted = pid > 0 ? display.WaitForFirstPaint(Clock::now() + 30s) : std::nullopt;
    if (!painted) {
        notes << QStringLiteral("The program's window did not appear: no idle or memory figures.");
        Stop(pid);
        return;
    }
    std::this_thread::sleep_for(3s); // start-up's last work done
    const auto cpu0 = CpuNs(pid);
    const auto ticks0 = CpuTicks(pid);
    const Clock::time_point wall0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(options.idleSeconds));
    const auto cpu1 = CpuNs(pid);
    const auto ticks1 = CpuTicks(pid);
    const double wallNs = std::chrono::duration<double, std::nano>(Clock::now() - wall0).count();
    if (cpu0 && cpu1)
        ours.idleCpuPercent = (*cpu1 - *cpu0) / wallNs * 100.0;
    notes << (::access("/run/udev/control", F_OK) == 0
                  ? QStringLiteral("The port list learns of serial devices from udev's monitor.")
                  : QStringLiteral("No udev here: the port list lists the tty class folder at each tick."));
    if (ticks0 && ticks1)
        notes << QStringLiteral("Idle: %1 clock ticks of /proc/PID/stat in %2 s (a tick is %3 ms).")
                     .arg(*ticks1 - *ticks0)
                     .arg(options.idleSeconds)
                     .arg(1000 / ::sysconf(_SC_CLK_TCK));

    if (const auto geometry = display.WindowGeometry(painted->id)) {
        for (int i = 0; i < options.clicks; ++i) {
            const auto click = ClickRead(display, radio, trace, *geometry, pid, ours.residentKiB);
            if (!click) {
                notes << (runs.clicks.isEmpty()
                              ? QStringLiteral("The read's message box did not appear: no memory figure.")
                              : QStringLiteral("Read %1's message box did not appear.").arg(i + 1));
                break;
            }
            runs.clicks << *click;
            std::this_thread::sleep_for(300ms); // the box's end done before the next press
        }
    }
    // The first read, as one click measured it before the others were added.
    if (!runs.clicks.isEmpty())
        notes << QStringLiteral("A read in the window, from the click to its message box: %1 ms.")
                     .arg(QString::number(runs.clicks.first().ClickToBoxMs(), 'f', 1));
    Stop(pid);
}

} // namespace

const char* ReadClick::PointName(int point)
{
    static constexpr std::array<const char*, PointCount> names{
        "read_pressed",      "port_opened",        "first_byte_at_radio", "last_reply_byte",
        "session_complete",  "port_closed",        "record_shown",        "session_finished",
        "message_box_built", "box_window_created", "box_mapped",          "box_painted"};
    return names.at(size_t(point));
}

const char* ReadClick::PointText(int point)
{
    static constexpr std::array<const char*, PointCount> texts{
        "session started (core)",     "port opened (core)",
        "first byte at the radio",    "last reply byte",
        "session complete (core)",    "port closed (core)",
        "record shown (window)",      "session's end heard (window)",
        "message box built (window)", "box window made (X server)",
        "box mapped (X server)",      "box first painted (X server)"};
    return texts.at(size_t(point));
}

std::optional<double> ProgramStartups::MedianMs() const
{
    if (paintMs.isEmpty())
        return std::nullopt;
    return Median(paintMs);
}

std::optional<double> WindowRuns::StartupRatio() const
{
    std::optional<double> ours;
    std::optional<double> fastestPeer;
    for (const ProgramStartups& p : programs) {
        const auto median = p.MedianMs();
        if (!median)
            continue;
        if (p.ours)
            ours = median;
        else if (!fastestPeer || *median < *fastestPeer)
            fastestPeer = median;
    }
    if (!ours || !fastestPeer)
        return std::nullopt;
    return *ours / *fastestPeer;
}

WindowRuns RunWindow(const WindowOptions& options)
{
    WindowRuns runs;
    runs.idleSeconds = options.idleSeconds;
    if (!QFileInfo(options.program).isExecutable()) {
        runs.error = QStringLiteral("No program at %1.").arg(options.program);
        return runs;
    }
    XDisplay display;
    if (!display.Ready()) {
        runs.error = QStringLiteral("No window figures: ") + display.Error() + u'.';
        return runs;
    }
    RadioThread radio;
    Setting setting;
    QString error;
    if (!radio.IsOpen() || !Prepare(setting, options, display, radio, error)) {
        runs.error = radio.IsOpen() ? error : radio.ErrorString();
        return runs;
    }
    runs.programs.append({QStringLiteral("TANGELO_Tune"), options.program, true, {}, {}, {}});
    for (const Peer& known : KnownPeers) {
        const QString path = QString::fromLatin1(known.path);
        if (QFileInfo(path).isExecutable() && !options.peers.contains(path))
            runs.programs.append({QString::fromLatin1(known.name), path, false, {}, {}, {}});
    }
    for (const QString& peer : options.peers)
        runs.programs.append({QFileInfo(peer).fileName(), peer, false, {}, {}, {}});

    // Taken in turns, so that the machine's load falls on all alike; the first round warms the
    // file cache and is not counted.
    for (int round = 0; round <= options.runs; ++round) {
        for (ProgramStartups& program : runs.programs) {
            pid_t pid = -1;
            const auto ms = StartOnce(display, program.ours ? setting.ours : program.path, setting, pid);
            if (ms && round > 0)
                program.paintMs << *ms;
            if (ms && round == options.runs && !program.ours) {
                std::this_thread::sleep_for(1s);
                program.residentKiB = ResidentKiB(pid);
            }
            Stop(pid);
        }
    }
    for (const ProgramStartups& program : runs.programs) {
        if (program.paintMs.isEmpty())
            runs.notes << QStringLiteral("%1 showed no window.").arg(program.name);
    }
    if (runs.programs.size() > 1)
        runs.notes << QStringLiteral(
            "A peer's memory is taken 1 s after its first paint, with nothing read.");
    MeasureOurs(display, radio, setting, options, runs);
    return runs;
}
