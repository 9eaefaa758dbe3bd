#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace ombrisa {

// What a data folder needs so that several workstations can save in it safely: the right to create
// files beside the archives (every in-place save keeps its journal there) and record locks that reach
// every workstation. The program warns at start and `verify` reports what is missing.

// One line of /proc/self/mountinfo: where a file system is mounted, its type, and its options (those
// of the mount and those of the file system together).
struct MountEntry {
    QString mountPoint;
    QString type;   // "ext4", "cifs", "nfs4", "fuse.sshfs", …
    QString source; // "//server/share", "server:/export", …
    QStringList options;
};

// Parses the text of /proc/self/mountinfo; lines that do not parse are skipped.
std::vector<MountEntry> parseMountInfo(const QByteArray& text);
// The entry that holds `path` (an absolute path, links resolved): the last mounted of those whose
// mount point is the longest prefix of it. nullptr when none does.
const MountEntry* mountHolding(const std::vector<MountEntry>& mounts, const QString& path);
// One Italian sentence when the mount keeps record locks on this workstation only (a network file
// system mounted without shared locks, or a user-space file system that keeps them in the local
// kernel); empty otherwise.
QString mountLockProblem(const MountEntry& mount);

// The rights saves need in `folder` and in its work register folder (each problem one Italian
// paragraph; empty when saving works). A read-only copy is sound to read: this is about saving.
QStringList sharedFolderRightsProblems(const QString& folder);
// The problem of the mount that holds `folder` (mountLockProblem), read from /proc/self/mountinfo.
QString sharedFolderLockProblem(const QString& folder);

} // namespace ombrisa
