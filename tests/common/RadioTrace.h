// The virtual radio's trace in short frame names, its fault switches as test-table values, and its
// image compared byte by byte.
#pragma once

#include "link/Frames.h"
#include "VirtualRadio.h"

#include <QMetaType>
#include <QStringList>

#include <array>
#include <cstdint>

using RadioImage = std::array<uint8_t, 256>;

Q_DECLARE_METATYPE(VirtualRadioFaults)

inline VirtualRadioFaults Faults(void (*set)(VirtualRadioFaults&))
{
    VirtualRadioFaults faults;
    set(faults);
    return faults;
}

// Short names of the frames the radio received: P, I, R0..R7, W0..W4, END, or the bytes in hex.
inline QString FrameName(const VirtualRadioTraceEntry& entry)
{
    const QByteArray& f = entry.frame;
    if (entry.recognised) {
        if (f == Proto::ProgramCommand)
            return QStringLiteral("P");
        if (f == QByteArray(1, char(Proto::IdentRequest)))
            return QStringLiteral("I");
        if (f == Proto::EndCommand)
            return QStringLiteral("END");
        if (f.size() == Proto::ReadRequestSize && f[0] == 'R')
            return QStringLiteral("R%1").arg(uint8_t(f[4]));
        if (f.size() == Proto::BlockFrameSize && f[0] == 'W')
            return QStringLiteral("W%1").arg(uint8_t(f[4]));
    }
    return QStringLiteral("?") + QString::fromLatin1(f.toHex());
}

inline QStringList FrameNames(const VirtualRadio& radio)
{
    QStringList names;
    for (const VirtualRadioTraceEntry& entry : radio.Trace())
        names.append(FrameName(entry));
    return names;
}

// A whole read and a whole write, as the radio receives them; a write reads its blocks back.
inline const QStringList ReadFrames{"P", "I", "R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "END"};
inline const QStringList WriteFrames{"P",  "I",  "R0", "R1", "R2", "R3", "R4", "W0", "W1",
                                     "W2", "W3", "W4", "R0", "R1", "R2", "R3", "R4", "END"};

// Every byte where the two images differ, or the empty text.
inline QString ImageDiff(const RadioImage& actual, const RadioImage& expected)
{
    QStringList diffs;
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] != expected[i])
            diffs << QStringLiteral("byte %1 is %2, expected %3")
                         .arg(i)
                         .arg(actual[i], 2, 16, QChar(u'0'))
                         .arg(expected[i], 2, 16, QChar(u'0'));
    }
    return diffs.join(QStringLiteral("; "));
}
