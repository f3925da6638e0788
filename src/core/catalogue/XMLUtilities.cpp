#include "catalogue/XMLUtilities.h"

#include "fastpath/ByteScan.h"
#include "fastpath/LargeBuffer.h"
#include "host/Prompts.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <array>
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

namespace {

// The place of the first character at or after from that XmlEscape replaces, or the size.
std::size_t NextReplaced(std::string_view value, std::size_t from)
{
    return FindAnyOf<'&', '\'', '"', '<', '>'>(value, from);
}

// Appends value escaped as XmlEscape escapes it, copying the runs between the characters it
// replaces whole.
void AppendEscaped(std::string& out, std::string_view value)
{
    std::size_t run = 0;
    for (std::size_t i = NextReplaced(value, 0); i < value.size(); i = NextReplaced(value, i + 1)) {
        out.append(value.data() + run, i - run);
        switch (value[i]) {
        case '&': out.append("&amp;", 5); break;
        case '\'': out.append("&apos;", 6); break;
        case '"': out.append("&quot;", 6); break;
        case '<': out.append("&lt;", 4); break;
        default: out.append("&gt;", 4); break;
        }
        run = i + 1;
    }
    out.append(value.data() + run, value.size() - run);
}

} // namespace

std::string XmlEscape(std::string_view value)
{
    // One pass gives the same result as replacing & first, then ' " < >.
    std::string out;
    out.reserve(value.size() + 8);
    AppendEscaped(out, value);
    return out;
}

