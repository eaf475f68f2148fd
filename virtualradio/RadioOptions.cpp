#include "RadioOptions.h"

#include <QCommandLineParser>

namespace {

bool ToCount(const QString& text, int& value, int minimum)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= minimum;
}

// Every value of a repeatable option, each of which may also be a comma list: "--nak 2,5 --nak 7".
QStringList ListItems(const QCommandLineParser& parser, const QCommandLineOption& option)
{
    QStringList items;
    for (const QString& value : parser.values(option))
        items += value.split(u',');
    return items;
}

bool ToFrameList(const QStringList& items, QList<int>& frames)
{
    for (const QString& item : items) {
        int frame = 0;
        if (!ToCount(item, frame, 0))
            return false;
        frames.append(frame);
    }
    return true;
}

// FRAME:BLOCK pairs; a frame named twice would leave one of its blocks unused.
bool ToWrongBlocks(const QStringList& items, QMap<int, int>& blocks)
{
    for (const QString& item : items) {
        const QStringList parts = item.split(u':');
        int frame = 0;
        int block = 0;
        if (parts.size() != 2 || !ToCount(parts[0], frame, 0) || !ToCount(parts[1], block, 0) ||
            block > 255 || blocks.contains(frame))
            return false;
        blocks.insert(frame, block);
    }
    return true;
}

} // namespace

bool ParseRadioOptions(const QStringList& arguments, RadioOptions& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Plays a radio on a pseudo-terminal (or a serial device) for TANGELO_Tune. Prints the "
                       "device path as its first line, then answers until SIGTERM or SIGINT.\n"
                       "Frame numbers count the frames received, from 0. An option that takes frames "
                       "takes a comma list and may be given again: --nak 2,5 --nak 7."));
    parser.addHelpOption();
    const QCommandLineOption device("device", "Use this serial device instead of a pseudo-terminal.", "PATH");
    const QCommandLineOption identity("identity", "Identity string, up to 7 characters (RZ614UV).", "ID");
    const QCommandLineOption band("band", "Band byte, 0 to 255 (image byte 7).", "N");
    const QCommandLineOption image("image", "Load the 256-byte image from this file.", "FILE");
    const QCommandLineOption save("save", "Save the image here after each block write and at exit.", "FILE");
    const QCommandLineOption silentFrom("silent-from", "Answer nothing from frame N on.", "N");
    const QCommandLineOption nak("nak", "Answer these frames with the negative reply.", "FRAMES");
    const QCommandLineOption badChecksum("bad-checksum",
                                         "Corrupt the checksum of the replies to these frames.", "FRAMES");
    const QCommandLineOption strayByte("stray-byte", "Append a stray byte to the replies to these frames.",
                                       "FRAMES");
    const QCommandLineOption wrongBlock(
        "wrong-block", "Answer frame N, a read request, with block number B (0 to 255).", "N:B,...");
    const QCommandLineOption ignoreEnd("ignore-end", "Do not acknowledge the end command.");
    const QCommandLineOption delay("delay", "Wait MS milliseconds before each reply.", "MS");
    const QCommandLineOption pace("pace", "Send replies at the rate of a 115200-baud line (86.8 us a byte).");
    const QCommandLineOption wire("wire",
                                  "Model the line both ways: as --pace, and take a frame in only when "
                                  "the line has carried it.");
    const QCommandLineOption turnaround("turnaround", "Take US microseconds to answer each frame.", "US");
    const QCommandLineOption hangUp("hang-up", "Hang up when one of these frames arrives.", "FRAMES");
    const QCommandLineOption unstored("unstored", "Acknowledge these block writes but do not keep them.",
                                      "FRAMES");
    const QCommandLineOption lots("lots",
                                  "Hand replies to the device only every MS milliseconds, as a USB "
                                  "bridge's latency timer does (16 on many).",
                                  "MS");
    const QCommandLineOption echo("echo",
                                  "Hand every byte received straight back and answer nothing, as a cable "
                                  "whose radio end is in no radio does.");
    const QCommandLineOption noise("noise",
                                   "Answer every byte received with a byte of noise and nothing else, as a "
                                   "radio at another speed does.");
    const QCommandLineOption refuseAll("refuse-all", "Answer every frame with the negative reply.");
    const QCommandLineOption verbose("verbose", "Print every frame received and every reply.");
    parser.addOptions({device, identity,    band,       image,      save,      silentFrom,
                       nak,    badChecksum, strayByte,  wrongBlock, ignoreEnd, delay,
                       pace,   wire,        turnaround, hangUp,     unstored,  lots,
                       echo,   noise,       refuseAll,  verbose});
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
    // Given twice, the parser would keep only the last one without a word.
    for (const QCommandLineOption* single :
         {&device, &identity, &band, &image, &save, &silentFrom, &delay, &turnaround, &lots}) {
        if (parser.values(*single).size() > 1) {
            error = QStringLiteral("--%1 takes one value").arg(single->names().first());
            return false;
        }
    }

    options.device = parser.value(device);
    options.imageFile = parser.value(image);
    options.saveFile = parser.value(save);
    options.verbose = parser.isSet(verbose);
    options.faults.ignoreEnd = parser.isSet(ignoreEnd);
    options.faults.echo = parser.isSet(echo);
    options.faults.noise = parser.isSet(noise);
    options.faults.refuseAll = parser.isSet(refuseAll);
    if (options.faults.echo && options.faults.noise) {
        error = QStringLiteral("--echo and --noise exclude each other");
        return false;
    }
    options.faults.paceOutput = parser.isSet(pace) || parser.isSet(wire);
    options.faults.paceInput = parser.isSet(wire);
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

    const std::pair<const QCommandLineOption*, int*> counts[] = {
        {&silentFrom, &options.faults.silentFromFrame},
        {&delay, &options.faults.replyDelayMs},
        {&turnaround, &options.faults.turnaroundUs},
        {&lots, &options.faults.lotMs},
    };
    for (const auto& [option, target] : counts) {
        if (parser.isSet(*option) && !ToCount(parser.value(*option), *target, 0)) {
            error = QStringLiteral("--%1 takes a number of 0 or more").arg(option->names().first());
            return false;
        }
    }
    const std::pair<const QCommandLineOption*, QList<int>*> frameLists[] = {
        {&nak, &options.faults.nakFrames},
        {&badChecksum, &options.faults.badChecksumFrames},
        {&strayByte, &options.faults.strayByteFrames},
        {&hangUp, &options.faults.hangUpFrames},
        {&unstored, &options.faults.unstoredFrames},
    };
    for (const auto& [option, target] : frameLists) {
        if (!ToFrameList(ListItems(parser, *option), *target)) {
            error = QStringLiteral("--%1 takes frame numbers of 0 or more, e.g. 2,5")
                        .arg(option->names().first());
            return false;
        }
    }
    if (!ToWrongBlocks(ListItems(parser, wrongBlock), options.faults.wrongBlocks)) {
        error = QStringLiteral("--wrong-block takes FRAME:BLOCK pairs, each frame once, e.g. 3:9,5:2");
        return false;
    }
    return true;
}
