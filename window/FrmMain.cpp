#include "window/FrmMain.h"

#include "data/BandTable.h"
#include "data/ModData.h"
#include "link/PortlessCableText.h"
#include "link/SessionMessages.h"
#include "ports/ComPorts.h"
#include "ports/PortlessCables.h"
#include "settings/Settings.h"
#include "system/SystemType.h"
#include "window/AnsiWidthValidator.h"
#include "window/FrameBox.h"
#include "window/MsgBoxDialog.h"
#include "window/Twips.h"
#include "window/WindowFont.h"
#include "window/WindowIcon.h"
#include "window/WindowTrace.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <utility>
#include <vector>

FrmMain::FrmMain(QWidget* parent, ProgramSettings settings, std::optional<AnsiCodePage> codePage)
    : QWidget(parent), Settings(std::move(settings)), CodePage(codePage.value_or(AnsiCodePage::System())),
      msgBoxHandler(ShowMsgBoxDialog)
{
    InstallFontSubstitutions();
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QString::fromLatin1(ProgramTitle));
    setWindowIcon(WindowIcon());
    setFont(WindowFont());
    // The layout is designed for one size and does not follow a resize.
    setFixedSize(TwipsToPixels(9315), TwipsToPixels(7875));

    ReShowComPortTimer.setInterval(1000);

    CreateControls();
    connect(Command1, &QPushButton::clicked, this, &FrmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmMain::Command2_Click);
    connect(&ReShowComPortTimer, &QTimer::timeout, this, &FrmMain::ReShowComPortTimer_Timer);
    Session.SetCodePage(CodePage);
    // A port number names the device that the window's own discovery lists under it.
    Session.SetPortResolver([this](int16_t number) { return Settings.DevicePathForComPort(number); });
    // The port is the list's choice, which the dealer may not have made in this run.
    Session.SetPortSource(PortSource::Window);
    Session.SetWriteFieldsQuestion([this](const RadioInfoRecord& radio, const InfoImageType& image) {
        return GetDataByShow(radio, image);
    });
    Session.SetBackupWriter(
        [this](const RadioInfoRecord& radio, const InfoImageType& image) {
            return Backups.SaveWriteBackup(radio, image, CodePage);
        },
        false);
    connect(&Session, &RadioSession::recordRead, this, &FrmMain::Session_RecordRead);
    connect(&Session, &RadioSession::finished, this, &FrmMain::Session_Finished);
    Form_Load();

    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
}

FrmMain::~FrmMain() = default;

