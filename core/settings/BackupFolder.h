// Backup files on disk: the folder of the automatic backups that every write leaves behind, and
// the reading and writing of one backup file.
//
// The automatic backups live in QStandardPaths::AppDataLocation/backups, one file per write, named
// after the radio's serial number and the time: TG24031500871_20261209-101112-345.json. None is ever
// overwritten or removed.
#pragma once

#include "data/RadioBackup.h"

#include <QString>

class AnsiCodePage;

// A file written, or why it was not.
struct BackupFileResult
{
    QString Path;
    QString Error; // empty: written
};

// Writes the content into a new file at `path`, never over one that is there, and has it on the
// disk before it returns. The file is for its owner only: it holds the radio's password.
BackupFileResult WriteBackupFile(const QString& path, const QByteArray& content);
// The backup a file holds; Error names the file and what is wrong with it.
ParsedBackup ReadBackupFile(const QString& path);

class BackupFolder
{
public:
    // `path` empty: QStandardPaths::AppDataLocation/backups.
    explicit BackupFolder(QString path = {});

    QString Path() const; // empty when the user has no data folder
    // A new file in the folder for the backup, named after its serial number and time of saving.
    BackupFileResult Save(const RadioBackup& backup, const AnsiCodePage& page) const;
    // The file name Save gives first (later tries add a number).
    static QString FileName(const RadioBackup& backup, const AnsiCodePage& page);
    // The backup of a write, saved now: blocks 0 to 4 as the write has just read them from the
    // radio, which `radio` names the type of (its Model).
    BackupFileResult SaveWriteBackup(const RadioInfoRecord& radio, const InfoImageType& image,
                                     const AnsiCodePage& page) const;

private:
    QString path;
};
