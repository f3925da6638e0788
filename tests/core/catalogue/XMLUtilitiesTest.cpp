#include "catalogue/XMLUtilities.h"

#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace vorbix;
using vorbix::test::FakePrompts;
using vorbix::test::TempDir;

namespace {

std::string Value(TXMLLoadObject& r, const std::string& name, int index, const TXMLFocus& parent)
{
    TXMLFocus f;
    r.FindElement(name, index, f, parent);
    return r.Getvalue();
}

} // namespace

TEST(XmlWriter, EscapesValuesAndLaysOutOneElementPerLine)
{
    TXMLSaveObject w;
    w.Stylesheet = "programs.xsl";
    w.DocType = "programs";
    w.DtdFile = "programs.dtd";
    w.OpenElement("programs");
    w.WriteElement("vorbix-version", "2.3");
    w.OpenElement("publisher");
    w.WriteElement("publisher-name", "A&B 'Soft' \"<x>\"");
    w.WriteElement("empty", "");
    w.OpenElement("box");
    w.CloseElement("box");
    w.WriteElement("amp", "&amp;");
    w.CloseElement("publisher");
    w.CloseElement("programs");
    EXPECT_EQ(w.ToBytes(),
        "<?xml version=\"1.0\"?>\r\n"
        "<?xml-stylesheet type=\"text/xsl\" href=\"programs.xsl\"?>\r\n"
        "<!DOCTYPE programs SYSTEM \"programs.dtd\">\r\n"
        "\r\n"
        "<programs>\r\n"
        "  <vorbix-version>2.3</vorbix-version>\r\n"
        "  <publisher>\r\n"
        "    <publisher-name>A&amp;B &apos;Soft&apos; &quot;&lt;x&gt;&quot;</publisher-name>\r\n"
        "    <empty></empty>\r\n"
        "    <box></box>\r\n"
        "    <amp>&amp;amp;</amp>\r\n"
        "  </publisher>\r\n"
        "</programs>\r\n");
}

TEST(XmlWriter, HeaderWithoutStylesheetOrDoctype)
{
    TXMLSaveObject w;
    w.DocType = "options";
    w.OpenElement("options");
    w.WriteElement("x", "\xC3\xA9t\xC3\xA9");
    w.CloseElement("options");
    EXPECT_EQ(w.ToBytes(), "<?xml version=\"1.0\"?>\r\n\r\n<options>\r\n  <x>\xC3\xA9t\xC3\xA9</x>\r\n</options>\r\n");
    TXMLSaveObject empty;
    EXPECT_EQ(empty.ToBytes(), "<?xml version=\"1.0\"?>\r\n\r\n");
    EXPECT_STREQ(BoolToText(true), "true");
    EXPECT_STREQ(BoolToText(false), "false");
}

// The direct writer lays out each line as it goes; TXMLSaveObject lays out the finished
// text. Both must give the same bytes for any calls: empty elements, empty values, values to
// escape, an element left open at the end, a close with nothing open.
TEST(XmlWriter, DirectWriterGivesTheBytesOfTheTwoPassWriter)
{
    std::mt19937 rng(7);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    static const char* names[] = {"a", "program", "x-y", "comments"};
    static const char* values[] = {"", "v", "a&b", "<x>", "'\"", "  sp  ", "\r\nline", "&amp;"};
    for (int doc = 0; doc < 2000; ++doc) {
        TXMLSaveObject twoPass;
        if (doc % 3 == 0) {
            twoPass.Stylesheet = "s.xsl";
            twoPass.DocType = "d";
            twoPass.DtdFile = "d.dtd";
        } else if (doc % 3 == 1) {
            twoPass.DocType = "d";
        }
        TXMLDirectWriter direct(twoPass.Stylesheet, twoPass.DocType, twoPass.DtdFile);
        for (int call = 0, n = pick(12); call < n; ++call) {
            const char* name = names[pick(4)];
            switch (pick(3)) {
            case 0:
                twoPass.OpenElement(name);
                direct.OpenElement(name);
                break;
            case 1: {
                const char* value = values[pick(8)];
                twoPass.WriteElement(name, value);
                direct.WriteElement(name, value);
                break;
            }
            default:
                twoPass.CloseElement(name);
                direct.CloseElement(name);
                break;
            }
        }
        ASSERT_EQ(direct.TakeBytes(), twoPass.ToBytes()) << "document " << doc;
    }
}

