// Captions, LanguageIndex, the band messages, the label alignment and the message boxes under the
// process's system locale. CTest runs this program once per locale and names, in
// EXPECTED_LANGUAGE_INDEX, the language that locale must give (1 English, 2 Chinese).
#include "IsolatedProgram.h"
#include "window/MsgBoxDialog.h"
#include "window/Twips.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

namespace {

int ExpectedLanguage()
{
    return qEnvironmentVariableIntValue("EXPECTED_LANGUAGE_INDEX");
}

QString Caption(QWidget* control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* frame = qobject_cast<QGroupBox*>(control))
        return frame->title();
    return qobject_cast<QLabel*>(control)->text();
}

// Whether every character has a glyph in the window's font or in a face that stands in for it,
// rather than the empty box.
bool Renderable(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    return std::all_of(text.begin(), text.end(), [&metrics](QChar ch) { return metrics.inFont(ch); });
}

// The label's text in the lines it is shown in: wrapped at word boundaries to its width.
QStringList WrappedLines(const QLabel& label)
{
    QStringList lines;
    const int width = label.contentsRect().width();
    for (const QString& paragraph : label.text().split(u'\n')) {
        QTextLayout layout(paragraph, label.font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << paragraph.mid(line.textStart(), line.textLength());
        }
        layout.endLayout();
    }
    return lines;
}

} // namespace

class TestSetLanguage : public QObject
{
    Q_OBJECT
    IsolatedProgram isolated;
    std::unique_ptr<FrmMain> frm;
    int expected = 0;

private slots:
    void initTestCase()
    {
        expected = ExpectedLanguage();
        QVERIFY2(expected == 1 || expected == 2, "EXPECTED_LANGUAGE_INDEX must be 1 or 2");
    }
    void init() { StartFrmMain(frm, isolated.Settings(), nullptr, true); }
    void cleanup() { frm.reset(); }

    void languageIndexFromTheSystemLocale()
    {
        QCOMPARE(frm->LanguageIndex, expected);
        FrmMain again(nullptr, isolated.Settings());
        QCOMPARE(again.LanguageIndex, expected);
    }

