#include "RadioOptions.h"

#include <QCommandLineParser>

namespace {

bool ToCount(const QString& text, int& value, int minimum)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= minimum;
}

} // namespace

bool ParseRadioOptions(const QStringList& arguments, RadioOptions& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a radio on a pseudo-terminal (or a serial device) for TANGELO_Tune. Prints the "
                       "device path as its first line, then answers until SIGTERM or SIGINT.\n"
                       "Frame numbers count the frames received, from 0."));
    parser.addHelpOption();
    const QCommandLineOption device("device", "Use this serial device instead of a pseudo-terminal.", "PATH");
    const QCommandLineOption identity("identity", "Identity string, up to 7 characters (RZ614UV).", "ID");
    const QCommandLineOption band("band", "Band byte, 0 to 255 (image byte 7).", "N");
    const QCommandLineOption image("image", "Load the 256-byte image from this file.", "FILE");
    const QCommandLineOption save("save", "Save the image here after each block write and at exit.", "FILE");
    const QCommandLineOption silentFrom("silent-from", "Answer nothing from frame N on.", "N");
    const QCommandLineOption nak("nak", "Answer frame N with the negative reply.", "N");
    const QCommandLineOption badChecksum("bad-checksum", "Corrupt the checksum of the reply to frame N.",
                                         "N");
    const QCommandLineOption strayByte("stray-byte", "Append a stray byte to the reply to frame N.", "N");
    const QCommandLineOption wrongBlock("wrong-block", "Answer read request N with block number B.", "N:B");
    const QCommandLineOption ignoreEnd("ignore-end", "Do not acknowledge the end command.");
    const QCommandLineOption delay("delay", "Wait MS milliseconds before each reply.", "MS");
    const QCommandLineOption pace("pace", "Send at the 115200-baud wire rate.");
    const QCommandLineOption hangUp("hang-up", "Hang up when frame N arrives.", "N");
    const QCommandLineOption verbose("verbose", "Print every frame received and every reply.");
    parser.addOptions({device, identity, band, image, save, silentFrom, nak, badChecksum, strayByte,
                       wrongBlock, ignoreEnd, delay, pace, hangUp, verbose});
    if (!parser.parse(arguments)) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet("help"))
        parser.showHelp(0);
    if (!parser.positionalArguments().isEmpty()) {
        error = QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().first());
        return false;
    }

    options.device = parser.value(device);
    options.imageFile = parser.value(image);
    options.saveFile = parser.value(save);
    options.verbose = parser.isSet(verbose);
    options.faults.ignoreEnd = parser.isSet(ignoreEnd);
    options.faults.paceOutput = parser.isSet(pace);
    if (parser.isSet(identity)) {
        options.identity = parser.value(identity).toLatin1();
        if (options.identity.size() > 7) {
            error = QStringLiteral("--identity takes at most 7 characters");
            return false;
        }
    }
    if (parser.isSet(band)) {
        int value = 0;
        if (!ToCount(parser.value(band), value, 0) || value > 255) {
            error = QStringLiteral("--band takes a number from 0 to 255");
            return false;
        }
        options.band = uint8_t(value);
    }

    const std::pair<const QCommandLineOption*, int*> frameOptions[] = {
        {&silentFrom, &options.faults.silentFromFrame},   {&nak, &options.faults.nakFrame},
        {&badChecksum, &options.faults.badChecksumFrame}, {&strayByte, &options.faults.strayByteFrame},
        {&hangUp, &options.faults.hangUpAtFrame},         {&delay, &options.faults.replyDelayMs},
    };
    for (const auto& [option, target] : frameOptions) {
        if (parser.isSet(*option) && !ToCount(parser.value(*option), *target, 0)) {
            error = QStringLiteral("--%1 takes a number of 0 or more").arg(option->names().first());
            return false;
        }
    }
    if (parser.isSet(wrongBlock)) {
        const QStringList parts = parser.value(wrongBlock).split(':');
        int frame = 0;
        int block = 0;
        if (parts.size() != 2 || !ToCount(parts[0], frame, 0) || !ToCount(parts[1], block, 0) ||
            block > 255) {
            error = QStringLiteral("--wrong-block takes FRAME:BLOCK, e.g. 3:9");
            return false;
        }
        options.faults.wrongBlockFrame = frame;
        options.faults.wrongBlockNumber = block;
    }
    return true;
}
