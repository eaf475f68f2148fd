// The program's only window: the radio's information for editing, the radio-type and band lists,
// the COM-port list and the Read, Write and Exit buttons.
#pragma once

#include "data/AnsiCodePage.h"
#include "data/ModData.h"
#include "data/TextFieldSet.h"
#include "link/RadioSession.h"
#include "ports/PortWatch.h"
#include "settings/BackupFolder.h"
#include "settings/Settings.h"
#include "system/ProgramTranslations.h"
#include "system/SystemLanguage.h"
#include "window/DropDownList.h"
#include "window/MsgBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

struct PortListPlan;

class FrmMain : public QWidget
{
    Q_OBJECT
public:
    // Creates the controls in their design-time states and runs Form_Load. The radio's texts are in
    // `codePage`, the system locale's unless given; `settings` says where the files and ports are.
    explicit FrmMain(QWidget* parent = nullptr, ProgramSettings settings = ProgramSettings(),
                     std::optional<AnsiCodePage> codePage = std::nullopt);
    ~FrmMain() override;

    // Start-up before the window is first shown.
    void Form_Load();
    // Runs whenever the window goes away, whatever the cause; never refuses.
    void Form_Unload();

    // Band table and lists.
    void FillBandTable();
    void FillBandList(int16_t radioType);
    void Combo1_Click(int16_t Index);
    void Combo2_Click();

    // The record and the window, both ways. GetDataByShow is the write's question: the radio's record
    // and image come in, the fields to write (or the band check's refusal) go out.
    void ShowByData();
    WriteDecision GetDataByShow(const RadioInfoRecord& radio, const InfoImageType& image);

    // The Read and Write buttons and the session's end.
    void Command1_Click();
    void Command2_Click();
    void Session_RecordRead(const RadioInfoRecord& record);
    void Session_Finished(const SessionOutcome& outcome);

    // Every message box of the window goes through here; tests answer and record them.
    MsgResult MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                     const QString& detail = {}, const QString& informative = {});
    MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler); // returns the one it replaces

    // The COM-port list.
    bool InComPorts(int16_t number) const;
    void ReShowComPortTimer_Timer();

    void Command3_Click();
    void Text1_GotFocus(int16_t Index);

    // One way to reach the text of every Text1 member, the multi-line one included. Setting cuts the
    // text to the field's maximum length (and, for the editable fields, to the radio's byte width).
    QString Text1Text(int16_t Index) const;
    void SetText1Text(int16_t Index, const QString& text);
    // What SetText1Text would put into the field for `text`.
    QString FittedText1Text(int16_t Index, const QString& text) const;
    static constexpr std::array<int, 13> Text1MaxLength{4, 16, 16, 16, 64, 16, 8, 4, 16, 16, 16, 16, 4};

    // The controls, by name and index. Text1(4) is a QPlainTextEdit, every other member a QLineEdit.
    std::array<QWidget*, 13> Text1{};
    std::array<QLabel*, 14> Label1{};
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    std::array<DropDownList*, 2> Combo1{};
    DropDownList* Combo2 = nullptr; // COM ports
    DropDownList* Combo3 = nullptr; // the whole band table, hidden; its position is the band index
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QCheckBox* Check4 = nullptr;
    QCheckBox* Check5 = nullptr;
    QCheckBox* Check6 = nullptr;
    QCheckBox* Check7 = nullptr;
    QCheckBox* Check8 = nullptr;
    QPushButton* Command1 = nullptr; // Read
    QPushButton* Command2 = nullptr; // Write
    QPushButton* Command3 = nullptr; // Exit
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QTimer ReShowComPortTimer;

    // Where the settings file and the serial ports are; the chosen port (0: none); whether the port
    // list is the fixed one.
    ProgramSettings Settings;
    int16_t ComPortNumber = 0;
    bool FixedPortList = false;
    // The radio's information as the window shows it.
    RadioInfoRecord RadioInfo;
    // 1 English, 2 Chinese; set once by SetLanguage.
    int16_t LanguageIndex = 0;
    // The radio's texts are in the code page of the system's locale.
    AnsiCodePage CodePage;
    // The session with its serial control MSComm1 and reply timer WaitTimer.
    RadioSession Session;
    // Where every write first keeps the image it read. A backup that cannot be saved does not stop
    // the write: the window has no place to say so, and the trace records it.
    BackupFolder Backups;

    // The two band messages of a write, indexed by LanguageIndex; element 0 stays empty.
    std::array<QString, 3> OverwriteQuestion;
    std::array<QString, 3> BandTooFarNotice;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void SetLanguage();
    void AlignLabels();
    QString Message(const std::array<QString, 3>& texts) const;
    void ShowSessionOutcome(const SessionOutcome& outcome);
    TextFieldSet EditedTextFields(const InfoImageType& radioImage) const;
    void StartUpPortList();
    void ShowPortList(const PortListPlan& plan);
    void UpdatePortListToolTip();
    QStringList ComPortEntries() const;

    // Every text beyond the captions, Qt's own among them, in the system's language from the start:
    // the port list's tooltip is made before SetLanguage runs.
    ProgramTranslations Translations{SystemLanguageIndex()};
    MsgBoxHandler msgBoxHandler;

    // What the refresh last left: while the watch sees no change and the number stands, a refresh
    // would leave everything as it is.
    PortWatch portWatch{Settings};
    int16_t refreshedComPort = 0;
    bool refreshSaveFailed = false;
    // The port the list last moved to after the remembered one disappeared, and the note saying so.
    std::pair<int16_t, QString> portListMove{0, {}};
    void NotePortListMove(int16_t remembered);
    QString PortListMoveNote(int16_t portNumber) const;
};
