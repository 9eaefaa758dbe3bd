#pragma once

class QWidget;

namespace ombrisa {

// Connects the storage layer to the user interface: the busy cursor while an archive waits for another
// workstation's lock (the window keeps painting meanwhile), and the one warning per run when the data
// folder's file system refuses locks. main() calls it once; removeStorageHooks() undoes it.
void installStorageHooks();
void removeStorageHooks();

} // namespace ombrisa
