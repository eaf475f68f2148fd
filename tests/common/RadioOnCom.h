// The virtual radio on a pseudo-terminal, listed as a COM port through an alias in the program's
// dosdevices/ folder as the README's demo runs it, and the frames it received by short names.
#pragma once

#include "IsolatedProgram.h"
#include "link/Frames.h"
#include "VirtualRadio.h"

#include <QFile>
#include <QStringList>
#include <QTest>

#include <array>
#include <cstdint>
#include <memory>

using RadioImage = std::array<uint8_t, 256>;

// The alias range, which no device family uses.
inline constexpr int16_t RadioCom = 900;

inline void StartRadio(std::unique_ptr<VirtualRadio>& radio, const QByteArray& identity, uint8_t band,
                       const RadioImage& image)
{
    radio = std::make_unique<VirtualRadio>();
    radio->Image() = image;
    radio->SetIdentity(identity);
    radio->SetBandByte(band);
    QVERIFY2(radio->OpenPty(), qPrintable(radio->ErrorString()));
}

inline void AddRadioAlias(const IsolatedProgram& program, const VirtualRadio& radio, int number = RadioCom)
{
    QVERIFY(QFile::link(radio.DevicePath(), program.AliasPath(number)));
}

// Short name of a frame the radio received: P, I, R0..R7, W0..W4, END, or the bytes in hex.
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
        names << FrameName(entry);
    return names;
}

// A whole read and a whole write, as the radio receives them.
inline const QStringList ReadFrames{"P", "I", "R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7", "END"};
inline const QStringList WriteFrames{"P",  "I",  "R0", "R1", "R2", "R3", "R4",
                                     "W0", "W1", "W2", "W3", "W4", "END"};
