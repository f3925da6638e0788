#pragma once
// The progress of a folder scan: the scan runs on a thread of its own while a dialog with a
// progress bar and Cancel keeps the window's events going; its result is handed back to
// the window's thread when it ends.

#include "collection/FolderScan.h"

#include <optional>
#include <string>

class QWidget;

namespace vorbix::gui {

// Scans the folder against the lists, showing the progress in a modal dialog over parent.
// Empty when the user pressed Cancel (the scan is stopped and its partial result dropped).
std::optional<FolderScanResult> ScanWithProgress(QWidget* parent, const std::string& folder,
    const ScanCatalogue& catalogue, const ChecksumLists& lists);

} // namespace vorbix::gui
