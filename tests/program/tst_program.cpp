// The whole program end to end: the real window offscreen, mysetup.ini in a temporary program
// directory, a fake sysfs for the machine's own serial ports, and the virtual radio on a
// pseudo-terminal that an alias in dosdevices/ lists as a COM port. Message boxes are answered and
// recorded through the window's message-box handler.
#include "data/AnsiCodePage.h"
#include "data/BandTable.h"
#include "IsolatedProgram.h"
#include "link/PortHolder.h"
#include "MsgBoxRecorder.h"
#include "OtherLanguage.h"
#include "RadioOnCom.h"
#include "SideBySide.h"
#include "system/SystemLanguage.h"
#include "TestFiles.h"
#include "UsbTree.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSysInfo>

#include <functional>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// Where each Text1 field lives in the radio's block; Text1(5), the firmware version, is not there.
struct FieldPlace
{
    int offset;
    int width;
};
constexpr std::array<FieldPlace, 13> Places{{{9, 4},
                                             {16, 16},
                                             {32, 16},
                                             {64, 16},
                                             {144, 64},
                                             {-1, 0},
                                             {48, 8},
                                             {56, 4},
                                             {80, 16},
                                             {96, 16},
                                             {112, 16},
                                             {128, 16},
                                             {60, 4}}};

void PutText(RadioImage& image, int offset, const QString& text, int width)
{
    const QByteArray bytes = text.toLatin1();
    for (int i = 0; i < width; ++i)
        image[size_t(offset + i)] = i < bytes.size() ? uint8_t(bytes[i]) : 0x00;
}

// A radio's block: each non-empty text zero-filled to its field, every other byte 0xFF as the
// EEPROM leaves it.
RadioImage MakeImage(const QStringList& texts, uint8_t band, uint8_t switches1, uint8_t switches2)
{
    RadioImage image;
    image.fill(0xFF);
    image[7] = band;
    image[13] = switches1;
    image[14] = switches2;
    for (size_t i = 0; i < Places.size(); ++i) {
        if (Places[i].offset >= 0 && !texts.at(qsizetype(i)).isEmpty())
            PutText(image, Places[i].offset, texts.at(qsizetype(i)), Places[i].width);
    }
    return image;
}

// The image with `bytes` at `offset`.
RadioImage With(RadioImage image, int offset, const QByteArray& bytes)
{
    std::copy(bytes.begin(), bytes.end(), image.begin() + offset);
    return image;
}

// A radio as a dealer receives it; index = Text1 index.
const QStringList DealerRadio{
    "0595",       "TG24031500871", "2024-03-15", "2024-11-02", "Replaced antenna connector",
    "",           "12-1-E-1",      "001A",       "DLR-7",      "2024-04-01",
    "2024-05-20", "Li Wei",        "8642"};

QString BandText(int band)
{
    if (band < 0 || band >= BandCount)
        return {};
    const std::string_view text = BandTable[size_t(band)];
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

constexpr int RefreshMs = 100;
constexpr LinkTimings ShortWaits{std::chrono::milliseconds(500), std::chrono::milliseconds(200)};
// For failures whose words alone count: a few of these waits go by on each. The radio here answers the
// program command as quickly as any other frame, so its wait need be no longer.
constexpr LinkTimings WordsWaits{std::chrono::milliseconds(120), std::chrono::milliseconds(120)};
// A radio silent from the first frame: every wait runs out whatever its length, and only the words
// that follow are looked at.
constexpr LinkTimings SilentWaits{std::chrono::milliseconds(40), std::chrono::milliseconds(40)};

// Pseudo-terminals held open only to take numbers (see refresh()).
class SpareTerminals
{
public:
    SpareTerminals()
    {
        for (int& fd : fds)
            fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~SpareTerminals()
    {
        for (const int fd : fds) {
            if (fd >= 0)
                ::close(fd);
        }
    }
    SpareTerminals(const SpareTerminals&) = delete;
    SpareTerminals& operator=(const SpareTerminals&) = delete;

private:
    std::array<int, 16> fds{};
};

enum class Entry { Program, Typed };
enum class Change { Nothing, AliasAppears, AliasGoes, DeviceCloses, TtyAppears, FileEdited };
// How a session fails, for the failure boxes' detailed texts.
enum class Fault {
    Silent,
    Echo,
    Noise,
    RefuseAll,
    DeviceGone,
    PortHeld,
    OtherType,
    Band18,
    NotTaken,
    HungUp,
    NoDevice
};

} // namespace

Q_DECLARE_METATYPE(RadioImage)
Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(MsgResult)

class TestProgram : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedProgram> program;
    std::unique_ptr<MsgBoxRecorder> msgs;
    std::unique_ptr<VirtualRadio> radio;
    std::unique_ptr<FrmMain> frm;
    std::optional<AnsiCodePage> codePage; // the window's, unless the system locale's

    QString SettingsFile() const { return program->SettingsFile(); }

    // The window as the program starts it, then with the port-list refresh and the session's reply
    // waits shortened; their own values are checked here once.
    void StartFrmMainQuick()
    {
        StartFrmMain(frm, program->Settings(), msgs.get(), false, codePage);
        QVERIFY(frm);
        QCOMPARE(frm->ReShowComPortTimer.interval(), 1000);
        QCOMPARE(frm->Session.Timings().LongWait.count(), 1500);
        QCOMPARE(frm->Session.Timings().ShortWait.count(), 300);
        frm->ReShowComPortTimer.setInterval(RefreshMs);
        frm->Session.SetTimings(ShortWaits);
    }
    QString RadioDevice() const { return QFileInfo(radio->DevicePath()).canonicalFilePath(); }

    // The machine's serial ports, the virtual radio (listed through its alias or not) and the
    // settings file (MissingFile: none), before start-up.
    bool SetUpPorts(const QStringList& ttys, bool radioAlias, const QByteArray& file,
                    const QByteArray& identity = "RZ614UV", uint8_t band = 0,
                    const RadioImage& image = MakeImage(DealerRadio, 0, 0xE0, 0))
    {
        for (const QString& tty : ttys)
            program->AddTty(tty);
        StartRadio(radio, identity, band, image);
        if (radioAlias && !QTest::currentTestFailed())
            AddRadioAlias(*program, *radio);
        if (file != MissingFile)
            WriteTestFile(SettingsFile(), file);
        return !QTest::currentTestFailed();
    }

    // The virtual radio, listed as COM900 and remembered, and the window started.
    bool StartWithRadio(const QByteArray& identity, uint8_t band, const RadioImage& image)
    {
        if (SetUpPorts({}, true, "[language]\ncomPort=900\n", identity, band, image))
            StartFrmMainQuick();
        return !QTest::currentTestFailed() &&
               QTest::qCompare(frm->Combo2->currentText(), QStringLiteral("COM900"), "Combo2", "COM900",
                               __FILE__, __LINE__);
    }

    bool ReadRadio()
    {
        QTest::mouseClick(frm->Command1, Qt::LeftButton);
        msgs->WaitFor(1, 5000);
        const QStringList texts = msgs->Texts();
        msgs->boxes.clear();
        radio->ClearTrace();
        return QTest::qCompare(texts, QStringList{"Read Complete!"}, "boxes", "Read Complete!", __FILE__,
                               __LINE__);
    }

    bool ChooseBand(int band)
    {
        const int position = frm->Combo1[1]->findText(BandText(band));
        if (position >= 0)
            UserChooses(frm->Combo1[1], position);
        return QTest::qCompare(frm->Combo1[1]->currentText(), BandText(band), "Combo1(1)", "band", __FILE__,
                               __LINE__);
    }

    void EnterText(int index, const QString& text, Entry how)
    {
        if (how == Entry::Program) {
            frm->SetText1Text(int16_t(index), text);
        } else {
            auto* edit = qobject_cast<QLineEdit*>(frm->Text1[size_t(index)]);
            QVERIFY(edit != nullptr);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, text);
        }
        QCOMPARE(frm->Text1Text(int16_t(index)), text);
    }

