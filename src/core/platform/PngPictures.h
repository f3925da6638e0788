#pragma once
// Screen pictures saved as PNG (MAME's snapshots) become the JPEG that a program's picture
// file always is.

#include "host/Result.h"

#include <string>
#include <string_view>

namespace vorbix {

// Whether the bytes start with the PNG signature: a picture is known by its content, not
// by its name.
bool IsPng(std::string_view bytes);

// The PNG picture as JPEG bytes (transparency laid over black, as a screen shows it). A
// damaged PNG, one that declares more pixels than its bytes could hold, or one over 8192
// pixels on a side or 16 million pixels in all, is
// "Cannot convert the PNG picture " + name + " to JPEG".
Result<std::string> JpegFromPng(std::string_view png, const std::string& name);

} // namespace vorbix
