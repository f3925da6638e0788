#include "browsing/ProgramListModel.h"
#include "browsing/TypeAhead.h"
#include "platform/Collation.h"
#include "support/Builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

using namespace vorbix;
using vorbix::test::MakeProgram;

namespace {

// "publisher/program" of every row, in row order.
std::vector<std::string> Cells(const ProgramListModel& model)
{
    std::vector<std::string> cells;
    for (int r = 0; r < model.RowCount(); ++r)
        cells.push_back(model.CellText(r, ListColumn::Publisher) + "/" + model.CellText(r, ListColumn::Program));
    return cells;
}

Catalogue SmallCatalogue()
{
    Catalogue c;
    c.ProgramList = {
        MakeProgram("Superior", "Repton"),
        MakeProgram("acornsoft", "Elite"),
        MakeProgram("Acornsoft", "Aviator", "Simulation"),
        MakeProgram("Superior", "Citadel"),
        MakeProgram("", "Homebrew"),
        MakeProgram("Acornsoft", "aardvark"),
    };
    c.ProgramList[2].Favourite = true;
    return c;
}

} // namespace

TEST(ProgramListModel, RowOrderAndHeaderClicks)
{
    const Catalogue c = SmallCatalogue();
    ProgramListModel model;
    model.Rebuild(c, "all");
    EXPECT_EQ(model.SortColumn(), ListColumn::Publisher);
    EXPECT_EQ(model.SortDirection(), 1);
    // Publishers equal ignoring a-z case tie; the tie is broken by program name ascending.
    EXPECT_EQ(Cells(model),
        (std::vector<std::string>{"/Homebrew", "Acornsoft/aardvark", "Acornsoft/Aviator", "acornsoft/Elite",
            "Superior/Citadel", "Superior/Repton"}));
    EXPECT_EQ(model.CellText(2, ListColumn::PIdx), "2");
    EXPECT_EQ(model.PIdx(1), 5);

    model.HeaderClick(ListColumn::Publisher); // Publisher again: descending, names still ascending
    model.Rebuild(c, "all");
    EXPECT_EQ(model.SortDirection(), -1);
    EXPECT_EQ(Cells(model),
        (std::vector<std::string>{"Superior/Citadel", "Superior/Repton", "Acornsoft/aardvark", "Acornsoft/Aviator",
            "acornsoft/Elite", "/Homebrew"}));
    model.HeaderClick(ListColumn::Publisher);
    EXPECT_EQ(model.SortDirection(), 1);

    model.HeaderClick(ListColumn::Publisher); // descending, then Program: program ascending whatever the direction was
    model.HeaderClick(ListColumn::Program);
    model.Rebuild(c, "all");
    EXPECT_EQ(model.SortColumn(), ListColumn::Program);
    EXPECT_EQ(model.SortDirection(), 1);
    EXPECT_EQ(Cells(model),
        (std::vector<std::string>{"Acornsoft/aardvark", "Acornsoft/Aviator", "Superior/Citadel", "acornsoft/Elite",
            "/Homebrew", "Superior/Repton"}));
    model.HeaderClick(ListColumn::PIdx); // the hidden column counts as "any other header"
    EXPECT_EQ(model.SortColumn(), ListColumn::Program);
    EXPECT_EQ(model.SortDirection(), -1);
}

