// The check of a link: the program command, the identity request and the end command, and no block
// read or written. It has steps of its own on the session's transmission layer. What a read takes for
// done after the end command (the port gone, the radio refusing it) is what a check looks for.
#include "link/RadioSession.h"

#include <algorithm>

void RadioSession::startCheck(int16_t portNumber)
{
    RadioIdentity.clear();
    radioInfo = RadioInfoRecord{};
    endAnswered = false;
    StartSession(SessionMode::Check, portNumber);
}

// The step function of a check: SessionStep is the frame just answered.
void RadioSession::CheckStep()
{
    switch (sessionStep) {
    case SessionStep::ProgramCommand:
        sessionStep = SessionStep::Identity;
        SendIdentRequest();
        break;
    case SessionStep::Identity:
        // A radio of a type this program does not know gets no end command, as after a read.
        if (!CheckModel()) {
            FinishSession(false);
            break;
        }
        FinishTransfer();
        break;
    case SessionStep::End:
        endAnswered = true;
        FinishSession(true);
        break;
    default:
        break;
    }
}

// The last wait of a frame ran out. A radio that never acknowledges the end command, or does so only
// late, still left programming mode as far as anyone can tell; a refusal, the frame's echo or bytes that
// make no reply are a fault of their own, as is any frame before it going unanswered.
void RadioSession::CheckUnanswered()
{
    JudgeLine();
    const bool ok =
        sessionStep == SessionStep::End && std::ranges::none_of(lineCarried, [](const LineTry& one) {
            return one.Carried == TryCarried::NegativeReply || one.Carried == TryCarried::Echo ||
                   one.Carried == TryCarried::Unreadable;
        });
    trace.Event(ok ? QStringLiteral("end command unanswered, check complete") : QStringLiteral("giving up"));
    FinishSession(ok);
}

void RadioSession::CompleteCheck()
{
    sessionMode = SessionMode::None;
    WaitTimer.stop();
    ClosePort();
    Report(SessionResult::Complete, SessionMode::Check);
}
