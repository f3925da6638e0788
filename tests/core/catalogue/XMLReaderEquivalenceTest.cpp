// The indexed reader against a literal implementation of the text-search algorithm
// (whole text unescaped once, every lookup a plain search) on generated documents.

#include "catalogue/XMLUtilities.h"

#include <gtest/gtest.h>

#include <random>

using namespace vorbix;

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string::npos)
            break;
        out.append(text, pos, hit - pos);
        out += to;
        pos = hit + from.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

// The algorithm as first written: search the whole unescaped text for tags.
class LiteralReader {
public:
    explicit LiteralReader(const std::string& fileBytes)
    {
        std::string line;
        auto flush = [&] {
            std::size_t s = 0, e = line.size();
            while (s < e && static_cast<unsigned char>(line[s]) <= 32)
                ++s;
            while (e > s && static_cast<unsigned char>(line[e - 1]) <= 32)
                --e;
            text += line.substr(s, e - s);
            line.clear();
        };
        for (std::size_t i = 0; i < fileBytes.size(); ++i) {
            char c = fileBytes[i];
            if (c == '\r' || c == '\n') {
                flush();
                if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n')
                    ++i;
            } else {
                line += c;
            }
        }
        flush();
        text = ReplaceAll(text, "&apos;", "'");
        text = ReplaceAll(text, "&quot;", "\"");
        text = ReplaceAll(text, "&lt;", "<");
        text = ReplaceAll(text, "&gt;", ">");
        text = ReplaceAll(text, "&amp;", "&");
    }

    // Positions are 1-based as in TXMLFocus.
    TXMLFocus Find(const std::string& name, int index, const TXMLFocus& parent)
    {
        long long first = 1, last = static_cast<long long>(text.size());
        if (parent != NoFocus) {
            first = parent.First;
            last = parent.Last;
        }
        const std::string o = "<" + name + ">";
        const std::string c = "</" + name + ">";
        long long p = SearchIn(o, first, last);
        int count = p > 0 ? 1 : 0;
        while (count < index && p > 0) {
            p = SearchIn(o, p + 1, last);
            if (p > 0)
                ++count;
        }
        focus = NoFocus;
        if (p <= 0 || count < index)
            return focus;
        long long q = SearchIn(c, p, last);
        if (q <= 0)
            return focus;
        focus = TXMLFocus{p, q + static_cast<long long>(c.size()) - 1};
        return focus;
    }

    std::string Value() const
    {
        long long a = 0, b = 0;
        for (long long i = focus.First; i <= focus.Last; ++i)
            if (text[static_cast<std::size_t>(i - 1)] == '>') {
                a = i;
                break;
            }
        for (long long i = focus.Last; i >= focus.First; --i)
            if (text[static_cast<std::size_t>(i - 1)] == '<') {
                b = i;
                break;
            }
        return b > a + 1 ? text.substr(static_cast<std::size_t>(a), static_cast<std::size_t>(b - a - 1))
                         : std::string();
    }

    std::string text;
    TXMLFocus focus = NoFocus;

private:
    long long SearchIn(const std::string& needle, long long from, long long last) const
    {
        if (from < 1)
            return 0;
        std::size_t hit = text.find(needle, static_cast<std::size_t>(from - 1));
        if (hit == std::string::npos || static_cast<long long>(hit + needle.size()) > last)
            return 0;
        return static_cast<long long>(hit) + 1;
    }
};

const char* kNames[] = {"a", "ab", "a-b", "item", "items", "x"};

struct Generator {
    std::mt19937 rng;
    bool escapes;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    std::string RandomValue()
    {
        // '<' is never followed by a letter or '/', so no value holds a tag text once unescaped.
        static const char* plain[] = {"v", "z", " ", "1", "q"};
        static const char* marked[] = {"&", "'", "\"", "< ", ">", "&amp;", "&lt;", "<1"};
        std::string v;
        int n = Pick(8);
        for (int i = 0; i < n; ++i)
            v += (escapes && Pick(3) == 0) ? marked[Pick(8)] : plain[Pick(5)];
        return v;
    }

    void Element(TXMLSaveObject& w, int depth)
    {
        const char* name = kNames[Pick(6)];
        if (depth >= 4 || Pick(3) == 0) {
            w.WriteElement(name, RandomValue());
            return;
        }
        w.OpenElement(name);
        for (int i = 0, n = Pick(5); i < n; ++i)
            Element(w, depth + 1);
        w.CloseElement(name);
    }

    // Re-indents lines at random and splits some lines in two.
    std::string Mangle(const std::string& bytes)
    {
        std::string out;
        for (char c : bytes) {
            if (c == '\n' && Pick(4) == 0)
                out += std::string(static_cast<std::size_t>(Pick(5)), Pick(2) ? ' ' : '\t');
            out += c;
            if (c != '\r' && c != '\n' && Pick(40) == 0)
                out += Pick(2) ? "\n   " : "\r";
        }
        return out;
    }
};

} // namespace

TEST(XmlReaderEquivalence, IndexedReaderAgreesWithLiteralSearchOnGeneratedDocuments)
{
    int lookups = 0;
    for (int doc = 0; doc < 3000; ++doc) {
        Generator gen{std::mt19937(static_cast<unsigned>(doc)), doc % 2 == 0};
        TXMLSaveObject w;
        w.OpenElement("root");
        for (int i = 0, n = 1 + gen.Pick(6); i < n; ++i)
            gen.Element(w, 1);
        w.CloseElement("root");
        const std::string bytes = gen.Mangle(w.ToBytes());

        TXMLLoadObject indexed;
        indexed.LoadFromText(bytes);
        LiteralReader literal(bytes);

        // Random walks: each step searches inside the element found by the step before.
        for (int walk = 0; walk < 6; ++walk) {
            TXMLFocus parentIndexed = NoFocus;
            TXMLFocus parentLiteral = NoFocus;
            for (int step = 0; step < 4; ++step) {
                const std::string name = kNames[gen.Pick(6)];
                const int index = 1 + gen.Pick(4);
                TXMLFocus found;
                indexed.FindElement(name, index, found, parentIndexed);
                TXMLFocus expected = literal.Find(name, index, parentLiteral);
                ++lookups;
                ASSERT_EQ(indexed.IsFocusSet(found), expected != NoFocus)
                    << "doc " << doc << " name " << name << " index " << index;
                if (expected == NoFocus)
                    break;
                ASSERT_EQ(indexed.Getvalue(), literal.Value()) << "doc " << doc << " name " << name;
                if (!gen.escapes) {
                    ASSERT_EQ(found, expected) << "doc " << doc;
                }
                parentIndexed = found;
                parentLiteral = expected;
            }
        }
    }
    EXPECT_GT(lookups, 10000);
}