TEST(ProgramListModel, CaseTiesPrefixesAndNonLetters)
{
    Catalogue c;
    c.ProgramList = {MakeProgram("P", "abc"), MakeProgram("P", "ABC"), MakeProgram("P", "ab"), MakeProgram("P", "_x"),
        MakeProgram("P", "Zed"), MakeProgram("P", "\xC3\xA9t\xC3\xA9"), MakeProgram("P", "ABCD")};
    ProgramListModel model;
    model.SetSort(ListColumn::Program, 1);
    model.Rebuild(c, "all");
    // '_' (0x5F) sorts after the capitals, as the comparison is of upper-cased bytes; the
    // two names equal ignoring case keep their catalogue order; a prefix comes first.
    EXPECT_EQ(Cells(model),
        (std::vector<std::string>{"P/ab", "P/abc", "P/ABC", "P/ABCD", "P/Zed", "P/_x", "P/\xC3\xA9t\xC3\xA9"}));
    model.SetSort(ListColumn::Program, -1);
    model.Rebuild(c, "all");
    EXPECT_EQ(Cells(model).front(), "P/\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(model.Rows()[4], 0); // "abc" before "ABC" also when descending
    EXPECT_EQ(model.Rows()[5], 1);

    // Long names that share their first 24 bytes: equal ignoring case ties, a later
    // difference decides.
    const std::string stem = "The Very Long Adventure Of ";
    Catalogue longNames;
    longNames.ProgramList = {MakeProgram("P", stem + "Zed"), MakeProgram("P", stem + "ann"),
        MakeProgram("P", stem + "ANN"), MakeProgram("P", stem + "Ann2"), MakeProgram("P", stem + "an")};
    model.SetSort(ListColumn::Program, 1);
    model.Rebuild(longNames, "all");
    EXPECT_EQ(model.Rows(), (std::vector<int>{4, 1, 2, 3, 0}));
}

TEST(ProgramListModel, SortMatchesPairwiseRuleOnRandomCatalogue)
{
    std::mt19937 rng(7);
    // The letters at both ends of the alphabet and the bytes beside them, so that names
    // equal ignoring case are told from names that are not, eight bytes at a time too.
    const std::string letters("aAbBzZ`{@[_ \x01\xE9\0", 15);
    // Half the words share a prefix longer than the part compared first.
    const std::string stem = "The Micro User Cover Disk No. 0";
    auto word = [&]() {
        std::string w = rng() % 2 ? stem : "";
        for (int i = 0, n = static_cast<int>(rng() % 40); i < n; ++i)
            w += letters[rng() % letters.size()];
        return w;
    };
    Catalogue c;
    for (int i = 0; i < 3000; ++i)
        c.ProgramList.push_back(MakeProgram(word(), word()));
    for (const ListColumn column : {ListColumn::Publisher, ListColumn::Program}) {
        const bool byPublisher = column == ListColumn::Publisher;
        for (int direction : {1, -1}) {
            ProgramListModel model;
            model.SetSort(column, direction);
            model.Rebuild(c, "all");
            std::vector<int> expected(c.ProgramList.size());
            for (std::size_t i = 0; i < expected.size(); ++i)
                expected[i] = static_cast<int>(i);
            std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
                const ProgramRecord& pa = c.ProgramList[static_cast<std::size_t>(a)];
                const ProgramRecord& pb = c.ProgramList[static_cast<std::size_t>(b)];
                const std::string& a1 = byPublisher ? pa.PublisherName : pa.ProgramName;
                const std::string& b1 = byPublisher ? pb.PublisherName : pb.ProgramName;
                const std::string& a2 = byPublisher ? pa.ProgramName : pa.PublisherName;
                const std::string& b2 = byPublisher ? pb.ProgramName : pb.PublisherName;
                int r = CompareAsciiUpper(a1, b1) * direction;
                return (r != 0 ? r : CompareAsciiUpper(a2, b2)) < 0;
            });
            EXPECT_EQ(model.Rows(), expected) << "by publisher " << byPublisher << " direction " << direction;
        }
    }
}

TEST(ProgramListModel, FilterSelectsRowsAndOutOfRangeAccessIsSafe)
{
    Catalogue c = SmallCatalogue();
    c.FilterList = {{"Acorn", "Acornsoft", "=", "any", "=", FavouriteCondition::fcDontCare},
        {"Favs", "any", "=", "any", "=", FavouriteCondition::fcTrue},
        {"None", "any", "<>", "any", "=", FavouriteCondition::fcDontCare}};
    ProgramListModel model;
    model.Rebuild(c, "Acorn");
    EXPECT_EQ(Cells(model), (std::vector<std::string>{"Acornsoft/aardvark", "Acornsoft/Aviator"}));
    model.Rebuild(c, "Favs");
    EXPECT_EQ(model.Rows(), std::vector<int>{2});
    EXPECT_EQ(model.RowOfPIdx(2), 0);
    EXPECT_EQ(model.RowOfPIdx(3), -1);
    model.Rebuild(c, "None");
    EXPECT_EQ(model.RowCount(), 0);
    EXPECT_EQ(model.PIdx(0), -1);
    EXPECT_EQ(model.Program(0), nullptr);
    EXPECT_EQ(model.CellText(-1, ListColumn::Program), "");
    EXPECT_EQ(model.CellText(0, ListColumn::PIdx), "");
    EXPECT_FALSE(model.FindTypeAheadRow(-1, 'A').has_value());
}

