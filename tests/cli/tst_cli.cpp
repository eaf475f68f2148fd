// tangelo-cli end to end against virtual radios on pseudo-terminals, listed as COM900 through an
// alias. Most cases run the command line's code in this process with short reply waits; the exit
// codes are checked on the program itself.
#include "cli/CliContext.h"
#include "cli/StatusLine.h"
#include "cli/TerminalText.h"
#include "data/RadioBackup.h"
#include "IsolatedProgram.h"
#include "OtherLanguage.h"
#include "PtyPair.h"
#include "RadioOnCom.h"
#include "settings/BackupFolder.h"
#include "SideBySide.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "TestFiles.h"

#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QSysInfo>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

using namespace std::chrono_literals;

namespace {

// The command line run in this process: a refusal's or a failure's few waits go by quickly, and a
// radio that answers (in this process, at once) still does so well within them on a loaded machine.
constexpr LinkTimings ShortWaits{150ms, 80ms};
// A radio silent from the first frame: every wait runs out whatever its length, and only what
// follows is looked at.
constexpr LinkTimings SilentWaits{40ms, 40ms};

LinkTimings WaitsFor(const VirtualRadioFaults& faults)
{
    return faults.silentFromFrame == 0 ? SilentWaits : ShortWaits;
}
const QString Port = QStringLiteral("900");

using Edits = QList<QPair<int, QByteArray>>; // offset, bytes

RadioImage Edited(RadioImage image, const Edits& edits)
{
    for (const auto& [offset, bytes] : edits)
        std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
    return image;
}

// A text zero-filled to its field's width.
QByteArray Field(const QByteArray& text, int width)
{
    return text + QByteArray(width - text.size(), '\0');
}

// The fields of one CSV line; quoted fields may hold commas and doubled quotes.
QStringList CsvFields(const QString& line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted && c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"')
            fields.last() += line.at(++i);
        else if (c == u'"')
            quoted = !quoted;
        else if (c == u',' && !quoted)
            fields.append(QString());
        else
            fields.last() += c;
    }
    return fields;
}

int Count(const QStringList& names, const QString& name)
{
    return int(names.count(name));
}

enum class Between { WriteFields, OtherSerial, OtherType };

// tangelo-cli as a process of its own: its exit code and everything it printed, standard output first.
struct ProgramRun
{
    bool ended = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QByteArray output; // out, then err
};

// How a run of the program is given its language, its input and its end.
struct RunSetting
{
    QString locale;         // LC_ALL and LANG, LANGUAGE unset; empty: the test's own
    QByteArray input;       // standard input, closed after it
    bool interrupt = false; // Ctrl-C once it has said something on standard error
    bool terminal = false;  // standard error a pseudo-terminal, as a person's screen
    QByteArray timeZone;    // TZ; empty: the test's own
};

enum class Radio { Answering, Silent, FarBand, Backup, BackupOtherSerial, BackupOtherType };
enum class Machine { None, Stdout, Log };

// Holds a port as a Qt program does: a lock file in QSerialPort's lock folder naming a live process
// of this machine (a `sleep`, whose name the lock gives, or Qt takes the lock for a stale one).
class PortLock
{
public:
    explicit PortLock(const QString& device)
    {
        holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
        QVERIFY(holder.waitForStarted());
        const QString name =
            QStringLiteral("/LCK..") + QFileInfo(device).canonicalFilePath().mid(5).replace(u'/', u'_');
        for (const char* folder :
             {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp"}) {
            const QFileInfo info{QString::fromLatin1(folder)};
            if (info.isReadable() && info.isWritable()) {
                path = info.filePath() + name;
                break;
            }
        }
        WriteTestFile(path, QByteArray::number(holder.processId()) + "\nsleep\n" +
                                QSysInfo::machineHostName().toUtf8() + '\n');
    }
    ~PortLock()
    {
        QFile::remove(path);
        holder.kill();
        holder.waitForFinished();
    }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

private:
    QProcess holder;
    QString path;
};

} // namespace

Q_DECLARE_METATYPE(Edits)
Q_DECLARE_METATYPE(Between)
Q_DECLARE_METATYPE(Radio)
Q_DECLARE_METATYPE(Machine)

class TestCli : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedProgram> program;
    std::vector<std::unique_ptr<VirtualRadio>> radios;
    QString out;
    QString err;
    std::function<std::optional<QString>()> readLine;
    std::function<bool()> stop;
    LinkTimings timings = ShortWaits;
    QString backupFolder;
    StatusLine* status = nullptr;
    std::chrono::milliseconds statusAfter{1000};

    VirtualRadio& AddRadio(const QByteArray& identity = "RZ614UV", uint8_t band = 0,
                           const QByteArray& serial = {})
    {
        auto radio = std::make_unique<VirtualRadio>();
        radio->SetDefaultImage();
        radio->SetIdentity(identity);
        radio->SetBandByte(band);
        if (!serial.isEmpty())
            radio->Image() = Edited(radio->Image(), {{Layout::SerialNumber, Field(serial, 16)}});
        if (!radio->OpenPty())
            qFatal("virtual radio: %s", qPrintable(radio->ErrorString()));
        radios.push_back(std::move(radio));
        if (radios.size() == 1)
            Connect(0);
        return *radios.back();
    }

    // The radio that COM900 names from now on.
    void Connect(size_t index)
    {
        QFile::remove(program->AliasPath(RadioCom));
        AddRadioAlias(*program, *radios.at(index));
    }

    ProgramRun RunProgram(const QStringList& arguments, const RunSetting& setting = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_DATA_HOME", program->Path("data"));
        environment.insert("XDG_CONFIG_HOME", program->Path("config"));
        if (!setting.locale.isEmpty()) {
            environment.insert("LC_ALL", setting.locale);
            environment.insert("LANG", setting.locale);
            environment.remove("LANGUAGE");
        }
        if (!setting.timeZone.isEmpty())
            environment.insert("TZ", QString::fromLatin1(setting.timeZone));
        process.setProcessEnvironment(environment);
        std::optional<PtyPair> screen;
        if (setting.terminal) {
            screen.emplace();
            process.setStandardErrorFile(screen->SlavePath());
        }
        process.start(QStringLiteral(TANGELO_CLI_PROGRAM), arguments);
        ProgramRun run;
        if (!process.waitForStarted())
            return run;
        process.write(setting.input);
        process.closeWriteChannel();
        bool interrupted = false;
        const bool ended = QTest::qWaitFor(
            [&] {
                run.out += process.readAllStandardOutput();
                run.err += screen ? screen->Read(1 << 16, 1) : process.readAllStandardError();
                if (setting.interrupt && !interrupted && run.err.contains('\n')) {
                    ::kill(pid_t(process.processId()), SIGINT);
                    interrupted = true;
                }
                return process.state() == QProcess::NotRunning;
            },
            20000);
        if (!ended)
            return run;
        run.ended = process.exitStatus() == QProcess::NormalExit;
        run.exitCode = process.exitCode();
        run.out += process.readAllStandardOutput();
        run.err += screen ? screen->Read(1 << 16, 100) : process.readAllStandardError();
        run.output = run.out + run.err;
        return run;
    }

    int Cli(const QStringList& arguments)
    {
        out.clear();
        err.clear();
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        CliContext context;
        context.out = &outStream;
        context.err = &errStream;
        context.readLine = readLine;
        if (stop)
            context.stopRequested = stop;
        context.settings = program->Settings();
        context.codePage = AnsiCodePage("windows-1252");
        context.timings = timings;
        context.backupFolder = backupFolder;
        context.retryPause = 50ms;
        context.status = status;
        context.statusAfter = statusAfter;
        return RunCli(QStringList{QStringLiteral("tangelo-cli")} + arguments, context);
    }

    QStringList Backups() const { return QDir(program->BackupDir()).entryList(QDir::Files, QDir::Name); }

    // A USB serial adapter in the fake sysfs: USB device `usb` with its ids (none when empty), its
    // interface bound to `driver` (none when empty), and the tty below the interface.
    void AddUsbTty(const QString& name, const QString& usb, const QByteArray& ids, const QString& driver)
    {
        const QString sys = program->SysRoot();
        const QString device = sys + QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/") + usb;
        const QString interface = device + u'/' + usb + QStringLiteral(":1.0");
        QVERIFY(QDir().mkpath(interface + u'/' + name));
        if (!ids.isEmpty()) {
            WriteTestFile(device + QStringLiteral("/idVendor"), ids.left(4) + '\n');
            WriteTestFile(device + QStringLiteral("/idProduct"), ids.mid(5) + '\n');
        }
        if (!driver.isEmpty()) {
            const QString driverDir = sys + QStringLiteral("/bus/usb/drivers/") + driver;
            QVERIFY(QDir().mkpath(driverDir));
            QVERIFY(QFile::link(driverDir, interface + QStringLiteral("/driver")));
        }
        const QString ttyDir = sys + QStringLiteral("/class/tty/") + name;
        QVERIFY(QDir().mkpath(ttyDir));
        QVERIFY(QFile::link(interface + u'/' + name, ttyDir + QStringLiteral("/device")));
    }

