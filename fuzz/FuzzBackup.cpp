// A backup file on arbitrary content, as 'restore' reads it from a user's disk: the parser never fails
// hard, and what it accepts is a whole image: leading blocks of exactly 32 bytes each, as the file
// spells them in hex, zero beyond them, and the same backup again once written out and read back.
#include "data/AnsiCodePage.h"
#include "data/RadioBackup.h"
#include "FuzzCheck.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

constexpr int BlockBytes = 32;

QByteArray BlockBytesOf(const InfoImageType& image, int block)
{
    return {reinterpret_cast<const char*>(image.data()) + block * BlockBytes, BlockBytes};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParsedBackup parsed = ParseBackupFile(content);
    if (!parsed.Backup) {
        FUZZ_REQUIRE(!parsed.Error.isEmpty(), "a refusal without a reason");
        return 0;
    }
    const RadioBackup& backup = *parsed.Backup;
    FUZZ_REQUIRE(parsed.Error.isEmpty(), "an accepted file with an error: %s", qPrintable(parsed.Error));
    FUZZ_REQUIRE(backup.Blocks >= 0 && backup.Blocks <= BackupBlockCount, "%d blocks", backup.Blocks);
    FUZZ_REQUIRE(!backup.RadioType.isEmpty(), "accepted without a radio type");

    // Each block taken is the file's 64 hex digits, byte for byte; the blocks not read stay zero.
    const QJsonArray blocks =
        QJsonDocument::fromJson(content).object().value(QStringLiteral("blocks")).toArray();
    FUZZ_REQUIRE(blocks.size() == BackupBlockCount, "accepted with %d blocks listed", int(blocks.size()));
    for (int block = 0; block < BackupBlockCount; ++block) {
        const QByteArray bytes = BlockBytesOf(backup.Image, block);
        if (block >= backup.Blocks) {
            FUZZ_REQUIRE(blocks.at(block).isNull(), "block %d taken as not read", block);
            FUZZ_REQUIRE(std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; }),
                         "block %d not read, but not zero", block);
            continue;
        }
        const QString hex = blocks.at(block).toString();
        FUZZ_REQUIRE(hex.size() == 2 * BlockBytes, "block %d of %d hex digits", block, int(hex.size()));
        FUZZ_REQUIRE(hex.compare(QString::fromLatin1(bytes.toHex()), Qt::CaseInsensitive) == 0,
                     "block %d is \"%s\" in the file, %s in the image", block, qPrintable(hex),
                     bytes.toHex().constData());
    }

    // Written out and read again, it is the same backup.
    const ParsedBackup again = ParseBackupFile(BackupFileContent(backup, AnsiCodePage("windows-1252")));
    FUZZ_REQUIRE(again.Backup.has_value(), "its own file refused: %s", qPrintable(again.Error));
    FUZZ_REQUIRE(again.Backup->Blocks == backup.Blocks && again.Backup->Image == backup.Image &&
                     again.Backup->RadioType == backup.RadioType,
                 "not the same backup once written out");
    return 0;
}
