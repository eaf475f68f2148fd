#include "settings/FileSync.h"

#include <unistd.h>

bool FlushToDisk(QFile& file)
{
    return ::fsync(file.handle()) == 0;
}
