#include "catalogue/ProgramsFileParser.h"

#include "catalogue/XMLUtilities.h"
#include "platform/ByteScan.h"
#include "platform/LargeBuffer.h"

#include <cstring>
#include <string>
#include <string_view>

namespace vorbix {

namespace {

// How much text passes between two calls of ParsedUpTo.
constexpr std::size_t kReportEvery = std::size_t{1} << 20;

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

class Parser {
public:
    Parser(const char* data, std::size_t size, const ParsedUpTo& parsedUpTo)
        : p_(data), end_(data + size), base_(data), parsedUpTo_(parsedUpTo)
    {}

    bool Document(std::vector<ProgramRecord>& programs)
    {
        SkipSpace();
        // The prolog: the XML declaration, the stylesheet, the document type. Each runs to
        // its first '>', as a tag does for the tag search reader.
        while (end_ - p_ >= 2 && p_[0] == '<' && (p_[1] == '?' || p_[1] == '!')) {
            std::string_view tag;
            if (!Tag(tag))
                return false;
            SkipSpace();
        }
        if (!Open("programs"))
            return false;
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (tag == "/programs")
                break;
            if (tag == "vorbix-version") {
                if (!SkipLeaf(tag))
                    return false;
            } else if (tag == "publisher") {
                if (!Publisher(programs))
                    return false;
            } else {
                return false;
            }
        }
        SkipSpace();
        return p_ == end_;
    }

private:
    void SkipSpace()
    {
        while (p_ < end_ && IsTrimmed(*p_))
            ++p_;
    }

    // The tag at the cursor, without its brackets ("/name" for a closing tag); false when
    // the cursor is not at a '<' whose '>' comes before any other '<'.
    bool Tag(std::string_view& tag)
    {
        if (p_ == end_ || *p_ != '<')
            return false;
        const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
        const char* q = p_ + FindAnyOf<'>', '<'>(rest, 1);
        if (q == end_ || *q != '>')
            return false;
        tag = std::string_view(p_ + 1, static_cast<std::size_t>(q - p_ - 1));
        p_ = q + 1;
        return true;
    }

    bool NextTag(std::string_view& tag)
    {
        SkipSpace();
        return Tag(tag);
    }

    bool Open(std::string_view name)
    {
        std::string_view tag;
        return NextTag(tag) && tag == name;
    }

    // The value after an opening tag and its closing tag; value is left as it stands in
    // the file.
    bool RawValue(std::string_view name, std::string_view& value, bool& plain)
    {
        // One pass finds the value's end and whether it holds a reference or a line break.
        const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
        const char* lt = p_;
        bool changed = false;
        for (;;) {
            lt = p_ + FindAnyOf<'<', '&', '\r', '\n'>(rest, static_cast<std::size_t>(lt - p_));
            if (lt == end_ || *lt == '<')
                break;
            changed = true;
            ++lt;
        }
        if (lt == end_)
            return false;
        value = std::string_view(p_, static_cast<std::size_t>(lt - p_));
        // The closing tag: "</" name ">".
        const std::size_t closeLen = name.size() + 3;
        if (static_cast<std::size_t>(end_ - lt) < closeLen || lt[1] != '/'
            || std::memcmp(lt + 2, name.data(), name.size()) != 0 || lt[closeLen - 1] != '>')
            return false;
        p_ = lt + closeLen;
        plain = !changed;
        return true;
    }

    // Reads the value of the leaf whose opening tag was just read into out.
    bool Leaf(std::string_view name, std::string& out)
    {
        std::string_view value;
        bool plain = false;
        if (!RawValue(name, value, plain))
            return false;
        if (plain) {
            out.assign(value.data(), value.size());
            return true;
        }
        out.clear();
        if (value.find_first_of("\r\n") == std::string_view::npos) {
            AppendXmlUnescaped(out, value);
            return true;
        }
        // The tag search reader trims every line of white space and control characters at
        // both ends and joins the lines: the value's first part keeps its start, its last
        // part its end, and the references are undone in the joined text.
        std::string joined;
        std::size_t i = 0;
        bool first = true;
        while (i <= value.size()) {
            std::size_t e = i;
            while (e < value.size() && !IsLineBreak(value[e]))
                ++e;
            std::size_t s = i;
            std::size_t t = e;
            if (!first)
                while (s < t && IsTrimmed(value[s]))
                    ++s;
            if (e < value.size())
                while (t > s && IsTrimmed(value[t - 1]))
                    --t;
            joined.append(value.data() + s, t - s);
            first = false;
            i = e + 1;
        }
        AppendXmlUnescaped(out, joined);
        return true;
    }

    bool SkipLeaf(std::string_view name)
    {
        std::string_view value;
        bool plain = false;
        return RawValue(name, value, plain);
    }

