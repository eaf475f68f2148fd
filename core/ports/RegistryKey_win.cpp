#include "ports/RegistryKey.h"

#include <array>

std::pair<HKEY, QString> SplitRegistryPath(const QString& path)
{
    const qsizetype slash = path.indexOf(u'\\');
    if (slash <= 0)
        return {nullptr, {}};
    const QString root = path.left(slash);
    const HKEY rootKey = root == u"HKEY_LOCAL_MACHINE"  ? HKEY_LOCAL_MACHINE
                         : root == u"HKEY_CURRENT_USER" ? HKEY_CURRENT_USER
                                                        : nullptr;
    return {rootKey, path.mid(slash + 1)};
}

RegistryKey::RegistryKey(const QString& path)
{
    const auto [root, below] = SplitRegistryPath(path);
    Open(root, below);
}

RegistryKey::RegistryKey(const RegistryKey& parent, const QString& subKey)
{
    Open(parent.key, subKey);
}

RegistryKey::~RegistryKey()
{
    if (key)
        RegCloseKey(key);
}

void RegistryKey::Open(HKEY parent, const QString& subKey)
{
    // The path as the system names keys, in UTF-16: a name that the ANSI code page lacks opens too.
    if (parent && RegOpenKeyExW(parent, reinterpret_cast<const wchar_t*>(subKey.utf16()), 0, KEY_READ,
                                &key) != ERROR_SUCCESS)
        key = nullptr;
}

QStringList RegistryKey::SubKeys() const
{
    QStringList names;
    for (DWORD index = 0; key; ++index) {
        std::array<wchar_t, 256> name{};
        DWORD length = DWORD(name.size());
        if (RegEnumKeyExW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names << QString::fromWCharArray(name.data(), int(length));
    }
    return names;
}

QString RegistryKey::Text(const wchar_t* value) const
{
    std::array<wchar_t, 512> data{};
    DWORD type = 0;
    DWORD size = DWORD(sizeof(wchar_t) * (data.size() - 1));
    if (!key ||
        RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    return QString::fromWCharArray(data.data()).trimmed();
}

std::optional<int> RegistryKey::Number(const wchar_t* value) const
{
    DWORD data = 0;
    DWORD type = 0;
    DWORD size = sizeof data;
    if (!key ||
        RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return int(data);
}
