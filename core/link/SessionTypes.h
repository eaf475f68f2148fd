// The values a radio session works with and reports: its mode and steps, its waits, the owner's
// answer before a write, and how a session ended.
#pragma once

#include "data/ModData.h"
#include "ports/CableInfo.h"

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

// What one transmission of a frame got back while it waited for a reply that never came to it. The
// session only watches; it waits and retries as ever.
enum class TryCarried : int8_t {
    Nothing,       // no byte
    Echo,          // the frame itself and nothing else: a cable whose radio end is in no radio
    NegativeReply, // the radio refused the frame
    Unreadable,    // bytes that make no reply: another kind of radio, another speed, a faulty cable
    OtherFrame,    // a reply of the radio's that belongs to another frame (late or repeated)
    OtherBlock,    // the reply to a read request for another block than the one asked for
    LateReply,     // the reply awaited, which came only as the wait ran out
};

struct LineTry
{
    TryCarried Carried = TryCarried::Nothing;
    QByteArray Bytes;   // the first bytes it got back (up to 16)
    int16_t Block = -1; // OtherBlock: the block that came
};

// Sorts what one transmission of `frame` got back. A radio's replies stand for what they are wherever
// they come; bytes that make none of them make the whole try unreadable.
LineTry SortTry(const QByteArray& frame, const QByteArray& bytes);
// The same for every transmission of `frame`, one entry per transmission, in order.
QList<LineTry> ClassifyLine(const QByteArray& frame, const QList<QByteArray>& tries);
// "try 1: negative reply, 0A; try 2: nothing": for the trace, never translated.
QString LineCarriedText(const QList<LineTry>& tries);

// How a session ended, with what a person needs to know about it.
struct SessionOutcome
{
    SessionResult Result = SessionResult::Complete;
    SessionMode Mode = SessionMode::None;
    int16_t ComPort = 0;
    QString Device;                       // the device path the port number named, if any
    SessionStep Step = SessionStep::Idle; // the step the session stopped at
    QByteArray Frame;                     // the frame that got no acceptable reply
    int16_t Tries = 0;                    // how often that frame went out
    bool PortLost = false;                // the port went away in the middle of the session
    QList<LineTry> Line;                  // Failure: what each transmission of Frame got back
    // Failure of a write: the fields that still read back otherwise after the last rewrite (empty when
    // the radio took everything), and where the radio as it was before the write is kept.
    QStringList FieldsNotTaken;
    QString BackupPath;
    QString Reason;    // CannotOpen: the system's reason; Refused: why, when not the band check
    QString PcType;    // ModelError: the type chosen, as the window names it
    QString RadioType; // ModelError: the radio's type, as the window names it
    CableInfo Cable;   // Failure, CannotOpen: what the system knew of the cable
};
