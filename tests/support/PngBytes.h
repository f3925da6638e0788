#pragma once
// PNG pictures written with libpng for the tests, as MAME writes its snapshots.

#include <string>

namespace vorbix::test {

// A width x height RGB picture with a colour gradient.
std::string PngBytes(int width, int height);

} // namespace vorbix::test
