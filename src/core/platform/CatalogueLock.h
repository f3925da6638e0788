#pragma once
// One writer per catalogue: every process that may write an application folder's catalogue
// holds this advisory lock for its whole run. The system releases it when the process ends,
// however it ends, so a crash leaves nothing behind that blocks the next start.

#include "host/Result.h"

#include <string>
#include <vector>

namespace vorbix {

class CatalogueLock {
public:
    CatalogueLock() = default; // holds nothing
    CatalogueLock(CatalogueLock&& other) noexcept;
    CatalogueLock& operator=(CatalogueLock&& other) noexcept;
    CatalogueLock(const CatalogueLock&) = delete;
    CatalogueLock& operator=(const CatalogueLock&) = delete;
    ~CatalogueLock();

    // Takes the lock of the application folder appDir (ending in '/'): a lock on its Data
    // folder, on appDir itself while Data does not exist, or on the nearest folder above
    // that exists while appDir does not; nothing is written to take it. Taken by another
    // process: "The catalogue in DIR is open in another Vorbix (process N); close it first."
    static Result<CatalogueLock> Acquire(const std::string& appDir);

    // Before a save: makes the application folder and its Data folder when they are missing
    // and locks them too, so that a process started after the save, which locks Data, finds
    // the lock taken. A folder that cannot be made is left for the save to report; a lock
    // that another process took meanwhile fails with the message of Acquire.
    Status HoldData();

    // The process that holds the lock of appDir, or 0 when none does or it cannot be named.
    static int HolderOf(const std::string& appDir);

private:
    struct Held {
        std::string Folder;
        int Fd = -1;
    };

    void Release();

    std::string appDir_;
    std::vector<Held> held_;
};

} // namespace vorbix
