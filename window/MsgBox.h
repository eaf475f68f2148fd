// The window's message boxes: what is asked for, and the handler that shows (or, in tests, records
// and answers) them.
#pragma once

#include <QString>

#include <functional>

inline constexpr char ProgramTitle[] = "TANGELO_Tune";

enum class MsgButtons { Ok, OkCancel };
enum class MsgIcon { None, Warning, Critical };
enum class MsgResult { Ok, Cancel };

struct MsgRequest
{
    QString text;
    MsgButtons buttons = MsgButtons::Ok;
    MsgIcon icon = MsgIcon::None;
    QString detail;      // shown behind "Show Details..."; empty for none
    QString informative; // under the text: the cause and what to do; empty for none
};

using MsgBoxHandler = std::function<MsgResult(const MsgRequest&)>;
