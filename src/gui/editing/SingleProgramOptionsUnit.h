#pragma once
// The program editor's dialog: every field of one program, its comment lines, its
// compatibility warnings and its document links. It edits a copy of the record; the main
// window hands the copy it returns on "OK" to AddProgram or ReplaceProgram.

#include "catalogue/Records.h"
#include "editing/LinkEditing.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace vorbix {
struct Catalogue;
class NameList;
class Prompts;
class Shell;
} // namespace vorbix

namespace vorbix::gui {

class TLinksForm;

class TSingleProgramOptionsForm : public QDialog {
    Q_OBJECT
public:
    // The image chooser remembers its folder in the catalogue's LastProgramDir; questions
    // and messages go to prompts, the help page to shell; links are edited in links.
    TSingleProgramOptionsForm(vorbix::Catalogue& catalogue, vorbix::Prompts& prompts, vorbix::Shell& shell,
        TLinksForm& links, QWidget* parent = nullptr);

    // Shows the record modally; the record as edited on "OK", nothing on "Cancel".
    std::optional<vorbix::ProgramRecord> Edit(const vorbix::ProgramRecord& record);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateWidgets();
    QWidget* CreateGeneralPage();
    QWidget* CreateInformationPage();
    QGroupBox* CreateLinksBox(QWidget* page);
    void CreateTabOrder();
    void ConnectWidgets();
    void LoadValues(const vorbix::ProgramRecord& record);
    void SaveValues(vorbix::ProgramRecord& record) const;

    void FormShow();
    void OKButtonClick();
    void BrowseButton1Click();
    void ComboBox1Exit();
    void ComboBox2Exit();
    void EmptyUnknownCategory(QComboBox* box, const vorbix::NameList& items, const std::string& loaded);
    void ComboBox3Change();
    void EnableWarningBox();
    void ComboBox3Enter();
    void ComboBox3Exit();
    void Edit3KeyUp();
    void HelpButtonClick();
    vorbix::StringList CommentLines() const;

    // The links list.
    void FillLinks();
    void ShowLink(int row);
    int SelectedLink() const;
    void RevealLinkRow(int row);
    void UpdateLinkButtons();
    void NewLinkClick();
    void EditLinkClick();
    void DeleteLinkClick();
    void UpLinkClick();
    void DownLinkClick();
    void SortLinkClick();

    vorbix::Catalogue& catalogue_;
    vorbix::Prompts& prompts_;
    vorbix::Shell& shell_;
    TLinksForm& linksForm_;

    // The working copy: the record as loaded, whose bytes untouched fields keep, with the
    // file name and the warning rows (WarningTable) as the dialog changes them; and the
    // links list's rows.
    vorbix::ProgramRecord working_;
    std::vector<vorbix::DocLink> links_;
    // The emulator selector's text when the focus entered it.
    std::string rememberedEmulator_;

    QTabWidget* PageControl1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* BrowseButton1 = nullptr;
    QComboBox* ComboBox1 = nullptr; // publisher
    QComboBox* ComboBox2 = nullptr; // type
    QCheckBox* CheckBox1 = nullptr; // favourite
    QCheckBox* CheckBox2 = nullptr; // E00 DFS
    QPlainTextEdit* Memo1 = nullptr;
    QComboBox* ComboBox3 = nullptr; // emulator selector
    QLineEdit* Edit3 = nullptr; // warning text
    QTreeWidget* ListView1 = nullptr;
    // The link buttons and the dialog's buttons have no names of their own in the system;
    // they are named after their captions.
    QPushButton* NewLinkButton = nullptr;
    QPushButton* EditLinkButton = nullptr;
    QPushButton* DeleteLinkButton = nullptr;
    QToolButton* UpLinkButton = nullptr;
    QToolButton* DownLinkButton = nullptr;
    QPushButton* SortLinkButton = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
};

} // namespace vorbix::gui
