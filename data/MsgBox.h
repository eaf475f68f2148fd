// Every message box of the program goes through MsgBox, so that tests can answer and record them.
#pragma once

#include <QString>

#include <functional>

inline constexpr const char* ProgramTitle = "TANGELO_Tune";

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Warning, Critical };
enum class MsgResult { Ok, Cancel };

struct MsgRequest
{
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    QString detail; // shown behind "Show Details..."; empty for none
};

using MsgBoxHandler = std::function<MsgResult(const MsgRequest&)>;

// Shows a modal box with the program title as caption. Without a handler (no window yet) the text
// goes to standard error and the answer is Ok.
MsgResult MsgBox(const QString& text, MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                 const QString& detail = {});

// Installs the handler and returns the one it replaces.
MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler);
