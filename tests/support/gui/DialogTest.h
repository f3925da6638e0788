#pragma once
// What the dialog tests share: the Tab order of a window.

#include <string>
#include <vector>

class QWidget;

namespace vorbix::test {

// The object names of the named controls that Tab visits, in order, starting after the window.
std::vector<std::string> TabOrder(QWidget* window);

} // namespace vorbix::test
