// A virtual radio: plays the radio's side of the link on a pseudo-terminal (or a named serial
// device), so that the program can be tried and tested without hardware.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>

// What befalls the first `count` writes to a block, whatever frames come between: acknowledged but
// not kept, refused with the negative reply, or lost on the line (no reply, nothing kept).
struct BlockWriteFault
{
    enum Kind { Unkept, Refused, Lost };
    Kind kind = Unkept;
    int count = 1;
    bool operator==(const BlockWriteFault&) const = default;
};

// Fault switches, and how the line is modelled. A frame index counts the frames received since
// open() or the last ClearTrace(), from 0. Bytes that form no frame are traced but not counted. Each
// list names every frame that its fault acts on, in any order.
struct VirtualRadioFaults
{
    int silentFromFrame = -1;     // no reply to this frame and every later one (0: silent from the start)
    QList<int> nakFrames;         // answered with the negative reply 0x0A instead
    QList<int> badChecksumFrames; // these block replies carry a wrong checksum
    QList<int> strayByteFrames;   // one extra byte after each of these replies
    QMap<int, int> wrongBlocks;   // frame -> block number its block reply carries (also 8 or more,
                                  //   with a valid checksum)
    bool ignoreEnd = false;       // the end command gets no acknowledgement
    int replyDelayMs = 0;         // wait before each reply
    QList<int> hangUpFrames;      // close the device when one of these frames arrives
    QList<int> unstoredFrames;    // these block writes are acknowledged but not kept (a failing memory)
    QMap<int, BlockWriteFault> blockWriteFaults; // block -> what befalls the first writes to it
    QList<int> lostFrames;                       // these frames come garbled: neither answered nor kept
    // frame -> bytes that go out alone ahead of its reply, StrayLeadMs before it (a reply to nothing,
    // a repeated one); the frame's own reply follows as ever.
    QMap<int, QByteArray> strayReplies;
    // The line without a radio as the program finds it: every byte received handed straight back (a
    // cable whose radio end is in no radio), or answered with noise (a radio at another speed). Either
    // takes no frame in.
    bool echo = false;
    bool noise = false;
    bool refuseAll = false; // every frame answered with the negative reply

    // The line at 115200 baud, 8N1: 86.8 us a byte.
    bool paceOutput = false; // replies go out byte by byte, each when the line has carried it
    bool paceInput = false;  // a frame is taken in only when the line has carried it, counted from
                             //   its first byte's arrival
    int turnaroundUs = 0;    // the radio's own time to answer, from a frame's arrival to its reply
    // Replies reach the device only every this many milliseconds, all that is due in one lot, as a
    // USB bridge's latency timer passes them on (16 ms on many); 0: as soon as they are due.
    int lotMs = 0;

    bool operator==(const VirtualRadioFaults&) const = default;
};

// Times are of the steady clock (CLOCK_MONOTONIC), which other processes on the machine share.
struct VirtualRadioTraceEntry
{
    qint64 ms = 0;                                     // since open(): when the frame was taken in
    std::chrono::steady_clock::time_point firstByteAt; // its first byte read from the device
    std::chrono::steady_clock::time_point arrivedAt;   // taken in (after the line's time, if modelled)
    QByteArray frame;       // one whole frame as the radio recognised it (or the unrecognised bytes)
    bool recognised = true; // false: bytes that formed no frame and were discarded
};

// A reply as it went out: when its first and its last byte were handed to the device.
struct VirtualRadioSentEntry
{
    std::chrono::steady_clock::time_point firstByteAt;
    std::chrono::steady_clock::time_point lastByteAt;
    QByteArray bytes;
};

class VirtualRadio : public QObject
{
    Q_OBJECT
public:
    static constexpr uint8_t StrayByte = 0x00; // what strayByteFrame appends
    static constexpr int StrayLeadMs = 20;     // how long a stray reply goes ahead of the frame's own
    // What the noise switch answers to each byte received, in turn: a byte sent at another speed
    // comes in as framing garbage, never as an acknowledgement or a negative reply.
    static constexpr char Noise[] = "\xF8\x80\xFE\x78\x00\xE0\x9C\xFF";

    explicit VirtualRadio(QObject* parent = nullptr);
    ~VirtualRadio() override;

    // Opens a new pseudo-terminal; DevicePath() then names the side the program opens.
    bool OpenPty();
    // Uses a real serial device instead (115200 8N1, raw).
    bool OpenDevice(const QString& path);
    void Close();
    bool IsOpen() const;
    QString DevicePath() const;
    QString ErrorString() const; // why the last open failed

    void SetIdentity(const QByteArray& identity); // up to 7 ASCII bytes, e.g. "RZ614UV"
    QByteArray Identity() const;
    void SetBandByte(uint8_t band); // image byte 7, also sent in the identity reply
    uint8_t BandByte() const;
    void SetFaults(const VirtualRadioFaults& faults);
    VirtualRadioFaults Faults() const;

    std::array<uint8_t, 256>& Image();
    void SetDefaultImage(); // a realistic radio: serial number, dates, codes, dealer, maintenance note
    bool LoadImage(const QString& path); // raw 256 bytes
    bool SaveImage(const QString& path) const;

    QList<VirtualRadioTraceEntry> Trace() const;
    QList<VirtualRadioSentEntry> Sent() const; // the replies, in the order they went out
    void ClearTrace(); // both lists; also restarts the frame count that the fault switches refer to,
                       // and the noise

signals:
    void FrameReceived(const QByteArray& frame);          // recognised frames only
    void TraceAdded(const VirtualRadioTraceEntry& entry); // every trace entry, recognised or not
    void ReplyQueued(const QByteArray& reply);            // as it will go out, faults applied
    void BlockWritten(int block);                         // a block write was stored into the image
    void HungUp();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
