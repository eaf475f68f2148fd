#include "SessionDriver.h"

#include "link/RadioSession.h"

#include <utility>

namespace {
constexpr int16_t BenchPort = 1;

// The closing message the window would show for this outcome.
QString ClosingText(const SessionOutcome& outcome)
{
    const bool read = outcome.Mode == SessionMode::Read;
    if (outcome.Result == SessionResult::Complete)
        return read ? QStringLiteral("Read Complete!") : QStringLiteral("Write Complete!");
    return read ? QStringLiteral("Read Failure!") : QStringLiteral("Write Failure!");
}
} // namespace

struct SessionDriver::Parts
{
    RadioSession session;
    std::function<void(const QString&)> done;
};

SessionDriver::SessionDriver(const QString& devicePath) : d(std::make_unique<Parts>())
{
    d->session.SetPortResolver(
        [devicePath](int16_t number) { return number == BenchPort ? devicePath : QString(); });
    // A write sends the record as the last read left it, every text field as the radio holds it.
    d->session.SetWriteFieldsQuestion([](const RadioInfoRecord& radioInfo, const InfoImageType&) {
        return WriteDecision{false, radioInfo, TextFieldSet{}};
    });
    QObject::connect(&d->session, &RadioSession::finished, &d->session,
                     [this](const SessionOutcome& outcome) {
                         if (d->done)
                             std::exchange(d->done, nullptr)(ClosingText(outcome));
                     });
}

SessionDriver::~SessionDriver()
{
    d->session.Abandon();
}

void SessionDriver::Read(std::function<void(const QString&)> done)
{
    d->done = std::move(done);
    d->session.startRead(BenchPort);
}

void SessionDriver::SetLowLatency(bool on)
{
    d->session.MSComm1.LowLatency = on;
}

void SessionDriver::Write(std::function<void(const QString&)> done)
{
    d->done = std::move(done);
    // The radio type a write names is the one the last read found.
    d->session.startWrite(BenchPort, d->session.RadioInfo().Model);
}