TEST(ProgramListModel, TypeAheadSearchesBelowThenWraps)
{
    Catalogue c;
    c.ProgramList = {MakeProgram("X", "Mango"), MakeProgram("X", "apple"), MakeProgram("X", "melon"),
        MakeProgram("X", "Zebra"), MakeProgram("X", "mint"), MakeProgram("X", "")};
    ProgramListModel model;
    model.SetSort(ListColumn::Program, 1);
    model.Rebuild(c, "all");
    // Rows: "", apple, Mango, melon, mint, Zebra
    ASSERT_EQ(model.CellText(0, ListColumn::Program), "");
    EXPECT_EQ(model.FindTypeAheadRow(1, 'M'), 2);
    EXPECT_EQ(model.FindTypeAheadRow(2, 'M'), 3);
    EXPECT_EQ(model.FindTypeAheadRow(4, 'M'), 2); // wraps to the top
    EXPECT_EQ(model.FindTypeAheadRow(3, 'Z'), 5);
    EXPECT_FALSE(model.FindTypeAheadRow(1, 'Q').has_value());
    EXPECT_FALSE(model.FindTypeAheadRow(1, 'A').has_value()); // the selected row itself is never a hit
    EXPECT_EQ(model.FindTypeAheadRow(3, ' '), 0); // an empty name has a blank initial
    EXPECT_EQ(model.FindTypeAheadRow(-1, 'A'), 1); // no selection: from the first row
    EXPECT_EQ(model.FindRowByInitial(2, 4, 'M'), 3);
    EXPECT_FALSE(model.FindRowByInitial(3, 100, 'A').has_value());
    EXPECT_EQ(model.FindRowByInitial(-5, 100, 'A'), 1);
    EXPECT_FALSE(model.FindRowByInitial(std::numeric_limits<int>::max(), std::numeric_limits<int>::max(), 'A'));
    EXPECT_FALSE(model.FindRowByInitial(std::numeric_limits<int>::min(), 0, ' '));
    model.SetSort(ListColumn::Publisher, 1);
    model.Rebuild(c, "all");
    EXPECT_EQ(model.FindTypeAheadRow(0, 'X'), 1); // sorted by publisher: the publisher is the key

    EXPECT_EQ(TypeAheadCharacter(0x4D), 'M');
    EXPECT_EQ(TypeAheadCharacter(0x30), '0');
    EXPECT_EQ(TypeAheadCharacter(0x70), 'P'); // F1
    EXPECT_EQ(TypeAheadCharacter(0x60), '`'); // keypad 0
    EXPECT_EQ(TypeAheadCharacter(0x7B), '{'); // F12
    EXPECT_EQ(TypeAheadCharacter(0x7E), '~');
    EXPECT_FALSE(TypeAheadCharacter(0x2F).has_value());
    EXPECT_FALSE(TypeAheadCharacter(0x7F).has_value());
    EXPECT_FALSE(TypeAheadCharacter(13).has_value());
}

// The ranks kept between rebuilds follow every change of the catalogue: a name edited in
// place to one of the same length, a program added, a program removed.
TEST(ProgramListModel, KeptRanksFollowEditsOfTheCatalogue)
{
    Catalogue c = SmallCatalogue();
    ProgramListModel model;
    model.SetSort(ListColumn::Program, 1);
    model.Rebuild(c, "all");
    ASSERT_EQ(Cells(model).front(), "Acornsoft/aardvark");
    c.ProgramList[5].ProgramName = "zardvark";
    model.Rebuild(c, "all");
    EXPECT_EQ(Cells(model).front(), "Acornsoft/Aviator");
    EXPECT_EQ(Cells(model).back(), "Acornsoft/zardvark");
    c.ProgramList[0].PublisherName = "Superiox";
    model.SetSort(ListColumn::Publisher, -1);
    model.Rebuild(c, "all");
    EXPECT_EQ(Cells(model).front(), "Superiox/Repton");
    c.ProgramList.push_back(MakeProgram("Zeta", "Alpha"));
    model.Rebuild(c, "all");
    EXPECT_EQ(Cells(model).front(), "Zeta/Alpha");
    c.ProgramList.erase(c.ProgramList.begin());
    model.Rebuild(c, "all");
    EXPECT_EQ(Cells(model),
        (std::vector<std::string>{"Zeta/Alpha", "Superior/Citadel", "Acornsoft/Aviator", "acornsoft/Elite",
            "Acornsoft/zardvark", "/Homebrew"}));
}

