// Port discovery on fake sysfs and alias trees built from the input: every listed number is unique,
// ascending, in 1 to 999, names one device path once, and comes from a device's name or from an alias
// of that number; two discoveries of one tree agree. A hang is reported by libFuzzer's -timeout.
//
// Input: a list of steps, each adding one serial device to the sysfs tree (with its device link,
// type and dev attributes, perhaps a USB adapter above it) or one entry to the alias folder.
#include "FuzzCheck.h"
#include "ports/ComPorts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

constexpr int MaxSteps = 48;

// Family prefixes, near misses, and names of no family.
constexpr std::array<const char*, 14> Prefixes{"ttyS",        "ttyUSB",  "ttyACM", "ttyAMA", "rfcomm",
                                               "ttyCH341USB", "ttyMI",   "ttyGS",  "ttyO",   "tty",
                                               "ttyusb",      "console", "pts",    "ttyUSB0"};
// Character devices every Linux machine has: real alias targets with distinct device numbers.
constexpr std::array<const char*, 6> CharDevices{"/dev/null",   "/dev/zero",    "/dev/full",
                                                 "/dev/random", "/dev/urandom", "/dev/tty"};

struct Tree
{
    QString root;
    QString Sys() const { return root + QStringLiteral("/sys"); }
    QString TtyClass() const { return Sys() + QStringLiteral("/class/tty"); }
    QString Aliases() const { return root + QStringLiteral("/dosdevices"); }
    QStringList ttyNames;
    QStringList aliasNames;
};

void Link(const QString& target, const QString& path)
{
    // Fails harmlessly when the input names one entry twice.
    (void)::symlink(QFile::encodeName(target).constData(), QFile::encodeName(path).constData());
}

void WriteFile(const QString& path, const QByteArray& content)
{
    // Never through something made already: an alias of that name may lead to the FIFO, and opening
    // it for writing waits for a reader that never comes.
    if (QFileInfo(path).isSymLink() || QFileInfo::exists(path))
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

// A single path component from arbitrary bytes: no slash, no NUL, never "." or "..".
QString Component(const std::string& raw)
{
    QByteArray bytes = QByteArray::fromStdString(raw);
    bytes.replace('/', '_').replace('\0', '_');
    if (bytes.isEmpty() || bytes == "." || bytes == "..")
        bytes.prepend('x');
    return QFile::decodeName(bytes);
}

QByteArray DeviceNumberText(const char* device)
{
    struct stat st
    {
    };
    if (::stat(device, &st) != 0)
        return "1:3";
    return QByteArray::number(major(st.st_rdev)) + ':' + QByteArray::number(minor(st.st_rdev));
}

QString TtyName(FuzzedDataProvider& input)
{
    if (input.ConsumeBool())
        return Component(input.ConsumeRandomLengthString(16));
    QString digits;
    for (const char c : input.ConsumeRandomLengthString(5))
        digits += QChar(u'0' + static_cast<unsigned char>(c) % 10);
    return QString::fromLatin1(input.PickValueInArray(Prefixes)) + digits;
}

// The USB device above a tty: `depth` folders between them, the adapter's attributes `up` levels up.
QString UsbChain(FuzzedDataProvider& input, const Tree& tree, const QString& name)
{
    const int depth = input.ConsumeIntegralInRange(0, 20);
    const int up = input.ConsumeIntegralInRange(0, depth);
    QString dir = tree.Sys() + QStringLiteral("/devices/pci0000:00/usb1");
    QString adapter;
    for (int level = depth; level >= 0; --level) {
        dir += QStringLiteral("/1-%1").arg(level);
        if (level == up)
            adapter = dir;
    }
    dir += u'/' + name;
    QDir().mkpath(dir);
    WriteFile(adapter + QStringLiteral("/idVendor"),
              QByteArray::fromStdString(input.ConsumeRandomLengthString(8)));
    if (input.ConsumeBool())
        WriteFile(adapter + QStringLiteral("/idProduct"), "6001\n");
    if (input.ConsumeBool())
        WriteFile(adapter + QStringLiteral("/product"),
                  QByteArray::fromStdString(input.ConsumeRandomLengthString(24)));
    if (input.ConsumeBool())
        WriteFile(adapter + QStringLiteral("/manufacturer"), "FTDI\n");
    return dir;
}

void AddTty(FuzzedDataProvider& input, Tree& tree)
{
    const QString name = TtyName(input);
    const QString ttyDir = tree.TtyClass() + u'/' + name;
    QDir().mkpath(ttyDir);
    tree.ttyNames << name;
    const QString device = ttyDir + QStringLiteral("/device");
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0: // none: a virtual terminal
        break;
    case 1: {
        const QString platform = tree.Sys() + QStringLiteral("/devices/platform/serial8250/") + name;
        QDir().mkpath(platform);
        Link(platform, device);
        break;
    }
    case 2:
        Link(UsbChain(input, tree, name), device);
        break;
    case 3:
        Link(tree.Sys() + QStringLiteral("/devices/gone"), device);
        break;
    case 4:
        Link(QStringLiteral("device"), device); // a loop
        break;
    case 5:
        Link(QStringLiteral("/"), device); // out of sysfs
        break;
    default:
        Link(QStringLiteral("."), device); // its own folder
        break;
    }
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 1:
        WriteFile(ttyDir + QStringLiteral("/type"), "0\n");
        break;
    case 2:
        WriteFile(ttyDir + QStringLiteral("/type"), "4\n");
        break;
    case 3:
        WriteFile(ttyDir + QStringLiteral("/type"),
                  QByteArray::fromStdString(input.ConsumeRandomLengthString(8)));
        break;
    default:
        break;
    }
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 1:
        WriteFile(ttyDir + QStringLiteral("/dev"),
                  DeviceNumberText(input.PickValueInArray(CharDevices)) + '\n');
        break;
    case 2:
        WriteFile(ttyDir + QStringLiteral("/dev"),
                  "188:" + QByteArray::number(input.ConsumeIntegral<uint8_t>()));
        break;
    case 3:
        WriteFile(ttyDir + QStringLiteral("/dev"),
                  QByteArray::fromStdString(input.ConsumeRandomLengthString(12)));
        break;
    default:
        break;
    }
}

