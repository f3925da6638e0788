#include "catalogue/XMLUtilities.h"

#include "catalogue/Errors.h"
#include "catalogue/Prompts.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vorbix {

bool TextToBool(std::string_view text)
{
    return text == "true";
}

const char* BoolToText(bool value)
{
    return value ? "true" : "false";
}

std::string XmlEscape(std::string_view value)
{
    // One pass gives the same result as replacing & first, then ' " < >.
    std::string out;
    out.reserve(value.size() + 8);
    for (char c : value) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '\'': out += "&apos;"; break;
        case '"': out += "&quot;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string XmlUnescape(std::string_view value)
{
    // The five references start with '&' and hold no other '&', so their occurrences never
    // overlap and no replacement makes a new one: one pass equals replacing &apos; &quot;
    // &lt; &gt; and then &amp; over the whole text.
    if (value.find('&') == std::string_view::npos)
        return std::string(value);
    static constexpr struct {
        std::string_view ref;
        char c;
    } refs[] = {{"&apos;", '\''}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    std::string out;
    out.reserve(value.size());
    std::size_t i = 0;
    while (i < value.size()) {
        if (value[i] == '&') {
            bool replaced = false;
            for (const auto& r : refs) {
                if (value.compare(i, r.ref.size(), r.ref) == 0) {
                    out += r.c;
                    i += r.ref.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced)
                continue;
        }
        out += value[i++];
    }
    return out;
}

// ---- TXMLLoadObject -------------------------------------------------------

void TXMLLoadObject::LoadFromFile(const std::string& fileName)
{
    std::string bytes = ReadFileBytes(fileName);
    // Positions are kept in 32 bits; a larger file is not a catalogue this reader can hold.
    if (text_.size() + bytes.size() >= std::numeric_limits<std::uint32_t>::max())
        throw FileError::Open(fileName);
    LoadFromText(std::move(bytes));
}

void TXMLLoadObject::LoadFromText(std::string text)
{
    // Trim every line (CR LF, CR or LF) of characters up to the space and join the rest,
    // compacting in place.
    const std::size_t n = text.size();
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        std::size_t end = i;
        while (end < n && text[end] != '\r' && text[end] != '\n')
            ++end;
        std::size_t s = i;
        std::size_t e = end;
        while (s < e && static_cast<unsigned char>(text[s]) <= 32)
            ++s;
        while (e > s && static_cast<unsigned char>(text[e - 1]) <= 32)
            --e;
        if (e > s) {
            std::memmove(&text[out], &text[s], e - s);
            out += e - s;
        }
        // CR LF, CR and LF all end a line; the empty "line" between CR and LF adds nothing.
        i = end + 1;
    }
    text.resize(out);
    if (text_.empty())
        text_ = std::move(text);
    else
        text_ += text;
    BuildIndex();
}

void TXMLLoadObject::BuildIndex()
{
    index_.clear();
    const char* base = text_.data();
    const std::size_t n = text_.size();
    std::string_view lastKey;
    std::vector<std::uint32_t>* lastList = nullptr;
    std::size_t i = 0;
    while (i < n) {
        const void* lt = std::memchr(base + i, '<', n - i);
        if (lt == nullptr)
            break;
        std::size_t p = static_cast<const char*>(lt) - base;
        const void* gt = std::memchr(base + p + 1, '>', n - p - 1);
        if (gt == nullptr)
            break;
        std::size_t q = static_cast<const char*>(gt) - base;
        std::string_view key(base + p + 1, q - p - 1);
        // A key holding '<' is not a tag any name can match; the '<' inside starts the next one.
        const void* inner = std::memchr(key.data(), '<', key.size());
        if (inner == nullptr) {
            if (lastList == nullptr || key != lastKey) {
                lastList = &index_[key];
                lastKey = key;
            }
            lastList->push_back(static_cast<std::uint32_t>(p));
            i = q + 1;
        } else {
            i = static_cast<const char*>(inner) - base;
        }
    }
}

const std::vector<std::uint32_t>* TXMLLoadObject::Positions(std::string_view tag) const
{
    auto it = index_.find(tag);
    return it == index_.end() ? nullptr : &it->second;
}

std::int64_t TXMLLoadObject::FindLiteral(const std::string& needle, std::int64_t from, std::int64_t last) const
{
    // 0-based search for needle wholly inside [from, last]; -1 when absent.
    if (from < 0 || last < from || needle.empty())
        return -1;
    auto pos = text_.find(needle, static_cast<std::size_t>(from));
    if (pos == std::string::npos || static_cast<std::int64_t>(pos + needle.size()) - 1 > last)
        return -1;
    return static_cast<std::int64_t>(pos);
}

void TXMLLoadObject::FindElement(const std::string& name, int index, TXMLFocus& out, const TXMLFocus& parent)
{
    Focus = NoFocus;
    out = NoFocus;
    const std::int64_t length = static_cast<std::int64_t>(text_.size());
    // 0-based inclusive range.
    std::int64_t lo = 0;
    std::int64_t hi = length - 1;
    if (IsFocusSet(parent)) {
        lo = std::max<std::int64_t>(parent.First - 1, 0);
        hi = std::min<std::int64_t>(parent.Last - 1, length - 1);
    }
    if (index < 1 || lo > hi)
        return;

    const std::string open = "<" + name + ">";
    const std::string close = "</" + name + ">";
    const std::int64_t openLen = static_cast<std::int64_t>(open.size());
    const std::int64_t closeLen = static_cast<std::int64_t>(close.size());
    std::int64_t p = -1;
    std::int64_t q = -1;

    if (name.find_first_of("<>") != std::string::npos) {
        p = FindLiteral(open, lo, hi);
        for (int count = 1; count < index && p >= 0; ++count)
            p = FindLiteral(open, p + 1, hi);
        if (p >= 0)
            q = FindLiteral(close, p, hi);
    } else {
        const auto* opens = Positions(std::string_view(open).substr(1, open.size() - 2));
        if (opens == nullptr)
            return;
        auto it = std::lower_bound(opens->begin(), opens->end(), static_cast<std::uint32_t>(lo));
        if (static_cast<std::int64_t>(opens->end() - it) < index)
            return;
        p = *(it + (index - 1));
        if (p + openLen - 1 > hi)
            return;
        const auto* closes = Positions(std::string_view(close).substr(1, close.size() - 2));
        if (closes != nullptr) {
            auto c = std::lower_bound(closes->begin(), closes->end(), static_cast<std::uint32_t>(p));
            if (c != closes->end() && static_cast<std::int64_t>(*c) + closeLen - 1 <= hi)
                q = *c;
        }
    }
    // An element without its closing tag inside the range counts as not found.
    if (p < 0 || q < 0)
        return;
    Focus = TXMLFocus{p + 1, q + closeLen};
    out = Focus;
}

void TXMLLoadObject::Getvalue(std::string& value)
{
    value = Getvalue();
}

std::string TXMLLoadObject::Getvalue()
{
    if (!IsFocusSet(Focus)) {
        if (prompts_ != nullptr)
            prompts_->ShowMessage(kNoFocusMessage);
        return kNoFocusMessage;
    }
    const std::int64_t length = static_cast<std::int64_t>(text_.size());
    const std::int64_t first = std::max<std::int64_t>(Focus.First - 1, 0);
    const std::int64_t last = std::min<std::int64_t>(Focus.Last - 1, length - 1);
    if (first > last)
        return std::string();
    std::int64_t a = -1;
    for (std::int64_t i = first; i <= last; ++i)
        if (text_[static_cast<std::size_t>(i)] == '>') {
            a = i;
            break;
        }
    std::int64_t b = -1;
    for (std::int64_t i = last; i >= first; --i)
        if (text_[static_cast<std::size_t>(i)] == '<') {
            b = i;
            break;
        }
    if (a < 0 || b < 0 || b <= a + 1)
        return std::string();
    return XmlUnescape(std::string_view(text_).substr(static_cast<std::size_t>(a + 1),
        static_cast<std::size_t>(b - a - 1)));
}

// ---- TXMLSaveObject -------------------------------------------------------

void TXMLSaveObject::OpenElement(std::string_view name)
{
    XmlText += '<';
    XmlText += name;
    XmlText += '>';
}

void TXMLSaveObject::WriteElement(std::string_view name, std::string_view value)
{
    OpenElement(name);
    XmlText += XmlEscape(value);
    CloseElement(name);
}

void TXMLSaveObject::CloseElement(std::string_view name)
{
    XmlText += "</";
    XmlText += name;
    XmlText += '>';
}

std::string TXMLSaveObject::ToBytes() const
{
    std::string out;
    out.reserve(XmlText.size() + XmlText.size() / 2 + 256);
    out += "<?xml version=\"1.0\"?>\r\n";
    if (!Stylesheet.empty())
        out += "<?xml-stylesheet type=\"text/xsl\" href=\"" + Stylesheet + "\"?>\r\n";
    if (!DtdFile.empty())
        out += "<!DOCTYPE " + DocType + " SYSTEM \"" + DtdFile + "\">\r\n";
    out += "\r\n";

    const std::string& t = XmlText;
    const std::size_t n = t.size();
    std::size_t pos = 0;
    std::size_t indent = 0;
    // Index just past the first '>' at or after from (the end of the text when none).
    auto pastGt = [&](std::size_t from) {
        std::size_t g = t.find('>', from);
        return g == std::string::npos ? n : g + 1;
    };
    while (pos < n) {
        std::size_t end;
        std::size_t lineIndent;
        if (t[pos] == '<' && pos + 1 < n && t[pos + 1] != '/') {
            std::size_t next = t.find('<', pos + 1);
            lineIndent = indent;
            if (next != std::string::npos && next + 1 < n && t[next + 1] == '/') {
                end = pastGt(pastGt(pos)); // opening tag, value, closing tag
            } else {
                end = pastGt(pos);
                indent += 2;
            }
        } else {
            indent = indent >= 2 ? indent - 2 : 0;
            lineIndent = indent;
            end = pastGt(pos);
        }
        out.append(lineIndent, ' ');
        out.append(t, pos, end - pos);
        out += "\r\n";
        pos = end;
    }
    return out;
}

void TXMLSaveObject::SaveToFile(const std::string& fileName) const
{
    WriteFileAtomic(fileName, ToBytes());
}

} // namespace vorbix
