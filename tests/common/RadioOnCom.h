// The virtual radio on a pseudo-terminal, listed as a COM port through an alias in the program's
// dosdevices/ folder as the README's demo runs it.
#pragma once

#include "IsolatedProgram.h"
#include "link/Frames.h"
#include "RadioTrace.h"
#include "VirtualRadio.h"

#include <QFile>
#include <QStringList>
#include <QTest>

#include <cstdint>
#include <memory>

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
