#include "data/RadioBackup.h"

#include "data/AnsiCodePage.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

class BackupText
{
    Q_DECLARE_TR_FUNCTIONS(BackupText)
};

constexpr char Format[] = "TANGELO_Tune radio backup";
constexpr int Version = 1;
constexpr int BlockSize = Layout::ImageSize / BackupBlockCount;

// ASCII hex digits only: std::isxdigit is defined for byte values alone, and glibc's table, read past
// them, takes thousands of Chinese characters for digits, which QByteArray::fromHex then drops, so a
// block of 64 of them would come out short.
bool IsHex(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
    });
}

} // namespace

QString SerialNumberText(const InfoImageType& image, const AnsiCodePage& page)
{
    return TrimText(DecodeInfo(image, page).SerialNumber);
}

QByteArray BackupFileContent(const RadioBackup& backup, const AnsiCodePage& page)
{
    QJsonArray blocks;
    for (int block = 0; block < BackupBlockCount; ++block) {
        if (block >= backup.Blocks) {
            blocks.append(QJsonValue::Null);
            continue;
        }
        const QByteArray bytes(reinterpret_cast<const char*>(backup.Image.data()) + block * BlockSize,
                               BlockSize);
        blocks.append(QString::fromLatin1(bytes.toHex()));
    }
    const QJsonObject object{
        {QStringLiteral("format"), QString::fromLatin1(Format)},
        {QStringLiteral("version"), Version},
        {QStringLiteral("radio_type"), backup.RadioType},
        {QStringLiteral("serial_number"), SerialNumberText(backup.Image, page)},
        {QStringLiteral("saved"),
         backup.Saved.toOffsetFromUtc(backup.Saved.offsetFromUtc()).toString(Qt::ISODateWithMs)},
        {QStringLiteral("blocks"), blocks},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

ParsedBackup ParseBackupFile(const QByteArray& content)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {std::nullopt, BackupText::tr("not a backup file (no JSON object)")};
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(Format))
        return {std::nullopt,
                BackupText::tr("not a backup file (format is not \"%1\")").arg(QLatin1String(Format))};
    if (object.value(QStringLiteral("version")).toInt() != Version)
        return {std::nullopt, BackupText::tr("backup file of another version")};

    RadioBackup backup;
    backup.RadioType = object.value(QStringLiteral("radio_type")).toString();
    if (backup.RadioType.isEmpty())
        return {std::nullopt, BackupText::tr("the backup file names no radio type")};
    backup.Saved = QDateTime::fromString(object.value(QStringLiteral("saved")).toString(), Qt::ISODateWithMs);
    const QJsonArray blocks = object.value(QStringLiteral("blocks")).toArray();
    if (blocks.size() != BackupBlockCount)
        return {std::nullopt,
                BackupText::tr("the backup file does not hold %n blocks", nullptr, BackupBlockCount)};
    backup.Blocks = 0;
    for (int block = 0; block < BackupBlockCount; ++block) {
        const QJsonValue value = blocks.at(block);
        if (value.isNull())
            continue;
        const QString hex = value.toString();
        if (block != backup.Blocks || hex.size() != 2 * BlockSize || !IsHex(hex))
            return {std::nullopt, BackupText::tr("block %1 of the backup file is damaged").arg(block)};
        const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
        std::copy(bytes.begin(), bytes.end(), backup.Image.begin() + block * BlockSize);
        ++backup.Blocks;
    }
    return {backup, {}};
}
