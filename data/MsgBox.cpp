#include "data/MsgBox.h"

#include <QTextStream>

#include <utility>

namespace {
MsgBoxHandler currentHandler;
}

MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& detail)
{
    MsgRequest request{text, buttons, icon, detail};
    if (currentHandler)
        return currentHandler(request);
    QTextStream(stderr) << ProgramTitle << ": " << text << (detail.isEmpty() ? "" : "\n") << detail << '\n';
    return MsgResult::Ok;
}

MsgBoxHandler SetMsgBoxHandler(MsgBoxHandler handler)
{
    return std::exchange(currentHandler, std::move(handler));
}
