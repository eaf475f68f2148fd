// One value of a profile (INI) file, read and written with the rules of the classic profile-string
// functions: section and key names match whatever their capitals, the first matching section and key
// count, and a value is the text after '=' with surrounding blanks removed.
#pragma once

#include "settings/SmallFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// A profile file larger than this is none (a log, a disk image put there by mistake): it is neither
// read nor rewritten.
inline constexpr int64_t MaxProfileFileSize = 1024 * 1024;

// The value in a file's content, or nothing when the section or the key is missing.
std::optional<QByteArray> FindProfileString(const QByteArray& content, const QByteArray& section,
                                            const QByteArray& key);

// The file's content with the value set: the first matching key line is replaced, a missing key is
// added at the end of its section, a missing section at the end of the file. Every other line stays
// as it was, byte for byte. A file written from nothing is "[section]\nkey=value\n".
QByteArray SetProfileString(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                            const QByteArray& value);

// What a file holds for the key.
struct ProfileValue
{
    SmallFileKind Kind = SmallFileKind::Missing; // what is at the path; only Small is read
    FileStamp Stamp;                             // of the file read (Small only)
    std::optional<QByteArray> Value;             // surrounding blanks removed; none when missing
};

// The value of the key in the file. On Windows through GetPrivateProfileStringA, so that a file is
// read exactly as other Windows programs read it; elsewhere with the same rules (FindProfileString).
// Anything at the path other than a regular file of at most MaxProfileFileSize is not read.
ProfileValue ReadProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key);

// Writes the value into the file, created when missing, together with its folder when createFolder.
// On Windows through WritePrivateProfileStringA; elsewhere the file is replaced as a whole, so that a
// failed write leaves the old content. False on any failure, and when something other than a regular
// file of at most MaxProfileFileSize is there: that is left alone.
bool WriteProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value, bool createFolder = false);
