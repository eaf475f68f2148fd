// The settings file on arbitrary content, through real files in a temporary folder: reading never
// fails hard, a value set is read back, and setting one value leaves every other value as it was.
//
// Input: the COM number, then section, key and value to set, a second section and key to watch, each
// ended by a backslash (FuzzedDataProvider's convention), then the file's content.
#include "FuzzCheck.h"
#include "settings/ProfileString.h"
#include "settings/Settings.h"
#include "settings/SmallFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

namespace {

// The settings file is replaced at every write, and a replacement is flushed to disk: a folder in
// memory, where there is one, keeps that from setting the pace.
std::unique_ptr<QTemporaryDir> MakeFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    auto folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/tangelo-fuzz-XXXXXX"));
    FUZZ_REQUIRE(folder->isValid(), "no temporary folder under %s", qPrintable(base));
    // The configuration folder too, so that nothing reaches the user's own.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder->filePath(QStringLiteral("config"))));
    return folder;
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write %s", qPrintable(path));
    FUZZ_REQUIRE(file.write(content) == content.size(), "short write to %s", qPrintable(path));
}

bool SameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether a file line can carry the name or value at all: one line, no blanks around it (they are
// dropped on reading), no ']' in a section name, no '=' in a key, and a key that cannot open a header.
bool CanBeWritten(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const auto oneLine = [](const QByteArray& text) {
        return !text.contains('\n') && text == text.trimmed();
    };
    return oneLine(section) && oneLine(key) && oneLine(value) && !section.contains(']') &&
           !key.contains('=') && !key.startsWith('[');
}

void CheckComPortSetting(const QString& folder, int16_t number, const QByteArray& content)
{
    WriteFile(QDir(folder).filePath(QStringLiteral("mysetup.ini")), content);
    const ProgramSettings settings(folder);
    settings.LoadComPortSetting();
    settings.SaveComPortSetting(number);
    const int16_t readBack = ProgramSettings(folder).LoadComPortSetting();
    FUZZ_REQUIRE(readBack == number, "set %d, read back %d", number, readBack);
}

std::optional<QByteArray> ReadValue(const QString& path, const QByteArray& section, const QByteArray& key)
{
    return FindProfileString(ReadSmallFile(path, MaxProfileFileSize).Content, section, key);
}

void CheckProfileString(const QString& path, const QByteArray& content, const QByteArray& section,
                        const QByteArray& key, const QByteArray& value, const QByteArray& otherSection,
                        const QByteArray& otherKey)
{
    WriteFile(path, content);
    const std::optional<QByteArray> otherBefore = ReadValue(path, otherSection, otherKey);
    FUZZ_REQUIRE(WriteProfileString(path, section, key, value), "write failed");
    // A name or value that no line can carry only has to be survived.
    if (!CanBeWritten(section, key, value))
        return;
    const std::optional<QByteArray> read = ReadValue(path, section, key);
    FUZZ_REQUIRE(read == value, "[%s] %s: set '%s', read back '%s'", section.constData(), key.constData(),
                 value.constData(), read ? read->constData() : "(nothing)");
    if (!(SameName(section, otherSection) && SameName(key, otherKey))) {
        FUZZ_REQUIRE(ReadValue(path, otherSection, otherKey) == otherBefore,
                     "[%s] %s changed when [%s] %s was set", otherSection.constData(), otherKey.constData(),
                     section.constData(), key.constData());
    }
}

QByteArray Take(FuzzedDataProvider& input)
{
    return QByteArray::fromStdString(input.ConsumeRandomLengthString(64));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::unique_ptr<QTemporaryDir> folder = MakeFolder();

    FuzzedDataProvider input(data, size);
    const auto number = input.ConsumeIntegral<int16_t>();
    const QByteArray section = Take(input);
    const QByteArray key = Take(input);
    const QByteArray value = Take(input);
    const QByteArray otherSection = Take(input);
    const QByteArray otherKey = Take(input);
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray content = QByteArray::fromStdString(rest);

    CheckComPortSetting(folder->path(), number, content);
    CheckProfileString(folder->filePath(QStringLiteral("other.ini")), content, section, key, value,
                       otherSection, otherKey);
    return 0;
}