    // An <emuwarning> or a <doclink>: each of its two leaves exactly once.
    bool Pair(std::string_view close, std::string_view firstName, std::string_view secondName, StringList& firsts,
        StringList& seconds)
    {
        std::string first;
        std::string second;
        bool haveFirst = false;
        bool haveSecond = false;
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (tag == close)
                break;
            if (tag == firstName && !haveFirst) {
                if (!Leaf(tag, first))
                    return false;
                haveFirst = true;
            } else if (tag == secondName && !haveSecond) {
                if (!Leaf(tag, second))
                    return false;
                haveSecond = true;
            } else {
                return false;
            }
        }
        if (!haveFirst || !haveSecond)
            return false;
        firsts.push_back(std::move(first));
        seconds.push_back(std::move(second));
        return true;
    }

    // The items of a list container (<comments>, <emuwarnings>, <doclinks>) until it closes.
    template <typename Item>
    bool List(std::string_view close, std::string_view itemName, Item item)
    {
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (tag == close)
                return true;
            if (tag != itemName || !item())
                return false;
        }
    }

    bool CommentLine(ProgramRecord& record)
    {
        record.Comments.emplace_back();
        return Leaf("commentline", record.Comments.back());
    }

    bool EmuWarning(ProgramRecord& record)
    {
        return Pair("/emuwarning", "emu-name", "warningtext", record.EmuWarningEmus, record.EmuWarningTexts);
    }

    bool DocLink(ProgramRecord& record)
    {
        return Pair("/doclink", "doc-name", "doc-url", record.DocLinkNames, record.DocLinkUrls);
    }

    bool Program(ProgramRecord& record)
    {
        enum : unsigned { kName = 1, kType = 2, kUrl = 4, kFavourite = 8, kE00Dfs = 16, kAll = 31 };
        unsigned seen = 0;
        std::string flag;
        auto once = [&](unsigned bit) {
            if ((seen & bit) != 0)
                return false;
            seen |= bit;
            return true;
        };
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            bool ok = false;
            if (tag == "/program")
                return seen == kAll;
            if (tag == "program-name")
                ok = once(kName) && Leaf(tag, record.ProgramName);
            else if (tag == "program-type")
                ok = once(kType) && Leaf(tag, record.ProgramType);
            else if (tag == "file-url")
                ok = once(kUrl) && Leaf(tag, record.FileUrl);
            else if (tag == "favourite") {
                ok = once(kFavourite) && Leaf(tag, flag);
                record.Favourite = flag == "true";
            } else if (tag == "e00dfs") {
                ok = once(kE00Dfs) && Leaf(tag, flag);
                record.E00Dfs = flag == "true";
            } else if (tag == "picture-url" || tag == "boxcover-url")
                ok = SkipLeaf(tag);
            else if (tag == "comments")
                ok = List("/comments", "commentline", [&] { return CommentLine(record); });
            else if (tag == "commentline")
                ok = CommentLine(record);
            else if (tag == "emuwarnings")
                ok = List("/emuwarnings", "emuwarning", [&] { return EmuWarning(record); });
            else if (tag == "emuwarning")
                ok = EmuWarning(record);
            else if (tag == "doclinks")
                ok = List("/doclinks", "doclink", [&] { return DocLink(record); });
            else if (tag == "doclink")
                ok = DocLink(record);
            if (!ok)
                return false;
        }
    }

    bool Publisher(std::vector<ProgramRecord>& programs)
    {
        std::string name;
        if (!Open("publisher-name") || !Leaf("publisher-name", name))
            return false;
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (tag == "/publisher")
                return true;
            if (tag != "program")
                return false;
            ProgramRecord& record = programs.emplace_back();
            record.PublisherName = name;
            if (!Program(record))
                return false;
            if (parsedUpTo_ && static_cast<std::size_t>(p_ - base_) >= reported_ + kReportEvery) {
                reported_ = static_cast<std::size_t>(p_ - base_);
                parsedUpTo_(reported_);
            }
        }
    }

    const char* p_;
    const char* end_;
    const char* base_;
    const ParsedUpTo& parsedUpTo_;
    std::size_t reported_ = 0;
};

// An upper bound of the programs in the text: each has its opening tag.
std::size_t CountOpeningTags(std::string_view text, std::string_view tag)
{
    std::size_t count = 0;
    const char* p = text.data();
    const char* end = text.data() + text.size();
    while (const void* hit = ::memmem(p, static_cast<std::size_t>(end - p), tag.data(), tag.size())) {
        ++count;
        p = static_cast<const char*>(hit) + tag.size();
    }
    return count;
}

} // namespace

bool ParseWrittenProgramsFile(const char* data, std::size_t size, std::vector<ProgramRecord>& programs,
    const ParsedUpTo& parsedUpTo)
{
    programs.clear();
    programs.reserve(CountOpeningTags(std::string_view(data, size), "<program>"));
    AdviseLargePages(programs.data(), programs.capacity() * sizeof(ProgramRecord));
    Parser parser(data, size, parsedUpTo);
    return parser.Document(programs);
}

} // namespace vorbix
