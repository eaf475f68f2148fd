// The Text1 array: uniform text access and the focus rule of the fields.
#include "window/AnsiWidthValidator.h"
#include "window/FrmMain.h"

#include <QEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

QString FrmMain::Text1Text(int16_t Index) const
{
    const QWidget* field = Text1.at(static_cast<size_t>(Index));
    if (const auto* edit = qobject_cast<const QLineEdit*>(field))
        return edit->text();
    return static_cast<const QPlainTextEdit*>(field)->toPlainText();
}

QString FrmMain::FittedText1Text(int16_t Index, const QString& text) const
{
    const QWidget* field = Text1.at(static_cast<size_t>(Index));
    const QString cut = text.left(Text1MaxLength[static_cast<size_t>(Index)]);
    const auto* edit = qobject_cast<const QLineEdit*>(field);
    const auto* validator =
        edit != nullptr ? qobject_cast<const AnsiWidthValidator*>(edit->validator()) : nullptr;
    return validator != nullptr ? validator->FittingText(cut) : cut;
}

void FrmMain::SetText1Text(int16_t Index, const QString& text)
{
    QWidget* field = Text1.at(static_cast<size_t>(Index));
    const QString fitted = FittedText1Text(Index, text);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) {
        // The program's text is not an edit: the validator takes it as it is.
        if (const auto* validator = qobject_cast<const AnsiWidthValidator*>(edit->validator()))
            validator->Expect(fitted);
        edit->setText(fitted);
    } else {
        static_cast<QPlainTextEdit*>(field)->setPlainText(fitted);
    }
}

void FrmMain::Text1_GotFocus(int16_t Index)
{
    // Typing then replaces the old value, and Tab passes on leaving it as it was.
    QWidget* field = Text1.at(static_cast<size_t>(Index));
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    else
        static_cast<QPlainTextEdit*>(field)->selectAll();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (size_t index = 0; index < Text1.size(); ++index)
            if (watched == Text1[index])
                Text1_GotFocus(static_cast<int16_t>(index));
    }
    return QWidget::eventFilter(watched, event);
}