TEST(XmlWriter, SaveToFileReplacesAtomicallyAndReportsCannotCreate)
{
    TempDir dir;
    dir.Write("Data/options.xml", "old contents");
    TXMLSaveObject w;
    w.OpenElement("options");
    w.CloseElement("options");
    EXPECT_TRUE(w.SaveToFile(dir / "Data/options.xml").Ok());
    EXPECT_EQ(dir.Read("Data/options.xml"), "<?xml version=\"1.0\"?>\r\n\r\n<options></options>\r\n");
    EXPECT_EQ(w.SaveToFile(dir / "Missing/options.xml").Message(),
        "Cannot create file " + (dir / "Missing/options.xml"));
    EXPECT_FALSE(dir.Exists("Missing"));
}

TEST(XmlReader, FindsElementsAmongDescendantsAndCountsFromOne)
{
    FakePrompts prompts;
    TXMLLoadObject r(&prompts);
    r.LoadFromText(
        "<?xml version=\"1.0\"?>\r\n\r\n<programs>\r\n  <publisher>\r\n    "
        "<publisher-name>Acornsoft</publisher-name>\r\n"
        "    <program>\r\n      <program-name>Elite</program-name>\r\n      <comments>\r\n"
        "        <commentline>first</commentline>\r\n        <commentline></commentline>\r\n"
        "      </comments>\r\n    </program>\r\n    <program>\r\n      <program-name>Revs</program-name>\r\n"
        "    </program>\r\n  </publisher>\r\n  <publishers><publisher>zz</publisher></publishers>\r\n</programs>\r\n");
    TXMLFocus pub;
    r.FindElement("publisher", 1, pub, NoFocus);
    ASSERT_TRUE(r.IsFocusSet(pub));
    EXPECT_EQ(Value(r, "publisher-name", 1, pub), "Acornsoft");
    TXMLFocus prog;
    r.FindElement("program", 2, prog, pub);
    EXPECT_EQ(Value(r, "program-name", 1, prog), "Revs");
    r.FindElement("program", 3, prog, pub);
    EXPECT_EQ(prog, NoFocus);
    EXPECT_EQ(r.Focus, NoFocus);
    // Descendants count: the comment lines lie inside "comments".
    r.FindElement("program", 1, prog, pub);
    EXPECT_EQ(Value(r, "commentline", 1, prog), "first");
    EXPECT_EQ(Value(r, "commentline", 2, prog), "");
    TXMLFocus none;
    r.FindElement("commentline", 3, none, prog);
    EXPECT_FALSE(r.IsFocusSet(none));
    // Whole tag texts: "publisher" never matches "publisher-name" or "publishers".
    TXMLFocus second;
    r.FindElement("publisher", 2, second, NoFocus);
    EXPECT_EQ(r.Getvalue(), "zz");
    // Getvalue twice without a find gives the same text; no message was shown so far.
    EXPECT_EQ(r.Getvalue(), "zz");
    EXPECT_TRUE(prompts.shown.empty());
    // A container's value is everything between its tags.
    r.FindElement("comments", 1, second, prog);
    EXPECT_EQ(r.Getvalue(), "<commentline>first</commentline><commentline></commentline>");
}

