// virtual_radio: a stand-in radio for trying the program without hardware. See --help.
#include "ImageSaver.h"
#include "QuitOnSignals.h"
#include "RadioOptions.h"
#include "VirtualRadio.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

void PrintLine(std::FILE* stream, const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stream);
    std::fflush(stream);
}

QString Describe(const VirtualRadioTraceEntry& entry)
{
    if (!entry.recognised)
        return QStringLiteral("unrecognised");
    switch (uint8_t(entry.frame[0])) {
    case 0x50:
        return QStringLiteral("program command");
    case 0x02:
        return QStringLiteral("identity request");
    case 0x52:
        return QStringLiteral("read block %1").arg(uint8_t(entry.frame[4]));
    case 0x57:
        return QStringLiteral("write block %1").arg(uint8_t(entry.frame[4]));
    case 0x45:
        return QStringLiteral("end command");
    }
    return {};
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("virtual_radio"));

    RadioOptions options;
    QString error;
    if (!ParseRadioOptions(app.arguments(), options, error)) {
        PrintLine(stderr, QStringLiteral("virtual_radio: %1").arg(error));
        return 2;
    }

    VirtualRadio radio;
    radio.SetIdentity(options.identity);
    if (!options.imageFile.isEmpty() && !radio.LoadImage(options.imageFile)) {
        PrintLine(stderr, QStringLiteral("virtual_radio: %1").arg(radio.ErrorString()));
        return 1;
    }
    if (options.band)
        radio.SetBandByte(*options.band);
    radio.SetFaults(options.faults);

    const bool opened = options.device.isEmpty() ? radio.OpenPty() : radio.OpenDevice(options.device);
    if (!opened) {
        PrintLine(stderr, QStringLiteral("virtual_radio: cannot open: %1").arg(radio.ErrorString()));
        return 1;
    }
    PrintLine(stdout, radio.DevicePath()); // first line: scripts read the device path from it

    std::optional<ImageSaver> saver;
    if (!options.saveFile.isEmpty()) {
        saver.emplace(options.saveFile, [path = options.saveFile] {
            PrintLine(stderr, QStringLiteral("virtual_radio: cannot save %1").arg(path));
        });
        // Saved on the saver's thread, so the acknowledgement never waits for the disk.
        QObject::connect(&radio, &VirtualRadio::BlockWritten, &app, [&] { saver->Save(radio.Image()); });
    }
    auto finish = [&] {
        if (saver) {
            saver->Save(radio.Image());
            saver->Finish();
        }
        radio.Close();
        app.exit(0);
    };
    QObject::connect(&radio, &VirtualRadio::HungUp, &app, [&] {
        PrintLine(stderr, QStringLiteral("virtual_radio: hung up"));
        finish();
    });
    if (options.verbose) {
        QObject::connect(&radio, &VirtualRadio::TraceAdded, &app, [](const VirtualRadioTraceEntry& entry) {
            PrintLine(stdout, QStringLiteral("%1 ms  in   %2  %3")
                                  .arg(entry.ms, 7)
                                  .arg(QString::fromLatin1(entry.frame.toHex(' ')), Describe(entry)));
        });
        QObject::connect(&radio, &VirtualRadio::ReplyQueued, &app, [](const QByteArray& reply) {
            PrintLine(stdout, QStringLiteral("        out  %1").arg(QString::fromLatin1(reply.toHex(' '))));
        });
    }
    if (!QuitOnSignals(finish)) {
        PrintLine(stderr, QStringLiteral("virtual_radio: cannot install signal handlers"));
        return 1;
    }
    return app.exec();
}
