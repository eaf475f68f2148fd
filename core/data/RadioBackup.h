// A radio's image kept in a file, so that a write can be undone: the radio's type, when the image
// was read, and the blocks read from the radio.
//
// The file is a small JSON object in UTF-8:
//   {"format": "TANGELO_Tune radio backup", "version": 1, "radio_type": "TANGELOUV",
//    "serial_number": "TG24031500871", "saved": "2026-12-09T10:11:12.345+01:00",
//    "blocks": ["<64 hex digits>", ... 8 entries; null for a block not read]}
// The serial number is there for people and file listings; what counts is the image's own bytes.
#pragma once

#include "data/ModData.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

inline constexpr int BackupBlockCount = 8;  // 32 bytes each
inline constexpr int WrittenBlockCount = 5; // the blocks a write reads and writes: bytes 0 to 159

struct RadioBackup
{
    QString RadioType; // as the protocol names it: "TANGELOUV", "TANGELOSU", "TANGELOSV"
    QDateTime Saved;
    int Blocks = BackupBlockCount; // the leading blocks read from the radio; the rest of Image is 0
    InfoImageType Image{};
};

QByteArray BackupFileContent(const RadioBackup& backup, const AnsiCodePage& page);

struct ParsedBackup
{
    std::optional<RadioBackup> Backup;
    QString Error; // why the content holds no backup
};
ParsedBackup ParseBackupFile(const QByteArray& content);

// The radio's serial number as a read shows it.
QString SerialNumberText(const InfoImageType& image, const AnsiCodePage& page);