TEST(XmlReader, NoFocusValueIsTheMessageAndIsShown)
{
    FakePrompts prompts;
    TXMLLoadObject r(&prompts);
    r.LoadFromText("<a><b>1</b></a>");
    EXPECT_EQ(r.Getvalue(), "TXMLLoadObject.Getvalue: No focus set");
    TXMLFocus f;
    r.FindElement("c", 1, f, NoFocus);
    std::string value;
    r.Getvalue(value);
    EXPECT_EQ(value, "TXMLLoadObject.Getvalue: No focus set");
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].request.Text, "TXMLLoadObject.Getvalue: No focus set");
    EXPECT_EQ(prompts.shown[0].request.Buttons, MessageButtons::Ok);
    EXPECT_FALSE(TextToBool(value));
    // An unset parent means the whole document.
    r.FindElement("b", 1, f, NoFocus);
    EXPECT_EQ(r.Getvalue(), "1");
    // A container that was not found makes the child search fall back to the whole text.
    TXMLFocus missing;
    r.FindElement("zzz", 1, missing, NoFocus);
    r.FindElement("b", 1, f, missing);
    EXPECT_EQ(r.Getvalue(), "1");
    // Index below 1 finds nothing.
    r.FindElement("b", 0, f, NoFocus);
    EXPECT_EQ(f, NoFocus);
}

TEST(XmlReader, UnescapesValuesInOrderAndJoinsSplitLines)
{
    TXMLLoadObject r;
    r.LoadFromText("<v>a &gt; b &apos;c&apos; &quot;d&quot; &lt;e&gt; &amp;amp; &amp;lt;</v>\n"
                   "<split>first half\r\n     second half</split>\r"
                   "\t<w>  </w>\n");
    EXPECT_EQ(Value(r, "v", 1, NoFocus), "a > b 'c' \"d\" <e> &amp; &lt;");
    EXPECT_EQ(Value(r, "split", 1, NoFocus), "first halfsecond half");
    EXPECT_EQ(Value(r, "w", 1, NoFocus), "  "); // blanks inside a line stay
    EXPECT_EQ(r.XmlText(),
        "<v>a &gt; b &apos;c&apos; &quot;d&quot; &lt;e&gt; &amp;amp; &amp;lt;</v><split>first half"
        "second half</split><w>  </w>");
    EXPECT_TRUE(TextToBool("true"));
    EXPECT_FALSE(TextToBool("True"));
    EXPECT_FALSE(TextToBool("TRUE"));
    EXPECT_FALSE(TextToBool(""));
}

