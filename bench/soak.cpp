// Soak: many read and write sessions through the real session code (the serial link, the presses,
// the window hooks, no window) against the virtual radio on a pseudo-terminal. Reports the failures,
// and the resident memory and open descriptors at the start, after a warm-up and at the end, so that
// a leak shows as growth after the warm-up.
//
// Usage: tangelo_soak [READS [WRITES]]   (1000 and 300 by default; the writes are spread among the reads)
#include "data/ModData.h"
#include "link/RadioSession.h"
#include "VirtualRadio.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int16_t SoakPort = 900;
constexpr int SessionTimeoutMs = 15000;
constexpr int WarmUpSessions = 50;
constexpr int SellerAt = 128, SellerWidth = 16;
constexpr int WrittenBytes = 160; // blocks 0 to 4

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

long OpenDescriptors()
{
    return long(QDir(QStringLiteral("/proc/self/fd"))
                    .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                    .size());
}

void Report(const char* when, int sessions)
{
    std::printf("%-10s %8d %10ld %6ld\n", when, sessions, ResidentKiB(), OpenDescriptors());
    std::fflush(stdout);
}

struct Counts
{
    int reads = 0, readFailures = 0, readWrongData = 0;
    int writes = 0, writeFailures = 0, writeWrongData = 0;
};

class Soak
{
public:
    bool Start()
    {
        radio.SetDefaultImage();
        radio.SetIdentity("RZ614UV");
        radio.SetBandByte(3);
        if (!radio.OpenPty()) {
            std::fprintf(stderr, "virtual radio: %s\n", qPrintable(radio.ErrorString()));
            return false;
        }
        session.SetPortResolver(
            [this](int16_t number) { return number == SoakPort ? radio.DevicePath() : QString(); });
        QObject::connect(&session, &RadioSession::finished, &loop, [this](const SessionOutcome& outcome) {
            lastResult = outcome.Result;
            ended = true;
            loop.quit();
        });
        session.SetWriteFieldsQuestion([this](const RadioInfoRecord& radioInfo, const InfoImageType&) {
            RadioInfoRecord fields = radioInfo;
            fields.Seller = seller;
            return WriteDecision{false, fields, TextFieldSet::All()};
        });
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        return true;
    }

    QString DevicePath() const { return radio.DevicePath(); }

    void Read(Counts& counts)
    {
        ++counts.reads;
        if (!Run(false))
            ++counts.readFailures;
        else if (session.InfoImage() != radio.Image())
            ++counts.readWrongData;
    }

    void Write(Counts& counts, int number)
    {
        ++counts.writes;
        seller = QStringLiteral("SOAK%1").arg(number);
        if (!Run(true)) {
            ++counts.writeFailures;
            return;
        }
        const auto& image = radio.Image();
        const QByteArray stored(reinterpret_cast<const char*>(image.data()) + SellerAt, SellerWidth);
        const InfoImageType& written = session.InfoImage();
        if (!std::equal(written.begin(), written.begin() + WrittenBytes, image.begin()) ||
            !stored.startsWith(seller.toLatin1()))
            ++counts.writeWrongData;
    }

private:
    bool Run(bool write)
    {
        ended = false;
        radio.ClearTrace(); // the radio's record of frames would otherwise grow with every session
        if (write)
            session.startWrite(SoakPort, QStringLiteral("TANGELOUV"));
        else
            session.startRead(SoakPort);
        if (!ended) {
            timeout.start(SessionTimeoutMs);
            loop.exec();
            timeout.stop();
        }
        const bool complete = ended && lastResult == SessionResult::Complete;
        if (!complete)
            std::fprintf(stderr, "%s did not complete%s\n", write ? "write" : "read",
                         ended ? "" : " in time");
        return complete;
    }

    VirtualRadio radio;
    RadioSession session;
    QEventLoop loop;
    QTimer timeout;
    bool ended = false;
    SessionResult lastResult = SessionResult::Complete;
    QString seller;
};

int Count(int argc, char** argv, int index, int fallback)
{
    return argc > index ? std::max(0, std::atoi(argv[index])) : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int reads = Count(argc, argv, 1, 1000);
    const int writes = Count(argc, argv, 2, 300);
    const int sessions = reads + writes;

    Soak soak;
    if (!soak.Start())
        return 2;
    std::printf("virtual radio on %s: %d reads, %d writes\n", qPrintable(soak.DevicePath()), reads, writes);
    std::printf("%-10s %8s %10s %6s\n", "", "sessions", "rss_KiB", "fds");
    Report("start", 0);

    Counts counts;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < sessions; ++i) {
        // Session i is a write when the share of writes so far falls behind. With any reads at all the
        // first session is a read, so that a write starts from a decoded record as in the program.
        const bool write = (long(i) + 1) * writes / sessions > long(i) * writes / sessions;
        if (write)
            soak.Write(counts, i);
        else
            soak.Read(counts);
        if (i + 1 == WarmUpSessions)
            Report("warm", i + 1);
    }
    Report("end", sessions);

    const double seconds = double(clock.elapsed()) / 1000.0;
    std::printf("reads:  %d, failed %d, wrong data %d\n", counts.reads, counts.readFailures,
                counts.readWrongData);
    std::printf("writes: %d, failed %d, wrong data %d\n", counts.writes, counts.writeFailures,
                counts.writeWrongData);
    std::printf("time:   %.1f s, %.1f ms per session\n", seconds,
                sessions ? seconds * 1000.0 / sessions : 0.0);
    const int failures =
        counts.readFailures + counts.readWrongData + counts.writeFailures + counts.writeWrongData;
    return failures == 0 ? 0 : 1;
}
