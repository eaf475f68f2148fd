// An open registry key for reading (Windows only): the serial-device map and the cable's entries
// below the Enum key, which every user may read.
#pragma once

#include <QString>
#include <QStringList>

#include <windows.h>

#include <optional>
#include <utility>

class RegistryKey
{
public:
    // "HKEY_LOCAL_MACHINE\..." or "HKEY_CURRENT_USER\...". No key when the path names another root
    // or the key cannot be opened.
    explicit RegistryKey(const QString& path);
    // A key below an open one; no key when the parent has none.
    RegistryKey(const RegistryKey& parent, const QString& subKey);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Get() const { return key; }

    QStringList SubKeys() const;
    // A text value (REG_SZ or REG_EXPAND_SZ) without surrounding spaces; empty when there is none.
    QString Text(const wchar_t* value) const;
    // A REG_DWORD value.
    std::optional<int> Number(const wchar_t* value) const;

private:
    void Open(HKEY parent, const QString& subKey);

    HKEY key = nullptr;
};

// The root key that a path starts with and the path below it; no root (nullptr) for another root.
std::pair<HKEY, QString> SplitRegistryPath(const QString& path);