private slots:
    void init()
    {
        program = std::make_unique<IsolatedProgram>();
        readLine = {};
        stop = {};
        timings = ShortWaits;
        backupFolder.clear();
    }

    void cleanup()
    {
        radios.clear();
        program.reset();
    }

    // The ports as the window lists them, aliases included.
    void ports()
    {
        const VirtualRadio& radio = AddRadio();
        QCOMPARE(Cli({"ports"}), 0);
        QVERIFY2(out.startsWith("COM900  " + QFileInfo(radio.DevicePath()).canonicalFilePath()),
                 qPrintable(out));
    }

    // Each format shows the radio's image as the record decodes it; a comma and quotes survive CSV.
    void readFormats_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("text") << QStringList{"read", "--port", Port};
        QTest::newRow("json") << QStringList{"read", "--port", Port, "--json"};
        QTest::newRow("csv") << QStringList{"read", "--port", "COM900", "--csv", "--header"};
    }

    void readFormats()
    {
        QFETCH(QStringList, arguments);
        VirtualRadio& radio = AddRadio("RZ614_V", 13);
        radio.Image() = Edited(radio.Image(), {{Layout::Seller, Field("Li, \"Wei\"", 16)}});
        QCOMPARE(Cli(arguments), 0);
        QVERIFY2(err.isEmpty(), qPrintable(err));

        // key and label, and what the record decoded from the radio's own bytes says.
        const RadioInfoRecord decoded = DecodeInfo(radio.Image(), AnsiCodePage("windows-1252"));
        const QList<std::array<QString, 3>> expected{
            {"type", "Radio type", "TANGELOSV"},
            {"band", "Band", "13"},
            {"band_name", "Band name", "UHF(144 - 146 MHz) VHF(144 - 146 MHz)"},
            {"band_setting", "Band setting", "off"},
            {"serial_number", "Serial number", TrimText(decoded.SerialNumber)},
            {"maintenance_description", "Maintenance description", TrimText(decoded.MaintenanceDescription)},
            {"dealer_code", "Dealer code", ""},
            {"stock_date", "Stock date", TrimText(decoded.StockDate)},
            {"seller", "Seller", "Li, \"Wei\""},
            {"password", "Password", ""},
            {"five_tone", "5Tone", "on"},
            {"kill", "Kill", "off"},
        };
        QMap<QString, QString> shown; // by key, or by label for text
        const QString format = QTest::currentDataTag();
        if (format == u"text") {
            static const QRegularExpression line(QStringLiteral("^([^:]+):\\s*(.*)$"));
            for (const QString& text : out.split(u'\n', Qt::SkipEmptyParts)) {
                const QRegularExpressionMatch match = line.match(text);
                QVERIFY2(match.hasMatch(), qPrintable(text));
                shown.insert(match.captured(1), match.captured(2));
            }
        } else if (format == u"json") {
            const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
            for (auto it = object.begin(); it != object.end(); ++it)
                shown.insert(it.key(), it->isBool()     ? (it->toBool() ? "on" : "off")
                                       : it->isDouble() ? QString::number(it->toInt())
                                                        : it->toString());
        } else {
            const QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
            QCOMPARE(lines.size(), 2);
            const QStringList keys = CsvFields(lines[0]);
            const QStringList values = CsvFields(lines[1]);
            QCOMPARE(values.size(), keys.size());
            for (qsizetype i = 0; i < keys.size(); ++i)
                shown.insert(keys[i], values[i]);
        }
        for (const auto& [key, label, value] : expected) {
            const QString name = format == u"text" ? label : key;
            QVERIFY2(shown.contains(name), qPrintable(name));
            QCOMPARE(shown.value(name), value);
        }
    }

    // What a write sends: exactly the bytes of the fields given, or nothing when it must not write.
    void writes_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("backupsWritable");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<Edits>("edits");   // the radio's image afterwards
        QTest::addColumn<QString>("shown"); // on standard output or standard error

        const QStringList w{"write", "--port", Port};
        QTest::newRow("two fields") << QByteArray("RZ614UV") << 0
                                    << w + QStringList{"--dealer-code", "D-42", "--seller", "Shop, 7  "}
                                    << true << 0
                                    << Edits{{Layout::DealerCode, Field("D-42", 16)},
                                             {Layout::Seller, Field("Shop, 7", 16)}}
                                    << "Dealer code: \"\" → \"D-42\"";
        // The password and the seller already read so: their bytes (0xFF for the password) stay.
        QTest::newRow("texts the radio holds keep their bytes")
            << QByteArray("RZ614UV") << 0
            << w + QStringList{"--password", "", "--seller", "Li Wei", "--stock-date", "2025-01-01"} << true
            << 0 << Edits{{Layout::StockDate, Field("2025-01-01", 16)}} << "done (Stock date)";
        QTest::newRow("band change without --yes")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--band", "5"} << true << 5 << Edits{}
            << "--yes";
        QTest::newRow("band change by name with --yes")
            << QByteArray("RZ614UV") << 0
            << w + QStringList{"--band", "uhf(400 - 438 mhz) vhf(136 - 174 mhz)", "--yes", "--band-setting",
                               "on"}
            << true << 0 << Edits{{7, "\x05"}, {13, "\xE4"}} << "Band: 0 UHF(400 - 490 MHz)";
        QTest::newRow("far band refused")
            << QByteArray("RZ614_V") << 18 << w + QStringList{"--band", "12", "--yes"} << true << 5 << Edits{}
            << "66 - 88 MHz";
        QTest::newRow("far band kept")
            << QByteArray("RZ614_V") << 18 << w + QStringList{"--band", "18", "--seller", "X"} << true << 0
            << Edits{{Layout::Seller, Field("X", 16)}} << "done (Seller)";
        QTest::newRow("band of another type")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--band", "12", "--yes"} << true << 5 << Edits{}
            << "not a band of the TANGELOUV";
        QTest::newRow("text too wide")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--seller", "ABCDEFGHIJKLMNOPQ"} << true << 2
            << Edits{} << "the seller field holds 16 bytes";
        QTest::newRow("text outside the code page")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--dealer-code", "李"} << true << 2 << Edits{}
            << "--dealer-code: the character \"李\" (U+674E) cannot be stored in the dealer code field in "
               "the "
               "radio's code page windows-1252";
        // A control character is refused wherever it is, named with its position; a character
        // outside the first plane counts as one.
        const QList<std::tuple<const char*, const char*, QString, QString>> controls{
            {"a line break in the seller", "--seller", "line1\nline2",
             "--seller: \"line1\\nline2\" has a control character (U+000A) at character 6; the seller field"},
            {"a tab in the dealer code", "--dealer-code", "A\tB", "(U+0009) at character 2"},
            {"an escape sequence in the stock date", "--stock-date", "\x1b[31mred",
             "\"\\x1B[31mred\" has a control character (U+001B) at character 1"},
            {"DEL in the password", "--password", "ab\x7f", "(U+007F) at character 3"},
            {"a C1 character in the sell date", "--sell-date", QStringLiteral("x\u009B1m"),
             "(U+009B) at character 2"},
            {"after a character outside the first plane", "--seller", QStringLiteral("\U0001F600\r"),
             "(U+000D) at character 2"},
        };
        for (const auto& [name, option, text, message] : controls)
            QTest::newRow(name) << QByteArray("RZ614UV") << 0 << w + QStringList{option, text} << true << 2
                                << Edits{} << message;
        QTest::newRow("another type")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--type", "tangelosv", "--seller", "X"} << true
            << 4 << Edits{} << "the radio is a TANGELOUV, not a TANGELOSV";
        QTest::newRow("backup cannot be saved")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--seller", "X"} << false << 5 << Edits{}
            << "The backup could not be saved";
        QTest::newRow("backup cannot be saved, --no-backup")
            << QByteArray("RZ614UV") << 0 << w + QStringList{"--seller", "X", "--no-backup"} << false << 0
            << Edits{{Layout::Seller, Field("X", 16)}} << "done (Seller)";
    }

    void writes()
    {
        QFETCH(QByteArray, identity);
        QFETCH(int, band);
        QFETCH(QStringList, arguments);
        QFETCH(bool, backupsWritable);
        QFETCH(int, exitCode);
        QFETCH(Edits, edits);
        QFETCH(QString, shown);
        VirtualRadio& radio = AddRadio(identity, uint8_t(band));
        const RadioImage before = radio.Image();
        if (!backupsWritable) {
            WriteTestFile(program->Path("file"), "not a folder");
            backupFolder = program->Path("file/backups");
        }

        QCOMPARE(Cli(arguments), exitCode);
        const QString diff = ImageDiff(radio.Image(), Edited(before, edits));
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QVERIFY2((out + err).contains(shown), qPrintable(out + err));
        const QStringList frames = FrameNames(radio);
        QCOMPARE(Count(frames, "W0"), exitCode == 0 ? 1 : 0);
        if (exitCode == 2)
            QVERIFY(frames.isEmpty());
    }

    // --code-page: the radio's texts read, written, restored and listed in the code page given instead
    // of the system's (here 1252), which the JSON names; a number the program does not know, or a
    // character the page cannot hold, is a usage error that names it.
    void codePages_data()
    {
        QTest::addColumn<QStringList>("arguments");  // %f: a backup of the radio as it was
        QTest::addColumn<QByteArray>("seller");      // the radio's
        QTest::addColumn<QByteArray>("laterSeller"); // the radio's after the backup, if any
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("shown");      // on standard output or standard error
        QTest::addColumn<QByteArray>("sellerAfter"); // the radio's after the run; empty: as it was

        const QByteArray zhangSan = QByteArray::fromHex("d5c5c8fd"); // 张三 in GBK
        const QByteArray ivan = QByteArray::fromHex("c8e2e0ed");     // Иван in 1251
        const QStringList read{"read", "--port", Port};
        const QStringList write{"write", "--port", Port};
        const QString known = QStringLiteral("874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, "
                                             "1256, 1257, 1258, and 65001");
        QTest::newRow("read --json, 936")
            << read + QStringList{"--json", "--code-page", "936"} << zhangSan << QByteArray() << 0
            << QStringList{"\"seller\": \"张三\"", "\"code_page\": 936"} << QByteArray();
        QTest::newRow("read --json, the system's")
            << read + QStringList{"--json"} << zhangSan << QByteArray() << 0
            << QStringList{"\"seller\": \"ÕÅÈý\"", "\"code_page\": 1252"} << QByteArray();
        QTest::newRow("read, 1251") << read + QStringList{"--code-page", "1251"} << ivan << QByteArray() << 0
                                    << QStringList{"Иван\n"} << QByteArray();
        QTest::newRow("write, 936") << write + QStringList{"--code-page", "936", "--seller", "李四"}
                                    << zhangSan << QByteArray() << 0
                                    << QStringList{"Seller: \"张三\" → \"李四\""}
                                    << QByteArray::fromHex("c0eecbc4");
        QTest::newRow("write, a character the system's page lacks")
            << write + QStringList{"--seller", "李四"} << zhangSan << QByteArray() << 2
            << QStringList{"--seller: the character \"李\" (U+674E) cannot be stored in the seller field in "
                           "the radio's code page windows-1252"}
            << QByteArray();
        QTest::newRow("write, a character the page given lacks")
            << write + QStringList{"--dealer-code", "Café", "--code-page", "1251"} << ivan << QByteArray()
            << 2
            << QStringList{"--dealer-code: the character \"é\" (U+00E9) cannot be stored in the dealer code "
                           "field in the radio's code page windows-1251"}
            << QByteArray();
        QTest::newRow("write, a character whose byte ends a text")
            << write + QStringList{"--seller", "Ÿ and ÿ"} << zhangSan << QByteArray() << 2
            << QStringList{"the character \"ÿ\" (U+00FF) cannot be stored in the seller field"}
            << QByteArray();
        QTest::newRow("write, a character that would not show")
            << write + QStringList{"--seller", "A\u202Eb"} << zhangSan << QByteArray() << 2
            << QStringList{"--seller: the character U+202E cannot be stored"} << QByteArray();
        QTest::newRow("restore --dry-run, 936")
            << QStringList{"restore", "--port", Port, "--dry-run", "--code-page", "936", "%f"} << zhangSan
            << QByteArray("Wang") << 0 << QStringList{"Seller: \"Wang\" → \"张三\""} << QByteArray("Wang");
        QTest::newRow("backups, 936") << QStringList{"backups", "--code-page", "936"} << zhangSan
                                      << QByteArray() << 0 << QStringList{" 张三 "} << QByteArray();
        QTest::newRow("backups, the system's") << QStringList{"backups"} << zhangSan << QByteArray() << 0
                                               << QStringList{" ÕÅÈý "} << QByteArray();
        QTest::newRow("a number the program does not know")
            << read + QStringList{"--code-page", "1234"} << zhangSan << QByteArray() << 2
            << QStringList{"--code-page: 1234 is not a code page this program knows; give one of " + known}
            << QByteArray();
        QTest::newRow("a name, not a number")
            << QStringList{"backups", "--code-page", "GBK"} << zhangSan << QByteArray() << 2
            << QStringList{"--code-page: GBK is not a code page this program knows"} << QByteArray();
        QTest::newRow("given twice") << read + QStringList{"--code-page", "936", "--code-page", "1252"}
                                     << zhangSan << QByteArray() << 2
                                     << QStringList{"--code-page is given more than once"} << QByteArray();
    }
    void codePages()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, seller);
        QFETCH(QByteArray, laterSeller);
        QFETCH(int, exitCode);
        QFETCH(QStringList, shown);
        QFETCH(QByteArray, sellerAfter);
        VirtualRadio& radio = AddRadio();
        radio.Image() = Edited(radio.Image(), {{Layout::Seller, Field(seller, 16)}});
        if (arguments.first() == u"backups") {
            RadioBackup backup;
            backup.RadioType = QStringLiteral("TANGELOUV");
            backup.Saved = QDateTime(QDate(2026, 12, 1), QTime(10, 0));
            backup.Image = radio.Image();
            QVERIFY(BackupFolder(program->BackupDir())
                        .Save(backup, AnsiCodePage("windows-1252"))
                        .Error.isEmpty());
        }
        const QString file = program->Path("radio.json");
        if (arguments.contains(u"%f"))
            QCOMPARE(Cli({"backup", "--port", Port, file}), 0);
        if (!laterSeller.isEmpty())
            radio.Image() = Edited(radio.Image(), {{Layout::Seller, Field(laterSeller, 16)}});
        arguments.replaceInStrings(QStringLiteral("%f"), file);
        const RadioImage before = radio.Image();

        QCOMPARE(Cli(arguments), exitCode);
        for (const QString& piece : shown)
            QVERIFY2((out + err).contains(piece), qPrintable(out + err));
        const RadioImage expected =
            sellerAfter.isEmpty() ? before : Edited(before, {{Layout::Seller, Field(sellerAfter, 16)}});
        const QString diff = ImageDiff(radio.Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // The automatic backup is on the disk before the first block write reaches the radio.
    void backupBeforeFirstBlockWrite()
    {
        VirtualRadio& radio = AddRadio();
        const RadioImage before = radio.Image();
        std::optional<ParsedBackup> atFirstWrite;
        QDateTime firstWriteTime;
        connect(&radio, &VirtualRadio::FrameReceived, this, [&](const QByteArray& frame) {
            if (frame.startsWith('W') && !atFirstWrite) {
                firstWriteTime = QDateTime::currentDateTime();
                const QStringList files = Backups();
                atFirstWrite = files.size() == 1
                                   ? ReadBackupFile(QDir(program->BackupDir()).filePath(files[0]))
                                   : ParsedBackup{std::nullopt, files.join(u' ')};
            }
        });
        QCOMPARE(Cli({"write", "--port", Port, "--type", "TANGELOUV", "--seller", "Zhang"}), 0);
        QVERIFY(atFirstWrite);
        QVERIFY2(atFirstWrite->Backup, qPrintable(atFirstWrite->Error));
        QCOMPARE(atFirstWrite->Backup->RadioType, QStringLiteral("TANGELOUV"));
        QVERIFY(std::equal(before.begin(), before.begin() + 160, atFirstWrite->Backup->Image.begin()));
        QVERIFY(FileTime(QDir(program->BackupDir()).filePath(Backups().first())) <= firstWriteTime);
        QVERIFY2(out.contains("Backup: " + program->BackupDir()), qPrintable(out));
    }

    // A backup put back: the fields a write changes return byte for byte, to the radio of the file's
    // type and serial number only.
    void backupRestore_data()
    {
        QTest::addColumn<Between>("between");
        QTest::addColumn<bool>("automatic"); // restore the write's automatic backup instead
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<bool>("restored"); // else the radio stays as before the restore

        QTest::newRow("back byte for byte")
            << Between::WriteFields << false << QStringList{"--yes"} << 0 << true;
        QTest::newRow("from the automatic backup")
            << Between::WriteFields << true << QStringList{"--yes"} << 0 << true;
        QTest::newRow("band change without --yes")
            << Between::WriteFields << false << QStringList{} << 5 << false;
        QTest::newRow("dry run") << Between::WriteFields << false << QStringList{"--dry-run", "--yes"} << 0
                                 << false;
        QTest::newRow("another serial number")
            << Between::OtherSerial << false << QStringList{"--yes"} << 5 << false;
        QTest::newRow("another serial number, --force")
            << Between::OtherSerial << false << QStringList{"--yes", "--force"} << 0 << true;
        QTest::newRow("another radio type")
            << Between::OtherType << false << QStringList{"--yes"} << 4 << false;
    }

    void backupRestore()
    {
        QFETCH(Between, between);
        QFETCH(bool, automatic);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(bool, restored);
        VirtualRadio& radio = AddRadio();
        const RadioImage original = radio.Image();
        const QString file = program->Path("radio.json");
        QCOMPARE(Cli({"backup", "--port", Port, file}), 0);
        QCOMPARE(Cli({"backup", "--port", Port, file}), 2); // never over a file

        QCOMPARE(Cli({"write", "--port", Port, "--dealer-code", "D-1", "--password", "1234", "--seller", "",
                      "--band-setting", "on", "--band", "5", "--yes"}),
                 0);
        if (between == Between::OtherSerial)
            radio.Image() = Edited(radio.Image(), {{Layout::SerialNumber, Field("TG99", 16)}});
        if (between == Between::OtherType)
            radio.SetIdentity("RZ614_V");
        const RadioImage before = radio.Image();
        const QString source = automatic ? QDir(program->BackupDir()).filePath(Backups().first()) : file;
        radio.ClearTrace();

        QCOMPARE(Cli(QStringList{"restore", "--port", Port} + options + QStringList{source}), exitCode);
        RadioImage expected = before;
        if (restored)
            std::copy(original.begin(), original.begin() + 160, expected.begin());
        if (between == Between::OtherSerial && restored)
            expected = Edited(expected, {{Layout::SerialNumber, Field("TG99", 16)}});
        const QString diff = ImageDiff(radio.Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QCOMPARE(Count(FrameNames(radio), "W0"), restored ? 1 : 0);
        if (between == Between::WriteFields && exitCode == 0)
            QVERIFY2(out.contains("Dealer code: \"D-1\" → \"\""), qPrintable(out + err));
    }

    // A radio that does not keep what is written to one of its blocks: the write, and a restore, which
    // is a write, fail with exit code 1, naming the field not taken and the automatic backup that holds
    // the radio as it was.
    void fieldNotTaken_data()
    {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<int>("block");
        QTest::addColumn<QString>("field");
        QTest::newRow("write, block 2") << false << 2 << "the dealer code";
        QTest::newRow("restore, block 4") << true << 4 << "the seller";
    }
    void fieldNotTaken()
    {
        QFETCH(bool, restore);
        QFETCH(int, block);
        QFETCH(QString, field);
        VirtualRadio& radio = AddRadio();
        const QString file = program->Path("radio.json");
        if (restore) {
            QCOMPARE(Cli({"backup", "--port", Port, file}), 0);
            QCOMPARE(Cli({"write", "--port", Port, "--seller", "Zhang"}), 0);
            QDir(program->BackupDir()).removeRecursively();
        }
        const RadioImage before = radio.Image();
        VirtualRadioFaults faults;
        faults.blockWriteFaults[block] = {BlockWriteFault::Unkept, 99};
        radio.SetFaults(faults);

        const QStringList arguments = restore ? QStringList{"restore", "--port", Port, "--yes", file}
                                              : QStringList{"write", "--port", Port, "--dealer-code", "D-42"};
        QCOMPARE(Cli(arguments), 1);
        const QStringList backups = Backups();
        QCOMPARE(backups.size(), 1);
        const QString backup = QDir(program->BackupDir()).filePath(backups[0]);
        const QString shown = out + err;
        QVERIFY2(shown.contains(QStringLiteral("did not take %1:").arg(field)), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("automatic backup %1 holds the radio as it was").arg(backup)),
                 qPrintable(shown));
        const ParsedBackup parsed = ReadBackupFile(backup);
        QVERIFY2(parsed.Backup, qPrintable(parsed.Error));
        QVERIFY(std::equal(before.begin(), before.begin() + 160, parsed.Backup->Image.begin()));
        const QString diff = ImageDiff(radio.Image(), before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // Three radios one after the other, each written once and logged once.
    void batch_data()
    {
        QTest::addColumn<bool>("prompt");
        QTest::newRow("prompt") << true;
        QTest::newRow("no prompt") << false;
    }

    void batch()
    {
        QFETCH(bool, prompt);
        for (const char* serial : {"TG0001", "TG0002", "TG0003"})
            AddRadio("RZ614UV", 0, serial);
        size_t connected = 0;
        int endsAfterWrite = -1; // no prompt: the end commands a radio has had since its write
        if (prompt) {
            readLine = [&]() -> std::optional<QString> {
                if (++connected == radios.size())
                    return QStringLiteral("q");
                Connect(connected);
                return QString();
            };
        } else {
            // Each radio stays connected for two more reads after its write, then the next one is.
            for (auto& radio : radios)
                connect(radio.get(), &VirtualRadio::FrameReceived, this, [&](const QByteArray& frame) {
                    if (frame.startsWith('W'))
                        endsAfterWrite = 0;
                    else if (frame == "END" && endsAfterWrite >= 0 && ++endsAfterWrite == 3) {
                        endsAfterWrite = -1;
                        if (++connected < radios.size())
                            Connect(connected);
                    }
                });
            // A run that never gets there ends, and fails below, rather than hanging.
            const QDeadlineTimer deadline(30s);
            stop = [&connected, deadline, this] {
                return connected == radios.size() || deadline.hasExpired();
            };
        }
        const QString log = program->Path("batch.csv");
        QStringList arguments{"write", "--port", Port, "--dealer-code", "BATCH", "--repeat", "--log", log};
        if (!prompt)
            arguments << "--no-prompt";

        QCOMPARE(Cli(arguments), 0);
        for (const auto& radio : radios) {
            QCOMPARE(Count(FrameNames(*radio), "W0"), 1);
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(radio->Image().data()) + Layout::DealerCode, 5),
                     QByteArray("BATCH"));
        }
        QVERIFY2(err.contains("Summary: 3 done, 0 failed, 0 skipped"), qPrintable(err));
        QCOMPARE(int(err.count("Connect the next radio, then press Enter; q to quit")), prompt ? 3 : 0);
        const QStringList lines = QString::fromUtf8(ReadTestFile(log)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QStringLiteral("time,port,type,serial_number,result,changed_fields,reason"));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(CsvFields(lines[i]).mid(1),
                     (QStringList{"COM900", "TANGELOUV", QStringLiteral("TG000%1").arg(i), "done",
                                  "dealer_code", ""}));
    }

    // With the prompt, the dealer's answers: Enter with the radio just done still connected does not
    // do it again (it says so and asks again), an answer that is neither Enter nor a quit word asks
    // again, and the summary counts each radio once. A step "1" connects radio 1, then presses Enter.
    void sameRadio_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QList<int>>("writes"); // block-0 writes each radio had
        QTest::addColumn<int>("sameRadio");     // times the program said so
        QTest::addColumn<int>("prompts");
        QTest::addColumn<QString>("summary");
        QTest::newRow("Enter with the radio just done") << QStringList{"", "1", "q"} << QList<int>{1, 1} << 1
                                                        << 3 << "Summary: 2 done, 0 failed, 0 skipped";
        QTest::newRow("Enter twice with the radio just done")
            << QStringList{"", "", "q"} << QList<int>{1, 0} << 2 << 3
            << "Summary: 1 done, 0 failed, 0 skipped";
        QTest::newRow("other answers ask again") << QStringList{"x", "yes", "1", "退"} << QList<int>{1, 1}
                                                 << 0 << 4 << "Summary: 2 done, 0 failed, 0 skipped";
        QTest::newRow("the first radio again after another")
            << QStringList{"1", "0", "q"} << QList<int>{2, 1} << 0 << 3
            << "Summary: 2 done, 0 failed, 0 skipped";
    }
    void sameRadio()
    {
        QFETCH(QStringList, answers);
        QFETCH(QList<int>, writes);
        QFETCH(int, sameRadio);
        QFETCH(int, prompts);
        QFETCH(QString, summary);
        AddRadio("RZ614UV", 0, "TG0001");
        AddRadio("RZ614UV", 0, "TG0002");
        readLine = [&answers, this]() -> std::optional<QString> {
            if (answers.isEmpty())
                return std::nullopt;
            const QString answer = answers.takeFirst();
            bool number = false;
            const int radio = answer.toInt(&number);
            if (!number)
                return answer;
            Connect(size_t(radio));
            return QString();
        };

        QCOMPARE(Cli({"write", "--port", Port, "--dealer-code", "D-1", "--repeat"}), 0);
        for (qsizetype i = 0; i < writes.size(); ++i)
            QCOMPARE(Count(FrameNames(*radios.at(size_t(i))), "W0"), writes[i]);
        QCOMPARE(int(err.count("the same radio as before, TG0001: connect the next one")), sameRadio);
        QCOMPARE(int(err.count("Connect the next radio, then press Enter; q to quit")), prompts);
        QVERIFY2(err.contains(summary), qPrintable(err));
    }

    // --log takes a file that is not there, an empty one or its own log; any other file is the
    // user's: refused, left as it was, and nothing is sent to the radio.
    void logFile_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("exitCode");
        const QByteArray header = "time,port,type,serial_number,result,changed_fields,reason";
        const QByteArray line = "2026-12-09T10:00:00+01:00,COM900,TANGELOUV,TG1,done,dealer_code,\n";
        QTest::newRow("not there") << false << QByteArray() << 0;
        QTest::newRow("empty") << true << QByteArray() << 0;
        QTest::newRow("its own log") << true << header + '\n' + line << 0;
        QTest::newRow("its own log, Windows line ends") << true << header + "\r\n" + line << 0;
        QTest::newRow("a JSON backup")
            << true << QByteArray("{\"format\": \"TANGELO_Tune radio backup\", \"version\": 1}\n") << 2;
        QTest::newRow("another CSV file") << true << QByteArray("name,phone\nLi,123\n") << 2;
        QTest::newRow("a log without the reason column")
            << true << QByteArray("time,port,type,serial_number,result,changed_fields\n") << 2;
        QTest::newRow("the header alone, cut short") << true << header.left(20) << 2;
    }
    void logFile()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, before);
        QFETCH(int, exitCode);
        VirtualRadio& radio = AddRadio();
        const QString log = program->Path("out.csv");
        if (exists)
            WriteTestFile(log, before);

        QCOMPARE(Cli({"read", "--port", Port, "--log", log}), exitCode);
        const QByteArray after = ReadTestFile(log);
        if (exitCode != 0) {
            QCOMPARE(after, before);
            QVERIFY2(err.contains("is not a log of this program"), qPrintable(err));
            QVERIFY(FrameNames(radio).isEmpty());
            return;
        }
        const QByteArray kept =
            before.isEmpty() ? "time,port,type,serial_number,result,changed_fields,reason\n" : before;
        QVERIFY2(after.startsWith(kept), after.constData());
        const QList<QByteArray> added = after.mid(kept.size()).split('\n');
        QCOMPARE(added.size(), 2); // one line, and the end after it
        QCOMPARE(CsvFields(QString::fromUtf8(added[0])).mid(1, 4),
                 (QStringList{"COM900", "TANGELOUV", "TG24031500871", "done"}));
    }

    // A failed or skipped radio's log line says why, in a word from a fixed list at its end.
    void logReasons_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<int>("band");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("backupsWritable");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("reason");
        const VirtualRadioFaults none;
        const QStringList read{"read", "--port", Port};
        const QStringList write{"write", "--port", Port};
        QTest::newRow("done") << QByteArray("RZ614UV") << 0 << none << write + QStringList{"--seller", "X"}
                              << true << 0 << "done"
                              << "";
        QTest::newRow("no reply") << QByteArray("RZ614UV") << 0
                                  << Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }) << read
                                  << true << 1 << "failed"
                                  << "no_reply";
        QTest::newRow("echo") << QByteArray("RZ614UV") << 0
                              << Faults([](VirtualRadioFaults& f) { f.echo = true; }) << read << true << 1
                              << "failed"
                              << "echo";
        QTest::newRow("negative replies")
            << QByteArray("RZ614UV") << 0 << Faults([](VirtualRadioFaults& f) { f.refuseAll = true; }) << read
            << true << 1 << "failed"
            << "negative_replies";
        QTest::newRow("noise") << QByteArray("RZ614UV") << 0
                               << Faults([](VirtualRadioFaults& f) { f.noise = true; }) << read << true << 1
                               << "failed"
                               << "unreadable";
        QTest::newRow("another block") << QByteArray("RZ614UV") << 0 << Faults([](VirtualRadioFaults& f) {
            f.wrongBlocks = {{2, 5}, {3, 5}, {4, 5}};
        }) << read << true << 1 << "failed"
                                       << "other_block";
        QTest::newRow("not taken") << QByteArray("RZ614UV") << 0 << Faults([](VirtualRadioFaults& f) {
            f.blockWriteFaults[2] = {BlockWriteFault::Unkept, 99};
        }) << write + QStringList{"--dealer-code", "D-42"}
                                   << true << 1 << "failed"
                                   << "not_taken";
        QTest::newRow("port cannot be opened")
            << QByteArray("RZ614UV") << 0 << none << QStringList{"read", "--port", "/dev/no-such-tty"} << true
            << 3 << "failed"
            << "cannot_open";
        QTest::newRow("another type")
            << QByteArray("RZ614UV") << 0 << none
            << write + QStringList{"--type", "TANGELOSU", "--seller", "X"} << true << 4 << "skipped"
            << "other_type";
        QTest::newRow("band change without --yes")
            << QByteArray("RZ614UV") << 0 << none << write + QStringList{"--band", "5"} << true << 5
            << "skipped"
            << "band_needs_yes";
        QTest::newRow("radio in band 18")
            << QByteArray("RZ614_V") << 18 << none << write + QStringList{"--band", "12", "--yes"} << true
            << 5 << "skipped"
            << "band_refused";
        QTest::newRow("band of another type")
            << QByteArray("RZ614UV") << 0 << none << write + QStringList{"--band", "12", "--yes"} << true << 5
            << "skipped"
            << "band_not_offered";
        QTest::newRow("backup cannot be saved")
            << QByteArray("RZ614UV") << 0 << none << write + QStringList{"--seller", "X"} << false << 5
            << "skipped"
            << "backup_not_saved";
    }
    void logReasons()
    {
        QFETCH(QByteArray, identity);
        QFETCH(int, band);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QStringList, arguments);
        QFETCH(bool, backupsWritable);
        QFETCH(int, exitCode);
        QFETCH(QString, result);
        QFETCH(QString, reason);
        VirtualRadio& radio = AddRadio(identity, uint8_t(band));
        radio.SetFaults(faults);
        timings = WaitsFor(faults);
        if (!backupsWritable) {
            WriteTestFile(program->Path("file"), "not a folder");
            backupFolder = program->Path("file/backups");
        }
        const QString log = program->Path("radios.csv");

        QCOMPARE(Cli(arguments + QStringList{"--log", log}), exitCode);
        const QStringList lines = QString::fromUtf8(ReadTestFile(log)).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QStringLiteral("time,port,type,serial_number,result,changed_fields,reason"));
        const QStringList fields = CsvFields(lines[1]);
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields[4], result);
        QCOMPARE(fields[6], reason);
    }

    // A radio's texts and a backup file's reach the terminal with their control characters escaped:
    // an escape sequence from a radio must not act on the dealer's terminal. JSON escapes them as
    // JSON does, and reads back as the radio's text.
    void radioTextsEscaped_data()
    {
        QTest::addColumn<QStringList>("arguments"); // %f: a backup file whose radio type has an escape
        QTest::addColumn<QStringList>("shown");
        const QStringList read{"read", "--port", Port};
        const QString serial = QStringLiteral("TG\\x1B]0;x\\x07");
        QTest::newRow("read") << read << QStringList{"A\\x1B[31mB", serial, "D\\x7F", "S\\tT"};
        QTest::newRow("read --json") << read + QStringList{"--json"}
                                     << QStringList{"\"A\\u001b[31mB\"", "\"D\\u007f\"", "\"S\\tT\""};
        QTest::newRow("read --csv") << read + QStringList{"--csv"} << QStringList{"A\\x1B[31mB", "D\\x7F"};
        QTest::newRow("write") << QStringList{"write", "--port", Port, "--dealer-code", "X"}
                               << QStringList{"\"D\\x7F\" → \"X\"", "COM900 TANGELOUV " + serial + ": done"};
        QTest::newRow("log") << read + QStringList{"--log", "%l"}
                             << QStringList{"TANGELOUV," + serial + ",done"};
        QTest::newRow("backups") << QStringList{"backups"}
                                 << QStringList{"TANGELOUV\\x1B[2J", "A\\x1B[31mB", serial};
        QTest::newRow("restore") << QStringList{"restore", "--port", Port, "--yes", "%f"}
                                 << QStringList{"no radio type 'TANGELOUV\\x1B[2J'"};
        QTest::newRow("ports, a cable's product name")
            << QStringList{"ports"} << QStringList{"Cable\\x1B[2J"};
        QTest::newRow("check, a cable's product name")
            << QStringList{"check", "--port", "187"} << QStringList{"Cable\\x1B[2J"};
        QTest::newRow("check --json, a cable's product name")
            << QStringList{"check", "--port", "187", "--json"} << QStringList{"Cable\\u001b[2J"};
        QTest::newRow("a usage error quoting what was typed")
            << read + QStringList{"x\x1b[2Jy"} << QStringList{"unexpected argument 'x\\x1B[2Jy'"};
        QTest::newRow("trace") << QStringList{"read", "--port", "/dev/no-\x1b[2J-tty", "--trace"}
                               << QStringList{"/dev/no-\\x1B[2J-tty"};
    }
    void radioTextsEscaped()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, shown);
        VirtualRadio& radio = AddRadio();
        radio.Image() = Edited(radio.Image(), {{Layout::SerialNumber, Field("TG\x1b]0;x\x07", 16)},
                                               {Layout::Seller, Field("A\x1b[31mB", 16)},
                                               {Layout::DealerCode, Field("D\x7f", 16)},
                                               {Layout::StockDate, Field("S\tT", 16)}});
        RadioBackup backup;
        backup.RadioType = QStringLiteral("TANGELOUV\x1b[2J");
        backup.Saved = QDateTime(QDate(2026, 12, 9), QTime(10, 0));
        std::copy(radio.Image().begin(), radio.Image().end(), backup.Image.begin());
        const BackupFileResult saved =
            BackupFolder(program->BackupDir()).Save(backup, AnsiCodePage("windows-1252"));
        QVERIFY2(saved.Error.isEmpty(), qPrintable(saved.Error));
        AddUsbTty("ttyUSB87", "1-4", "0403:6001", "ftdi_sio");
        WriteTestFile(program->SysRoot() + "/devices/pci0000:00/0000:00:14.0/usb1/1-4/product",
                      "Cable\x1b[2J\n");
        const QString log = program->Path("radios.csv");
        arguments.replaceInStrings(QStringLiteral("%f"), saved.Path);
        arguments.replaceInStrings(QStringLiteral("%l"), log);

        QString output;
        if (arguments.contains(u"--trace")) {
            // The trace goes through Qt's message handler: the program's own standard error.
            const ProgramRun run = RunProgram(arguments);
            QVERIFY(run.ended);
            output = QString::fromUtf8(run.output);
            QVERIFY2(output.contains("tangelo.link"), qPrintable(output));
        } else {
            Cli(arguments);
            output = out + err + QString::fromUtf8(ReadTestFile(log));
        }
        for (const QChar c : output)
            QVERIFY2(
                c == u'\n' || !(c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F)),
                qPrintable(QStringLiteral("U+%1 in: %2").arg(c.unicode(), 4, 16, QChar(u'0')).arg(output)));
        for (const QString& text : shown)
            QVERIFY2(output.contains(text), qPrintable(text + QStringLiteral(" not in:\n") + output));
        if (arguments.contains(u"--json") && arguments.first() == u"read") {
            const QJsonObject record = QJsonDocument::fromJson(out.toUtf8()).object();
            QCOMPARE(record.value("seller").toString(), QStringLiteral("A\x1b[31mB"));
            QCOMPARE(record.value("dealer_code").toString(), QStringLiteral("D\x7f"));
        }
    }

    // The backups' times in the system's zone, each file's own offset notwithstanding, newest first.
    void backupTimes_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QStringList>("times"); // of TG-A (saved 09:30 UTC), then of TG-B (10:00 +08:00)
        QTest::newRow("UTC") << QByteArray("UTC")
                             << QStringList{"2026-12-09 09:30:00", "2026-12-09 02:00:00"};
        QTest::newRow("Shanghai") << QByteArray("Asia/Shanghai")
                                  << QStringList{"2026-12-09 17:30:00", "2026-12-09 10:00:00"};
        QTest::newRow("New York") << QByteArray("America/New_York")
                                  << QStringList{"2026-12-09 04:30:00", "2026-12-08 21:00:00"};
    }
    void backupTimes()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QStringList, times);
        // The program's own folder of backups, under the data folder the run is given.
        const QString folder = program->Path("data/TANGELO_Tune/backups");
        QVERIFY(QDir().mkpath(folder));
        for (const auto& [serial, saved] :
             {std::pair{"TG-A", "2026-12-09T09:30:00Z"}, std::pair{"TG-B", "2026-12-09T10:00:00+08:00"}}) {
            RadioBackup backup;
            backup.RadioType = QStringLiteral("TANGELOUV");
            backup.Saved = QDateTime::fromString(QString::fromLatin1(saved), Qt::ISODate);
            std::copy_n(serial, 4, backup.Image.begin() + Layout::SerialNumber);
            WriteTestFile(folder + u'/' + QString::fromLatin1(serial) + QStringLiteral(".json"),
                          BackupFileContent(backup, AnsiCodePage("windows-1252")));
        }

        const ProgramRun run = RunProgram({"backups"}, {{}, {}, false, false, zone});
        QVERIFY(run.ended);
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines[1].startsWith(times[0]) && lines[1].contains("TG-A"), qPrintable(lines[1]));
        QVERIFY2(lines[2].startsWith(times[1]) && lines[2].contains("TG-B"), qPrintable(lines[2]));
    }

    // A radio that does not answer: the line names the port once, with its device, then the result
    // and what the line carried, in the system's language.
    void failureLine_data()
    {
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QString>("english"); // after "COM900 (device): failed: "
        QTest::addColumn<QString>("chinese"); // after "COM900（device）：失败："
        QTest::newRow("silent")
            << Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; })
            << "no acceptable reply to the program command after 3 tries. Nothing came back "
               "on any try. Check that the radio is switched on"
            << "编程命令发送 3 次后仍没有收到有效的应答。每次都没有收到任何字节。请检查对讲机是否已开机";
        QTest::newRow("echo")
            << Faults([](VirtualRadioFaults& f) { f.echo = true; })
            << "no acceptable reply to the program command after 3 tries. Each time only the "
               "frame itself came back."
            << "编程命令发送 3 次后仍没有收到有效的应答。每次传回的都只是所发送的帧本身。";
        QTest::newRow("noise")
            << Faults([](VirtualRadioFaults& f) { f.noise = true; })
            << "no acceptable reply to the program command after 3 tries. Each time only bytes "
               "came back that make no reply (first bytes: F8 80 FE 78 00 E0 9C)."
            << "编程命令发送 3 次后仍没有收到有效的应答。每次收到的都只是不构成应答的字节（开头的字节：F8 80 "
               "FE 78 00 E0 9C）。";
        QTest::newRow("every frame refused")
            << Faults([](VirtualRadioFaults& f) { f.refuseAll = true; })
            << "no acceptable reply to the program command after 3 tries. The radio refused it "
               "with a negative reply each time."
            << "编程命令发送 3 次后仍没有收到有效的应答。对讲机每次都回复了否定应答";
    }
    void failureLine()
    {
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        VirtualRadio& radio = AddRadio();
        radio.SetFaults(faults);
        timings = WaitsFor(faults);
        for (const int16_t language : {EnglishLanguage, ChineseLanguage}) {
            const ProgramTranslations translations(language);
            radio.ClearTrace(); // the noise starts again
            QCOMPARE(Cli({"read", "--port", Port}), 1);
            const QString line = err.section(u'\n', 0, 0);
            const QRegularExpression head(language == ChineseLanguage
                                              ? QStringLiteral("^COM900（.+）：失败：")
                                              : QStringLiteral("^COM900 \\(.+\\): failed: "));
            const QRegularExpressionMatch match = head.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            QVERIFY2(
                line.mid(match.capturedLength()).startsWith(language == ChineseLanguage ? chinese : english),
                qPrintable(line));
            QVERIFY2(line.count(QStringLiteral("COM900")) == 1, qPrintable(line));
        }
    }

    // A port that does not open is named once, by the reason that says why.
    void cannotOpenLine_data()
    {
        QTest::addColumn<QString>("port");
        QTest::newRow("a device that is not there") << "/dev/no-such-tty";
        QTest::newRow("a COM number without a device") << "950";
    }
    void cannotOpenLine()
    {
        QFETCH(QString, port);
        const QString named = port.startsWith(u'/') ? port : QStringLiteral("COM") + port;
        for (const int16_t language : {EnglishLanguage, ChineseLanguage}) {
            const ProgramTranslations translations(language);
            QCOMPARE(Cli({"read", "--port", port}), 3);
            const QString line = err.section(u'\n', 0, 0);
            QVERIFY2(line.startsWith(language == ChineseLanguage
                                         ? QStringLiteral("失败：Cannot Open Communication Port. ")
                                         : QStringLiteral("failed: Cannot Open Communication Port. ")),
                     qPrintable(line));
            QVERIFY2(line.count(named) == 1, qPrintable(line));
        }
    }

    // The program's exit codes, one for each way a run can end.
    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("arguments"); // %1: the radio's device
        QTest::addColumn<bool>("silent");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("shown");

        QTest::newRow("done") << QStringList{"read", "--port", "%1"} << false << 0 << "Serial number:";
        QTest::newRow("help") << QStringList{"restore", "--help"} << false << 0 << "5  refused";
        QTest::newRow("version") << QStringList{"--version"} << false << 0 << "tangelo-cli ";
        QTest::newRow("usage") << QStringList{"write", "--port", "%1", "--colour", "red"} << false << 2
                               << "colour";
        QTest::newRow("port cannot be opened") << QStringList{"read", "--port", "/dev/no-such-tty"} << false
                                               << 3 << "Cannot Open Communication Port.";
        QTest::newRow("no reply") << QStringList{"read", "--port", "%1"} << true << 1
                                  << "no acceptable reply";
        QTest::newRow("model error") << QStringList{"write",     "--port",   "%1", "--type",
                                                    "TANGELOSU", "--seller", "X"}
                                     << false << 4 << "not a TANGELOSU";
        QTest::newRow("refused") << QStringList{"write", "--port", "%1", "--band", "7"} << false << 5
                                 << "--yes";
        QTest::newRow("check") << QStringList{"check", "--port", "%1"} << false << 0 << "end command";
    }

    void exitCodes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, silent);
        QFETCH(int, exitCode);
        QFETCH(QString, shown);
        VirtualRadio& radio = AddRadio();
        if (silent)
            radio.SetFaults(Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }));
        arguments.replaceInStrings(QStringLiteral("%1"), radio.DevicePath());

        const ProgramRun run = RunProgram(arguments);
        QVERIFY(run.ended);
        const QString output = QString::fromUtf8(run.output);
        QVERIFY2(output.contains(shown), qPrintable(output));
        QCOMPARE(run.exitCode, exitCode);
        // Pipes are no terminal: no status line, even through the 4.5 s of a silent radio.
        QVERIFY2(!output.contains(u'\r') && !output.contains("Waiting"), qPrintable(output));
    }

    // The program itself on a terminal: the wait of a silent radio shows, in place, and goes.
    void waitShownOnTerminal()
    {
        VirtualRadio& radio = AddRadio();
        radio.SetFaults(Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }));
        RunSetting setting;
        setting.locale = QStringLiteral("en_US.UTF-8");
        setting.terminal = true;
        const ProgramRun run = RunProgram({"read", "--port", radio.DevicePath()}, setting);
        QVERIFY(run.ended);
        QCOMPARE(run.exitCode, 1);
        const QString screen = QString::fromUtf8(run.err);
        const QString waiting = QStringLiteral("\rWaiting for a reply on %1, try %2 of 3 ...");
        qsizetype at = 0;
        for (int tryNumber = 1; tryNumber <= 3; ++tryNumber) {
            at = screen.indexOf(waiting.arg(radio.DevicePath()).arg(tryNumber), at);
            QVERIFY2(at >= 0, qPrintable(screen));
        }
        // Cleared (spaces over it, back to its start) before the failure's line.
        const qsizetype failure =
            screen.indexOf(QStringLiteral("no acceptable reply to the program command"), at);
        QVERIFY2(failure > at && screen.mid(at + 1, failure - at).contains(QStringLiteral("   \r")),
                 qPrintable(screen));
        QVERIFY2(!run.out.contains('\r'), run.out.constData());
    }

    // check on one port: a line per step up to the one that failed, and never a block read or written.
    void check_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<VirtualRadioFaults>("faults");
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("steps"); // step:result, as --json gives them
        QTest::addColumn<QStringList>("frames");

        const VirtualRadioFaults none;
        QTest::newRow("radio answers")
            << QByteArray("RZ614UV") << none << Port << 0
            << QStringList{"port:ok", "open:ok", "program_command:ok", "identity:ok", "end_command:ok"}
            << QStringList{"P", "I", "END"};
        QTest::newRow("end command unanswered")
            << QByteArray("RZ614_V") << Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 2; }) << Port
            << 0
            << QStringList{"port:ok", "open:ok", "program_command:ok", "identity:ok", "end_command:no_reply"}
            << QStringList{"P", "I", "END", "END", "END"};
        QTest::newRow("silent radio")
            << QByteArray("RZ614UV") << Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }) << Port
            << 1 << QStringList{"port:ok", "open:ok", "program_command:failed"} << QStringList{"P", "P", "P"};
        QTest::newRow("no identity") << QByteArray("RZ614UV") << Faults([](VirtualRadioFaults& f) {
            f.silentFromFrame = 1;
        }) << Port << 1 << QStringList{"port:ok", "open:ok", "program_command:ok", "identity:failed"}
                                     << QStringList{"P", "I", "I", "I"};
        QTest::newRow("unknown radio type") << QByteArray("RZ999XY") << none << Port << 4
                                            << QStringList{"port:ok", "open:ok", "program_command:ok",
                                                           "identity:failed", "end_command:not_sent"}
                                            << QStringList{"P", "I"};
        QTest::newRow("port cannot be opened")
            << QByteArray("RZ614UV") << none << "/dev/no-such-tty" << 3
            << QStringList{"port:not_listed", "open:failed"} << QStringList{};
        // The port going away is no reply that never came: it is named, with the exit code of a port.
        QTest::newRow("port gone at the end command")
            << QByteArray("RZ614UV") << Faults([](VirtualRadioFaults& f) { f.hangUpFrames = {2}; }) << Port
            << 3
            << QStringList{"port:ok", "open:ok", "program_command:ok", "identity:ok", "end_command:port_lost"}
            << QStringList{"P", "I", "END"};
        QTest::newRow("port gone at the identity request")
            << QByteArray("RZ614UV") << Faults([](VirtualRadioFaults& f) { f.hangUpFrames = {1}; }) << Port
            << 3 << QStringList{"port:ok", "open:ok", "program_command:ok", "identity:port_lost"}
            << QStringList{"P", "I"};
        QTest::newRow("end command refused")
            << QByteArray("RZ614UV") << Faults([](VirtualRadioFaults& f) {
                   f.nakFrames = {2, 3, 4};
               })
            << Port << 1
            << QStringList{"port:ok", "open:ok", "program_command:ok", "identity:ok", "end_command:refused"}
            << QStringList{"P", "I", "END", "END", "END"};
    }

    void check()
    {
        QFETCH(QByteArray, identity);
        QFETCH(VirtualRadioFaults, faults);
        QFETCH(QString, port);
        QFETCH(int, exitCode);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, frames);
        timings = WaitsFor(faults);
        VirtualRadio& radio = AddRadio(identity);
        radio.SetFaults(faults);

        QCOMPARE(Cli({"check", "--port", port, "--json"}), exitCode);
        const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
        QStringList shown;
        for (const QJsonValue step : object.value("steps").toArray())
            shown << step["step"].toString() + u':' + step["result"].toString();
        QCOMPARE(shown, steps);
        QCOMPARE(object.value("exit_code").toInt(), exitCode);
        QCOMPARE(FrameNames(radio), frames);
        if (exitCode == 0)
            QCOMPARE(object.value("type").toString(), identity == "RZ614UV" ? "TANGELOUV" : "TANGELOSV");

        // A port that went away, and what it went away at, is named as such.
        const QJsonArray jsonSteps = object.value("steps").toArray();
        const QString last = jsonSteps.last()["text"].toString();
        if (steps.last().endsWith(u":port_lost"))
            QVERIFY2(
                last.contains(QStringLiteral("the port went away while waiting for the reply to %1.")
                                  .arg(frames.last() == u"END" ? "the end command" : "the identity request")),
                qPrintable(last));
        if (steps.last().endsWith(u":refused"))
            QVERIFY2(last.contains(
                         "no acceptable reply to the end command after 3 tries. The radio refused it with a "
                         "negative reply each time."),
                     qPrintable(last));

        // The text has the same steps, in their order; a radio that hung up is back on a new device.
        const QString device = radio.DevicePath();
        if (!radio.IsOpen()) {
            QVERIFY(radio.OpenPty());
            Connect(0);
        }
        radio.ClearTrace();
        QCOMPARE(Cli({"check", "--port", port}), exitCode);
        qsizetype at = 0;
        for (const QJsonValue step : jsonSteps) {
            at = out.indexOf(step["text"].toString().replace(device, radio.DevicePath()) + u'\n', at);
            QVERIFY2(at >= 0, qPrintable(out));
        }
        QCOMPARE(FrameNames(radio), frames);
        if (exitCode == 0)
            QVERIFY2(out.contains("The radio answered the program command."), qPrintable(out));
    }

    // Without --port, check tries the USB serial bridges and the aliases one after the other, never a
    // built-in port or a modem, skips those it cannot open, and stops at the radio.
    void checkFindsRadio_data()
    {
        QTest::addColumn<bool>("json");
        QTest::newRow("text") << false;
        QTest::newRow("json") << true;
    }

    void checkFindsRadio()
    {
        QFETCH(bool, json);
        program->AddTty("ttyS0");                              // COM1: a built-in UART
        AddUsbTty("ttyACM0", "1-2", "2c7c:0125", "cdc_acm");   // COM200: a modem
        AddUsbTty("ttyACM1", "1-3", "1a86:55d3", "cdc_acm");   // COM201: a CH343, not there
        AddUsbTty("ttyUSB87", "1-4", "0403:6001", "ftdi_sio"); // COM187: an FTDI cable, not there
        AddUsbTty("ttyUSB88", "1-5", {}, "ch341");             // COM188: known by its driver alone
        VirtualRadio& silent = AddRadio();                     // COM900
        silent.SetFaults(Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }));
        VirtualRadio& answering = AddRadio("RZ614U_", 3);
        AddRadioAlias(*program, answering, 901);
        VirtualRadio& after = AddRadio();
        AddRadioAlias(*program, after, 902);
        VirtualRadio& held = AddRadio(); // COM899: another program holds it
        AddRadioAlias(*program, held, 899);
        const PortLock lock(held.DevicePath());

        QStringList arguments{"check"};
        if (json)
            arguments << "--json";
        QCOMPARE(Cli(arguments), 0);
        QCOMPARE(FrameNames(silent), QStringList({"P", "P", "P"}));
        QCOMPARE(FrameNames(answering), QStringList({"P", "I", "END"}));
        QCOMPARE(FrameNames(after), QStringList{});
        QCOMPARE(FrameNames(held), QStringList{});
        if (!json) {
            QVERIFY2(
                out.contains("A radio answers on COM901: choose COM901 in the window, or give --port 901."),
                qPrintable(out));
            QVERIFY2(out.contains(": COM1 and COM200."), qPrintable(out));
            return;
        }
        const QJsonObject object = QJsonDocument::fromJson(out.toUtf8()).object();
        QStringList tried;
        for (const QJsonValue port : object.value("ports").toArray())
            tried << port["port"].toString() + u'=' + QString::number(port["exit_code"].toInt()) + u'/' +
                         port["usb_bridge"].toString();
        QCOMPARE(tried, QStringList({"COM187=3/FTDI", "COM188=3/CH340", "COM201=3/CH343", "COM899=3/",
                                     "COM900=1/", "COM901=0/"}));
        QCOMPARE(object.value("not_tried").toArray(), QJsonArray({"COM1", "COM200"}));
        QCOMPARE(object.value("radio_port").toString(), "COM901");
        const QJsonObject found = object.value("ports").toArray().last().toObject();
        QCOMPARE(found.value("type").toString(), "TANGELOSU");
        QCOMPARE(found.value("band").toInt(), 3);
    }

    // A port that names no device: the one typed is named as typed; the window's, taken when none is
    // given, is said to be the window's, with the way to the right one.
    void portNamesNoDevice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("notShown");
        QTest::newRow("typed")
            << QStringList{"read", "--port", "950"}
            << "Cannot Open Communication Port. COM950 names no serial device of this computer."
            << "window";
        QTest::newRow("the window's, saved")
            << QStringList{"read"}
            << "Cannot Open Communication Port. COM950, the port chosen in the window and saved from an "
               "earlier "
               "run, names no serial device of this computer. Give the radio's port with --port: "
               "\"tangelo-cli ports\" lists the serial ports there are; \"tangelo-cli check\" finds the one "
               "a radio answers on."
            << "COM950 names";
    }
    void portNamesNoDevice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shown);
        QFETCH(QString, notShown);
        AddRadio(); // COM900, not the one saved
        program->Settings().SaveComPortSetting(950);
        QCOMPARE(Cli(arguments), 3);
        const QString output = out + err;
        QVERIFY2(output.contains(shown) && !output.contains(notShown), qPrintable(output));
    }

    // On a terminal a frame that waits a while for its reply shows it, port and try, in place; the
    // line goes before anything else is written. check without a port names each port as it tries it.
    void waitShown_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QStringList>("shown"); // each text the status line showed, in order

        const QString waiting = QStringLiteral("Waiting for a reply on %1, try %2 of 3 ...");
        const QStringList threeTries{waiting.arg("COM900").arg(1), waiting.arg("COM900").arg(2),
                                     waiting.arg("COM900").arg(3)};
        QTest::newRow("silent radio") << QStringList{"read", "--port", Port} << true << threeTries;
        QTest::newRow("radio answers at once")
            << QStringList{"read", "--port", Port} << false << QStringList{};
        // The trace's own lines come as they happen; a line written over would break into them.
        QTest::newRow("silent radio, --trace")
            << QStringList{"read", "--port", Port, "--trace"} << true << QStringList{};
        QTest::newRow("check, every port, silent")
            << QStringList{"check"} << true << QStringList{"Trying COM900 ..."} + threeTries;
        QTest::newRow("check, every port, radio answers")
            << QStringList{"check"} << false << QStringList{"Trying COM900 ..."};
    }
    void waitShown()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, silent);
        QFETCH(QStringList, shown);
        VirtualRadio& radio = AddRadio();
        if (silent)
            radio.SetFaults(Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }));
        // A silent radio's tries of the program command wait 200 ms each: the status line shows after
        // 50 ms. A radio that answers is given the program's own second before the line would show,
        // which a loaded machine also keeps to.
        timings = {200ms, 100ms};
        QString terminal;
        QTextStream terminalStream(&terminal);
        StatusLine line(terminalStream);
        status = &line;
        statusAfter = silent ? 50ms : 1000ms;
        Cli(arguments);
        status = nullptr;

        QStringList texts;
        for (const QString& text : terminal.split(u'\r'))
            if (!text.trimmed().isEmpty() && !texts.contains(text.trimmed()))
                texts << text.trimmed();
        QCOMPARE(texts, shown);
        // Cleared at the end: spaces over the whole line, and back to its start.
        QVERIFY2(terminal.isEmpty() || terminal.endsWith(QStringLiteral("   \r")), qPrintable(terminal));
        QVERIFY2(!out.contains(u'\r') && !err.contains(u'\r'), qPrintable(out + err));
    }

    // No cable anywhere: nothing is tried, and the exit code is that of no answer.
    void checkWithoutCable()
    {
        program->AddTty("ttyS0");
        QCOMPARE(Cli({"check"}), 1);
        QVERIFY2(out.contains("No port with a USB serial cable was found"), qPrintable(out));
    }

    // The automatic backups newest first, with what tells them apart; SERIAL picks a radio's.
    void backups()
    {
        const BackupFolder folder(program->BackupDir());
        const QList<std::tuple<QByteArray, QByteArray, QByteArray, int>> saved{
            {"TG1001", "D-7", "Li Wei", 1}, {"TG2002", "D-8", "Wang", 3}, {"TG1001", "D-9", "Zhao", 2}};
        for (const auto& [serial, dealer, seller, day] : saved) {
            RadioBackup backup;
            backup.RadioType = QStringLiteral("TANGELOUV");
            backup.Saved = QDateTime(QDate(2026, 12, day), QTime(10, 0));
            backup.Blocks = WrittenBlockCount;
            std::copy(serial.begin(), serial.end(), backup.Image.begin() + Layout::SerialNumber);
            std::copy(dealer.begin(), dealer.end(), backup.Image.begin() + Layout::DealerCode);
            std::copy(seller.begin(), seller.end(), backup.Image.begin() + Layout::Seller);
            QVERIFY(folder.Save(backup, AnsiCodePage("windows-1252")).Error.isEmpty());
        }
        WriteTestFile(program->BackupDir() + "/damaged.json", "{\"format\": 1}");
        WriteTestFile(program->BackupDir() + "/huge.json", QByteArray(70000, ' '));
        // 64 characters that are no hex digits, though the C library's table, read past its end, may
        // take them for some: the block would come out short.
        WriteTestFile(program->BackupDir() + "/chinese.json",
                      QStringLiteral("{\"format\": \"TANGELO_Tune radio backup\", \"version\": 1, "
                                     "\"radio_type\": \"TANGELOUV\", \"blocks\": [\"%1\", null, null, null, "
                                     "null, null, null, null]}")
                          .arg(QString(64, QChar(0x4E00)))
                          .toUtf8());

        QCOMPARE(Cli({"backups"}), 0);
        QStringList lines = out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith("Time") && lines[0].contains("Dealer code"), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith("2026-12-03 10:00:00  TANGELOUV   TG2002         D-8          Wang "),
                 qPrintable(lines[1]));
        QVERIFY(lines[2].contains("TG1001") && lines[2].contains("Zhao"));
        QVERIFY(lines[3].contains("TG1001") && lines[3].contains("Li Wei"));
        QVERIFY(lines[3].endsWith(program->BackupDir() + "/TG1001_20261201-100000-000.json"));
        QVERIFY2(err.contains("damaged.json"), qPrintable(err));
        QVERIFY2(err.contains("chinese.json: block 0 of the backup file is damaged"), qPrintable(err));
        QVERIFY2(err.contains("huge.json: too large (70000 bytes; a backup is at most 65536 bytes)"),
                 qPrintable(err));

        QCOMPARE(Cli({"backups", "tg1"}), 0);
        lines = out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[1].contains("Zhao") && lines[2].contains("Li Wei"));
        QCOMPARE(Cli({"backups", "TG3"}), 0);
        QVERIFY(out.isEmpty());
        QVERIFY2(err.contains("has a serial number that contains TG3"), qPrintable(err));
    }

    // What the program prints reaches the terminal as written, in UTF-8, whatever the locale: the help
    // pages, the arrow of a change, the Chinese text of a radio whose code page is GBK.
    void utf8Output_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("locale"); // LC_ALL
        QTest::addColumn<QString>("shown");
        const QString arrow = QStringLiteral("→"); // the help's lines may break around it
        QTest::newRow("help") << QStringList{"--help"} << "C.UTF-8" << arrow;
        QTest::newRow("write --help") << QStringList{"write", "--help"} << "C.UTF-8" << arrow;
        QTest::newRow("write --help, Chinese locale")
            << QStringList{"write", "--help"} << "zh_CN.UTF-8" << arrow;
        QTest::newRow("a change") << QStringList{"write", "--port", "%1", "--dealer-code", "D-42"}
                                  << "C.UTF-8"
                                  << "Dealer code: \"\" → \"D-42\"";
        QTest::newRow("Chinese from the radio") << QStringList{"read", "--port", "%1"} << "zh_CN.UTF-8"
                                                << "李伟\n";
        QTest::newRow("Chinese to the radio")
            << QStringList{"write", "--port", "%1", "--dealer-code", "北京"} << "zh_CN.UTF-8"
            << "经销商代码：\"\" → \"北京\"";
    }
    void utf8Output()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        VirtualRadio& radio = AddRadio();
        radio.Image() = Edited(radio.Image(), {{Layout::Seller, Field("\xC0\xEE\xCE\xB0", 16)}}); // GBK
        arguments.replaceInStrings(QStringLiteral("%1"), radio.DevicePath());

        const ProgramRun run = RunProgram(arguments, {locale, {}, false, false, {}});
        QVERIFY(run.ended);
        QCOMPARE(run.exitCode, 0);
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString output = utf8.decode(run.output);
        QVERIFY2(!utf8.hasError(), run.output.toHex(' ').constData());
        QVERIFY2(run.output.contains(shown.toUtf8()), qPrintable(output));
    }

    // Every command, help page and failure speaks the system's language, Chinese on a Chinese (China)
    // system and English elsewhere, in every line; what programs read is the same in both. The program
    // runs under each locale; a silent radio is asked in this process, with short reply waits.
    void languages_data()
    {
        QTest::addColumn<QStringList>("arguments"); // %1: the radio's device, %f: a file, %d: a folder
        QTest::addColumn<Radio>("radio");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<bool>("interrupt");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<Machine>("machine");

        const auto row = [](const char* name, const QStringList& arguments, int exitCode,
                            Radio radio = Radio::Answering, Machine machine = Machine::None,
                            const QByteArray& input = {}, bool interrupt = false) {
            QTest::newRow(name) << arguments << radio << input << interrupt << exitCode << machine;
        };
        const QStringList read{"read", "--port", "%1"};
        const QStringList write{"write", "--port", "%1"};
        const QStringList restore{"restore", "--port", "%1"};
        row("help", {"--help"}, 0);
        for (const char* command : {"ports", "check", "read", "write", "backup", "restore", "backups"})
            row(qPrintable(QStringLiteral("%1 --help").arg(command)), {command, "--help"}, 0);
        row("version", {"--version"}, 0);
        row("ports", {"ports"}, 0);
        row("read", read, 0);
        row("read --json", read + QStringList{"--json"}, 0, Radio::Answering, Machine::Stdout);
        row("read --csv --header", read + QStringList{"--csv", "--header"}, 0, Radio::Answering,
            Machine::Stdout);
        row("read --save", read + QStringList{"--save", "%f"}, 0);
        row("read --trace", read + QStringList{"--trace"}, 0);
        row("read --repeat, q", read + QStringList{"--repeat"}, 0, Radio::Answering, Machine::None,
            "q\n\n\n");
        row("read --repeat, 退", read + QStringList{"--repeat"}, 0, Radio::Answering, Machine::None,
            "退\n\n\n");
        row("read --repeat --no-prompt, silent radio", read + QStringList{"--repeat", "--no-prompt"}, 0,
            Radio::Silent, Machine::None, {}, true);
        row("write, --log",
            write + QStringList{"--dealer-code", "D-42", "--band-setting", "on", "--log", "%d/log.csv"}, 0,
            Radio::Answering, Machine::Log);
        row("write, no change", write + QStringList{"--password", ""}, 0);
        row("write, band change", write + QStringList{"--band", "5", "--yes"}, 0);
        row("backup", {"backup", "--port", "%1", "%d/radio.json"}, 0);
        row("restore", restore + QStringList{"--yes", "%f"}, 0, Radio::Backup);
        row("restore --dry-run", restore + QStringList{"--dry-run", "%f"}, 0, Radio::Backup);
        row("check", {"check", "--port", "%1"}, 0);
        row("check --json", {"check", "--port", "%1", "--json"}, 0, Radio::Answering, Machine::Stdout);
        row("check, every port", {"check"}, 0);
        row("backups", {"backups"}, 0, Radio::Backup);
        row("backups, none", {"backups", "TG99"}, 0);

        // The failures: the radio's, the port's, the radio type's, the refusals and the command line's.
        row("silent radio", read, 1, Radio::Silent);
        row("check, silent radio", {"check", "--port", "%1"}, 1, Radio::Silent);
        row("check, no cable", {"check", "--port", "/dev/no-such-tty"}, 3);
        row("port not there", {"read", "--port", "/dev/no-such-tty"}, 3);
        row("port not there, --no-prompt", {"read", "--port", "/dev/no-such-tty", "--repeat", "--no-prompt"},
            0, Radio::Answering, Machine::None, {}, true);
        row("model error", write + QStringList{"--type", "TANGELOSU", "--seller", "X"}, 4);
        row("model error, restore", restore + QStringList{"--yes", "%f"}, 4, Radio::BackupOtherType);
        row("model error, restore --dry-run", restore + QStringList{"--dry-run", "%f"}, 4,
            Radio::BackupOtherType);
        row("band change without --yes", write + QStringList{"--band", "7"}, 5);
        row("radio in band 18", write + QStringList{"--band", "12", "--yes"}, 5, Radio::FarBand);
        row("band of another type", write + QStringList{"--band", "12", "--yes"}, 5);
        row("restore, another serial number", restore + QStringList{"--yes", "%f"}, 5,
            Radio::BackupOtherSerial);
        row("usage: unknown option", write + QStringList{"--colour", "red"}, 2);
        row("usage: no command", {"frobnicate"}, 2);
        row("usage: nothing to write", write, 2);
        row("usage: text too wide", write + QStringList{"--seller", "ABCDEFGHIJKLMNOPQ"}, 2);
        row("usage: no radio type", write + QStringList{"--type", "X", "--seller", "Y"}, 2);
        row("usage: no port", {"read"}, 2);
        row("usage: backup file there already", {"backup", "--port", "%1", "%f"}, 2, Radio::Backup);
        row("usage: the log cannot be written", read + QStringList{"--log", "%d"}, 2);
    }

    void languages()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Radio, radio);
        QFETCH(QByteArray, input);
        QFETCH(bool, interrupt);
        QFETCH(int, exitCode);
        QFETCH(Machine, machine);

        QStringList machineOutput;
        for (const auto& [locale, language] :
             {std::pair{"zh_CN.UTF-8", ChineseLanguage}, std::pair{"en_US.UTF-8", EnglishLanguage}}) {
            cleanup();
            init();
            VirtualRadio& virtualRadio = AddRadio("RZ614UV", radio == Radio::FarBand ? 18 : 0);
            const QString file = program->Path("radio.json");
            if (radio == Radio::Backup || radio == Radio::BackupOtherSerial ||
                radio == Radio::BackupOtherType) {
                QCOMPARE(Cli({"backup", "--port", Port, file}), 0);
                QCOMPARE(Cli({"write", "--port", Port, "--dealer-code", "D-1", "--band-setting", "on"}), 0);
            }
            if (radio == Radio::BackupOtherSerial)
                virtualRadio.Image() =
                    Edited(virtualRadio.Image(), {{Layout::SerialNumber, Field("TG99", 16)}});
            if (radio == Radio::BackupOtherType)
                virtualRadio.SetIdentity("RZ614_V");
            if (radio == Radio::Silent)
                virtualRadio.SetFaults(Faults([](VirtualRadioFaults& f) { f.silentFromFrame = 0; }));
            QStringList given = arguments;
            given.replaceInStrings(QStringLiteral("%1"), virtualRadio.DevicePath());
            given.replaceInStrings(QStringLiteral("%f"), file);
            given.replaceInStrings(QStringLiteral("%d"), program->Directory());
            virtualRadio.ClearTrace();

            // The real program shows that the locale chooses the language (Qt's parser, the
            // console's input); the other rows run in this process with the program's translations,
            // which is as good a test of the texts and much quicker, and with short reply waits.
            static const QByteArrayList realProgram{
                "help", "version", "read", "read --repeat, 退", "port not there", "usage: unknown option"};
            ProgramRun run;
            if (radio != Radio::Silent && realProgram.contains(QTest::currentDataTag())) {
                run = RunProgram(given, {QString::fromLatin1(locale), input, interrupt, false, {}});
            } else {
                const ProgramTranslations translations(language);
                // Only the words are looked at: a silent radio and a refusal need not take long.
                timings = radio == Radio::Silent ? SilentWaits : ShortWaits;
                if (interrupt)
                    stop = [this] { return !err.isEmpty(); };
                readLine = [lines = QString::fromUtf8(input).split(u'\n'),
                            next = qsizetype(0)]() mutable -> std::optional<QString> {
                    if (next >= lines.size())
                        return std::nullopt;
                    return lines[next++];
                };
                run = {true, Cli(given), out.toUtf8(), err.toUtf8(), {}};
            }
            QVERIFY(run.ended);
            QCOMPARE(run.exitCode, exitCode);

            // The radio's own texts, and the names of the machine's ports, are as they are.
            const RadioInfoRecord record = DecodeInfo(virtualRadio.Image(), AnsiCodePage("windows-1252"));
            QStringList allowed;
            for (const QString* text : {&record.SerialNumber, &record.MaintenanceDescription, &record.Seller,
                                        &record.DealerCode, &record.StockDate, &record.SellDate})
                allowed << TrimText(*text);
            // What the system says of a file (a folder given as the log), in the system's language.
            allowed << QString::fromLocal8Bit(std::strerror(EISDIR));
            QStringList foreign;
            for (const QByteArray* stream : {&run.out, &run.err}) {
                for (const QString& line : QString::fromUtf8(*stream).split(u'\n')) {
                    if (stream == &run.out && given.first() == u"ports" && line.startsWith(u"COM"))
                        continue;
                    // The trace is for support, and what programs read is the same in every language:
                    // both English.
                    const bool forPrograms = stream == &run.out && machine == Machine::Stdout;
                    const int expected =
                        forPrograms || line.startsWith(u"tangelo.link") ? EnglishLanguage : language;
                    if (const QStringList found = OtherLanguage::Foreign(line, expected, allowed);
                        !found.isEmpty())
                        foreign << QStringLiteral("%1: %2  [%3]").arg(locale, line, found.join(u'|'));
                    // The help's paragraphs fit a terminal of 100 columns, a Chinese character
                    // taking two; only the usage line runs as long as the command it shows.
                    if (given.contains(u"--help") && TerminalWidth(line) > 100 &&
                        !line.contains(u"tangelo-cli "))
                        foreign << QStringLiteral("%1: wider than 100 columns: %2").arg(locale, line);
                }
            }
            QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(u'\n')));
            // The prompt's answer ended the run after the first radio.
            if (!input.isEmpty())
                QCOMPARE(Count(FrameNames(virtualRadio), "END"), 1);

            if (machine == Machine::Stdout) {
                // Each locale's run has a radio of its own.
                machineOutput << QString::fromUtf8(run.out).replace(virtualRadio.DevicePath(),
                                                                    QStringLiteral("%1"));
            } else if (machine == Machine::Log) {
                // Each line but for its time, and for the port: each locale's run has a radio of its
                // own, whose terminal number another program may have taken meanwhile.
                QStringList lines = QString::fromUtf8(ReadTestFile(program->Path("log.csv")))
                                        .replace(virtualRadio.DevicePath(), QStringLiteral("%1"))
                                        .split(u'\n');
                QCOMPARE(lines.size(), 3);
                for (qsizetype i = 1; i < lines.size(); ++i)
                    lines[i] = lines[i].section(u',', 1);
                machineOutput << lines.join(u'\n');
            }
        }
        if (machine != Machine::None)
            QCOMPARE(machineOutput.value(0), machineOutput.value(1));
    }
};

// The functions side by side, the slowest first.
TT_QTEST_GUILESS_MAIN_SIDE_BY_SIDE(TestCli, 8, 8, {"waitShownOnTerminal"}, {"exitCodes", 3}, {"failureLine"},
                                   {"languages", 4}, {"waitShown", 2}, {"logReasons", 3}, {"check", 2})
#include "tst_cli.moc"
