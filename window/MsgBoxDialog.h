// The program's message boxes as real modal dialogs.
#pragma once

#include "window/MsgBox.h"

// A QMessageBox with the program title as caption, the icon and buttons asked for, and the detail
// text behind its details button; modal over the active window.
MsgResult ShowMsgBoxDialog(const MsgRequest& request);

// The text with each command the dealer types (set off by two spaces on either side, "run  sudo
// modprobe ch341  to") held on one line: its spaces become no-break spaces. For the box's label
// only; text selected there is copied with plain spaces, as Qt's plain text turns them back.
QString KeepCommandsTogether(const QString& text);