// The escape looks at sixteen bytes at a time: each replaced character at every place of
// texts up to three blocks long, a second one in the same block, beside bytes above 127.
TEST(XmlWriter, EscapeFindsEveryReplacedCharacterWhereverItStands)
{
    const auto reference = [](std::string_view text) {
        std::string out;
        for (const char c : text) {
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
    };
    for (std::size_t size = 0; size <= 48; ++size) {
        std::string text;
        for (std::size_t i = 0; i < size; ++i)
            text += static_cast<char>(i % 3 == 0 ? 0xC9 : 'a' + static_cast<int>(i % 26));
        EXPECT_EQ(XmlEscape(text), text);
        for (std::size_t at = 0; at < size; ++at) {
            for (const char c : {'&', '\'', '"', '<', '>'}) {
                std::string one = text;
                one[at] = c;
                ASSERT_EQ(XmlEscape(one), reference(one)) << size << " " << at;
                one[(at + 5) % size] = '>';
                ASSERT_EQ(XmlEscape(one), reference(one)) << size << " " << at;
            }
        }
    }
}

TEST(XmlReader, EscapedTagTextInAValueIsNeverTakenForATag)
{
    TXMLLoadObject r;
    // A comment line holding the closing tag of program, written escaped.
    r.LoadFromText("<programs><program><commentline>&lt;/program&gt; &lt;program&gt;</commentline>"
                   "<program-name>After</program-name></program></programs>");
    TXMLFocus prog;
    r.FindElement("program", 1, prog, NoFocus);
    EXPECT_EQ(Value(r, "program-name", 1, prog), "After");
    EXPECT_EQ(Value(r, "commentline", 1, prog), "</program> <program>");
    r.FindElement("program", 2, prog, NoFocus);
    EXPECT_FALSE(r.IsFocusSet(prog));
}

TEST(XmlReader, DamagedDocumentsStayInsideTheText)
{
    TXMLLoadObject r;
    // An opening tag without its closing tag counts as not found; a truncated file ends mid-tag.
    r.LoadFromText("<a><b>value</b><c>never closed<d>x</d></a><b>tail</b><e>cut off</e");
    TXMLFocus a;
    r.FindElement("a", 1, a, NoFocus);
    ASSERT_TRUE(r.IsFocusSet(a));
    TXMLFocus c;
    r.FindElement("c", 1, c, a);
    EXPECT_FALSE(r.IsFocusSet(c));
    r.FindElement("e", 1, c, NoFocus);
    EXPECT_FALSE(r.IsFocusSet(c));
    TXMLFocus b;
    r.FindElement("b", 2, b, a);
    EXPECT_FALSE(r.IsFocusSet(b)); // the second b lies outside a
    r.FindElement("b", 2, b, NoFocus);
    EXPECT_EQ(r.Getvalue(), "tail");
    // A focus set by hand outside the text is clamped, never read past.
    r.Focus = TXMLFocus{5, 100000};
    EXPECT_NO_THROW(r.Getvalue());
    r.Focus = TXMLFocus{100000, 200000};
    EXPECT_EQ(r.Getvalue(), "");
    TXMLFocus outside{100000, 200000};
    r.FindElement("b", 1, b, outside);
    EXPECT_FALSE(r.IsFocusSet(b));
    // Names with markup characters fall back to a plain search.
    TXMLLoadObject odd;
    odd.LoadFromText("<x<y>1</x<y>");
    TXMLFocus f;
    odd.FindElement("x<y", 1, f, NoFocus);
    EXPECT_EQ(f, (TXMLFocus{1, 12}));
    EXPECT_EQ(odd.Getvalue(), "1</x"); // the value ends at the last "<", as the text search has it
    odd.FindElement("y", 1, f, NoFocus);
    EXPECT_FALSE(odd.IsFocusSet(f));
}

TEST(XmlReader, LoadFromFileAndTheOpenError)
{
    TempDir dir;
    std::string path = dir.Write("doc.xml", "<?xml version=\"1.0\"?>\r\n\r\n<r>\r\n  <k>v</k>\r\n</r>\r\n");
    TXMLLoadObject r;
    EXPECT_TRUE(r.LoadFromFile(path).Ok());
    EXPECT_EQ(r.XmlText(), "<?xml version=\"1.0\"?><r><k>v</k></r>");
    EXPECT_EQ(Value(r, "k", 1, NoFocus), "v");
    TXMLLoadObject missing;
    EXPECT_EQ(missing.LoadFromFile(dir / "folder-not-file").Message(), "Cannot open file " + (dir / "folder-not-file"));
    // Binary junk loads without error and finds nothing.
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) & 0xFF);
    TXMLLoadObject j;
    EXPECT_TRUE(j.LoadFromFile(dir.Write("junk.xml", junk)).Ok());
    TXMLFocus f;
    j.FindElement("program", 1, f, NoFocus);
    EXPECT_FALSE(j.IsFocusSet(f));
}

TEST(XmlRoundTrip, WriterOutputReadsBackEveryValue)
{
    const std::string values[] = {"", "plain", "a&b", "&amp;", "&amp;lt;", "<tag>", "'\"", "  spaced  ",
        "\xC3\xA9\xE2\x82\xAC", "x>y<z", "&&;&lt"};
    TXMLSaveObject w;
    w.OpenElement("root");
    for (const auto& v : values)
        w.WriteElement("leaf", v);
    w.CloseElement("root");
    TXMLLoadObject r;
    r.LoadFromText(w.ToBytes());
    TXMLFocus root;
    r.FindElement("root", 1, root, NoFocus);
    int i = 1;
    for (const auto& v : values)
        EXPECT_EQ(Value(r, "leaf", i++, root), v) << v;
}
