#pragma once
// What the dialog tests share: a shell that keeps the working folder of each start, and
// the Tab order of a window.

#include "support/RecordingShell.h"

#include <string>
#include <vector>

class QWidget;

namespace vorbix::test {

// A RecordingShell that also keeps the working folder of each OpenIn, in order.
class WorkingDirShell : public RecordingShell {
public:
    StartResult OpenIn(const std::string& file, const std::string& workingDir,
        const std::vector<std::string>& arguments = {}) override;

    std::vector<std::string> workingDirs;
};

// The object names of the named controls that Tab visits, in order, starting after the window.
std::vector<std::string> TabOrder(QWidget* window);

} // namespace vorbix::test
