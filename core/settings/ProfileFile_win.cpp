#include "settings/ProfileString.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>
// windows.h names an old function of its own so; this file defines the program's.
#undef WriteProfileString

#include <array>

namespace {

// The profile functions take the path in the ANSI code page. A path that it cannot hold (a user name
// in another script) goes through the wide functions instead, which read and write the same file.
std::optional<QByteArray> AnsiPath(const QString& path)
{
    const QString native = QDir::toNativeSeparators(path);
    const QByteArray ansi = native.toLocal8Bit();
    if (QString::fromLocal8Bit(ansi) != native)
        return std::nullopt;
    return ansi;
}

std::wstring Wide(const QByteArray& text)
{
    return QString::fromLatin1(text).toStdWString();
}

} // namespace

ProfileValue ReadProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key)
{
    // Checked first: the profile functions would open whatever is there, a device included.
    const SmallFile status = StatSmallFile(filePath, MaxProfileFileSize);
    if (status.Kind != SmallFileKind::Small)
        return {status.Kind, {}, {}};
    // 512 characters filled with spaces, the default value empty: at most 511 and the NUL are taken.
    QString value;
    if (const auto ansiPath = AnsiPath(filePath)) {
        std::array<char, 512> buffer;
        buffer.fill(' ');
        const DWORD n = GetPrivateProfileStringA(section.constData(), key.constData(), "", buffer.data(),
                                                 DWORD(buffer.size()), ansiPath->constData());
        value = QString::fromLocal8Bit(buffer.data(), qsizetype(n));
    } else {
        std::array<wchar_t, 512> buffer;
        buffer.fill(L' ');
        const std::wstring wide = QDir::toNativeSeparators(filePath).toStdWString();
        const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"", buffer.data(),
                                                 DWORD(buffer.size()), wide.c_str());
        value = QString::fromWCharArray(buffer.data(), qsizetype(n));
    }
    value = value.trimmed();
    // The functions cannot tell a missing key from an empty value; both mean no number.
    return {status.Kind, status.Stamp,
            value.isEmpty() ? std::nullopt : std::optional<QByteArray>(value.toLatin1())};
}

bool WriteProfileString(const QString& filePath, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value, bool createFolder)
{
    if (StatSmallFile(filePath, MaxProfileFileSize).Kind == SmallFileKind::Other)
        return false; // never write into what is no profile file
    if (createFolder && !QDir().mkpath(QFileInfo(filePath).absolutePath()))
        return false;
    if (const auto ansiPath = AnsiPath(filePath))
        return WritePrivateProfileStringA(section.constData(), key.constData(), value.constData(),
                                          ansiPath->constData()) != 0;
    const std::wstring wide = QDir::toNativeSeparators(filePath).toStdWString();
    return WritePrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(value).c_str(),
                                      wide.c_str()) != 0;
}
