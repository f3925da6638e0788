#pragma once
// The reader and writer of the catalogue's own restricted XML dialect: elements
// without attributes whose leaves hold escaped text, one element per line.

#include "host/Result.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorbix {

class Prompts;

// A found element: 1-based positions of the "<" of its opening tag and the ">" of its
// closing tag in the reader's text.
struct TXMLFocus {
    std::int64_t First = -1;
    std::int64_t Last = -1;
    bool operator==(const TXMLFocus&) const = default;
};

inline constexpr TXMLFocus NoFocus{-1, -1};

inline constexpr const char* kNoFocusMessage = "TXMLLoadObject.Getvalue: No focus set";

bool TextToBool(std::string_view text);
const char* BoolToText(bool value);

// Escapes a value for the writer: & ' " < > become their entity references.
std::string XmlEscape(std::string_view value);
// Undoes the five entity references (&apos; &quot; &lt; &gt; and &amp; last).
std::string XmlUnescape(std::string_view value);
// The same, appended to out.
void AppendXmlUnescaped(std::string& out, std::string_view value);

// The nesting that a document of the dialect has, for the check of its structure. Each
// rule names a container and the elements allowed directly inside it; a child without a
// rule of its own is a leaf, which holds text only. A child marked Once stands at most once
// in its parent (the loaders read only the first). Tags of names that no rule mentions are
// not checked: no loader looks for them, so they are text to the loaders.
struct XMLChildRule {
    std::string_view Name;
    bool Once = false;
};

struct XMLElementRule {
    std::string_view Name;
    std::vector<XMLChildRule> Children;
};

struct XMLStructure {
    std::string_view Root;
    std::vector<XMLElementRule> Containers;
};

// Reads a document by tag search. The text keeps its entity references; values are
// unescaped one by one when read, so a value can never be mistaken for a tag. Tag
// positions are indexed once after loading and searched by binary search.
class TXMLLoadObject {
public:
    // Prompts shows the "No focus set" message; may be null (no message shown).
    explicit TXMLLoadObject(Prompts* prompts = nullptr) : prompts_(prompts) {}
    TXMLLoadObject(const TXMLLoadObject&) = delete; // the index points into the text
    TXMLLoadObject& operator=(const TXMLLoadObject&) = delete;

    // Appends the file's lines, each trimmed of white space and control characters,
    // without separators; "Cannot open file " + name when the file cannot be read.
    Status LoadFromFile(const std::string& fileName);
    // The same for text already in memory.
    void LoadFromText(std::string text);

    // Finds the index-th (from 1) element of the name inside the parent focus (the whole
    // document when the parent is NoFocus). Sets Focus and out to it, or to NoFocus.
    void FindElement(std::string_view name, int index, TXMLFocus& out, const TXMLFocus& parent);
    // As FindElement, but an element whose closing tag is missing (a file cut short) runs
    // from its opening tag to the end of the parent, so that what it holds can still be read.
    void FindElementOrRest(std::string_view name, int index, TXMLFocus& out, const TXMLFocus& parent);
    bool IsFocusSet(const TXMLFocus& focus) const { return focus != NoFocus; }
    // How many opening tags of the name the document has: room for the elements of a list.
    std::size_t CountOpening(std::string_view name) const;

    // The text of the element in Focus; with no focus, the "No focus set" message, which is
    // also shown to the user.
    void Getvalue(std::string& value);
    std::string Getvalue();

    const std::string& XmlText() const { return text_; }

    // Checks that every element the structure names is closed, and stands where the
    // structure allows it, in one pass over the tags in the order the index recorded them
    // (linear in their number). Returns the first fault as the user reads it ("the 3rd
    // <program> is not closed"), or an empty text for a sound document. What the reader
    // finds and reads is not affected.
    std::string CheckStructure(const XMLStructure& structure) const;

    TXMLFocus Focus = NoFocus;

private:
    // The positions of one tag name's opening and closing tags, ascending, 0-based.
    struct TagPositions {
        std::string_view name;
        std::uint64_t hash = 0;
        std::vector<std::uint32_t> opens;
        std::vector<std::uint32_t> closes;
        std::size_t openCount = 0; // while the index is built: how many each list will hold
        std::size_t closeCount = 0;
        // Where the last search in each list ended: the loaders walk forward, so the next
        // search usually starts right there.
        mutable std::size_t openHint = 0;
        mutable std::size_t closeHint = 0;
    };

    void BuildIndex();
    // Calls onTag(name, closing, position) for every tag in document order.
    template <typename OnTag>
    void ForEachTag(OnTag onTag) const;
    TagPositions& Intern(std::string_view name, std::uint64_t hash);
    const TagPositions* Lookup(std::string_view name) const;
    void Find(std::string_view name, int index, TXMLFocus& out, const TXMLFocus& parent, bool orRest);
    // Fallback for names the index cannot hold (containing '<' or '>').
    std::int64_t FindLiteral(const std::string& needle, std::int64_t from, std::int64_t last) const;

    Prompts* prompts_;
    std::string text_;
    // An open-addressing table of tag names (a catalogue has a few dozen) over entries_.
    std::vector<TagPositions> entries_;
    std::vector<std::int32_t> slots_;
    // Every tag in document order: its entry's index shifted left by one, the low bit set
    // for a closing tag.
    std::vector<std::uint32_t> order_;
    // The text held too many tags to be indexed within its own size: nothing was indexed.
    bool overfull_ = false;

    // The index of a text of at least this size may not outgrow the text (kIndexBytesPerTag
    // bytes a tag: its position in its name's list and its place in order_).
    static constexpr std::size_t kLargeText = 1 << 20;
    static constexpr std::size_t kIndexBytesPerTag = 8;
};

// Builds a document as a flat sequence of open, leaf and close calls and writes it with
// a fixed header, one element per line, indented two spaces per level, CR LF.
class TXMLSaveObject {
public:
    void OpenElement(std::string_view name);
    void WriteElement(std::string_view name, std::string_view value);
    void CloseElement(std::string_view name);

    // The whole file as it is written.
    std::string ToBytes() const;
    // Writes the file through the writer (a temporary file and a rename).
    Status SaveToFile(const std::string& fileName, FileWriter& writer = SystemFileWriter()) const;

    std::string XmlText;
    std::string Stylesheet;
    std::string DocType;
    std::string DtdFile;
};

// Writes the same bytes as TXMLSaveObject::ToBytes gives for the same calls, straight into
// the file's text: each line is laid out as it is written, values are escaped in place, and
// nothing is built twice. For files too large to build twice.
class TXMLDirectWriter {
public:
    // The header as TXMLSaveObject writes it; empty texts leave out their lines. reserve is
    // the expected size of the whole text.
    TXMLDirectWriter(std::string_view stylesheet, std::string_view docType, std::string_view dtdFile,
        std::size_t reserve = 0);

    void OpenElement(std::string_view name);
    void WriteElement(std::string_view name, std::string_view value);
    void CloseElement(std::string_view name);

    // The whole text; the writer is empty afterwards.
    std::string TakeBytes();

private:
    void EndOpenLine();

    std::string out_;
    std::size_t indent_ = 0;
    // The last call opened an element whose line is not ended yet: a value, a closing tag or
    // a child decides how it ends.
    bool openLine_ = false;
};

} // namespace vorbix
