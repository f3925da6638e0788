#pragma once
// Where the running Vorbix processes of one user leave their live markers: the window's
// socket for files handed to it, and the reservations of emulators' working files.

#include "host/Result.h"

#include <string>
#include <string_view>

namespace vorbix {

// $XDG_RUNTIME_DIR/vorbix/ when that variable names a folder, else /tmp/vorbix-UID/, ending
// in '/'. Made with mode 0700 when missing. A folder there that is not a folder of this
// user's (a link, a file, another user's folder) is refused: "Cannot use folder PATH: REASON".
Result<std::string> RuntimeFolder();

// A name of 16 hexadecimal digits for a key (FNV-1a, 64 bits): the same in every process
// and every build, so that two processes find the same marker for the same key.
std::string KeyName(std::string_view key);

} // namespace vorbix
