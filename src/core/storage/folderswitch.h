#pragma once

// Several files of a data folder replaced as one change (a restore, a regeneration of the archives): the
// new files are written beside the old ones and flushed, then a journal naming every move is written,
// flushed and given its name. From that moment the change happens even when the process dies: the next
// program or command that opens the folder finishes it from the journal. Before it, nothing of the old
// files was touched. Either way an interrupted change leaves the old set or the new set, never a mix.
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace ombrisa {

// The journal of a change under way, in the data folder.
inline const QString kSwitchJournal = QStringLiteral("Sostituzione_in_corso.json");

struct FolderSwitch {
    QString what; // what the change is, for the messages: "ripristino", "generazione degli archivi"
    // Each new file (relative to the data folder, written and flushed) and the name it takes there.
    std::vector<std::pair<QString, QString>> moves;
    QStringList dropped; // old files (relative) that have no new one: they go as well
    // A folder (relative) where every replaced or dropped file goes, with the journal of a replaced
    // archive. Empty: they are removed, and an archive's journal is set aside beside it.
    QString aside;
    QString staging; // a folder (relative) that held the new files, removed at the end; may be empty
};

// A new file written through the storage calls and flushed before it counts, for a change's new files.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    // Creates (or empties) `path`; its folder must exist.
    bool create(const QString& path);
    bool write(const char* data, qint64 size);
    // Flushes the file to the disk and closes it.
    bool finish();
    // The failure in Italian, with the file's path.
    const QString& ErrorString() const { return error_; }

private:
    bool fail(const QString& what, int err);
    QString path_;
    QString error_;
    int fd_ = -1;
    qint64 size_ = 0;
};

// Flushes a folder's entries (names created, renamed or removed there). False with `error` when it fails.
bool syncFolder(const QString& folder, QString* error = nullptr);

// Makes the change in `dataFolder`: the folders holding the new files are flushed, the journal written,
// flushed and named (the change is decided), every old file put aside or removed and every new one
// renamed to its name, each folder touched flushed, the staging folder and the journal removed. False
// with one Italian sentence in `error`: when it fails before the journal has its name nothing changed;
// after, the journal stays and the next completeFolderSwitch finishes the change.
bool switchFolder(const QString& dataFolder, const FolderSwitch& change, QString* error);

// What a change left unfinished in `dataFolder` is ("ripristino", ...); empty when there is none.
QString pendingFolderSwitch(const QString& dataFolder);

// Finishes a change a process left unfinished (killed, or stopped by a failure after the journal). True
// when there was none (`*completed` empty) or it is now done (`*completed` says what it was). False with
// `error` when it cannot be finished from here: no right to write in the folder, or another program is
// making that change right now.
bool completeFolderSwitch(const QString& dataFolder, QString* completed, QString* error);

} // namespace ombrisa
