#include "SessionBench.h"

#include "SessionDriver.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// One press, in a real event loop until its closing message: a test's wait would sleep between
// passes and add its own milliseconds.
QString RunOne(RadioThread& radio, SessionDriver& driver, bool write, QList<SessionTiming>& into)
{
    radio.TakeTraces(); // whatever came before
    QEventLoop loop;
    QString closing;
    BenchClock::time_point finished;
    const auto done = [&](const QString& text) {
        finished = BenchClock::now();
        closing = text;
        loop.quit();
    };
    QTimer::singleShot(30'000, &loop, [&] {
        closing = QStringLiteral("no closing message within 30 s");
        loop.quit();
    });
    const BenchClock::time_point pressed = BenchClock::now();
    write ? driver.Write(done) : driver.Read(done);
    loop.exec();
    const QString expected = write ? QStringLiteral("Write Complete!") : QStringLiteral("Read Complete!");
    if (closing != expected)
        return closing;
    into << AnalyseSession(radio.TakeTraces(), pressed, finished);
    return {};
}

} // namespace

SessionRuns RunSessions(int count, int lotMs)
{
    SessionRuns runs;
    runs.lotMs = lotMs;
    RadioThread radio;
    if (!radio.IsOpen()) {
        runs.error =
            QStringLiteral("The virtual radio could not open a pseudo-terminal: ") + radio.ErrorString();
        return runs;
    }
    SessionDriver driver(radio.DevicePath());
    // A first read fills the record that the writes send back, and warms up what a first run loads.
    QList<SessionTiming> warmUp;
    if (const QString failure = RunOne(radio, driver, false, warmUp); !failure.isEmpty()) {
        runs.error = QStringLiteral("The first read failed: ") + failure;
        return runs;
    }
    for (int i = 0; i < count; ++i) {
        for (const bool write : {false, true}) {
            const QString failure = RunOne(radio, driver, write, write ? runs.writes : runs.reads);
            if (!failure.isEmpty())
                runs.failures << failure;
        }
    }
    if (lotMs <= 0)
        return runs;
    radio.SetLots(lotMs);
    for (int i = 0; i < count; ++i) {
        for (const bool lowLatency : {true, false}) {
            driver.SetLowLatency(lowLatency);
            const QString failure =
                RunOne(radio, driver, false, lowLatency ? runs.lotReads : runs.lotReadsPlain);
            if (!failure.isEmpty())
                runs.failures << failure;
        }
    }
    driver.SetLowLatency(true);
    radio.SetLots(0);
    return runs;
}
