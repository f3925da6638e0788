#pragma once
// The details panel's pages in a window larger than its first size: the pictures, the text
// boxes and the link columns grow with the panel from their first sizes.

class QTabWidget;

namespace vorbix::gui {

// From now on, whenever the panel changes size, the picture areas (Image1, Image2) grow by
// as much as the panel has grown beyond 384 x 328, and keep their own stretch rules (the
// picture scaled to fill its area, the box cover at its own size, centred); the comments
// and warnings boxes widen with it, the two link columns share the extra width and take
// the extra height, and the Disc tab's listing takes both. At 384 x 328 everything has its first size.
void FollowPanelSize(QTabWidget* panel);

} // namespace vorbix::gui
