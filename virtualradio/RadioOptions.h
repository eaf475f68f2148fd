// The virtual_radio program's command line.
#pragma once

#include "VirtualRadio.h"

#include <QString>
#include <QStringList>

#include <optional>

struct RadioOptions
{
    QString device; // empty: a new pseudo-terminal
    QByteArray identity = QByteArrayLiteral("RZ614UV");
    std::optional<uint8_t> band;
    QString imageFile; // empty: the built-in image
    QString saveFile;  // empty: nothing saved
    VirtualRadioFaults faults;
    bool verbose = false;
};

// Parses arguments (the program name first, as QCoreApplication::arguments() gives them). On false,
// error holds the message for standard error; --help and --version exit inside the parser.
bool ParseRadioOptions(const QStringList& arguments, RadioOptions& options, QString& error);
