// Cuts the byte stream the radio receives into the program's frames. There is no framing layer on
// the wire, so a frame is recognised by its head byte and fixed bytes; bytes that cannot start a
// frame are set aside as unrecognised, which resynchronises on the next known head.
#pragma once

#include "WireFormat.h"

#include <QByteArray>
#include <QList>

struct ScannedFrame
{
    RadioFrameKind kind = RadioFrameKind::Unrecognised;
    QByteArray bytes;
};

class FrameScanner
{
public:
    // Appends received bytes and returns what is complete now, in stream order.
    QList<ScannedFrame> Feed(const QByteArray& bytes);
    // Gives up on a frame that stopped arriving: what is held becomes unrecognised bytes.
    QList<ScannedFrame> Flush();
    bool HasPartial() const { return !buffer.isEmpty(); }
    void Reset() { buffer.clear(); }

private:
    QByteArray buffer;
};
