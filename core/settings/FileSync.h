// Having a file's written bytes on the disk itself before going on, so that a backup that is said to
// be saved survives a power cut or a pulled USB stick.
#pragma once

#include <QFile>

// The file is open for writing and flushed to the system; false when the system could not store it.
bool FlushToDisk(QFile& file);