void FrmMain::CreateControls()
{
    // Tab index of every control that has one; the keyboard order is chained from it at the end.
    std::vector<std::pair<int, QWidget*>> tabIndex;
    auto place = [&tabIndex](QWidget* widget, const QString& name, QRect twips, int tab) {
        widget->setObjectName(name);
        widget->setGeometry(TwipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
        if (tab >= 0)
            tabIndex.emplace_back(tab, widget);
    };
    auto label = [](QWidget* frame, const QString& name, int top) {
        // Auto-sizing label; SetLanguage gives it its caption and its left edge.
        auto* widget = new QLabel(frame);
        widget->setObjectName(name);
        widget->move(0, TwipsToPixels(top));
        return widget;
    };

    Frame1 = new FrameBox(this);
    place(Frame1, QStringLiteral("Frame1"), {0, 120, 9255, 7575}, -1);

    // Signalling and feature switches: hidden for the whole run, they only carry the record's values.
    auto check = [&](const QString& name, int left, int top, int tab, bool shown) {
        auto* box = new QCheckBox(Frame1);
        place(box, name, {left, top, 1095, 375}, tab);
        box->setVisible(shown);
        return box;
    };
    Check1 = check(QStringLiteral("Check1"), 360, 360, 2, false);
    Check2 = check(QStringLiteral("Check2"), 1560, 360, 3, false);
    Check3 = check(QStringLiteral("Check3"), 2760, 360, 4, false);
    Check4 = check(QStringLiteral("Check4"), 3960, 360, 5, false);
    Check6 = check(QStringLiteral("Check6"), 5160, 360, 28, false);
    Check7 = check(QStringLiteral("Check7"), 6360, 360, 42, false);
    Check5 = check(QStringLiteral("Check5"), 7560, 120, 27, false);
    Check8 = check(QStringLiteral("Check8"), 7560, 360, 45, true);
    Check1->setText(QStringLiteral("5Tone"));
    Check2->setText(QStringLiteral("2Tone"));
    Check3->setText(QStringLiteral("DTMF"));

    Frame2 = new FrameBox(Frame1);
    place(Frame2, QStringLiteral("Frame2"), {120, 5640, 8535, 1815}, -1);

    struct FieldDesign
    {
        int index, left, top, tab;
        bool enabled;
        QGroupBox* frame;
    };
    const std::array<FieldDesign, 13> fields{{
        {0, 2040, 840, 15, false, Frame1},
        {1, 2040, 3000, 16, false, Frame1},
        {2, 2040, 3360, 17, false, Frame1},
        {3, 2040, 3720, 18, false, Frame1},
        {4, 2040, 4560, 19, false, Frame1},
        {5, 2040, 4080, 25, false, Frame1},
        {6, 2040, 1200, 29, false, Frame1},
        {7, 2040, 1560, 31, false, Frame1},
        {8, 1920, 240, 34, true, Frame2},
        {9, 1905, 600, 36, true, Frame2},
        {10, 1905, 960, 38, true, Frame2},
        {11, 1905, 1320, 40, true, Frame2},
        {12, 2040, 2640, 43, true, Frame1},
    }};
    for (const FieldDesign& design : fields) {
        const auto index = static_cast<size_t>(design.index);
        const QString name = QStringLiteral("Text1(%1)").arg(design.index);
        if (design.index == 4) {
            auto* edit = new QPlainTextEdit(design.frame);
            edit->setTabChangesFocus(true);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            Text1[index] = edit;
            place(edit, name, {design.left, design.top, 4695, 1005}, design.tab);
        } else {
            auto* edit = new QLineEdit(design.frame);
            edit->setMaxLength(Text1MaxLength[index]);
            Text1[index] = edit;
            place(edit, name, {design.left, design.top, 4695, 330}, design.tab);
        }
        Text1[index]->setEnabled(design.enabled);
        Text1[index]->installEventFilter(this);
    }
    // What the user types into the editable fields must reach the radio whole: their widths there.
    const std::array<std::pair<int, int>, 5> radioWidths{{{8, Width::DealerCode},
                                                          {9, Width::StockDate},
                                                          {10, Width::SellDate},
                                                          {11, Width::Seller},
                                                          {12, Width::ProgramPassword}}};
    for (const auto& [index, width] : radioWidths) {
        auto* edit = static_cast<QLineEdit*>(Text1[static_cast<size_t>(index)]);
        edit->setValidator(new AnsiWidthValidator(width, CodePage, edit));
    }

    Label2 = label(Frame1, QStringLiteral("Label2"), 885);
    const std::array<std::pair<int, int>, 10> outerLabels{{{7, 1245},
                                                           {8, 1605},
                                                           {0, 1965},
                                                           {1, 2325},
                                                           {13, 2685},
                                                           {2, 3045},
                                                           {3, 3405},
                                                           {4, 3765},
                                                           {6, 4125},
                                                           {5, 4605}}};
    for (const auto& [index, top] : outerLabels)
        Label1[static_cast<size_t>(index)] = label(Frame1, QStringLiteral("Label1(%1)").arg(index), top);
    for (int index = 9; index <= 12; ++index)
        Label1[static_cast<size_t>(index)] =
            label(Frame2, QStringLiteral("Label1(%1)").arg(index), 285 + (index - 9) * 360);

    for (int index = 0; index < 2; ++index) {
        Combo1[static_cast<size_t>(index)] = new DropDownList(Frame1);
        connect(Combo1[static_cast<size_t>(index)], &DropDownList::Click, this,
                [this, index] { Combo1_Click(static_cast<int16_t>(index)); });
    }
    place(Combo1[0], QStringLiteral("Combo1(0)"), {2040, 1920, 4695, 345}, 7);
    place(Combo1[1], QStringLiteral("Combo1(1)"), {2040, 2280, 4695, 345}, 9);
    for (std::string_view name : RadioTypeNames)
        Combo1[0]->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    Combo1[0]->setCurrentIndex(-1); // the start-up selection runs the radio-type choice

    Label3 = label(Frame1, QStringLiteral("Label3"), 960);
    Label3->move(TwipsToPixels(7080), Label3->y());
    Combo2 = new DropDownList(Frame1);
    place(Combo2, QStringLiteral("Combo2"), {7080, 1200, 1455, 345}, 24);
    connect(Combo2, &DropDownList::Click, this, &FrmMain::Combo2_Click);
    Combo3 = new DropDownList(Frame1);
    place(Combo3, QStringLiteral("Combo3"), {7200, 3600, 1815, 345}, 46);
    Combo3->setVisible(false);

    Command1 = new QPushButton(Frame1);
    place(Command1, QStringLiteral("Command1"), {7200, 1800, 1455, 375}, 20);
    Command2 = new QPushButton(Frame1);
    place(Command2, QStringLiteral("Command2"), {7200, 2280, 1455, 375}, 21);
    Command3 = new QPushButton(Frame1);
    place(Command3, QStringLiteral("Command3"), {7200, 4800, 1455, 375}, 22);
    connect(Command3, &QPushButton::clicked, this, &FrmMain::Command3_Click);

    // Each field and list is labelled by the caption beside it (above it for the COM ports), so that a
    // screen reader names it by that caption, in the window's language. The captions mark no access
    // key, so no shortcut comes with it.
    Label2->setBuddy(Text1[0]);
    Label1[0]->setBuddy(Combo1[0]);
    Label1[1]->setBuddy(Combo1[1]);
    for (size_t index = 2; index < Label1.size(); ++index)
        Label1[index]->setBuddy(Text1[index - 1]);
    Label3->setBuddy(Combo2);

    // Keyboard order: by tab index; hidden and disabled controls are passed over by Qt itself.
    std::stable_sort(tabIndex.begin(), tabIndex.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tabIndex.size(); ++i)
        setTabOrder(tabIndex[i - 1].second, tabIndex[i].second);
}

void FrmMain::Form_Load()
{
    RadioInfo = SetDefaultInfo();
    Session.SetRadioInfo(RadioInfo);
    if (const std::optional<bool> fixedList = DetectSystemType()) {
        FixedPortList = *fixedList;
    } else {
        // The same text in both languages: the captions are not set yet.
        MsgBox(QStringLiteral("未知操作系统"));
        FixedPortList = false;
    }
    ComPortNumber = Settings.LoadComPortSetting();
    StartUpPortList();
    FillBandTable();
    SetLanguage();
    ShowByData();
    if (!FixedPortList)
        ReShowComPortTimer.start();
    Combo1[0]->setFocus();
}

void FrmMain::Form_Unload()
{
    ReShowComPortTimer.stop();
    // A session still running ends with the window, without a message.
    Session.Abandon();
}

void FrmMain::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void FrmMain::Command3_Click()
{
    close();
}

void FrmMain::Command1_Click()
{
    Session.startRead(ComPortNumber);
}

void FrmMain::Command2_Click()
{
    Session.startWrite(ComPortNumber, Combo1[0]->currentText());
}

void FrmMain::Session_RecordRead(const RadioInfoRecord& record)
{
    qCDebug(WindowTrace) << "record read";
    RadioInfo = record;
    ShowByData();
}

void FrmMain::Session_Finished(const SessionOutcome& outcome)
{
    qCDebug(WindowTrace) << "session finished";
    ShowSessionOutcome(outcome);
}

void FrmMain::ShowSessionOutcome(const SessionOutcome& outcome)
{
    QString detail = OutcomeDetail(outcome);
    QString summary = OutcomeSummary(outcome);
    // Nothing on the line: a cable that is plugged in but gives no port is the likeliest cause, and
    // looking for one costs a walk of the USB devices, done only now.
    if (NothingOnLine(outcome)) {
        if (const QString cables = PortlessCablesText(Settings.FindPortlessCables()); !cables.isEmpty()) {
            summary = cables;
            detail += QStringLiteral("\n\n") + cables;
        }
    }
    if (const QString moved = PortListMoveNote(outcome.ComPort); !moved.isEmpty() && !detail.isEmpty())
        detail += QStringLiteral("\n\n") + moved;
    switch (outcome.Result) {
    case SessionResult::Complete:
        MsgBox(CompleteText(outcome.Mode));
        break;
    case SessionResult::CannotOpen:
        MsgBox(QString::fromLatin1(CannotOpenText), MsgButtons::Ok, MsgIcon::Critical, detail, summary);
        break;
    case SessionResult::ModelError:
        MsgBox(ModelErrorText(outcome));
        MsgBox(FailureText(outcome.Mode), MsgButtons::Ok, MsgIcon::None, detail, summary);
        break;
    case SessionResult::Failure:
    case SessionResult::Refused:
        MsgBox(FailureText(outcome.Mode), MsgButtons::Ok, MsgIcon::None, detail, summary);
        break;
    }
}

MsgResult FrmMain::MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& detail,
                          const QString& informative)
{
    return msgBoxHandler ? msgBoxHandler({text, buttons, icon, detail, informative}) : MsgResult::Ok;
}

MsgBoxHandler FrmMain::SetMsgBoxHandler(MsgBoxHandler handler)
{
    return std::exchange(msgBoxHandler, std::move(handler));
}
