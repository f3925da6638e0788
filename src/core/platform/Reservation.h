#pragma once
// A file reserved for one run across the processes of one user: a lock on a marker file in
// the runtime folder, named after the file's identity. The system drops the lock when the
// holder ends, however it ends, so a marker left by a killed process never blocks.

#include "host/Result.h"

#include <string>

namespace vorbix {

// What the holder of a reservation tells whoever finds it taken.
struct ReservationNote {
    std::string Emulator;
    std::string Program;
    long long Started = 0; // seconds since the epoch
    long long Pid = 0;

    // The start time as the local clock showed it, "HH:MM".
    std::string StartedAt() const;
    // Whether a note was read in full (a holder writes its note just after locking).
    bool Complete() const { return Pid > 0; }
};

class Reservation {
public:
    Reservation() = default;
    Reservation(Reservation&& other) noexcept;
    Reservation& operator=(Reservation&& other) noexcept;
    Reservation(const Reservation&) = delete;
    Reservation& operator=(const Reservation&) = delete;
    // Releases the reservation: the marker goes first, then the lock.
    ~Reservation();

    // Reserves the file at path for this process, leaving the note (with this process's
    // id) for others. The file is known by its folder's identity after links are resolved
    // and its own name (a link at path counts as the file it leads to), so that every name
    // of one file finds one marker; it need not exist yet. Held() tells whether the file is
    // this process's now (a file it already holds under another name counts); when another
    // process holds it, Holder() is that process's note. A runtime folder that cannot be
    // used is its failure; a marker that cannot be made is "Cannot create file " + marker.
    static Result<Reservation> Take(const std::string& path, ReservationNote note);

    bool Held() const { return fd_ >= 0 || heldHere_; }
    const ReservationNote& Holder() const { return holder_; }

private:
    void Release();

    int fd_ = -1;
    bool heldHere_ = false; // held already by this process under another name
    std::string marker_;
    ReservationNote holder_;
};

} // namespace vorbix
