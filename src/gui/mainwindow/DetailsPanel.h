#pragma once
// The details panel: the selected program's picture, box cover and information (comments,
// warnings, two columns of document links drawn as hyperlinks), and what is on its image.

#include "browsing/ProgramDetails.h"
#include "launching/DroppedFiles.h"

#include <QTabWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

namespace vorbix {
class Prompts;
}

namespace vorbix::gui {

class DetailsPanel : public QTabWidget {
    Q_OBJECT
public:
    explicit DetailsPanel(QWidget* parent = nullptr);

    // The tabs are added in the order of DetailsTab, so a tab's index is its value.
    DetailsTab ShownTab() const { return static_cast<DetailsTab>(currentIndex()); }
    void ShowTab(DetailsTab tab) { setCurrentIndex(static_cast<int>(tab)); }

    // Shows the details; a picture or box cover that cannot be loaded empties its tab and
    // is reported through prompts ("Error loading file " + path), and the rest still shows.
    void ShowDetails(const ProgramDetails& details, Prompts& prompts);

    // The shown pictures (null when the tab is empty).
    QImage Picture() const;
    QImage BoxCover() const;
    bool ShowsPlaceholder() const { return showsPlaceholder_; }

signals:
    // A click in a link column: the target of the entry clicked, or no target for a click
    // on the empty area.
    void LinkClicked(bool onEntry, const std::string& target);

private:
    QWidget* CreatePictureTab();
    QWidget* CreateBoxCoverTab();
    QWidget* CreateInformationTab();
    QWidget* CreateDiscTab();
    void ShowDisc();
    QListWidget* CreateLinkColumn(QWidget* parent, const char* name, int left);
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void ApplyColours();
    void ShowPicture(const ProgramDetails& details, Prompts& prompts);
    void ShowBoxCover(const ProgramDetails& details, Prompts& prompts);
    static void FillLinks(QListWidget* column, const std::vector<DetailsLink>& links);
    static void FillLines(QPlainTextEdit* box, const StringList& lines);

    QLabel* Image1 = nullptr; // picture, scaled to fill
    QLabel* Image2 = nullptr; // box cover, own size, centred and clipped
    QPlainTextEdit* Memo1 = nullptr; // comments
    QPlainTextEdit* Memo2 = nullptr; // warnings
    QListWidget* ListView2 = nullptr; // links 1 to 7
    QListWidget* ListView3 = nullptr; // links 8 to 14
    QPlainTextEdit* Memo3 = nullptr; // what is on the image
    bool showsPlaceholder_ = false;
    // The image is read only while the Disc tab shows: these are the details it was last
    // given, read when the tab is chosen.
    ProgramDetails discDetails_;
    bool discShown_ = false;
};

} // namespace vorbix::gui