void AppendXmlUnescaped(std::string& out, std::string_view value)
{
    // The five references start with '&' and hold no other '&', so their occurrences never
    // overlap and no replacement makes a new one: one pass equals replacing &apos; &quot;
    // &lt; &gt; and then &amp; over the whole text.
    static constexpr struct {
        std::string_view ref;
        char c;
    } refs[] = {{"&apos;", '\''}, {"&quot;", '"'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};
    std::size_t i = 0;
    while (i < value.size()) {
        const std::size_t amp = value.find('&', i);
        if (amp == std::string_view::npos) {
            out.append(value.data() + i, value.size() - i);
            return;
        }
        out.append(value.data() + i, amp - i);
        i = amp;
        bool replaced = false;
        for (const auto& r : refs) {
            if (value.compare(i, r.ref.size(), r.ref) == 0) {
                out += r.c;
                i += r.ref.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += value[i++];
    }
}

std::string XmlUnescape(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    AppendXmlUnescaped(out, value);
    return out;
}

// ---- TXMLLoadObject -------------------------------------------------------

Status TXMLLoadObject::LoadFromFile(const std::string& fileName)
{
    Result<std::string> bytes = ReadFileBytes(fileName);
    if (!bytes)
        return bytes.Error();
    // Positions are kept in 32 bits; a larger file is not a catalogue this reader can hold.
    if (text_.size() + bytes.Value().size() >= std::numeric_limits<std::uint32_t>::max())
        return Failure::CannotOpen(fileName);
    LoadFromText(std::move(bytes).Value());
    return {};
}

void TXMLLoadObject::LoadFromText(std::string text)
{
    // Trim every line (CR LF, CR or LF) of characters up to the space and join the rest,
    // compacting in place.
    const std::size_t n = text.size();
    const char* base = text.data();
    // The next CR and LF at or after the cursor, found with memchr and kept until the cursor
    // passes them, so every byte is searched once whatever line breaks the file uses.
    auto find = [&](char c, std::size_t from) {
        const void* hit = from < n ? std::memchr(base + from, c, n - from) : nullptr;
        return hit == nullptr ? n : static_cast<std::size_t>(static_cast<const char*>(hit) - base);
    };
    std::size_t nextCr = find('\r', 0);
    std::size_t nextLf = find('\n', 0);
    auto next = [&](std::size_t& cached, char c, std::size_t from) {
        if (cached < from)
            cached = find(c, from);
        return cached;
    };
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t end = std::min(next(nextCr, '\r', i), next(nextLf, '\n', i));
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

namespace {

std::uint64_t HashName(std::string_view name)
{
    std::uint64_t h = 1469598103934665603ULL; // FNV-1a
    for (char c : name) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

// The first index whose value is not below target (as std::lower_bound), searched from the
// hint outwards, which makes a walk through ascending targets cost O(1) a step.
std::size_t LowerBoundFrom(const std::vector<std::uint32_t>& v, std::uint32_t target, std::size_t& hint)
{
    const std::size_t n = v.size();
    std::size_t lo = 0;
    std::size_t hi = n;
    if (hint < n && v[hint] < target) {
        lo = hint + 1;
        std::size_t step = 1;
        while (lo + step < n && v[lo + step] < target) {
            lo += step + 1;
            step *= 2;
        }
        hi = std::min(n, lo + step + 1);
    } else if (hint < n && (hint == 0 || v[hint - 1] < target)) {
        return hint;
    }
    std::size_t found = static_cast<std::size_t>(std::lower_bound(v.begin() + static_cast<std::ptrdiff_t>(lo),
                                                     v.begin() + static_cast<std::ptrdiff_t>(hi), target)
        - v.begin());
    hint = found;
    return found;
}

} // namespace

TXMLLoadObject::TagPositions& TXMLLoadObject::Intern(std::string_view name, std::uint64_t hash)
{
    if ((entries_.size() + 1) * 2 > slots_.size()) {
        std::vector<std::int32_t> grown(slots_.empty() ? 64 : slots_.size() * 2, -1);
        for (std::size_t e = 0; e < entries_.size(); ++e) {
            std::size_t i = entries_[e].hash & (grown.size() - 1);
            while (grown[i] >= 0)
                i = (i + 1) & (grown.size() - 1);
            grown[i] = static_cast<std::int32_t>(e);
        }
        slots_ = std::move(grown);
    }
    std::size_t i = hash & (slots_.size() - 1);
    while (slots_[i] >= 0) {
        TagPositions& entry = entries_[static_cast<std::size_t>(slots_[i])];
        if (entry.hash == hash && entry.name == name)
            return entry;
        i = (i + 1) & (slots_.size() - 1);
    }
    slots_[i] = static_cast<std::int32_t>(entries_.size());
    entries_.push_back(TagPositions{name, hash, {}, {}});
    return entries_.back();
}

const TXMLLoadObject::TagPositions* TXMLLoadObject::Lookup(std::string_view name) const
{
    if (slots_.empty())
        return nullptr;
    const std::uint64_t hash = HashName(name);
    std::size_t i = hash & (slots_.size() - 1);
    while (slots_[i] >= 0) {
        const TagPositions& entry = entries_[static_cast<std::size_t>(slots_[i])];
        if (entry.hash == hash && entry.name == name)
            return &entry;
        i = (i + 1) & (slots_.size() - 1);
    }
    return nullptr;
}

std::size_t TXMLLoadObject::CountOpening(std::string_view name) const
{
    const TagPositions* tag = Lookup(name);
    return tag == nullptr ? 0 : tag->opens.size();
}

template <typename OnTag>
void TXMLLoadObject::ForEachTag(OnTag onTag) const
{
    const char* base = text_.data();
    const std::size_t n = text_.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t p = FindAnyOf<'<'>(text_, i);
        if (p >= n)
            break;
        // The tag text runs to the next '>'; a '<' before it starts the next candidate instead.
        const std::size_t q = FindAnyOf<'>', '<'>(text_, p + 1);
        if (q >= n)
            break;
        if (base[q] == '<') {
            i = q;
            continue;
        }
        std::string_view tag(base + p + 1, q - p - 1);
        const bool closing = !tag.empty() && tag.front() == '/';
        if (closing)
            tag.remove_prefix(1);
        onTag(tag, closing, p);
        i = q + 1;
    }
}

void TXMLLoadObject::BuildIndex()
{
    entries_.clear();
    slots_.clear();
    order_.clear();
    overfull_ = false;
    // Eight bytes a tag: a large text with a tag every few bytes would need an index larger
    // than itself. No catalogue file looks like that (ours have one tag in about 20 bytes,
    // and a "<" in a value is written "&lt;"); it is read as holding nothing. Every tag
    // starts with "<", so their count, found in one quick pass, decides before the names
    // of hundreds of millions of tags are looked up.
    if (text_.size() >= kLargeText && CountOf(text_, '<') * kIndexBytesPerTag >= text_.size()) {
        overfull_ = true;
        return;
    }
    // Counted first, so that every list is made at its size: the index then never holds more
    // than it needs, whatever the text (a list that grows by doubling may hold twice).
    std::size_t tags = 0;
    ForEachTag([&](std::string_view tag, bool closing, std::size_t) {
        TagPositions& entry = Intern(tag, HashName(tag));
        ++(closing ? entry.closeCount : entry.openCount);
        ++tags;
    });
    for (TagPositions& entry : entries_) {
        entry.opens.reserve(entry.openCount);
        entry.closes.reserve(entry.closeCount);
    }
    order_.reserve(tags);
    ForEachTag([&](std::string_view tag, bool closing, std::size_t p) {
        TagPositions& entry = Intern(tag, HashName(tag));
        (closing ? entry.closes : entry.opens).push_back(static_cast<std::uint32_t>(p));
        // Fewer tags than 2^31 fit in a text of less than 4 GB: the entry and the flag fit.
        order_.push_back(static_cast<std::uint32_t>(&entry - entries_.data()) << 1 | (closing ? 1U : 0U));
    });
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

void TXMLLoadObject::FindElement(std::string_view name, int index, TXMLFocus& out, const TXMLFocus& parent)
{
    Find(name, index, out, parent, false);
}

void TXMLLoadObject::FindElementOrRest(std::string_view name, int index, TXMLFocus& out, const TXMLFocus& parent)
{
    Find(name, index, out, parent, true);
}

void TXMLLoadObject::Find(std::string_view name, int index, TXMLFocus& out, const TXMLFocus& parent, bool orRest)
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

    const std::int64_t openLen = static_cast<std::int64_t>(name.size()) + 2;
    const std::int64_t closeLen = openLen + 1;
    std::int64_t p = -1;
    std::int64_t q = -1;

    if (name.empty() || name.front() == '/' || name.find_first_of("<>") != std::string_view::npos) {
        const std::string open = "<" + std::string(name) + ">";
        const std::string close = "</" + std::string(name) + ">";
        p = FindLiteral(open, lo, hi);
        for (int count = 1; count < index && p >= 0; ++count)
            p = FindLiteral(open, p + 1, hi);
        if (p >= 0)
            q = FindLiteral(close, p, hi);
    } else {
        const TagPositions* tag = Lookup(name);
        if (tag == nullptr)
            return;
        const auto& opens = tag->opens;
        const std::size_t first = LowerBoundFrom(opens, static_cast<std::uint32_t>(lo), tag->openHint);
        if (static_cast<std::int64_t>(opens.size() - first) < index)
            return;
        p = opens[first + static_cast<std::size_t>(index - 1)];
        if (p + openLen - 1 > hi)
            return;
        const auto& closes = tag->closes;
        const std::size_t c = LowerBoundFrom(closes, static_cast<std::uint32_t>(p), tag->closeHint);
        if (c < closes.size() && static_cast<std::int64_t>(closes[c]) + closeLen - 1 <= hi)
            q = closes[c];
    }
    // An element without its closing tag inside the range counts as not found, unless the
    // rest of the range is asked for.
    if (p < 0 || (q < 0 && !orRest))
        return;
    Focus = TXMLFocus{p + 1, q < 0 ? hi + 1 : q + closeLen};
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
    return XmlUnescape(
        std::string_view(text_).substr(static_cast<std::size_t>(a + 1), static_cast<std::size_t>(b - a - 1)));
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
    AppendEscaped(XmlText, value);
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

Status TXMLSaveObject::SaveToFile(const std::string& fileName, FileWriter& writer) const
{
    return writer.WriteFile(fileName, ToBytes());
}

// ---- TXMLDirectWriter -----------------------------------------------------

TXMLDirectWriter::TXMLDirectWriter(std::string_view stylesheet, std::string_view docType, std::string_view dtdFile,
    std::size_t reserve)
{
    out_.reserve(reserve + 256);
    AdviseLargePages(out_.data(), out_.capacity());
    out_ += "<?xml version=\"1.0\"?>\r\n";
    if (!stylesheet.empty()) {
        out_ += "<?xml-stylesheet type=\"text/xsl\" href=\"";
        out_ += stylesheet;
        out_ += "\"?>\r\n";
    }
    if (!dtdFile.empty()) {
        out_ += "<!DOCTYPE ";
        out_ += docType;
        out_ += " SYSTEM \"";
        out_ += dtdFile;
        out_ += "\">\r\n";
    }
    out_ += "\r\n";
}

void TXMLDirectWriter::EndOpenLine()
{
    // An element followed by a child stands on a line of its own, and its children one
    // level deeper.
    if (openLine_) {
        out_ += "\r\n";
        indent_ += 2;
        openLine_ = false;
    }
}

void TXMLDirectWriter::OpenElement(std::string_view name)
{
    EndOpenLine();
    out_.append(indent_, ' ');
    out_ += '<';
    out_ += name;
    out_ += '>';
    openLine_ = true;
}

void TXMLDirectWriter::WriteElement(std::string_view name, std::string_view value)
{
    EndOpenLine();
    out_.append(indent_, ' ');
    out_ += '<';
    out_ += name;
    out_ += '>';
    AppendEscaped(out_, value);
    out_ += "</";
    out_ += name;
    out_ += ">\r\n";
}

void TXMLDirectWriter::CloseElement(std::string_view name)
{
    if (openLine_) {
        // An element closed right after it opened keeps one line, as a leaf does.
        openLine_ = false;
    } else {
        indent_ = indent_ >= 2 ? indent_ - 2 : 0;
        out_.append(indent_, ' ');
    }
    out_ += "</";
    out_ += name;
    out_ += ">\r\n";
}

std::string TXMLDirectWriter::TakeBytes()
{
    if (openLine_) {
        out_ += "\r\n";
        indent_ += 2;
        openLine_ = false;
    }
    std::string bytes = std::move(out_);
    out_.clear();
    indent_ = 0;
    return bytes;
}

} // namespace vorbix
