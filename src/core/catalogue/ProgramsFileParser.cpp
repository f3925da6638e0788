#include "catalogue/ProgramsFileParser.h"

#include "catalogue/RecordFields.h"
#include "catalogue/XMLUtilities.h"
#include "fastpath/ByteScan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace vorbix {

namespace {

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

inline bool Same(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && SameBytes(a.data(), b.data(), a.size());
}

// Whether the tag is the name given, compared in a size known when compiled.
template <std::size_t N>
bool Is(std::string_view tag, const char (&name)[N])
{
    return tag.size() == N - 1 && SameBytes(tag.data(), name, N - 1);
}

// An upper bound of the programs in the text: each has its opening tag.
std::size_t CountOpeningTags(std::string_view text, std::string_view tag)
{
    std::size_t count = 0;
    for (std::size_t at = FindText(text, tag, 0); at < text.size(); at = FindText(text, tag, at + tag.size()))
        ++count;
    return count;
}

class Parser {
public:
    // Over text held whole in memory.
    Parser(const char* data, std::size_t size) : p_(data), end_(data + size), eof_(true) {}

    // Over a file read in pieces into a window of its own.
    Parser(FileStream& file, std::size_t windowBytes)
        : window_(std::make_unique<char[]>(windowBytes)), capacity_(windowBytes), file_(&file)
    {
        p_ = end_ = window_.get();
    }

    // An estimate of the programs in the file, from the first window of it: the programs
    // there (each has its opening tag) at the same rate through the whole file, and a
    // quarter more. A second pass to count them exactly would read the file twice. Leaves
    // the window holding that first part, where the reading starts.
    bool EstimatePrograms(std::size_t& count)
    {
        if (!Fill())
            return false;
        const std::size_t seen = static_cast<std::size_t>(end_ - p_);
        const std::size_t inWindow = CountOpeningTags(std::string_view(p_, seen), "<program>");
        if (eof_ || seen == 0) {
            count = inWindow;
            return true;
        }
        count = static_cast<std::size_t>(static_cast<double>(inWindow) * static_cast<double>(file_->OpenedSize())
                    / static_cast<double>(seen) * 1.25)
            + 64;
        return true;
    }

    bool Unreadable() const { return failed_; }

    bool Document(std::vector<ProgramRecord>& programs)
    {
        // The prolog: the XML declaration, the stylesheet, the document type. Each runs to
        // its first '>', as a tag does for the tag search reader.
        for (bool item = true; item;) {
            const bool read = Windowed([&](bool) {
                SkipSpace();
                if (end_ - p_ < 2 && !eof_)
                    return AtWindowEnd();
                item = end_ - p_ >= 2 && p_[0] == '<' && (p_[1] == '?' || p_[1] == '!');
                std::string_view tag;
                return !item || Tag(tag);
            });
            if (!read)
                return false;
        }
        if (!Windowed([&](bool) { return Open("programs"); }))
            return false;
        for (;;) {
            // The window may move between steps: a tag is looked at only in its own step.
            enum { kEnd, kVersion, kPublisher, kOther } next = kOther;
            const bool read = Windowed([&](bool) {
                std::string_view tag;
                if (!NextTag(tag))
                    return false;
                next = Is(tag, "/programs")     ? kEnd
                    : Is(tag, "vorbix-version") ? kVersion
                    : Is(tag, "publisher")      ? kPublisher
                                                : kOther;
                return true;
            });
            if (!read || next == kOther)
                return false;
            if (next == kEnd)
                break;
            if (next == kVersion && !Windowed([&](bool) { return SkipLeaf("vorbix-version"); }))
                return false;
            if (next == kPublisher && !Publisher(programs))
                return false;
        }
        for (;;) {
            SkipSpace();
            if (p_ != end_)
                return false;
            if (eof_)
                return true;
            if (!Fill())
                return false;
        }
    }

private:
    void SkipSpace() { p_ += SkipTrimmed(std::string_view(p_, static_cast<std::size_t>(end_ - p_)), 0); }

    // The tag at the cursor, without its brackets ("/name" for a closing tag); false when
    // the cursor is not at a '<' whose '>' comes before any other '<'.
    bool Tag(std::string_view& tag)
    {
        if (p_ == end_)
            return AtWindowEnd();
        if (*p_ != '<')
            return false;
        const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
        const char* q = p_ + FindAnyOf<'>', '<'>(rest, 1);
        if (q == end_)
            return AtWindowEnd();
        if (*q != '>')
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
        return NextTag(tag) && Same(tag, name);
    }

    // What a value holds beside plain text.
    enum : unsigned { kReference = 1, kLineBreak = 2 };

