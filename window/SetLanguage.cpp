#include "window/SetLanguage.h"

#include "window/FrmMain.h"
#include "window/Twips.h"

#include <QAbstractButton>

#include <array>
#include <string_view>
#include <utility>
#include <vector>

namespace {
constexpr int16_t Chinese = ChineseLanguage;

struct Caption
{
    std::u16string_view control; // object name
    std::u16string_view english;
    std::u16string_view chinese;
};

// The ampersand marks the access key, the same letter in both languages.
constexpr std::array<Caption, 26> CaptionTable{{
    {u"Command1", u"&Read", u"读出(&R)"},
    {u"Command2", u"&Write", u"写入(&W)"},
    {u"Command3", u"E&xit", u"退出(&X)"},
    {u"Frame1", u"Radio Setting", u"机器设置"},
    {u"Frame2", u"Dealer Information", u"经销商信息"},
    {u"Label3", u"Com Port:", u"串口选择:"},
    {u"Label2", u"Area Code", u"销售区号"},
    {u"Label1(0)", u"Radio Type", u"机型"},
    {u"Label1(1)", u"Frequency", u"频段"},
    {u"Label1(2)", u"Serial Number", u"序列号"},
    {u"Label1(3)", u"Producted Date", u"出厂日期"},
    {u"Label1(4)", u"Maintained Date", u"维修日期"},
    {u"Label1(5)", u"Maintained Description", u"维修原因"},
    {u"Label1(6)", u"Version", u"固件版本"},
    {u"Label1(7)", u"Manufacture Code", u"生产批号"},
    {u"Label1(8)", u"User Code", u"客户代码"},
    {u"Label1(9)", u"Dealer Code", u"经销商代码"},
    {u"Label1(10)", u"Stock Date", u"入库时间"},
    {u"Label1(11)", u"Sell Date", u"销售时间"},
    {u"Label1(12)", u"Seller", u"经手人"},
    {u"Label1(13)", u"Program PassWord", u"编程密码"},
    {u"Check4", u"Kill", u"遥毙"},
    {u"Check5", u"Scramber", u"扰频"},
    {u"Check6", u"Faint", u"遥晕"},
    {u"Check7", u"Factory", u"工厂模式"},
    {u"Check8", u"Freq. Set", u"频段设置"},
}};

QString ToQString(std::u16string_view text)
{
    return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

void SetCaption(QWidget* control, const QString& caption)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(control))
        frame->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(caption);
}
} // namespace

void FrmMain::SetLanguage()
{
    // The same rule that chose the language of every other text (FrmMain::Translations).
    LanguageIndex = SystemLanguageIndex();

    for (const Caption& caption : CaptionTable) {
        if (QWidget* control = findChild<QWidget*>(ToQString(caption.control)))
            SetCaption(control, ToQString(LanguageIndex == Chinese ? caption.chinese : caption.english));
    }
    // Qt names a frame inside a frame by the outer caption; a screen reader reads this one's own.
    Frame2->setAccessibleName(Frame2->title());

    // The firmware version is display only and shows on the window's own background.
    QPalette palette = Text1[5]->palette();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Active, QPalette::Window));
    Text1[5]->setPalette(palette);

    AlignLabels();

    OverwriteQuestion = {QString(), QStringLiteral("Frequencys is different. Overwrite?"),
                         ToQString(u"频段类型不同。是否覆盖？")};
    BandTooFarNotice = {
        QString(),
        QStringLiteral(
            "Frequencys is different.The difference of frequecy is too much,can be use mutually! "),
        ToQString(u"频段类型不同。频率相差太大，不能互用！")};
}

void FrmMain::AlignLabels()
{
    // Each label sizes itself to its caption and ends 50 twips left of its reference field.
    std::vector<std::pair<QLabel*, QWidget*>> pairs{{Label2, Text1[0]}, {Label1[13], Text1[12]}};
    for (size_t index = 0; index <= 8; ++index)
        pairs.emplace_back(Label1[index], Text1[0]);
    for (size_t index = 9; index <= 12; ++index)
        pairs.emplace_back(Label1[index], Text1[8]);
    for (const auto& [label, field] : pairs) {
        label->adjustSize();
        const int left = PixelsToTwips(field->x()) - 50 - PixelsToTwips(label->width());
        label->move(TwipsToPixels(left), label->y());
    }
    Label3->adjustSize(); // stays where it was designed
}
