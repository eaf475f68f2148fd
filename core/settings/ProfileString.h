// One value of a profile (INI) file, read and written with the rules of the classic profile-string
// functions: section and key names match whatever their capitals, the first matching section and key
// count, and a value is the text after '=' with surrounding blanks removed.
#pragma once

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

// Writes the value into the file (created when missing, together with its folder when createFolder).
// The file is replaced as a whole, so a failed write leaves the old content. False on any failure,
// and when something other than a regular file of at most MaxProfileFileSize is there: that is left
// alone.
bool WriteProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value, bool createFolder = false);
