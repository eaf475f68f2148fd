#include "settings/FileSync.h"

#include <QDir>

#include <windows.h>

// QFile keeps its own handle to itself; flushing any handle of the file writes the file's cached data.
bool FlushToDisk(QFile& file)
{
    const std::wstring path = QDir::toNativeSeparators(file.fileName()).toStdWString();
    HANDLE handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle) != 0;
    CloseHandle(handle);
    return flushed;
}
