// Why a radio was not done, as the --log file's reason column has it: one English word from a fixed
// list, the same in every language, for the programs that read the log.
#pragma once

#include <array>
#include <cstddef>

enum class LogReason {
    None,            // done
    NoReply,         // nothing came back to a frame
    Echo,            // only the frame itself came back
    NegativeReplies, // the radio refused a frame every time
    Unreadable,      // bytes that made no reply
    OtherFrame,      // a reply that belongs to another frame
    OtherBlock,      // a read request answered with another block
    LateReply,       // the reply came only after its wait had run out
    PortLost,        // the port went away during the session
    NotTaken,        // the radio did not keep what was written
    CannotOpen,      // the port could not be opened
    OtherType,       // the radio is not of the type given, or of the backup file's
    BandRefused,     // a radio in the 66 - 88 MHz band cannot be given another band
    BandNeedsYes,    // a band change without --yes
    BandNotOffered,  // a band its type does not have
    OtherSerial,     // a backup file of another radio
    BackupNotSaved,  // the automatic backup could not be saved, so nothing was written
    NotSaved,        // the image was read but could not be saved
};

inline constexpr std::array<const char*, 18> LogReasonWords{
    "",
    "no_reply",
    "echo",
    "negative_replies",
    "unreadable",
    "other_frame",
    "other_block",
    "late_reply",
    "port_lost",
    "not_taken",
    "cannot_open",
    "other_type",
    "band_refused",
    "band_needs_yes",
    "band_not_offered",
    "other_serial",
    "backup_not_saved",
    "not_saved",
};

constexpr const char* LogReasonWord(LogReason reason)
{
    return LogReasonWords.at(static_cast<std::size_t>(reason));
}
