#include "collection/XmlPull.h"

#include <algorithm>
#include <cstdint>

namespace vorbix {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsNameCharacter(char c)
{
    // Every byte of a multi-byte UTF-8 character counts, so that names need no decoding.
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
        || c == ':' || c == '-' || c == '.';
}

void AppendUtf8(std::uint32_t code, std::string& into)
{
    if (code < 0x80) {
        into += static_cast<char>(code);
    } else if (code < 0x800) {
        into += static_cast<char>(0xC0 | (code >> 6));
        into += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        into += static_cast<char>(0xE0 | (code >> 12));
        into += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        into += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        into += static_cast<char>(0xF0 | (code >> 18));
        into += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        into += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        into += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The character of a reference such as "#233" or "#xE9" (without & and ;), or false.
bool AppendCharacterReference(std::string_view reference, std::string& into)
{
    const bool hex = reference.size() > 1 && (reference[1] == 'x' || reference[1] == 'X');
    const std::string_view digits = reference.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8)
        return false;
    std::uint32_t code = 0;
    for (char c : digits) {
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return false;
        code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return false;
    AppendUtf8(code, into);
    return true;
}

} // namespace

bool AppendUnescaped(std::string_view text, std::string& into)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t amp = text.find('&', i);
        into.append(text.substr(i, amp == std::string_view::npos ? std::string_view::npos : amp - i));
        if (amp == std::string_view::npos)
            return true;
        const std::size_t semi = text.find(';', amp);
        if (semi == std::string_view::npos)
            return false;
        const std::string_view reference = text.substr(amp + 1, semi - amp - 1);
        if (reference == "amp")
            into += '&';
        else if (reference == "lt")
            into += '<';
        else if (reference == "gt")
            into += '>';
        else if (reference == "quot")
            into += '"';
        else if (reference == "apos")
            into += '\'';
        else if (reference.empty() || reference[0] != '#' || !AppendCharacterReference(reference, into))
            return false;
        i = semi + 1;
    }
    return true;
}

const std::string& XmlPull::Attribute(std::string_view name) const
{
    static const std::string kNone;
    for (const auto& [key, value] : attributes_)
        if (key == name)
            return value;
    return kNone;
}

std::size_t XmlPull::Line() const
{
    const std::size_t upTo = std::min(pos_, text_.size());
    return 1
        + static_cast<std::size_t>(std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(upTo), '\n'));
}

XmlPiece XmlPull::Fail(const std::string& message)
{
    failed_ = true;
    message_ = message + " at line " + std::to_string(Line());
    return XmlPiece::Error;
}

void XmlPull::SkipSpace()
{
    while (pos_ < text_.size() && IsSpace(text_[pos_]))
        ++pos_;
}

bool XmlPull::SkipPast(std::string_view terminator)
{
    const std::size_t at = text_.find(terminator, pos_);
    if (at == std::string_view::npos)
        return false;
    pos_ = at + terminator.size();
    return true;
}

XmlPiece XmlPull::Next()
{
    if (failed_)
        return XmlPiece::Error;
    if (pendingEnd_) {
        pendingEnd_ = false;
        return XmlPiece::EndElement; // name_ still holds the empty element's name
    }
    for (;;) {
        if (pos_ >= text_.size()) {
            if (!open_.empty())
                return Fail("The document ends inside <" + open_.back() + ">");
            return XmlPiece::End;
        }
        if (text_[pos_] != '<') {
            const XmlPiece piece = ReadText();
            if (piece == XmlPiece::Text && value_.empty())
                continue;
            return piece;
        }
        const std::size_t before = pos_;
        const XmlPiece piece = ReadMarkup();
        if (piece != XmlPiece::End || pos_ == before)
            return piece;
        // A comment, declaration or document type: nothing to hand out.
    }
}

XmlPiece XmlPull::ReadText()
{
    const std::size_t end = std::min(text_.find('<', pos_), text_.size());
    const std::string_view raw = text_.substr(pos_, end - pos_);
    value_.clear();
    if (std::all_of(raw.begin(), raw.end(), IsSpace)) {
        pos_ = end;
        return XmlPiece::Text;
    }
    if (open_.empty())
        return Fail("Text outside the document's element");
    if (!AppendUnescaped(raw, value_))
        return Fail("A bad entity or character reference");
    pos_ = end;
    return XmlPiece::Text;
}