private slots:
    void initTestCase()
    {
        // Closing the window ends the program; here the next case still has to run.
        QApplication::setQuitOnLastWindowClosed(false);
    }

    void init()
    {
        program = std::make_unique<IsolatedProgram>();
        msgs = std::make_unique<MsgBoxRecorder>();
        msgs->Stamp = [this] { return radio ? int(radio->Trace().size()) : 0; };
    }

    void cleanup()
    {
        frm.reset();
        radio.reset();
        msgs.reset();
        program.reset();
        codePage.reset();
    }

    // The port chosen at start-up from the saved number and the ports present, and the file written
    // only when the number it holds changes (not by start-up, not by the refresh after it).
    void startUpPortChoice_data()
    {
        QTest::addColumn<QStringList>("ttys");
        QTest::addColumn<bool>("radioAlias");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("toolTip"); // "radio": the virtual radio's device
        QTest::addColumn<QByteArray>("fileAfter");

        const QByteArray saved900 = "[language]\ncomPort=900\n";
        const QByteArray saved3 = "[language]\ncomPort=3\n";
        QTest::newRow("saved 0 with ports")
            << QStringList{"ttyS2", "ttyUSB0"} << true << QByteArray("[language]\ncomPort=0\n")
            << QStringList{"COM3", "COM100", "COM900"} << "COM3"
            << "/dev/ttyS2" << saved3;
        QTest::newRow("saved port present")
            << QStringList{"ttyS2"} << true << saved900 << QStringList{"COM3", "COM900"} << "COM900"
            << "radio" << saved900;
        QTest::newRow("saved port present, hand-edited with spaces")
            << QStringList{"ttyS2"} << true << QByteArray("[language]\r\ncomPort =  900  \r\n")
            << QStringList{"COM3", "COM900"} << "COM900"
            << "radio" << QByteArray("[language]\r\ncomPort =  900  \r\n");
        QTest::newRow("saved port gone")
            << QStringList{"ttyS2", "ttyUSB0"} << false << saved900 << QStringList{"COM3", "COM100"} << "COM3"
            << "/dev/ttyS2" << saved3;
        QTest::newRow("no ports") << QStringList{} << false << saved900 << QStringList{} << QString()
                                  << QString() << saved900;
        QTest::newRow("no ports, no file") << QStringList{} << false << MissingFile << QStringList{}
                                           << QString() << QString() << MissingFile;
        QTest::newRow("no file, the radio only")
            << QStringList{} << true << MissingFile << QStringList{"COM900"} << "COM900"
            << "radio" << saved900;
        QTest::newRow("saved value not a number")
            << QStringList{"ttyS2"} << true << QByteArray("[language]\ncomPort=COM9\n")
            << QStringList{"COM3", "COM900"} << "COM3"
            << "/dev/ttyS2" << saved3;
    }

    void startUpPortChoice()
    {
        QFETCH(QStringList, ttys);
        QFETCH(bool, radioAlias);
        QFETCH(QByteArray, file);
        QFETCH(QStringList, entries);
        QFETCH(QString, selection);
        QFETCH(QString, toolTip);
        QFETCH(QByteArray, fileAfter);

        QVERIFY(SetUpPorts(ttys, radioAlias, file));
        if (file != MissingFile)
            AgeFile(SettingsFile());
        const QDateTime before = FileTime(SettingsFile());

        StartFrmMainQuick();
        QCOMPARE(Entries(frm->Combo2), entries);
        QCOMPARE(frm->Combo2->currentText(), selection);
        QCOMPARE(frm->Combo2->currentIndex() >= 0, !selection.isEmpty());
        QCOMPARE(frm->ComPortNumber, int16_t(selection.isEmpty() ? 0 : selection.mid(3).toInt()));
        if (toolTip == QLatin1String("radio"))
            toolTip = RadioDevice();
        QVERIFY2(toolTip.isEmpty() ? frm->Combo2->toolTip().isEmpty()
                                   : frm->Combo2->toolTip().contains(toolTip),
                 qPrintable(frm->Combo2->toolTip()));
        QCOMPARE(ReadTestFile(SettingsFile()), fileAfter);
        const bool rewritten = fileAfter != file;
        QCOMPARE(FileTime(SettingsFile()) != before, rewritten);
        QVERIFY(msgs->boxes.isEmpty());

        // The refresh that follows finds the same ports: same choice, the file left alone.
        QVERIFY(frm->ReShowComPortTimer.isActive());
        QSignalSpy refreshed(&frm->ReShowComPortTimer, &QTimer::timeout);
        const QDateTime afterStart = FileTime(SettingsFile());
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(Entries(frm->Combo2), entries);
        QCOMPARE(frm->Combo2->currentText(), selection);
        QCOMPARE(ReadTestFile(SettingsFile()), fileAfter);
        QCOMPARE(FileTime(SettingsFile()), afterStart);
    }

    // The list follows ports that come and go within about a second, also after refreshes that
    // found nothing changed.
    void refresh_data()
    {
        QTest::addColumn<QStringList>("ttys");
        QTest::addColumn<bool>("radioAlias");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QByteArray>("fileAfter");

        const QByteArray saved900 = "[language]\ncomPort=900\n";
        const QByteArray saved3 = "[language]\ncomPort=3\n";
        const QByteArray handEdited = "[language]\r\ncomPort= 900 \r\n";
        QTest::newRow("port appears on an empty list")
            << QStringList{} << false << MissingFile << Change::AliasAppears << QStringList{"COM900"}
            << "COM900" << saved900;
        QTest::newRow("remembered port disappears")
            << QStringList{"ttyS2"} << true << saved900 << Change::AliasGoes << QStringList{"COM3"} << "COM3"
            << saved3;
        QTest::newRow("another port appears, the choice stays")
            << QStringList{"ttyS2"} << false << saved3 << Change::AliasAppears
            << QStringList{"COM3", "COM900"} << "COM3" << saved3;
        QTest::newRow("every port gone, the file keeps the last choice")
            << QStringList{} << true << saved900 << Change::AliasGoes << QStringList{} << QString()
            << saved900;
        QTest::newRow("hand-edited value with spaces, nothing changes")
            << QStringList{"ttyS2"} << true << handEdited << Change::Nothing << QStringList{"COM3", "COM900"}
            << "COM900" << handEdited;
        QTest::newRow("remembered port's device closes, its alias stays")
            << QStringList{"ttyS2"} << true << saved900 << Change::DeviceCloses << QStringList{"COM3"}
            << "COM3" << saved3;
        QTest::newRow("a serial device appears") << QStringList{} << true << saved900 << Change::TtyAppears
                                                 << QStringList{"COM1", "COM900"} << "COM900" << saved900;
        QTest::newRow("file edited, same size and place: the choice goes back")
            << QStringList{"ttyS2"} << true << saved900 << Change::FileEdited << QStringList{"COM3", "COM900"}
            << "COM900" << saved900;
    }

    void refresh()
    {
        QFETCH(QStringList, ttys);
        QFETCH(bool, radioAlias);
        QFETCH(QByteArray, file);
        QFETCH(Change, change);
        QFETCH(QStringList, entries);
        QFETCH(QString, selection);
        QFETCH(QByteArray, fileAfter);

        // A closed pseudo-terminal's number goes to the next one that any program opens, the lowest
        // free first, and the alias then names that one: pseudo-terminals opened before the radio's
        // and closed just before it leave lower numbers free for the others.
        std::optional<SpareTerminals> spares;
        if (change == Change::DeviceCloses)
            spares.emplace();
        QVERIFY(SetUpPorts(ttys, radioAlias, file));
        StartFrmMainQuick();
        if (file != MissingFile)
            AgeFile(SettingsFile());
        const QDateTime before = FileTime(SettingsFile());
        {
            // The first refresh sees the aged file, the second finds nothing changed.
            QSignalSpy refreshed(&frm->ReShowComPortTimer, &QTimer::timeout);
            QTRY_COMPARE_WITH_TIMEOUT(refreshed.size(), 2, 10000);
        }

        if (change == Change::AliasAppears) {
            AddRadioAlias(*program, *radio);
        } else if (change == Change::AliasGoes) {
            QVERIFY(QFile::remove(program->AliasPath(RadioCom)));
        } else if (change == Change::DeviceCloses) {
            spares.reset();
            radio->Close();
            QVERIFY2(!QFileInfo::exists(radio->DevicePath()), "the closed device is still there");
        } else if (change == Change::TtyAppears) {
            program->AddTty(QStringLiteral("ttyS0"));
        } else if (change == Change::FileEdited) {
            WriteTestFile(SettingsFile(), "[language]\ncomPort=901\n");
        }
        // A refresh comes every 100 ms; on a loaded machine the event loop may take seconds to run it.
        QTRY_COMPARE_WITH_TIMEOUT(Entries(frm->Combo2), entries, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(frm->Combo2->currentText(), selection, 10000);
        if (change == Change::Nothing) {
            // Two refreshes go by.
            QSignalSpy refreshed(&frm->ReShowComPortTimer, &QTimer::timeout);
            QTRY_COMPARE_WITH_TIMEOUT(refreshed.size(), 2, 10000);
        }
        QCOMPARE(frm->Combo2->currentIndex() >= 0, !selection.isEmpty());
        QCOMPARE(frm->ComPortNumber, int16_t(selection.isEmpty() ? 0 : selection.mid(3).toInt()));
        QTRY_COMPARE_WITH_TIMEOUT(ReadTestFile(SettingsFile()), fileAfter, 10000);
        QCOMPARE(FileTime(SettingsFile()) != before, fileAfter != file || change == Change::FileEdited);
        QVERIFY(msgs->boxes.isEmpty());

        // A session that fails on the port the list moved to says why that port is chosen.
        if ((change == Change::AliasGoes || change == Change::DeviceCloses) && !selection.isEmpty()) {
            frm->Command1->click();
            QTRY_VERIFY_WITH_TIMEOUT(!msgs->boxes.isEmpty(), 5000);
            const QString detail = msgs->boxes.last().detail;
            QVERIFY2(QRegularExpression(QStringLiteral("\n\nCOM900 disappeared at \\d\\d:\\d\\d; the list "
                                                       "moved to %1\\.$")
                                            .arg(selection))
                         .match(detail)
                         .hasMatch(),
                     qPrintable(detail));
        }
    }

    // Something at the settings file's place that is no settings file: start-up neither waits for it
    // nor reads it, the choice lives in the configuration folder, and the thing stays as it was.
    void noSettingsFile_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char* kind : {"link to /dev/zero", "FIFO", "2 MiB file"})
            QTest::newRow(kind) << QString::fromLatin1(kind);
    }

    void noSettingsFile()
    {
        QFETCH(QString, kind);
        QVERIFY(SetUpPorts({"ttyS2"}, true, MissingFile));
        MakeNoSettingsFile(SettingsFile(), kind);
        const QString before = DescribeNoSettingsFile(SettingsFile());
        const FifoUnblocker unblocker(SettingsFile(), std::chrono::seconds(10));
        QElapsedTimer clock;
        clock.start();
        StartFrmMainQuick();
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QStringLiteral("%1 ms").arg(clock.elapsed())));
        QCOMPARE(frm->Combo2->currentText(), QStringLiteral("COM3")); // nothing remembered
        QSignalSpy refreshed(&frm->ReShowComPortTimer, &QTimer::timeout);
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(frm->Combo2->currentText(), QStringLiteral("COM3"));
        QCOMPARE(DescribeNoSettingsFile(SettingsFile()), before);
        QCOMPARE(ReadTestFile(ProgramSettings::UserSettingsFilePath()),
                 QByteArray("[language]\ncomPort=3\n"));
        QVERIFY(msgs->boxes.isEmpty());
    }

    // The refresh leaves a list that the user has open alone while the ports stay the same; the
    // user's choice in it then counts.
    void refreshWithTheListOpen()
    {
        QVERIFY(SetUpPorts({"ttyS0"}, true, "[language]\ncomPort=900\n"));
        StartFrmMainQuick();
        frm->Combo2->showPopup();
        QAbstractItemView* view = frm->Combo2->view();
        view->setCurrentIndex(frm->Combo2->model()->index(0, 0)); // the user moves to COM1
        QSignalSpy refreshed(&frm->ReShowComPortTimer, &QTimer::timeout);
        QTRY_COMPARE_WITH_TIMEOUT(refreshed.size(), 2, 10000);
        QVERIFY(view->isVisible());
        QCOMPARE(view->currentIndex().row(), 0);
        QCOMPARE(frm->Combo2->currentText(), QStringLiteral("COM900"));

        // The user picks COM1: a port choice, saved at once.
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(frm->Combo2->currentText(), QStringLiteral("COM1"));
        QCOMPARE(frm->ComPortNumber, int16_t(1));
        QCOMPARE(ReadTestFile(SettingsFile()), QByteArray("[language]\ncomPort=1\n"));
    }

    // A read shows every field of the radio; fields the radio holds as 0xFF show empty.
    void readFillsEveryField_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<int>("band");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("switches1");
        QTest::addColumn<int>("switches2");
        QTest::addColumn<QString>("radioType");
        QTest::addColumn<int>("bandEntries");
        QTest::addColumn<QList<bool>>("checks"); // Check1 to Check8

        QTest::newRow("TANGELOUV, a dealer's radio")
            << QByteArray("RZ614UV") << 3 << DealerRadio << 0xE4 << 0x02 << "TANGELOUV" << 11
            << QList<bool>{true, true, true, false, false, true, false, true};
        const QStringList fullWidths{"0596",
                                     "SN00000000000042",
                                     "2023-12-31 08:00",
                                     "2025-06-30 17:45",
                                     QStringLiteral("Board 3 replaced").repeated(4),
                                     "",
                                     "01-2-F-3",
                                     "002B",
                                     "DEALER-NO-123456",
                                     "2024-01-01 09:00",
                                     "2024-02-02 10:30",
                                     "Chen Xiaoming Co",
                                     "0000"};
        QTest::newRow("TANGELOSU, every text the whole width of its field")
            << QByteArray("RZ614U_") << 9 << fullWidths << 0x18 << 0x01 << "TANGELOSU" << 7
            << QList<bool>{false, false, false, true, true, false, true, false};
        QTest::newRow("TANGELOSV, every text 0xFF")
            << QByteArray("RZ614_V") << 18 << QStringList(13, QString()) << 0xFF << 0xFF << "TANGELOSV" << 5
            << QList<bool>(8, true);
    }

    void readFillsEveryField()
    {
        QFETCH(QByteArray, identity);
        QFETCH(int, band);
        QFETCH(QStringList, texts);
        QFETCH(int, switches1);
        QFETCH(int, switches2);
        QFETCH(QString, radioType);
        QFETCH(int, bandEntries);
        QFETCH(QList<bool>, checks);

        const RadioImage image = MakeImage(texts, uint8_t(band), uint8_t(switches1), uint8_t(switches2));
        QVERIFY(StartWithRadio(identity, uint8_t(band), image));
        QTest::mouseClick(frm->Command1, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(1, 5000));
        QTest::qWait(100);
        QCOMPARE(msgs->Texts(), QStringList{"Read Complete!"});
        QCOMPARE(msgs->boxes[0].buttons, MsgButtons::Ok);
        QCOMPARE(msgs->boxes[0].icon, MsgIcon::None);
        QCOMPARE(FrameNames(*radio), ReadFrames);
        QVERIFY(!frm->Session.MSComm1.PortOpen());

        for (int i = 0; i < 13; ++i) {
            const QString expected = i == 5 ? QStringLiteral("V1.00") : texts[i]; // not in the block
            QVERIFY2(frm->Text1Text(int16_t(i)) == expected,
                     qPrintable(QStringLiteral("Text1(%1) shows \"%2\", expected \"%3\"")
                                    .arg(i)
                                    .arg(frm->Text1Text(int16_t(i)), expected)));
        }
        const std::array<QCheckBox*, 8> boxesShown{frm->Check1, frm->Check2, frm->Check3, frm->Check4,
                                                   frm->Check5, frm->Check6, frm->Check7, frm->Check8};
        for (size_t i = 0; i < boxesShown.size(); ++i)
            QVERIFY2(boxesShown[i]->isChecked() == checks[qsizetype(i)],
                     qPrintable(boxesShown[i]->objectName()));
        QCOMPARE(frm->Combo1[0]->currentText(), radioType);
        QCOMPARE(frm->Combo1[1]->count(), bandEntries);
        QCOMPARE(frm->Combo1[1]->currentText(), BandText(band));
        QCOMPARE(frm->Combo3->currentIndex(), band);
    }

    // Dealer fields edited after a read reach the radio; nothing else in its block changes.
    void writeAfterRead_data()
    {
        QTest::addColumn<Entry>("how");
        QTest::addColumn<QStringList>("fields"); // Text1(8) to Text1(12)
        QTest::addColumn<QStringList>("stored"); // what the radio is to hold
        QTest::addColumn<int>("switches1");      // the radio's, before the write
        QTest::addColumn<bool>("bandSetting");

        QTest::newRow("set by the program, band setting switched on")
            << Entry::Program << QStringList{"D-0042", "2025-01-10", "2025-02-14", "Wang Fang", "1234"}
            << QStringList{"D-0042", "2025-01-10", "2025-02-14", "Wang Fang", "1234"} << 0xE0 << true;
        QTest::newRow("typed, whole widths, band setting switched off")
            << Entry::Typed
            << QStringList{"ABCDEFGHIJKLMNOP", "2025-03-01", "2025-03-02", "Zhang  San   ", "9876"}
            << QStringList{"ABCDEFGHIJKLMNOP", "2025-03-01", "2025-03-02", "Zhang  San", "9876"} << 0xE4
            << false;
        QTest::newRow("typed, every field emptied")
            << Entry::Typed << QStringList(5, QString()) << QStringList(5, QString()) << 0xE4 << true;
    }

    void writeAfterRead()
    {
        QFETCH(Entry, how);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, stored);
        QFETCH(int, switches1);
        QFETCH(bool, bandSetting);

        const RadioImage before = MakeImage(DealerRadio, 3, uint8_t(switches1), 0x02);
        QVERIFY(StartWithRadio("RZ614UV", 3, before) && ReadRadio());
        for (int i = 0; i < 5; ++i)
            EnterText(8 + i, fields[i], how);
        if (frm->Check8->isChecked() != bandSetting)
            frm->Check8->click();

        QTest::mouseClick(frm->Command2, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(1, 5000));
        QTest::qWait(100);
        QCOMPARE(msgs->Texts(), QStringList{"Write Complete!"});
        QCOMPARE(msgs->boxes[0].icon, MsgIcon::None);
        QCOMPARE(FrameNames(*radio), WriteFrames);
        QVERIFY(!frm->Session.MSComm1.PortOpen());

        RadioImage expected = before;
        for (int i = 0; i < 5; ++i)
            PutText(expected, Places[size_t(8 + i)].offset, stored[i], Places[size_t(8 + i)].width);
        expected[13] = uint8_t(bandSetting ? (switches1 | 0x04) : (switches1 & ~0x04));
        const QString diff = ImageDiff(radio->Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        // The maintenance description, of which the block writes carry the first 16 bytes, is the
        // radio's own.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(radio->Image().data()) + 144, 64),
                 QByteArray(reinterpret_cast<const char*>(before.data()) + 144, 64));
        // The write first kept the blocks it read, in the user's data folder.
        const QDir backups(program->BackupDir());
        const QStringList kept = backups.entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        const ParsedBackup backup = ReadBackupFile(backups.filePath(kept.first()));
        QVERIFY2(backup.Backup, qPrintable(backup.Error));
        QCOMPARE(backup.Backup->Blocks, 5);
        QVERIFY(std::equal(before.begin(), before.begin() + 160, backup.Backup->Image.begin()));
    }

    // A radio that does not keep its seller: "Write Failure!", whose detailed text names the field and
    // the automatic backup that holds the radio as it was; the port closes and the radio is as it was.
    void writeNotTaken()
    {
        const RadioImage before = MakeImage(DealerRadio, 3, 0xE0, 0x02);
        QVERIFY(StartWithRadio("RZ614UV", 3, before) && ReadRadio());
        VirtualRadioFaults faults;
        faults.blockWriteFaults[4] = {BlockWriteFault::Unkept, 99};
        radio->SetFaults(faults);
        EnterText(11, QStringLiteral("Wang Fang"), Entry::Program);

        QTest::mouseClick(frm->Command2, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(1, 5000));
        QTest::qWait(100);
        QCOMPARE(msgs->Texts(), QStringList{"Write Failure!"});
        QCOMPARE(FrameNames(*radio).last(), QStringLiteral("END"));
        QVERIFY(!frm->Session.MSComm1.PortOpen());
        const QDir backups(program->BackupDir());
        const QStringList kept = backups.entryList(QDir::Files);
        QCOMPARE(kept.size(), 1);
        const QString detail = msgs->boxes[0].detail;
        QVERIFY2(detail.contains(QStringLiteral("did not take the seller:")) &&
                     detail.contains(backups.filePath(kept[0])),
                 qPrintable(detail));
        const QString diff = ImageDiff(radio->Image(), before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // A write sends a text field the user left alone as the radio holds it, though GBK cannot
    // decode its bytes and encode them back unchanged, and an empty field of 0xFF stays so. A field
    // that shows another text than the radio's, here that of a radio read before this one was
    // connected, is written as it shows.
    void writeKeepsUntouchedBytes_data()
    {
        QTest::addColumn<RadioImage>("atRead");
        QTest::addColumn<RadioImage>("atWrite"); // the radio connected when Write is pressed
        QTest::addColumn<QString>("dealerCode"); // typed; empty: left alone
        QTest::addColumn<RadioImage>("expected");

        const RadioImage dealer = MakeImage(DealerRadio, 0, 0xE0, 0x00);
        const QByteArray undecodable = QByteArray::fromHex("d5c5c8fdd6204c69").leftJustified(16, '\0');
        const RadioImage odd = With(With(dealer, 128, undecodable), 96, QByteArray(16, '\xFF'));
        QTest::newRow("read, the dealer code typed")
            << odd << odd << "D-0042" << With(odd, 80, QByteArray("D-0042").leftJustified(16, '\0'));
        const RadioImage other = With(odd, 80, QByteArray("DLR-7\0junk\xFF", 11));
        QTest::newRow("another radio connected after the read")
            << dealer << other << ""
            << With(With(other, 96, QByteArray("2024-04-01").leftJustified(16, '\0')), 128,
                    QByteArray("Li Wei").leftJustified(16, '\0'));
    }

    void writeKeepsUntouchedBytes()
    {
        QFETCH(RadioImage, atRead);
        QFETCH(RadioImage, atWrite);
        QFETCH(QString, dealerCode);
        QFETCH(RadioImage, expected);

        codePage = AnsiCodePage("GBK");
        QVERIFY(StartWithRadio("RZ614UV", 0, atRead) && ReadRadio());
        if (!dealerCode.isEmpty())
            EnterText(8, dealerCode, Entry::Typed);
        radio->Image() = atWrite;

        QTest::mouseClick(frm->Command2, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(1, 5000));
        QCOMPARE(msgs->Texts(), QStringList{"Write Complete!"});
        const QString diff = ImageDiff(radio->Image(), expected);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // The band the user chose against the radio's: the question, its two answers, a band byte with
    // no row in the band table, and a write without a read (compared with row 0).
    void bandCheck_data()
    {
        QTest::addColumn<QByteArray>("identity");
        QTest::addColumn<int>("radioBand");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("chosen"); // -1: no band chosen
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<int>("written");
        QTest::addColumn<int>("combo3");    // the hidden band table's selection afterwards
        QTest::addColumn<QString>("shown"); // Combo1(1) afterwards

        const QByteArray uv = "RZ614UV";
        const QByteArray sv = "RZ614_V";
        const auto ok = MsgResult::Ok;
        const auto cancel = MsgResult::Cancel;
        QTest::newRow("same band: no question")
            << uv << 5 << true << -1 << ok << false << 5 << 5 << BandText(5);
        QTest::newRow("other band, OK") << uv << 5 << true << 7 << ok << true << 7 << 7 << BandText(7);
        QTest::newRow("other band, Cancel")
            << uv << 5 << true << 7 << cancel << true << 5 << 5 << BandText(7);
        QTest::newRow("band 18 kept") << sv << 18 << true << -1 << ok << false << 18 << 18 << BandText(18);
        QTest::newRow("band 12 to 18, OK")
            << sv << 12 << true << 18 << ok << true << 18 << 18 << BandText(18);
        QTest::newRow("band byte 25, no band chosen")
            << uv << 25 << true << -1 << ok << false << 25 << -1 << QString();
        QTest::newRow("band byte 25, band chosen, OK")
            << uv << 25 << true << 3 << ok << true << 3 << 3 << BandText(3);
        QTest::newRow("band byte 25, band chosen, Cancel")
            << uv << 25 << true << 3 << cancel << true << 25 << -1 << BandText(3);
        QTest::newRow("no read, radio in row 0")
            << uv << 0 << false << -1 << ok << false << 0 << 0 << BandText(0);
        QTest::newRow("no read, radio in band 3, OK")
            << uv << 3 << false << -1 << ok << true << 0 << 0 << BandText(0);
        QTest::newRow("no read, radio in band 3, Cancel")
            << uv << 3 << false << -1 << cancel << true << 3 << 3 << BandText(0);
    }

    void bandCheck()
    {
        QFETCH(QByteArray, identity);
        QFETCH(int, radioBand);
        QFETCH(bool, read);
        QFETCH(int, chosen);
        QFETCH(MsgResult, answer);
        QFETCH(bool, asked);
        QFETCH(int, written);
        QFETCH(int, combo3);
        QFETCH(QString, shown);

        const RadioImage before = MakeImage(DealerRadio, uint8_t(radioBand), 0xE0, 0x00);
        QVERIFY(StartWithRadio(identity, uint8_t(radioBand), before));
        if (read) {
            QVERIFY(ReadRadio());
            // A band byte without a row shows no band.
            QCOMPARE(frm->Combo1[1]->currentText(), BandText(radioBand));
            QCOMPARE(frm->Combo3->currentIndex(), radioBand < BandCount ? radioBand : -1);
        }
        if (chosen >= 0)
            QVERIFY(ChooseBand(chosen));

        msgs->answers = {answer};
        QTest::mouseClick(frm->Command2, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(asked ? 2 : 1, 5000));
        QTest::qWait(100);
        if (asked) {
            QCOMPARE(msgs->Texts(), QStringList({"Frequencys is different. Overwrite?", "Write Complete!"}));
            QCOMPARE(msgs->boxes[0].buttons, MsgButtons::OkCancel);
            QCOMPARE(msgs->boxes[0].icon, MsgIcon::Warning);
        } else {
            QCOMPARE(msgs->Texts(), QStringList{"Write Complete!"});
        }
        QCOMPARE(FrameNames(*radio), WriteFrames);
        QCOMPARE(int(radio->Image()[7]), written);
        QCOMPARE(frm->Combo3->currentIndex(), combo3);
        QCOMPARE(frm->Combo1[1]->currentText(), shown);
        if (read) {
            // What was read goes back unchanged; only the band byte may differ.
            RadioImage expected = before;
            expected[7] = uint8_t(written);
            const QString diff = ImageDiff(radio->Image(), expected);
            QVERIFY2(diff.isEmpty(), qPrintable(diff));
        }
    }

    // A radio in the 66 - 88 MHz band cannot be given another band: the refusal, the end command,
    // no block write, and the failure after the held-back write's three waits.
    void refusalForBand18()
    {
        const RadioImage before = MakeImage(DealerRadio, 18, 0xE0, 0x00);
        QVERIFY(StartWithRadio("RZ614_V", 18, before) && ReadRadio());
        QCOMPARE(frm->Combo1[0]->currentText(), QStringLiteral("TANGELOSV"));
        QVERIFY(ChooseBand(12));
        frm->SetText1Text(8, QStringLiteral("NOT TAKEN"));

        QTest::mouseClick(frm->Command2, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(2, 5000));
        QTest::qWait(400); // nothing more may follow
        QCOMPARE(msgs->Texts(),
                 QStringList(
                     {"Frequencys is different.The difference of frequecy is too much,can be use mutually! ",
                      "Write Failure!"}));
        QCOMPARE(msgs->boxes[0].buttons, MsgButtons::Ok);
        QCOMPARE(msgs->boxes[0].icon, MsgIcon::None);
        QCOMPARE(msgs->boxes[0].stamp, 7); // shown before the end command went out
        const qint64 afterRefusal = msgs->boxes[1].ms - msgs->boxes[0].ms;
        // The held-back block write's three waits.
        QVERIFY2(afterRefusal >= 450 && afterRefusal <= 1400, qPrintable(QString::number(afterRefusal)));
        QCOMPARE(FrameNames(*radio), QStringList({"P", "I", "R0", "R1", "R2", "R3", "R4", "END"}));
        QVERIFY(!frm->Session.MSComm1.PortOpen());
        const QString diff = ImageDiff(radio->Image(), before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
        QCOMPARE(frm->RadioInfo.BandIndex, int16_t(18));
        QCOMPARE(TrimText(frm->RadioInfo.DealerCode), QStringLiteral("DLR-7")); // the fields were not taken
    }

    // A write checks the radio's type against the one the user chose in the window before touching
    // a block. (The message's form for every pair of types is the frame tests'.)
    void modelErrorOnWrite()
    {
        const RadioImage before = MakeImage(DealerRadio, 8, 0xE0, 0x00);
        QVERIFY(StartWithRadio("RZ614UV", 8, before));
        UserChooses(frm->Combo1[0], 2);

        QTest::mouseClick(frm->Command2, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(2, 3000));
        QTest::qWait(300); // nothing more may follow
        QCOMPARE(msgs->Texts(),
                 QStringList({"Model Error\r\nPC is TANGELOSV\r\nRadio is TANGELOUV", "Write Failure!"}));
        QCOMPARE(FrameNames(*radio), QStringList({"P", "I"})); // no block, no end command
        const QString diff = ImageDiff(radio->Image(), before);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    // The failure box's detailed text says what went wrong in the program's language, with no word of
    // the other one: CTest runs this case under an English and a Chinese (China) locale.
    void failureDetails_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QStringList>("english"); // what the detail holds in each language
        QTest::addColumn<QStringList>("chinese");
        QTest::newRow("silent radio")
            << Fault::Silent
            << QStringList{"no acceptable reply to the program command after 3 tries. "
                           "Nothing came back on any try. Check that the radio is "
                           "switched on"}
            << QStringList{
                   "编程命令发送 3 次后仍没有收到有效的应答。每次都没有收到任何字节。请检查对讲机是否已开机"};
        // The port named once, ahead of what the line carried.
        QTest::newRow("cable without a radio, echoing")
            << Fault::Echo
            << QStringList{"COM900 (", "): no acceptable reply to the program command after 3 tries. Each "
                                       "time only the frame itself came back."}
            << QStringList{"COM900（",
                           "）：编程命令发送 3 次后仍没有收到有效的应答。每次传回的都只是所发送的帧本身。"};
        QTest::newRow("noise")
            << Fault::Noise
            << QStringList{"only bytes came back that make no reply (first bytes: F8 80 FE 78"}
            << QStringList{"每次收到的都只是不构成应答的字节（开头的字节：F8 80 FE 78"};
        QTest::newRow("every frame refused")
            << Fault::RefuseAll
            << QStringList{"no acceptable reply to the program command after 3 tries. The radio refused it "
                           "with a negative reply each time."}
            << QStringList{"编程命令发送 3 次后仍没有收到有效的应答。对讲机每次都回复了否定应答"};
        QTest::newRow("device gone, the list moved to a port without one")
            << Fault::DeviceGone
            << QStringList{"COM10 (/dev/ttyS9): there is no such device.\nCheck that the cable is plugged "
                           "in",
                           "\n\nCOM900 disappeared at "}
            << QStringList{"COM10（/dev/ttyS9）：设备不存在。\n请检查写频线是否已插好", "\n\nCOM900 于 "};
        QTest::newRow("port held by another program")
            << Fault::PortHeld << QStringList{") is held by the program sleep (process "}
            << QStringList{"） 正被程序 sleep（进程 "};
        QTest::newRow("model error")
            << Fault::OtherType
            << QStringList{"the radio is a TANGELOUV, but TANGELOSV is chosen as the radio type"}
            << QStringList{"对讲机是 TANGELOUV，但选择的机型是 TANGELOSV"};
        QTest::newRow("band change refused")
            << Fault::Band18 << QStringList{"a radio in the 66 - 88 MHz band cannot be given another band"}
            << QStringList{"66 - 88 MHz 频段的对讲机不能改为其他频段"};
        QTest::newRow("fields not taken")
            << Fault::NotTaken
            << QStringList{"did not take the stock date and the seller:", "The automatic backup "}
            << QStringList{"对讲机没有接受入库时间和经手人", "自动备份 "};
        // The dealer never typed the number: it is the window's choice, and the way to the right one.
        QTest::newRow("chosen port names no device")
            << Fault::NoDevice
            << QStringList{"COM950, the port chosen in the window, names no serial device of this computer.",
                           "\"tangelo-cli check\""}
            << QStringList{"COM950 是窗口中选择的串口，但这台电脑上没有它对应的串口设备。",
                           "“tangelo-cli check”"};
        QTest::newRow("port gone midway")
            << Fault::HungUp
            << QStringList{"went away while waiting for the reply to the block write for block 1.",
                           "Some blocks may have been written", "The automatic backup "}
            << QStringList{"等待第 1 块写入的应答时，串口断开了。", "可能已写入部分数据块", "自动备份 "};
    }
    void failureDetails()
    {
        QFETCH(Fault, fault);
        QFETCH(QStringList, english);
        QFETCH(QStringList, chinese);
        const int16_t language = SystemLanguageIndex();
        const uint8_t band = fault == Fault::Band18 ? 18 : 3;
        const QByteArray identity = fault == Fault::Band18 ? "RZ614_V" : "RZ614UV";
        const RadioImage image = MakeImage(DealerRadio, band, 0xE0, 0x00);
        if (fault == Fault::DeviceGone) {
            // A machine's port (COM10) whose device is not there, and the radio's device gone (its
            // number kept from the next pseudo-terminal, as in refresh()).
            std::optional<SpareTerminals> spares(std::in_place);
            QVERIFY(SetUpPorts({"ttyS9"}, true, "[language]\ncomPort=900\n", identity, band, image));
            StartFrmMainQuick();
            spares.reset();
            radio->Close();
            QVERIFY2(!QFileInfo::exists(radio->DevicePath()), "the closed device is still there");
            // The next refresh moves the list: within a second, or a few on a loaded machine.
            QTRY_COMPARE_WITH_TIMEOUT(frm->Combo2->currentText(), QStringLiteral("COM10"), 10000);
        } else {
            QVERIFY(StartWithRadio(identity, band, image));
        }
        VirtualRadioFaults faults;
        // Another program holds the port as Qt programs do: a lock file naming its process (the
        // program never names itself, so a holder in this process would stay unnamed).
        QProcess holder;
        QString lockPath;
        const auto letGo = qScopeGuard([&] {
            if (!lockPath.isEmpty())
                QFile::remove(lockPath);
            holder.kill();
            holder.waitForFinished();
        });
        bool write = true;
        int boxes = 1;
        switch (fault) {
        case Fault::Silent:
            faults.silentFromFrame = 0;
            write = false;
            break;
        case Fault::Echo:
            faults.echo = true;
            write = false;
            break;
        case Fault::Noise:
            faults.noise = true;
            write = false;
            break;
        case Fault::RefuseAll:
            faults.refuseAll = true;
            write = false;
            break;
        case Fault::DeviceGone:
            write = false;
            break;
        case Fault::NoDevice:
            // As a fixed list or a saved number may leave it, until the next refresh.
            frm->ComPortNumber = 950;
            write = false;
            break;
        case Fault::PortHeld:
            holder.start(QStringLiteral("sleep"), {QStringLiteral("60")});
            QVERIFY(holder.waitForStarted());
            lockPath = SerialLockFilePath(radio->DevicePath());
            QVERIFY(!lockPath.isEmpty());
            WriteTestFile(lockPath, QByteArray::number(holder.processId()) + "\nsleep\n" +
                                        QSysInfo::machineHostName().toUtf8() + '\n');
            write = false;
            break;
        case Fault::OtherType:
            UserChooses(frm->Combo1[0], 2);
            boxes = 2; // after "Model Error"
            break;
        case Fault::Band18:
            QVERIFY(ReadRadio() && ChooseBand(12));
            boxes = 2; // after the band notice
            break;
        case Fault::NotTaken:
            QVERIFY(ReadRadio());
            faults.blockWriteFaults[3] = {BlockWriteFault::Unkept, 99};
            faults.blockWriteFaults[4] = {BlockWriteFault::Unkept, 99};
            EnterText(9, QStringLiteral("2025-01-02"), Entry::Program);
            EnterText(11, QStringLiteral("Wang Fang"), Entry::Program);
            break;
        case Fault::HungUp:
            QVERIFY(ReadRadio());
            faults.hangUpFrames = {8}; // the second block write
            break;
        }
        if (radio->IsOpen())
            radio->SetFaults(faults);
        // A program command unanswered three times: only the words are looked at, the waits need not
        // be long (as short as those of the link's own test of these words).
        if (!write && fault != Fault::DeviceGone && fault != Fault::NoDevice && fault != Fault::PortHeld)
            frm->Session.SetTimings(fault == Fault::Silent ? SilentWaits : WordsWaits);

        QTest::mouseClick(write ? frm->Command2 : frm->Command1, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(boxes, 5000));
        const QString detail = msgs->boxes.last().detail;
        for (const QString& piece : language == ChineseLanguage ? chinese : english)
            QVERIFY2(detail.contains(piece), qPrintable(detail));
        const QStringList foreign = OtherLanguage::Foreign(detail, language);
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QStringLiteral(" | ")) + u'\n' + detail));
    }

    // Closing the window in the middle of a session: the port closes, nothing more goes out, no
    // message comes, nothing is saved.
    void exitDuringSession_data()
    {
        QTest::addColumn<bool>("exitButton");
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("silentFrom");  // the frame the radio stops answering at
        QTest::addColumn<int>("firstWaitMs"); // that frame's reply wait

        QTest::newRow("Exit button, program command unanswered")
            << true << false << 0 << int(WordsWaits.LongWait.count());
        QTest::newRow("title bar, read request of a write unanswered")
            << false << true << 2 << int(WordsWaits.ShortWait.count());
    }

    void exitDuringSession()
    {
        QFETCH(bool, exitButton);
        QFETCH(bool, write);
        QFETCH(int, silentFrom);
        QFETCH(int, firstWaitMs);

        QVERIFY(StartWithRadio("RZ614UV", 0, MakeImage(DealerRadio, 0, 0xE0, 0x00)));
        // Nothing may go out after the exit for three of the frame's waits: short ones keep it quick.
        frm->Session.SetTimings(WordsWaits);
        VirtualRadioFaults faults;
        faults.silentFromFrame = silentFrom;
        radio->SetFaults(faults);
        AgeFile(SettingsFile());
        const QDateTime before = FileTime(SettingsFile());

        // The exit follows the unanswered frame at once, well within its wait.
        QSignalSpy received(radio.get(), &VirtualRadio::TraceAdded);
        QTest::mouseClick(write ? frm->Command2 : frm->Command1, Qt::LeftButton);
        while (radio->Trace().size() < silentFrom + 1 && received.wait(3000)) {
        }
        QCOMPARE(radio->Trace().size(), silentFrom + 1);
        QVERIFY(frm->Session.MSComm1.PortOpen());
        if (exitButton)
            QTest::mouseClick(frm->Command3, Qt::LeftButton);
        else
            QVERIFY(frm->close());

        QVERIFY(!frm->isVisible());
        QVERIFY(!frm->Session.MSComm1.PortOpen());
        QVERIFY(!frm->ReShowComPortTimer.isActive());
        QVERIFY(!frm->Session.WaitTimer.isActive());
        QTest::qWait(3 * firstWaitMs + 300);
        QCOMPARE(msgs->Texts(), QStringList());
        QCOMPARE(radio->Trace().size(), silentFrom + 1); // nothing went out again
        QCOMPARE(FileTime(SettingsFile()), before);
    }

    // An empty port list says in its tooltip why a cable that is plugged in gives no port.
    void emptyListToolTip()
    {
        AddUsbDevice(program->SysRoot(), QStringLiteral("1-3 067b:23a3 ff/00/"));
        StartFrmMainQuick();
        QCOMPARE(frm->Combo2->count(), 0);
        QVERIFY2(frm->Combo2->toolTip().contains(QStringLiteral("sudo modprobe pl2303")),
                 qPrintable(frm->Combo2->toolTip()));
        QCOMPARE(frm->Combo2->accessibleDescription(), frm->Combo2->toolTip());
    }

    // The empty list's tooltip follows the cables while the window runs: a cable plugged in, taken by
    // brltty and pulled out changes no port, so only the refresh's own reading can see it.
    void emptyListToolTipFollowsCables()
    {
        const QString sysRoot = program->SysRoot();
        AddProcess(program->ProcRoot(), 812, "brltty");
        StartFrmMainQuick();
        QCOMPARE(frm->Combo2->count(), 0);
        QCOMPARE(frm->Combo2->toolTip(), QString());
        {
            // Past the first refresh, which always reads everything: each change below meets an idle one.
            QSignalSpy refreshed(&frm->ReShowComPortTimer, &QTimer::timeout);
            QTRY_COMPARE_WITH_TIMEOUT(refreshed.size(), 2, 10000);
        }
        struct Step
        {
            std::function<void()> change;
            QString shown; // empty: no tooltip
        };
        const std::array<Step, 3> steps{{
            {[&] { AddUsbDevice(sysRoot, QStringLiteral("1-3 1a86:7523 ff/01/")); },
             QStringLiteral("sudo modprobe ch341")},
            {[&] { RebindUsbDevice(sysRoot, QStringLiteral("1-3"), QStringLiteral("usbfs")); },
             QStringLiteral("brltty took it")},
            {[&] { RemoveUsbDevice(sysRoot, QStringLiteral("1-3")); }, QString()},
        }};
        for (const Step& step : steps) {
            step.change();
            if (step.shown.isEmpty())
                QTRY_VERIFY2_WITH_TIMEOUT(frm->Combo2->toolTip().isEmpty(),
                                          qPrintable(frm->Combo2->toolTip()), 10000);
            else
                QTRY_VERIFY2_WITH_TIMEOUT(frm->Combo2->toolTip().contains(step.shown),
                                          qPrintable(frm->Combo2->toolTip()), 10000);
            QCOMPARE(frm->Combo2->accessibleDescription(), frm->Combo2->toolTip());
        }
    }

    // Under the failure box's fixed text, the cause and what to do; a cable that is plugged in but
    // gives no port is named there when nothing came back. CTest runs this case in both languages.
    void failureSummary_data()
    {
        QTest::addColumn<bool>("echo");
        QTest::addColumn<bool>("portless");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        QTest::newRow("silent radio")
            << false << false
            << "Nothing came back from the radio. Check that the radio is switched on and connected by its "
               "programming cable to this port, and that the right COM port is chosen."
            << "对讲机没有传回任何字节。请检查对讲机是否已开机";
        QTest::newRow("silent radio, a CH340 taken by brltty")
            << false << true
            << "The cable CH340 (1a86:7523) is plugged in but has no port: the braille display program "
               "brltty "
               "took it."
            << "写频线 CH340 (1a86:7523) 已插上，但没有串口：盲文显示程序 brltty 占用了它。";
        QTest::newRow("echo: the cable works, the portless one is not named")
            << true << true << "The cable works up to its plug, but no radio answered:"
            << "写频线直到插头都是通的，但没有对讲机应答";
    }
    void failureSummary()
    {
        QFETCH(bool, echo);
        QFETCH(bool, portless);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        const QString expected = SystemLanguageIndex() == ChineseLanguage ? chinese : english;
        if (portless) {
            AddUsbDevice(program->SysRoot(), QStringLiteral("1-1 1a86:7523 ff/01/usbfs"));
            AddProcess(program->ProcRoot(), 812, "brltty");
        }
        QVERIFY(StartWithRadio("RZ614UV", 3, MakeImage(DealerRadio, 3, 0xE0, 0x00)));
        VirtualRadioFaults faults;
        faults.silentFromFrame = echo ? -1 : 0;
        faults.echo = echo;
        radio->SetFaults(faults);
        // Only the words are looked at: a silent radio's waits run out whatever their length.
        frm->Session.SetTimings(echo ? WordsWaits : SilentWaits);
        QTest::mouseClick(frm->Command1, Qt::LeftButton);
        QVERIFY(msgs->WaitFor(1, 5000));
        const RecordedBox& box = msgs->boxes.last();
        QCOMPARE(box.text, QStringLiteral("Read Failure!"));
        QVERIFY2(box.informative.startsWith(expected), qPrintable(box.informative));
        // The details keep the rest: the port and what each try got back, and the cable named there too.
        QVERIFY2(box.detail.contains(QStringLiteral("COM900")), qPrintable(box.detail));
        QCOMPARE(box.detail.contains(QStringLiteral("1a86:7523")), portless && !echo);
    }
};

// The functions side by side, the slowest first.
TT_QTEST_MAIN_SIDE_BY_SIDE(TestProgram, 8, 5, {"failureDetails", 4}, {"refusalForBand18"},
                           {"exitDuringSession"}, {"refresh", 2})
#include "tst_program.moc"
