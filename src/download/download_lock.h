// One download at a time per root, across processes: the program window open on a root
// while a timer starts the daily run there must not give two writers on one quote file.
// The lock is an advisory lock on a file in the root, which the system releases when its
// holder dies, so a crashed run never blocks the next one.
#pragma once

#include <string>

namespace quova {

// Sets DLReentrant and takes the root's download lock; false (and nothing changed) when a
// download runs in this process or in another one on the same root.
bool BeginDownload();
// Clears DLReentrant and gives the lock back. Safe to call when nothing is held.
void EndDownload();

// The lock file: root + "download.lck".
std::string downloadLockPath();

}  // namespace quova
