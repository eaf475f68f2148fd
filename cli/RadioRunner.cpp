#include "cli/RadioRunner.h"

#include <QEventLoop>

#include <optional>
#include <utility>

QString PortChoice::Name() const
{
    return Device.isEmpty() ? QStringLiteral("COM%1").arg(Number) : Device;
}

RadioRunner::RadioRunner(const CliContext& context, PortChoice choice)
    : port(std::move(choice)), session(nullptr, context.timings)
{
    session.SetCodePage(context.codePage);
    session.SetPortSource(port.Source);
    if (context.status != nullptr)
        notice.emplace(*context.status, context.statusAfter, port.Name(), session);
    if (port.Device.isEmpty())
        session.SetPortResolver(
            [settings = context.settings](int16_t number) { return settings.DevicePathForComPort(number); });
    else
        session.SetPortResolver([device = port.Device](int16_t) { return device; });
}

SessionOutcome RadioRunner::Run(const std::function<void()>& start)
{
    std::optional<SessionOutcome> outcome;
    QEventLoop loop;
    const auto connection = QObject::connect(&session, &RadioSession::finished, &loop,
                                             [&outcome, &loop](const SessionOutcome& ended) {
                                                 outcome = ended;
                                                 loop.quit();
                                             });
    start();
    if (!outcome)
        loop.exec();
    QObject::disconnect(connection);
    return *outcome;
}

ReadResult RadioRunner::Read()
{
    ReadResult result;
    const auto connection =
        QObject::connect(&session, &RadioSession::recordRead,
                         [&result](const RadioInfoRecord& record, const InfoImageType& image) {
                             result.Record = record;
                             result.Image = image;
                         });
    result.Outcome = Run([this] { session.startRead(port.Number); });
    QObject::disconnect(connection);
    return result;
}

SessionOutcome RadioRunner::Write(const QString& radioType, RadioSession::WriteFieldsQuestion question,
                                  RadioSession::BackupWriter backup)
{
    session.SetWriteFieldsQuestion(std::move(question));
    const bool required = static_cast<bool>(backup);
    session.SetBackupWriter(std::move(backup), required);
    const SessionOutcome outcome = Run([this, &radioType] { session.startWrite(port.Number, radioType); });
    // What they hold belongs to this write.
    session.SetWriteFieldsQuestion({});
    session.SetBackupWriter({}, false);
    return outcome;
}

CheckResult RadioRunner::Check()
{
    CheckResult result;
    result.Outcome = Run([this] { session.startCheck(port.Number); });
    result.Identity = session.CheckedIdentity();
    result.Band = session.CheckedBand();
    result.EndAnswered = session.EndAnswered();
    return result;
}