    // The value after an opening tag and its closing tag; value is left as it stands in
    // the file, holds tells whether it has references and line breaks.
    bool RawValue(std::string_view name, std::string_view& value, unsigned& holds)
    {
        // One pass finds the value's end and whether it holds a reference or a line break.
        const std::string_view rest(p_, static_cast<std::size_t>(end_ - p_));
        const char* lt = p_;
        holds = 0;
        for (;;) {
            lt = p_ + FindAnyOf<'<', '&', '\r', '\n'>(rest, static_cast<std::size_t>(lt - p_));
            if (lt == end_ || *lt == '<')
                break;
            holds |= *lt == '&' ? kReference : kLineBreak;
            ++lt;
        }
        if (lt == end_)
            return AtWindowEnd();
        value = std::string_view(p_, static_cast<std::size_t>(lt - p_));
        // The closing tag: "</" name ">".
        const std::size_t closeLen = name.size() + 3;
        if (static_cast<std::size_t>(end_ - lt) < closeLen)
            return AtWindowEnd();
        if (lt[1] != '/' || !SameBytes(lt + 2, name.data(), name.size()) || lt[closeLen - 1] != '>')
            return false;
        p_ = lt + closeLen;
        return true;
    }

    // Reads the value of the leaf whose opening tag was just read into out.
    bool Leaf(std::string_view name, std::string& out)
    {
        std::string_view value;
        unsigned holds = 0;
        if (!RawValue(name, value, holds))
            return false;
        if (holds == 0) {
            out.assign(value.data(), value.size());
            return true;
        }
        out.clear();
        if ((holds & kLineBreak) == 0) {
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
        unsigned holds = 0;
        return RawValue(name, value, holds);
    }

    // Whether the tag closes the element of the name ("/" + name).
    static bool Closes(std::string_view tag, std::string_view name)
    {
        return tag.size() == name.size() + 1 && tag[0] == '/' && Same(tag.substr(1), name);
    }

    // An item of a pair list: each of its two leaves exactly once.
    bool Pair(const ProgramPairList& list, ProgramRecord& record)
    {
        std::string first;
        std::string second;
        bool haveFirst = false;
        bool haveSecond = false;
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (Closes(tag, list.Item))
                break;
            if (Same(tag, list.FirstLeaf) && !haveFirst) {
                if (!Leaf(tag, first))
                    return false;
                haveFirst = true;
            } else if (Same(tag, list.SecondLeaf) && !haveSecond) {
                if (!Leaf(tag, second))
                    return false;
                haveSecond = true;
            } else {
                return false;
            }
        }
        if (!haveFirst || !haveSecond)
            return false;
        (record.*list.Firsts).push_back(std::move(first));
        (record.*list.Seconds).push_back(std::move(second));
        return true;
    }

    // The items of a list container until it closes.
    template <typename Item>
    bool List(std::string_view container, std::string_view itemName, Item item)
    {
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (Closes(tag, container))
                return true;
            if (!Same(tag, itemName) || !item())
                return false;
        }
    }

    bool Line(const ProgramLineList& list, ProgramRecord& record)
    {
        StringList& lines = record.*list.Member;
        lines.emplace_back();
        return Leaf(list.Item, lines.back());
    }

    // One element inside a program, found in the tables of its leaves and lists. seen has a
    // bit for each text and flag leaf read, each of which may stand only once.
    bool ProgramElement(std::string_view tag, ProgramRecord& record, unsigned& seen)
    {
        unsigned bit = 1;
        for (const ProgramTextField& field : kProgramTextFields) {
            if (Same(tag, field.Leaf))
                return Once(seen, bit) && Leaf(tag, record.*field.Member);
            bit <<= 1;
        }
        for (const ProgramFlagField& field : kProgramFlagFields) {
            if (Same(tag, field.Leaf)) {
                if (!Once(seen, bit) || !Leaf(tag, flag_))
                    return false;
                record.*field.Member = Same(flag_, "true");
                return true;
            }
            bit <<= 1;
        }
        for (const ProgramDerivedLeaf& leaf : kProgramDerivedLeaves)
            if (Same(tag, leaf.Leaf))
                return SkipLeaf(tag);
        for (const ProgramLineList& list : kProgramLineLists) {
            if (Same(tag, list.Container))
                return List(list.Container, list.Item, [&] { return Line(list, record); });
            if (Same(tag, list.Item))
                return Line(list, record);
        }
        for (const ProgramPairList& list : kProgramPairLists) {
            if (Same(tag, list.Container))
                return List(list.Container, list.Item, [&] { return Pair(list, record); });
            if (Same(tag, list.Item))
                return Pair(list, record);
        }
        return false;
    }

    static bool Once(unsigned& seen, unsigned bit)
    {
        if ((seen & bit) != 0)
            return false;
        seen |= bit;
        return true;
    }

    bool Program(ProgramRecord& record)
    {
        constexpr unsigned kAll = (1U << (std::size(kProgramTextFields) + std::size(kProgramFlagFields))) - 1;
        unsigned seen = 0;
        for (;;) {
            std::string_view tag;
            if (!NextTag(tag))
                return false;
            if (Is(tag, "/program"))
                return seen == kAll;
            if (!ProgramElement(tag, record, seen))
                return false;
        }
    }

