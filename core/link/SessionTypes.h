// The values a radio session works with and reports: its mode and steps, its waits, the owner's
// answer before a write, and how a session ended.
#pragma once

#include "data/ModData.h"
#include "settings/CableInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <optional>

// Check: the link alone, the program command, the identity request and the end command.
enum class SessionMode : int16_t { None = 0, Read = 1, Write = 2, Check = 3 };

// The steps in the order they follow one another. A write also reads blocks 3 and 4 (steps 32 and
// 33) before writing them back, so that the bytes it does not change go back as this radio holds them.
enum class SessionStep : int16_t {
    Idle = 0,
    ProgramCommand = 1, // program command sent
    Identity = 2,       // identity request sent
    Block0 = 3,         // first read request sent
    Block1 = 31,
    Block2 = 32,
    Block3 = 33,
    Block4 = 4,
    Blocks = 5,   // the rest of the blocks, read or written
    ReadBack = 6, // a write's blocks read again, each compared with what was written
    End = 69,     // end command sent
};

// How often one frame goes out at most, without an acceptable reply.
inline constexpr int16_t FrameTries = 3;

// The reply waits: after the program command, and after every other frame.
struct LinkTimings
{
    std::chrono::milliseconds LongWait{1500};
    std::chrono::milliseconds ShortWait{300};
};

// What the owner answers when a write has read the radio's blocks and needs the edited fields.
struct WriteDecision
{
    bool Refuse = false;    // the band check refused the write: no block write goes out
    RadioInfoRecord Fields; // the record to encode into the radio's image
    // The text fields taken from Fields; the others go back as the radio's bytes are.
    TextFieldSet Encode = TextFieldSet::All();
    // Set: these bytes go to the radio as they are, and Fields is only what the session keeps as
    // its record. A restore puts back the bytes of a backup, which no record can carry (a field
    // padded with 0xFF, say).
    std::optional<InfoImageType> Image = std::nullopt;
};

enum class SessionResult { Complete, Failure, ModelError, CannotOpen, Refused };

// What the line carried while a frame waited for its reply, over all its tries, when none came: the
// words of a failure follow from it. The session only watches; it waits and retries as ever.
enum class LineCarried : int8_t {
    Nothing,         // no byte on any try: the radio off, not connected, or on another port
    Echo,            // the frame itself came back and nothing else: a cable whose radio end is in no radio
    NegativeReplies, // a negative reply on every try: the radio refused the frame
    Unreadable,      // bytes that never made a reply: another kind of radio, another speed, a faulty cable
};

// Sorts the bytes of each try of `frame` (one entry per transmission) into what the line carried.
LineCarried ClassifyLine(const QByteArray& frame, const QList<QByteArray>& tries);
// "nothing", "echo", "negative replies", "unreadable": for machine-readable output and the trace.
const char* LineCarriedName(LineCarried carried);

// How a session ended, with what a person needs to know about it.
struct SessionOutcome
{
    SessionResult Result = SessionResult::Complete;
    SessionMode Mode = SessionMode::None;
    int16_t ComPort = 0;
    QString Device;                          // the device path the port number named, if any
    SessionStep Step = SessionStep::Idle;    // the step the session stopped at
    QByteArray Frame;                        // the frame that got no acceptable reply
    int16_t Tries = 0;                       // how often that frame went out
    bool PortLost = false;                   // the port went away in the middle of the session
    LineCarried Line = LineCarried::Nothing; // Failure: what the line carried while Frame waited
    QByteArray Received;                     // Failure: the first bytes it carried (up to 16)
    // Failure of a write: the fields that still read back otherwise after the last rewrite (empty when
    // the radio took everything), and where the radio as it was before the write is kept.
    QStringList FieldsNotTaken;
    QString BackupPath;
    QString Reason;    // CannotOpen: the system's reason; Refused: why, when not the band check
    QString PcType;    // ModelError: the type chosen, as the window names it
    QString RadioType; // ModelError: the radio's type, as the window names it
    CableInfo Cable;   // Failure, CannotOpen: what the system knew of the cable
};
