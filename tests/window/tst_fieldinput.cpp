// Keyboard order, focus, and what the text fields take from the keyboard, the clipboard, an input
// method and the program. Run under an English and a Chinese (China) locale: the byte-width cases
// need the double-byte code page of the latter.
#include "data/AnsiCodePage.h"
#include "IsolatedProgram.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

enum class Via { Keys, Paste, InputMethod, Program };

QLineEdit* LineEdit(FrmMain& frm, int index)
{
    return qobject_cast<QLineEdit*>(frm.Text1[static_cast<size_t>(index)]);
}

QString FocusName()
{
    return QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName() : QString();
}

// Each character as a key press carrying its text, as a keyboard or a simple input method sends it.
void TypeText(QWidget* field, const QString& text)
{
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void Enter(FrmMain& frm, int index, Via via, const QString& text)
{
    QWidget* field = frm.Text1[static_cast<size_t>(index)];
    switch (via) {
    case Via::Keys:
        TypeText(field, text);
        break;
    case Via::Paste:
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        break;
    case Via::InputMethod: {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(field, &commit);
        break;
    }
    case Via::Program:
        frm.SetText1Text(static_cast<int16_t>(index), text);
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Via)

class TestFieldInput : public QObject
{
    Q_OBJECT
    IsolatedProgram isolated;
    std::unique_ptr<FrmMain> frm;

private slots:
    void init() { StartFrmMain(frm, isolated.Settings(), nullptr, true); }
    void cleanup() { frm.reset(); }

    void focusStartsOnTheRadioType() { QCOMPARE(FocusName(), "Combo1(0)"); }

    // Hidden and disabled controls are passed over, and the order wraps around.
    void tabOrder_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("order");
        const QStringList cycle{"Combo1(0)", "Combo1(1)", "Command1",  "Command2",  "Command3",  "Combo2",
                                "Text1(8)",  "Text1(9)",  "Text1(10)", "Text1(11)", "Text1(12)", "Check8"};
        QStringList backward = cycle;
        std::reverse(backward.begin(), backward.end());
        // From Combo1(0) once around and one step further.
        QTest::newRow("Tab") << int(Qt::Key_Tab) << cycle.mid(1) + cycle.first(2);
        QTest::newRow("Shift+Tab") << int(Qt::Key_Backtab) << backward + backward.first(1);
    }
    void tabOrder()
    {
        QFETCH(int, key);
        QFETCH(QStringList, order);
        frm->Combo1[0]->setFocus(Qt::OtherFocusReason);
        QStringList visited;
        for (qsizetype i = 0; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            visited << FocusName();
        }
        QCOMPARE(visited, order);
    }

    // Neither a click nor a key reaches a disabled field.
    void disabledFieldsTakeNothing_data()
    {
        QTest::addColumn<int>("index");
        for (int index = 0; index <= 7; ++index)
            QTest::addRow("Text1(%d)", index) << index;
    }
    void disabledFieldsTakeNothing()
    {
        QFETCH(int, index);
        QWidget* field = frm->Text1[static_cast<size_t>(index)];
        frm->SetText1Text(static_cast<int16_t>(index), "001A");
        frm->Text1[8]->setFocus(Qt::OtherFocusReason);

        QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(5, 5));
        field->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(field, "xy");

        QCOMPARE(FocusName(), "Text1(8)");
        QCOMPARE(frm->Text1Text(static_cast<int16_t>(index)), "001A");
    }

    // Typing stops at the maximum length; text the program puts in is cut to it as well.
    void maximumLength_data()
    {
        QTest::addColumn<Via>("via");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString sixteen = "ABCDEFGHIJKLMNOP";
        for (int index = 8; index <= 11; ++index) {
            QTest::addRow("Text1(%d) takes a 16th", index) << Via::Keys << index << sixteen << sixteen;
            QTest::addRow("Text1(%d) refuses a 17th", index)
                << Via::Keys << index << sixteen + "Q" << sixteen;
        }
        QTest::newRow("password refuses a 5th") << Via::Keys << 12 << "12345"
                                                << "1234";
        QTest::newRow("password takes letters, punctuation, spaces") << Via::Keys << 12 << "a !."
                                                                     << "a !.";
        QTest::newRow("stock date in any form") << Via::Keys << 9 << "31.02.2024 ?"
                                                << "31.02.2024 ?";
        QTest::newRow("sell date as free text") << Via::Keys << 10 << "next Tuesday"
                                                << "next Tuesday";
        QTest::newRow("pasted text cut") << Via::Paste << 8 << sixteen + "QRS" << sixteen;
        QTest::newRow("program: area code") << Via::Program << 0 << "059512"
                                            << "0595";
        QTest::newRow("program: serial number") << Via::Program << 1 << sixteen + "Q" << sixteen;
        QTest::newRow("program: manufacture code") << Via::Program << 6 << "123456789"
                                                   << "12345678";
        QTest::newRow("program: description") << Via::Program << 4 << QString(70, 'd') << QString(64, 'd');
        QTest::newRow("program: password") << Via::Program << 12 << "abcdef"
                                           << "abcd";
    }
    void maximumLength()
    {
        QFETCH(Via, via);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        if (via != Via::Program)
            frm->Text1[static_cast<size_t>(index)]->setFocus(Qt::OtherFocusReason);
        Enter(*frm, index, via, text);
        QCOMPARE(frm->Text1Text(static_cast<int16_t>(index)), expected);
    }

    // Entering a field selects its whole text, so that typing replaces the old value.
    void focusSelectsAll_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::newRow("Tab from the dealer code") << "Text1(8)" << int(Qt::Key_Tab);
        QTest::newRow("Shift+Tab from the sell date") << "Text1(10)" << int(Qt::Key_Backtab);
        QTest::newRow("set by the program") << "" << 0;
    }
    void focusSelectsAll()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QLineEdit* stockDate = LineEdit(*frm, 9);
        frm->SetText1Text(9, "2024-05-06");
        stockDate->setCursorPosition(3);
        if (key != 0) {
            frm->findChild<QWidget*>(from)->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        } else {
            stockDate->setFocus(Qt::OtherFocusReason);
        }
        QCOMPARE(FocusName(), "Text1(9)");
        QCOMPARE(stockDate->selectedText(), "2024-05-06");

        QTest::keyClicks(stockDate, "7");
        QCOMPARE(stockDate->text(), "7");
    }

    void enterDoesNothing()
    {
        QLineEdit* dealer = LineEdit(*frm, 8);
        dealer->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(dealer, "ab");
        QTest::keyClick(dealer, Qt::Key_Return);
        QTest::keyClick(dealer, Qt::Key_Enter);
        QCOMPARE(FocusName(), "Text1(8)");
        QCOMPARE(dealer->text(), "ab");
        QVERIFY(frm->isVisible());
    }

    // No control character gets into a field from the user: a paste or a commit is cut before its
    // first one (a cell copied from a spreadsheet ends in a line break, a row holds tabs), and one
    // that would bring nothing else is refused. A radio's own text, which the program puts in, stays
    // as it is, so that a write gives its bytes back; typing beside it goes on as ever.
    void controlCharacters_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("before"); // put in by the program
        QTest::addColumn<int>("cursor");
        QTest::addColumn<Via>("via");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("a spreadsheet cell") << 11 << "" << 0 << Via::Paste << "Wang Fang\n"
                                            << "Wang Fang";
        QTest::newRow("a spreadsheet row") << 8 << "" << 0 << Via::Paste << "D-42\t2026-12-09\tWang\r\n"
                                           << "D-42";
        QTest::newRow("pasted between kept text") << 12 << "ab" << 1 << Via::Paste << "x\x1b[31m"
                                                  << "axb";
        QTest::newRow("a paste that starts with one is refused")
            << 9 << "2026" << 4 << Via::Paste << "\t-12-09"
            << "2026";
        QTest::newRow("an escape sequence committed") << 10 << "" << 0 << Via::InputMethod << "ab\x1b[2J"
                                                      << "ab";
        QTest::newRow("DEL committed alone is refused") << 10 << "ab" << 2 << Via::InputMethod << "\x7f"
                                                        << "ab";
        QTest::newRow("a C1 character committed")
            << 8 << "" << 0 << Via::InputMethod << QStringLiteral("x\u009B1m") << "x";
        QTest::newRow("a radio's own text stays") << 11 << "" << 0 << Via::Program << "A\x1b[31mB"
                                                  << "A\x1b[31mB";
        QTest::newRow("typed after a radio's own text") << 11 << "A\tB" << 3 << Via::Keys << "C"
                                                        << "A\tBC";
    }
    void controlCharacters()
    {
        QFETCH(int, index);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(Via, via);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QLineEdit* field = LineEdit(*frm, index);
        frm->SetText1Text(static_cast<int16_t>(index), before);
        if (via != Via::Program) {
            field->setFocus(Qt::OtherFocusReason);
            field->deselect();
            field->setCursorPosition(cursor);
        }
        Enter(*frm, index, via, text);
        QCOMPARE(field->text(), expected);
    }

    // What is typed must fit the field in the radio, counted in bytes of the radio's code page:
    // 16 for the dealer fields, 4 for the password. A character that would not fit is refused;
    // longer pasted or committed text is cut at a character boundary.
    void byteWidth_data()
    {
        QTest::addColumn<QByteArray>("codePage");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<Via>("via");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const QString han = QString::fromUtf8("经销商代码入库时间销售");
        const QString eight = han.left(8);
        const QByteArray gbk = "GBK";
        QTest::newRow("8 double-byte characters fill the dealer code")
            << gbk << 8 << "" << 0 << Via::Keys << han.left(9) << eight;
        QTest::newRow("a double-byte character refused at 15 bytes, a single one taken")
            << gbk << 8 << "" << 0 << Via::Keys << han.left(7) + "a" + han.at(7) + "b" << han.left(7) + "ab";
        QTest::newRow("refused in the middle of a full field")
            << gbk << 9 << QString(15, 'x') << 3 << Via::Keys << han.left(1) << QString(15, 'x');
        QTest::newRow("password: two double-byte characters")
            << gbk << 12 << "" << 0 << Via::Keys << han.left(3) << han.left(2);
        QTest::newRow("password: a 5th byte refused, a 4th taken")
            << gbk << 12 << "" << 0 << Via::Keys << "a" + han.left(2) + "b"
            << "a" + han.left(1) + "b";
        QTest::newRow("pasted text cut to 16 bytes") << gbk << 11 << "" << 0 << Via::Paste << han << eight;
        QTest::newRow("pasted into the password, cut at a character")
            << gbk << 12 << "a" << 1 << Via::Paste << han.left(3) << "a" + han.left(1);
        QTest::newRow("pasted between kept text")
            << gbk << 10 << "ab" << 1 << Via::Paste << han << "a" + han.left(7) + "b";
        QTest::newRow("input method commit cut") << gbk << 8 << "" << 0 << Via::InputMethod << han << eight;
        QTest::newRow("program text cut") << gbk << 11 << "" << 0 << Via::Program << han << eight;
        const QString accents = QString::fromUtf8("éàüñçøåß");
        QTest::newRow("single-byte accents fill the characters")
            << QByteArray("windows-1252") << 8 << "" << 0 << Via::Keys << accents + accents + "x"
            << accents + accents;
    }
    void byteWidth()
    {
        QFETCH(QByteArray, codePage);
        QFETCH(int, index);
        QFETCH(QString, before);
        QFETCH(int, cursor);
        QFETCH(Via, via);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        if (frm->CodePage.Name() != codePage)
            QSKIP("needs a system locale whose code page is " + codePage);

        QLineEdit* field = LineEdit(*frm, index);
        frm->SetText1Text(static_cast<int16_t>(index), before);
        if (via != Via::Program) {
            field->setFocus(Qt::OtherFocusReason);
            field->setCursorPosition(cursor);
        }
        Enter(*frm, index, via, text);

        QCOMPARE(field->text(), expected);
        QVERIFY(frm->CodePage.ToAnsi(field->text()).size() <= (index == 12 ? 4 : 16));
    }
};

QTEST_MAIN(TestFieldInput)
#include "tst_fieldinput.moc"