    // Locales beyond those that CTest runs this program under.
    void languageIndexFor_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("languageIndex");
        QTest::newRow("zh_Hans_CN") << "zh_Hans_CN" << 2;
        QTest::newRow("zh_SG") << "zh_SG" << 1;
        QTest::newRow("zh_MO") << "zh_MO" << 1;
        QTest::newRow("ja_JP") << "ja_JP" << 1;
        QTest::newRow("C") << "C" << 1;
    }
    void languageIndexFor()
    {
        QFETCH(QString, locale);
        QFETCH(int, languageIndex);
        QCOMPARE(LanguageIndexFor(QLocale(locale)), languageIndex);
    }

    // The captions, and the two band messages of a write, in the locale's language.
    void captions_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("chinese");
        auto row = [](const char* control, const char* english, const char* chinese) {
            QTest::newRow(control) << control << english << QString::fromUtf8(chinese);
        };
        row("Command1", "&Read", "读出(&R)");
        row("Command2", "&Write", "写入(&W)");
        row("Command3", "E&xit", "退出(&X)");
        row("Frame1", "Radio Setting", "机器设置");
        row("Frame2", "Dealer Information", "经销商信息");
        row("Label3", "Com Port:", "串口选择:");
        row("Label2", "Area Code", "销售区号");
        row("Label1(0)", "Radio Type", "机型");
        row("Label1(1)", "Frequency", "频段");
        row("Label1(2)", "Serial Number", "序列号");
        row("Label1(3)", "Producted Date", "出厂日期");
        row("Label1(4)", "Maintained Date", "维修日期");
        row("Label1(5)", "Maintained Description", "维修原因");
        row("Label1(6)", "Version", "固件版本");
        row("Label1(7)", "Manufacture Code", "生产批号");
        row("Label1(8)", "User Code", "客户代码");
        row("Label1(9)", "Dealer Code", "经销商代码");
        row("Label1(10)", "Stock Date", "入库时间");
        row("Label1(11)", "Sell Date", "销售时间");
        row("Label1(12)", "Seller", "经手人");
        row("Label1(13)", "Program PassWord", "编程密码");
        row("Check4", "Kill", "遥毙");
        row("Check5", "Scramber", "扰频");
        row("Check6", "Faint", "遥晕");
        row("Check7", "Factory", "工厂模式");
        row("Check8", "Freq. Set", "频段设置");
        // The same in both languages.
        row("Check1", "5Tone", "5Tone");
        row("Check2", "2Tone", "2Tone");
        row("Check3", "DTMF", "DTMF");
        row("OverwriteQuestion", "Frequencys is different. Overwrite?", "频段类型不同。是否覆盖？");
        row("BandTooFarNotice",
            "Frequencys is different.The difference of frequecy is too much,can be use mutually! ",
            "频段类型不同。频率相差太大，不能互用！");
    }
    void captions()
    {
        QFETCH(QString, control);
        QFETCH(QString, english);
        QFETCH(QString, chinese);
        QString caption;
        QFont font = frm->font();
        if (control == u"OverwriteQuestion") {
            caption = frm->OverwriteQuestion.at(size_t(frm->LanguageIndex));
        } else if (control == u"BandTooFarNotice") {
            caption = frm->BandTooFarNotice.at(size_t(frm->LanguageIndex));
        } else {
            auto* widget = frm->findChild<QWidget*>(control);
            QVERIFY(widget != nullptr);
            caption = Caption(widget);
            font = widget->font();
        }
        QCOMPARE(caption, expected == 2 ? chinese : english);
        QVERIFY2(Renderable(font, QString(caption).remove('&')), "a character would show as a box");
    }

    void windowCaptionAndFont()
    {
        QCOMPARE(frm->windowTitle(), "TANGELO_Tune");
        const QFontInfo font(frm->Label1[0]->font());
        QCOMPARE(font.pointSize(), 9);
        QVERIFY2(font.family() == "Arial" || font.family() == "Liberation Sans", qPrintable(font.family()));
        QCOMPARE(frm->size(), QSize(TwipsToPixels(9315), TwipsToPixels(7875)));
        QCOMPARE(frm->minimumSize(), frm->maximumSize());
        QVERIFY(!frm->windowIcon().pixmap(16, 16).isNull());
        QVERIFY(!Renderable(frm->font(), QString(QChar(0x0378)))); // the glyph probe can fail
    }

    // Each label is as wide as its caption and ends 50 twips left of its reference field, to the
    // nearest pixel.
    void labelsEndLeftOfTheirFields_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("field");
        QTest::newRow("Label2") << "Label2"
                                << "Text1(0)";
        for (int index = 0; index <= 8; ++index)
            QTest::addRow("Label1(%d)", index) << QString("Label1(%1)").arg(index) << "Text1(0)";
        for (int index = 9; index <= 12; ++index)
            QTest::addRow("Label1(%d)", index) << QString("Label1(%1)").arg(index) << "Text1(8)";
        QTest::newRow("Label1(13)") << "Label1(13)"
                                    << "Text1(12)";
    }
    void labelsEndLeftOfTheirFields()
    {
        QFETCH(QString, label);
        QFETCH(QString, field);
        auto* caption = frm->findChild<QLabel*>(label);
        auto* reference = frm->findChild<QWidget*>(field);
        QCOMPARE(caption->parentWidget(), reference->parentWidget());
        QVERIFY(caption->width() >= caption->sizeHint().width()); // nothing cut off
        QVERIFY(caption->x() >= 0);
        const int gap = PixelsToTwips(reference->x() - (caption->x() + caption->width()));
        QVERIFY2(std::abs(gap - 50) <= TwipsPerPixel() / 2 + 1, qPrintable(QString::number(gap)));
    }

    void longCaptionsStartFurtherLeft()
    {
        if (frm->LanguageIndex != 1)
            QSKIP("the English captions differ in length");
        QVERIFY(frm->Label1[5]->x() < frm->Label1[6]->x() - 50); // "Maintained Description", "Version"
    }

    void versionFieldOnWindowBackground()
    {
        const QColor window = frm->palette().color(QPalette::Active, QPalette::Window);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            QCOMPARE(frm->Text1[5]->palette().color(group, QPalette::Base), window);
    }

    // The same letters in both languages; Exit closes the window and stops the refresh.
    void accessKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::newRow("Alt+R") << int(Qt::Key_R) << "Command1";
        QTest::newRow("Alt+W") << int(Qt::Key_W) << "Command2";
        QTest::newRow("Alt+X") << int(Qt::Key_X) << "Command3";
    }
    void accessKeys()
    {
        QFETCH(int, key);
        QFETCH(QString, button);
        QVERIFY(frm->ReShowComPortTimer.isActive());
        QSignalSpy clicked(frm->findChild<QPushButton*>(button), &QPushButton::clicked);
        QTest::keyClick(frm.get(), Qt::Key(key), Qt::AltModifier);
        // A shortcut presses the button visibly, then clicks.
        QVERIFY(clicked.count() == 1 || clicked.wait(5000));
        QCOMPARE(clicked.count(), 1);
        const bool exit = button == u"Command3";
        QCOMPARE(frm->isVisible(), !exit);
        QCOMPARE(frm->ReShowComPortTimer.isActive(), !exit);
    }

    // Real message boxes: the program title, the icon and buttons asked for, and Qt's button texts
    // (the details button's too) in the window's language.
    void messageBox_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("result");
        QTest::newRow("OK and Cancel, Cancel pressed")
            << int(MsgButtons::OkCancel) << int(MsgIcon::Warning) << "" << int(QMessageBox::Cancel)
            << int(MsgResult::Cancel);
        QTest::newRow("OK and Cancel, OK pressed") << int(MsgButtons::OkCancel) << int(MsgIcon::Warning) << ""
                                                   << int(QMessageBox::Ok) << int(MsgResult::Ok);
        QTest::newRow("OK only, with detail") << int(MsgButtons::Ok) << int(MsgIcon::Critical) << "port busy"
                                              << int(QMessageBox::Ok) << int(MsgResult::Ok);
        QTest::newRow("OK only, no icon")
            << int(MsgButtons::Ok) << int(MsgIcon::None) << "" << int(QMessageBox::Ok) << int(MsgResult::Ok);
    }
    void messageBox()
    {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(QString, detail);
        QFETCH(int, press);
        QFETCH(int, result);
        frm->SetMsgBoxHandler(ShowMsgBoxDialog);

        QString title, okText, cancelText, shownDetail, detailsText;
        int shownIcon = -1;
        bool hasCancel = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            title = box->windowTitle();
            shownIcon = box->icon();
            shownDetail = box->detailedText();
            okText = box->button(QMessageBox::Ok)->text();
            hasCancel = box->button(QMessageBox::Cancel) != nullptr;
            if (hasCancel)
                cancelText = box->button(QMessageBox::Cancel)->text();
            for (QAbstractButton* shown : box->buttons())
                if (box->buttonRole(shown) == QMessageBox::ActionRole)
                    detailsText = shown->text();
            box->button(QMessageBox::StandardButton(press))->click();
        });
        const MsgResult answer = frm->MsgBox("Read Complete!", MsgButtons(buttons), MsgIcon(icon), detail);

        QCOMPARE(int(answer), result);
        QCOMPARE(title, "TANGELO_Tune");
        const std::array<int, 3> icons{QMessageBox::NoIcon, QMessageBox::Warning, QMessageBox::Critical};
        QCOMPARE(shownIcon, icons[static_cast<size_t>(icon)]);
        QCOMPARE(shownDetail, detail);
        QCOMPARE(hasCancel, MsgButtons(buttons) == MsgButtons::OkCancel);
        QCOMPARE(okText.remove('&'), expected == 2 ? QString::fromUtf8("确定") : "OK");
        if (hasCancel)
            QCOMPARE(cancelText.remove('&'), expected == 2 ? QString::fromUtf8("取消") : "Cancel");
        if (!detail.isEmpty())
            QCOMPARE(detailsText, expected == 2 ? QString::fromUtf8("显示详情...") : "Show Details...");
    }

    // Under the failure box's message, the cause and remedy wrap at the box's width, each command the
    // dealer types kept on one line, with no word of it changed.
    void informativeCommands_data()
    {
        QTest::addColumn<QString>("informative");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("brltty, English")
            << "The cable CH340 USB Serial (1a86:7523) is plugged in but has no port: the braille display "
               "program brltty took it. Unless a braille display is used, run  sudo apt remove brltty  (or "
               "mask its udev rule and brltty.path), then unplug the cable and plug it in again."
            << QStringList{"sudo apt remove brltty"};
        QTest::newRow("brltty, Chinese")
            << "写频线 CH340 USB Serial (1a86:7523) 已插上，但没有串口：盲文显示程序 brltty "
               "占用了它。不使用盲文显示器时，请运行  sudo apt remove brltty  后拔下写频线再重新插入（也可以"
               "屏蔽它的 udev 规则和 brltty.path）。"
            << QStringList{"sudo apt remove brltty"};
        QTest::newRow("two cables, two commands")
            << "The cable PL2303 (067b:23a3) is plugged in but has no port: no driver took it. Run  sudo "
               "modprobe pl2303  to load its driver; a kernel without that module needs the distribution's "
               "extra modules.\nThe cable FTDI (0403:6001) is plugged in but has no port: no driver took it. "
               "Run  sudo modprobe ftdi_sio  to load its driver."
            << QStringList{"sudo modprobe pl2303", "sudo modprobe ftdi_sio"};
    }
    void informativeCommands()
    {
        QFETCH(QString, informative);
        QFETCH(QStringList, commands);
        frm->SetMsgBoxHandler(ShowMsgBoxDialog);
        QString shown;
        QStringList lines;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"));
            shown = label->text();
            lines = WrappedLines(*label);
            box->button(QMessageBox::Ok)->click();
        });
        frm->MsgBox("Read Failure!", MsgButtons::Ok, MsgIcon::None, QString(), informative);
        QCOMPARE(QString(shown).replace(QChar::Nbsp, u' '), informative);
        for (const QString& command : commands) {
            QVERIFY2(
                std::ranges::any_of(
                    lines, [&](QString line) { return line.replace(QChar::Nbsp, u' ').contains(command); }),
                qPrintable(lines.join(u'|')));
        }
    }
};

QTEST_MAIN(TestSetLanguage)
#include "tst_setlanguage.moc"
