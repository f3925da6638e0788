#pragma once
// A reader of general XML documents one piece at a time, for the checksum lists other
// programs write (MAME's software lists, Logiqx DAT files). The catalogue's own files have
// their own reader; this one takes any well-formed document: declarations, comments,
// document types with an internal subset, CDATA sections, attributes in either quote,
// character and the five predefined entity references. It reads only inside the text it is
// given, keeps no more than the current piece, and never goes back, so a damaged or hostile
// document ends in an error message, never in a loop.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorbix {

enum class XmlPiece {
    StartElement, // Name and Attributes are set; an empty element gives an EndElement next
    EndElement, // Name is set
    Text, // Text is set (entities undone; CDATA as it stands); white space only is skipped
    End, // the end of the document
    Error, // Message is set; nothing follows
};

class XmlPull {
public:
    explicit XmlPull(std::string_view document) : text_(document) {}

    XmlPiece Next();

    const std::string& Name() const { return name_; }
    const std::string& Text() const { return value_; }
    const std::string& Message() const { return message_; }
    // The value of the start element's attribute, or empty.
    const std::string& Attribute(std::string_view name) const;
    // The line (from 1) the reader has got to, for messages.
    std::size_t Line() const;
    // How far the reader has got, in bytes.
    std::size_t Position() const { return pos_; }

private:
    XmlPiece Fail(const std::string& message);
    XmlPiece ReadMarkup();
    XmlPiece ReadStartElement();
    XmlPiece ReadEndElement();
    XmlPiece ReadText();
    bool SkipPast(std::string_view terminator);
    bool SkipDocumentType();
    bool ReadName(std::string& into);
    bool ReadAttributeValue(std::string& into);
    void SkipSpace();

    std::string_view text_;
    std::size_t pos_ = 0;
    std::string name_;
    std::string value_;
    std::string message_;
    std::vector<std::pair<std::string, std::string>> attributes_;
    std::vector<std::string> open_; // the elements open, outermost first
    bool pendingEnd_ = false; // an empty element's end comes next
    bool failed_ = false;
};

// Appends the text with its character and entity references undone; false (and nothing
// appended beyond what was undone so far) for an unknown entity or a bad reference.
bool AppendUnescaped(std::string_view text, std::string& into);

} // namespace vorbix
