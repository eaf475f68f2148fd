#include "window/MsgBoxDialog.h"

#include "window/WindowTrace.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>

#include <algorithm>

QString KeepCommandsTogether(const QString& text)
{
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        QStringList parts = line.split(QStringLiteral("  "));
        for (qsizetype i = 1; i < parts.size(); i += 2)
            parts[i].replace(u' ', QChar::Nbsp);
        line = parts.join(QStringLiteral("  "));
    }
    return lines.join(u'\n');
}

MsgResult ShowMsgBoxDialog(const MsgRequest& request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromLatin1(ProgramTitle));
    box.setText(request.text);
    switch (request.icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (request.buttons == MsgButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel); // closing the box answers Cancel
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setDefaultButton(QMessageBox::Ok);
    if (!request.informative.isEmpty()) {
        box.setInformativeText(KeepCommandsTogether(request.informative));
        // Left to itself the box wraps a cause and its remedy into a narrow column, and a command to
        // type across lines: some 60 characters wide, as the screen allows.
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            const QScreen* screen = box.screen();
            const int wide = label->fontMetrics().averageCharWidth() * 60;
            label->setMinimumWidth(screen ? std::min(wide, screen->availableGeometry().width() / 2) : wide);
        }
    }
    if (!request.detail.isEmpty())
        box.setDetailedText(request.detail);
    qCDebug(WindowTrace) << "message box built";
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Cancel) ? MsgResult::Cancel : MsgResult::Ok;
}
