#pragma once
// The one pair of conversions between catalogue text (bytes) and Qt strings, and the
// drop-downs that keep each entry's own bytes beside the text they show. Catalogue text
// that is valid UTF-8 is shown as UTF-8, any other as Windows-1252; what the user types
// is stored as UTF-8, and a text the user did not change keeps its bytes.

#include "catalogue/Records.h"

#include <QString>

#include <string>

class QComboBox;
class QLabel;
class QWidget;
class QListWidgetItem;

namespace vorbix::gui {

QString ShownText(const std::string& bytes);
std::string StoredText(const QString& text);

// A label that shows its text as it stands: a catalogue text such as "<h1>Game</h1>" is
// never read as markup. Access keys ("&Name") still work.
QLabel* PlainLabel(const QString& text, QWidget* parent);

// A field filled from bytes and read back: the original bytes when the text shown is
// still what they show, else what the user typed.
std::string EditedText(const QString& shown, const std::string& original);

// Replaces a drop-down's entries, each with its bytes, keeping the text in the box (and
// the bytes behind it); the change is no pick.
void SetEntries(QComboBox* box, const StringList& entries);
// The entries' bytes, in order.
StringList Entries(const QComboBox* box);
// Sets the box's text from bytes.
void SetText(QComboBox* box, const std::string& bytes);
// The bytes of the box's text: those it was given or picked (the entry shown, when its
// text is the box's text), else what the user typed.
std::string Text(const QComboBox* box);

} // namespace vorbix::gui