// Returns End for markup that gives no piece (the caller reads on).
XmlPiece XmlPull::ReadMarkup()
{
    const std::string_view rest = text_.substr(pos_);
    if (rest.starts_with("<?"))
        return SkipPast("?>") ? XmlPiece::End : Fail("An unclosed processing instruction");
    if (rest.starts_with("<!--"))
        return SkipPast("-->") ? XmlPiece::End : Fail("An unclosed comment");
    if (rest.starts_with("<![CDATA[")) {
        if (open_.empty())
            return Fail("A CDATA section outside the document's element");
        const std::size_t start = pos_ + 9;
        if (!SkipPast("]]>"))
            return Fail("An unclosed CDATA section");
        value_.assign(text_.substr(start, pos_ - 3 - start));
        return XmlPiece::Text;
    }
    if (rest.starts_with("<!DOCTYPE"))
        return SkipDocumentType() ? XmlPiece::End : Fail("An unclosed document type");
    if (rest.starts_with("</"))
        return ReadEndElement();
    return ReadStartElement();
}

bool XmlPull::SkipDocumentType()
{
    // The internal subset in [ ] may hold '>' of its own declarations.
    pos_ += 9;
    bool inSubset = false;
    while (pos_ < text_.size()) {
        const char c = text_[pos_++];
        if (c == '"' || c == '\'') {
            const std::size_t close = text_.find(c, pos_);
            if (close == std::string_view::npos)
                return false;
            pos_ = close + 1;
        } else if (c == '[') {
            inSubset = true;
        } else if (c == ']') {
            inSubset = false;
        } else if (c == '>' && !inSubset) {
            return true;
        }
    }
    return false;
}

bool XmlPull::ReadName(std::string& into)
{
    const std::size_t start = pos_;
    while (pos_ < text_.size() && IsNameCharacter(text_[pos_]))
        ++pos_;
    into.assign(text_.substr(start, pos_ - start));
    return !into.empty();
}

bool XmlPull::ReadAttributeValue(std::string& into)
{
    if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\''))
        return false;
    const char quote = text_[pos_];
    const std::size_t close = text_.find(quote, pos_ + 1);
    if (close == std::string_view::npos)
        return false;
    const std::string_view raw = text_.substr(pos_ + 1, close - pos_ - 1);
    if (raw.find('<') != std::string_view::npos)
        return false;
    into.clear();
    if (!AppendUnescaped(raw, into))
        return false;
    pos_ = close + 1;
    return true;
}

XmlPiece XmlPull::ReadStartElement()
{
    ++pos_;
    if (!ReadName(name_))
        return Fail("A bad element name");
    attributes_.clear();
    for (;;) {
        const std::size_t beforeSpace = pos_;
        SkipSpace();
        if (pos_ >= text_.size())
            return Fail("The document ends inside <" + name_ + ">");
        if (text_.substr(pos_).starts_with("/>")) {
            pos_ += 2;
            pendingEnd_ = true;
            return XmlPiece::StartElement;
        }
        if (text_[pos_] == '>') {
            ++pos_;
            open_.push_back(name_);
            return XmlPiece::StartElement;
        }
        std::string key;
        std::string value;
        if (pos_ == beforeSpace || !ReadName(key))
            return Fail("A bad attribute in <" + name_ + ">");
        SkipSpace();
        if (pos_ >= text_.size() || text_[pos_] != '=')
            return Fail("An attribute without a value in <" + name_ + ">");
        ++pos_;
        SkipSpace();
        if (!ReadAttributeValue(value))
            return Fail("A bad attribute value in <" + name_ + ">");
        attributes_.emplace_back(std::move(key), std::move(value));
    }
}

XmlPiece XmlPull::ReadEndElement()
{
    pos_ += 2;
    if (!ReadName(name_))
        return Fail("A bad closing tag");
    SkipSpace();
    if (pos_ >= text_.size() || text_[pos_] != '>')
        return Fail("A bad closing tag </" + name_ + ">");
    ++pos_;
    if (open_.empty() || open_.back() != name_)
        return Fail("</" + name_ + "> closes no open element");
    open_.pop_back();
    return XmlPiece::EndElement;
}

} // namespace vorbix
