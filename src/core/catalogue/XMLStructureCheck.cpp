// The check of a catalogue file's structure: one pass over the tags in document order,
// with a stack of the elements open, against the rules of where each element may stand.

#include "catalogue/XMLUtilities.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace vorbix {

namespace {

// "1st", "2nd", "3rd", "4th", ..., "11th", "12th", "13th", ..., "21st", ...
std::string Ordinal(std::uint64_t n)
{
    const char* suffix = "th";
    if (n % 100 < 11 || n % 100 > 13) {
        switch (n % 10) {
        case 1: suffix = "st"; break;
        case 2: suffix = "nd"; break;
        case 3: suffix = "rd"; break;
        default: break;
        }
    }
    return std::to_string(n) + suffix;
}

std::string Tag(const char* start, std::string_view name)
{
    std::string tag(start);
    tag += name;
    tag += '>';
    return tag;
}

std::string OpeningTag(std::string_view name)
{
    return Tag("<", name);
}

std::string ClosingTag(std::string_view name)
{
    return Tag("</", name);
}

// The structure's rules by number: every name it mentions gets one; the document stands
// above the root.
class StructureRules {
public:
    static constexpr int kNotAllowed = -1;
    static constexpr int kRepeated = 64;

    explicit StructureRules(const XMLStructure& structure)
    {
        root_ = Number(structure.Root);
        for (const XMLElementRule& container : structure.Containers) {
            Number(container.Name);
            for (const XMLChildRule& child : container.Children)
                Number(child.Name);
        }
        const std::size_t count = names_.size();
        // place_[parent * count + child]: where the child may stand in the parent. A child
        // that may stand there once has a bit of its own in the parent's mask of children seen.
        place_.assign((count + 1) * count, kNotAllowed);
        isLeaf_.assign(count, true);
        place_[Document() * count + root_] = 0;
        for (const XMLElementRule& container : structure.Containers) {
            const std::size_t parent = Number(container.Name);
            isLeaf_[parent] = false;
            int bit = 0;
            for (const XMLChildRule& child : container.Children)
                place_[parent * count + Number(child.Name)] = child.Once && bit < 64 ? bit++ : kRepeated;
        }
    }

    std::size_t Count() const { return names_.size(); }
    std::string_view Name(std::size_t name) const { return names_[name]; }
    std::size_t Root() const { return root_; }
    std::size_t Document() const { return names_.size(); }
    bool IsLeaf(std::size_t name) const { return isLeaf_[name]; }
    // kNotAllowed, kRepeated, or the child's bit in the parent's mask.
    int Place(std::size_t parent, std::size_t child) const { return place_[parent * names_.size() + child]; }

private:
    std::size_t Number(std::string_view name)
    {
        const auto known = std::find(names_.begin(), names_.end(), name);
        if (known != names_.end())
            return static_cast<std::size_t>(known - names_.begin());
        names_.push_back(name);
        return names_.size() - 1;
    }

    std::vector<std::string_view> names_;
    std::size_t root_ = 0;
    std::vector<int> place_;
    std::vector<bool> isLeaf_;
};

// The walk over the tags: each step gives the fault it shows, or an empty text.
class StructureWalk {
public:
    explicit StructureWalk(const StructureRules& rules) : rules_(rules), opened_(rules.Count(), 0) {}

    std::string Step(std::size_t name, bool closing) { return closing ? Close(name) : Open(name); }

    std::string End() const
    {
        if (!open_.empty())
            return "the file ends inside " + Nth(open_.back());
        if (documentSeen_ == 0)
            return "it holds no " + OpeningTag(rules_.Name(rules_.Root())) + " element";
        return {};
    }

private:
    struct Frame {
        std::size_t name;
        std::uint64_t ordinal; // counted over the whole document, as a reader of the file counts
        std::uint64_t seen = 0;
    };

    std::string Nth(const Frame& frame) const
    {
        return "the " + Ordinal(frame.ordinal) + " " + OpeningTag(rules_.Name(frame.name));
    }

    bool IsOpen(std::size_t name) const
    {
        return std::any_of(open_.begin(), open_.end(), [&](const Frame& f) { return f.name == name; });
    }

    std::string Close(std::size_t name)
    {
        const std::string_view tag = rules_.Name(name);
        if (open_.empty())
            return "a stray " + ClosingTag(tag) + " stands outside " + OpeningTag(rules_.Name(rules_.Root()));
        if (open_.back().name != name) {
            // A value holds text only: a tag in it is the stray one, whatever it closes.
            if (rules_.IsLeaf(open_.back().name))
                return Nth(open_.back()) + " holds a stray " + ClosingTag(tag);
            return IsOpen(name) ? Nth(open_.back()) + " is not closed"
                                : "a stray " + ClosingTag(tag) + " stands inside " + Nth(open_.back());
        }
        open_.pop_back();
        return {};
    }

    std::string Open(std::size_t name)
    {
        const std::string_view tag = rules_.Name(name);
        const std::size_t parent = open_.empty() ? rules_.Document() : open_.back().name;
        const int where = rules_.Place(parent, name);
        if (where == StructureRules::kNotAllowed) {
            if (open_.empty())
                return "a " + OpeningTag(tag) + " stands outside " + OpeningTag(rules_.Name(rules_.Root()));
            if (rules_.IsLeaf(open_.back().name))
                return Nth(open_.back()) + " holds a stray " + OpeningTag(tag);
            // An element that opens again inside itself (or inside its own child) means the
            // one open was never closed.
            if (IsOpen(name))
                return Nth(open_.back()) + " is not closed";
            return "a " + OpeningTag(tag) + " stands inside " + Nth(open_.back()) + ", where it does not belong";
        }
        if (where != StructureRules::kRepeated) {
            std::uint64_t& seen = open_.empty() ? documentSeen_ : open_.back().seen;
            const std::uint64_t bit = std::uint64_t{1} << where;
            if ((seen & bit) != 0)
                return open_.empty() ? "a second " + OpeningTag(rules_.Name(rules_.Root())) + " follows the first"
                                     : Nth(open_.back()) + " holds a second " + OpeningTag(tag);
            seen |= bit;
        }
        open_.push_back({name, ++opened_[name]});
        return {};
    }

    const StructureRules& rules_;
    std::vector<Frame> open_;
    std::vector<std::uint64_t> opened_;
    std::uint64_t documentSeen_ = 0;
};

} // namespace

std::string TXMLLoadObject::CheckStructure(const XMLStructure& structure) const
{
    if (overfull_)
        return "it holds far more tags than a catalogue file does";
    const StructureRules rules(structure);
    // The rule of each entry of the index (-1 for the names the structure does not mention).
    std::vector<std::int32_t> ruleOfEntry(entries_.size(), -1);
    for (std::size_t i = 0; i < rules.Count(); ++i)
        if (const TagPositions* tag = Lookup(rules.Name(i)))
            ruleOfEntry[static_cast<std::size_t>(tag - entries_.data())] = static_cast<std::int32_t>(i);
    StructureWalk walk(rules);
    for (const std::uint32_t tag : order_) {
        const std::int32_t rule = ruleOfEntry[tag >> 1];
        if (rule < 0)
            continue;
        if (std::string fault = walk.Step(static_cast<std::size_t>(rule), (tag & 1U) != 0); !fault.empty())
            return fault;
    }
    return walk.End();
}

} // namespace vorbix
