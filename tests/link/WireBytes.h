// Frames as the wire carries them, worked out here byte by byte so that the product's own frame
// and checksum code is never checked against itself.
#pragma once

#include <QByteArray>

#include <cstdint>

inline QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// A block frame: a reply from the radio or a block write to it (same shape), with a correct
// checksum unless told otherwise.
inline QByteArray BlockFrame(int number, const QByteArray& data, int checksumOffset = 0)
{
    QByteArray frame = Hex("57080020") + char(number) + data;
    unsigned sum = 0;
    for (char c : frame)
        sum += uint8_t(c);
    return frame + char((sum + unsigned(checksumOffset)) & 0xFF);
}

inline QByteArray ReadRequest(int number)
{
    return Hex("52080020") + char(number);
}