    bool Publisher(std::vector<ProgramRecord>& programs)
    {
        std::string name;
        if (!Windowed([&](bool) { return Open("publisher-name") && Leaf("publisher-name", name); }))
            return false;
        for (;;) {
            enum { kEnd, kProgram, kOther } next = kOther;
            const bool read = Windowed([&](bool) {
                std::string_view tag;
                if (!NextTag(tag))
                    return false;
                next = Is(tag, "/publisher") ? kEnd : Is(tag, "program") ? kProgram : kOther;
                return true;
            });
            if (!read || next == kOther)
                return false;
            if (next == kEnd)
                return true;
            ProgramRecord& record = programs.emplace_back();
            const bool program = Windowed([&](bool again) {
                if (again)
                    record = ProgramRecord{};
                record.PublisherName = name;
                return Program(record);
            });
            if (!program)
                return false;
        }
    }

    // A read that has come to the end of the text in the window fails; the step it is part
    // of is then run again over a window holding more of the file.
    bool AtWindowEnd()
    {
        atWindowEnd_ = true;
        return false;
    }

    // Runs one step of the reading (a tag, a leaf, a program) from the cursor, as
    // step(again). When it fails at the end of the window before the end of the file, more
    // of the file is read after the text from where the step began, and it runs again with
    // again true. A step reads nothing beyond the text it has taken, so the one that
    // succeeds has read the same as it would over the whole file in memory.
    template <typename Step>
    bool Windowed(Step step)
    {
        for (bool again = false;; again = true) {
            const char* start = p_;
            const bool done = step(again);
            // Set by a read of the step; cleared here for the next step.
            const bool ranOut = std::exchange(atWindowEnd_, false);
            if (done)
                return true;
            if (!ranOut || eof_)
                return false;
            p_ = start;
            if (!Fill())
                return false;
        }
    }

    // Moves the text still to be read to the window's start, doubling the window when that
    // text fills more than half of it, and reads more of the file after it. One step of a
    // file as the writer lays it out (a program with its notes) fits in a few megabytes; a
    // step that needs more is junk or a file written by hand, left to the tag search reader,
    // so that junk without the tag a step looks for is not read whole into the window
    // before that reader reads it whole again.
    bool Fill()
    {
        constexpr std::size_t kLargestWindow = std::size_t{64} << 20;
        const std::size_t have = static_cast<std::size_t>(end_ - p_);
        if (have > capacity_ / 2 && capacity_ * 2 > std::max(kLargestWindow, capacity_))
            return false;
        if (have > capacity_ / 2) {
            auto grown = std::make_unique<char[]>(capacity_ * 2);
            std::memcpy(grown.get(), p_, have);
            window_ = std::move(grown);
            capacity_ *= 2;
        } else if (have > 0) {
            std::memmove(window_.get(), p_, have);
        }
        p_ = window_.get();
        end_ = p_ + have;
        const long long n = file_->ReadSome(window_.get() + have, capacity_ - have);
        if (n < 0) {
            failed_ = true;
            return false;
        }
        if (n == 0)
            eof_ = true;
        end_ += n;
        return true;
    }

    const char* p_;
    const char* end_;
    std::unique_ptr<char[]> window_;
    std::size_t capacity_ = 0;
    FileStream* file_ = nullptr;
    bool eof_ = false;
    bool failed_ = false;
    bool atWindowEnd_ = false;
    std::string flag_; // a flag leaf's text, read again for every program
};

} // namespace

bool ParseWrittenProgramsFile(const char* data, std::size_t size, std::vector<ProgramRecord>& programs)
{
    programs.clear();
    programs.reserve(CountOpeningTags(std::string_view(data, size), "<program>"));
    Parser parser(data, size);
    return parser.Document(programs);
}

ParseOutcome ParseWrittenProgramsFile(FileStream& file, std::vector<ProgramRecord>& programs, std::size_t windowBytes)
{
    programs.clear();
    // Room for the longest tag looked for and some text.
    Parser parser(file, std::max<std::size_t>(windowBytes, 64));
    std::size_t count = 0;
    if (!parser.EstimatePrograms(count))
        return ParseOutcome::kUnreadable;
    // Too much asked for is address space only, as the list's pages are not touched until
    // filled; an estimate the system refuses leaves the list to grow as it goes.
    try {
        programs.reserve(count);
    } catch (const std::bad_alloc&) {
        programs.reserve(1024);
    }
    if (!parser.Document(programs))
        return parser.Unreadable() ? ParseOutcome::kUnreadable : ParseOutcome::kRefused;
    // A file whose first part was much denser than the rest would keep far more room than
    // it needs for as long as it is open.
    if (programs.capacity() > 2 * programs.size() + 4096)
        programs.shrink_to_fit();
    return ParseOutcome::kRead;
}

} // namespace vorbix