QString AliasName(FuzzedDataProvider& input)
{
    switch (input.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return Component(input.ConsumeRandomLengthString(12));
    case 1:
        return QStringLiteral("com0%1").arg(input.ConsumeIntegralInRange(0, 99));
    default: {
        // "com", "Com", "COM" ... with the number, at times past 999 or 0.
        QString name = QStringLiteral("com%1").arg(input.ConsumeIntegralInRange(0, 1100));
        const auto capitals = input.ConsumeIntegral<uint8_t>();
        for (int i = 0; i < 3; ++i)
            if (capitals & (1u << i))
                name[i] = name[i].toUpper();
        return name;
    }
    }
}

void AddAlias(FuzzedDataProvider& input, Tree& tree)
{
    const QString name = AliasName(input);
    const QString path = tree.Aliases() + u'/' + name;
    tree.aliasNames << name;
    switch (input.ConsumeIntegralInRange(0, 9)) {
    case 0:
        Link(tree.root + QStringLiteral("/missing"), path);
        break;
    case 1:
        WriteFile(tree.root + QStringLiteral("/plain"), "x");
        Link(tree.root + QStringLiteral("/plain"), path);
        break;
    case 2:
        Link(tree.Sys(), path); // a folder
        break;
    case 3:
        ::mkfifo(QFile::encodeName(tree.root + QStringLiteral("/fifo")).constData(), 0600);
        Link(tree.root + QStringLiteral("/fifo"), path);
        break;
    case 4: // another alias, perhaps one still to come
        Link(AliasName(input), path);
        break;
    case 5:
        Link(name, path); // a loop
        break;
    case 6: // a file or folder of that name instead of a link
        if (input.ConsumeBool())
            WriteFile(path, "/dev/null");
        else
            QDir().mkpath(path);
        break;
    default:
        Link(QString::fromLatin1(input.PickValueInArray(CharDevices)), path);
        break;
    }
}

bool IsAliasFor(const Tree& tree, int number, const QString& devicePath)
{
    const QString expected = QStringLiteral("com%1").arg(number);
    for (const QString& name : tree.aliasNames) {
        if (name.toLower() == expected &&
            QFileInfo(tree.Aliases() + u'/' + name).canonicalFilePath() == devicePath)
            return true;
    }
    return false;
}

bool IsDeviceNamed(const Tree& tree, int number, const QString& devicePath)
{
    for (const QString& name : tree.ttyNames) {
        if (devicePath == QStringLiteral("/dev/") + name && ComNumberForDevice(name) == number)
            return true;
    }
    return false;
}

void CheckEntries(const Tree& tree, const QList<SerialPortEntry>& entries)
{
    int previous = 0;
    QSet<QString> paths;
    for (const SerialPortEntry& entry : entries) {
        const QByteArray pathText = entry.DevicePath.toLocal8Bit();
        const char* path = pathText.constData();
        FUZZ_REQUIRE(entry.Number > previous && entry.Number <= 999, "COM%d after COM%d", entry.Number,
                     previous);
        FUZZ_REQUIRE(!entry.DevicePath.isEmpty() && !paths.contains(entry.DevicePath), "COM%d: %s",
                     entry.Number, path);
        FUZZ_REQUIRE(IsAliasFor(tree, entry.Number, entry.DevicePath) ||
                         IsDeviceNamed(tree, entry.Number, entry.DevicePath),
                     "COM%d: %s comes from no alias and no device name", entry.Number, path);
        previous = entry.Number;
        paths.insert(entry.DevicePath);
    }
}

std::unique_ptr<QTemporaryDir> MakeFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    auto folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/tangelo-fuzz-XXXXXX"));
    FUZZ_REQUIRE(folder->isValid(), "no temporary folder under %s", qPrintable(base));
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::unique_ptr<QTemporaryDir> folder = MakeFolder();

    Tree tree{folder->filePath(QStringLiteral("run")), {}, {}};
    QDir(tree.root).removeRecursively(); // removes links, never what they point to
    QDir().mkpath(tree.TtyClass());
    QDir().mkpath(tree.Aliases());

    FuzzedDataProvider input(data, size);
    for (int step = 0; step < MaxSteps && input.remaining_bytes() > 0; ++step) {
        if (input.ConsumeBool())
            AddTty(input, tree);
        else
            AddAlias(input, tree);
    }

    const QList<SerialPortEntry> entries = DiscoverSerialPorts(tree.Sys(), tree.Aliases());
    CheckEntries(tree, entries);
    const QList<SerialPortEntry> again = DiscoverSerialPorts(tree.Sys(), tree.Aliases());
    FUZZ_REQUIRE(again.size() == entries.size(), "%lld entries, then %lld",
                 static_cast<long long>(entries.size()), static_cast<long long>(again.size()));
    for (qsizetype i = 0; i < entries.size(); ++i) {
        FUZZ_REQUIRE(again[i].Number == entries[i].Number && again[i].DevicePath == entries[i].DevicePath,
                     "entry %lld differs between two discoveries", static_cast<long long>(i));
    }
    return 0;
}
