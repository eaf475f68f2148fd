// The program's message boxes as real modal dialogs.
#pragma once

#include "window/MsgBox.h"

// A QMessageBox with the program title as caption, the icon and buttons asked for, and the detail
// text behind its details button; modal over the active window.
MsgResult ShowMsgBoxDialog(const MsgRequest& request);