// The find keeps the filter's rows, in their order, whose name or publisher holds the text
// without regard to case or accents: checked against folding each name on its own, as the
// text grows (narrowing what was shown), shrinks and changes, over a header click, and
// after edits of the catalogue. A match never runs from a name into its publisher.
TEST(ProgramListModel, FindKeepsTheFilterRowsThatHoldTheText)
{
    // NOLINTBEGIN(bugprone-suspicious-missing-comma)
    const char* const pieces[] = {"el", "ITE", "\xc3\xa9l", "\xc9L", "caf", "\xc3\xa9", "\xe9", "mon", "Star", " ", "x",
        "\xc3\x89"};
    // NOLINTEND(bugprone-suspicious-missing-comma)
    std::mt19937 random(29);
    auto text = [&] {
        std::string t;
        const int parts = 1 + static_cast<int>(random() % 4);
        bool windows = random() % 3 == 0; // Windows-1252 bytes stay out of UTF-8 texts
        for (int i = 0; i < parts; ++i) {
            std::string piece = pieces[random() % std::size(pieces)];
            const bool high = piece.size() == 1 && static_cast<unsigned char>(piece[0]) >= 0x80;
            const bool utf8 = piece.size() > 1 && static_cast<unsigned char>(piece[0]) >= 0x80;
            if ((windows && utf8) || (!windows && high))
                piece = "a";
            t += piece;
        }
        return t;
    };
    Catalogue c;
    for (int i = 0; i < 3000; ++i) {
        c.ProgramList.push_back(MakeProgram(text(), text()));
        c.ProgramList.back().Favourite = i % 3 != 0;
    }
    c.ProgramList.push_back(MakeProgram("cd", "ab")); // "bc" only across name and publisher
    c.ProgramList.back().Favourite = true;
    FilterRecord favourites;
    favourites.FilterName = "fav";
    favourites.FFavourite = FavouriteCondition::fcTrue;
    c.FilterList = {favourites};

    ProgramListModel model;
    model.Rebuild(c, "fav");
    auto expected = [&](const std::vector<int>& filterRows, const std::string& typed) {
        const std::string folded = FoldForSearch(typed);
        std::vector<int> rows;
        for (int pidx : filterRows) {
            const ProgramRecord& p = c.ProgramList[static_cast<std::size_t>(pidx)];
            if (FoldForSearch(p.ProgramName).find(folded) != std::string::npos
                || FoldForSearch(p.PublisherName).find(folded) != std::string::npos)
                rows.push_back(pidx);
        }
        return rows;
    };
    const std::vector<int> filterRows = model.Rows();
    ASSERT_EQ(model.FilterRowCount(), static_cast<int>(filterRows.size()));
    const char* const typing[] = {"e", "\xc3\xa9l", "ELI", "elit", "elite", "eli", "", "caf\xc3\xa9", "CAFE ", "bc",
        "a", "x el", "zzz", "STAR"};
    for (const char* typed : typing) {
        model.SetFindText(typed);
        EXPECT_EQ(model.Rows(), expected(filterRows, typed)) << typed;
        EXPECT_EQ(model.FindText(), typed);
    }
    EXPECT_EQ(model.FilterRowCount(), static_cast<int>(filterRows.size()));

    // A header click rebuilds the rows in the new order, still found.
    model.SetFindText("el");
    model.HeaderClick(ListColumn::Program);
    model.Rebuild(c, "fav");
    ProgramListModel byProgram;
    byProgram.SetSort(ListColumn::Program, 1);
    byProgram.Rebuild(c, "fav");
    ASSERT_NE(byProgram.Rows(), filterRows);
    EXPECT_EQ(model.Rows(), expected(byProgram.Rows(), "el"));

    // An edited name is folded again: it is found, and the old name no longer is.
    const int pidx = model.Rows().front();
    c.ProgramList[static_cast<std::size_t>(pidx)].ProgramName = "Zorro";
    c.ProgramList[static_cast<std::size_t>(pidx)].PublisherName = "Zorro";
    c.ProgramList[0].ProgramName = "Quelque Chose";
    c.ProgramList[0].Favourite = true;
    model.Rebuild(c, "fav");
    EXPECT_EQ(model.RowOfPIdx(pidx), -1);
    EXPECT_GE(model.RowOfPIdx(0), 0);
    model.SetFindText("");
    EXPECT_EQ(model.RowCount(), model.FilterRowCount());
}
