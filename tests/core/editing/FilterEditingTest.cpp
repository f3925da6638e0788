#include "editing/FilterEditing.h"

#include <gtest/gtest.h>

using namespace vorbix;

namespace {

using Texts = std::vector<std::string>;

FilterRecord Filter(const std::string& name, const std::string& pubComp = "=", const std::string& typeComp = "=")
{
    FilterRecord f;
    f.FilterName = name;
    f.FPubComp = pubComp;
    f.FTypeComp = typeComp;
    return f;
}

} // namespace

TEST(FilterEditing, StoringCorrectsTheComparisonsOnly)
{
    Catalogue c;
    FilterRecord typed = Filter(" Games ", "= =", "<>");
    typed.FPublisher = "acornsoft";
    typed.FType = "Arcade";
    ListEdit edit = AddFilter(c, typed);
    typed.FPubComp = "="; // only the comparison changed
    EXPECT_EQ(c.FilterList[0], typed);
    EXPECT_TRUE(edit.Change.Filters);
    EXPECT_EQ(edit.SelectRow, 0);

    // New with OK and no changes stores the defaults.
    AddFilter(c, FilterRecord{});
    EXPECT_EQ(c.FilterList[1], (FilterRecord{"", "any", "=", "any", "=", FavouriteCondition::fcDontCare}));

    for (const char* comp : {" ", "", "<> ", "==", "<", "=<>"})
        EXPECT_EQ(StoredComparison(comp), "=") << '"' << comp << '"';
    EXPECT_EQ(StoredComparison("<>"), "<>");

    ReplaceFilter(c, 0, Filter("Games", "<>", "x"));
    EXPECT_EQ(c.FilterList[0].FPubComp, "<>");
    EXPECT_EQ(c.FilterList[0].FTypeComp, "=");
}

TEST(FilterEditing, RowsMapToRecordsAndDeleteSelectsTheNextRow)
{
    Catalogue c;
    for (const char* name : {"c", "a", "b", "a"})
        AddFilter(c, Filter(name));
    std::vector<ListRow> rows = FilterListRows(c.FilterList);
    EXPECT_EQ(rows, (std::vector<ListRow>{{"a", 1}, {"a", 3}, {"b", 2}, {"c", 0}})); // a shared name twice

    // Editing the third row edits "b", the record at index 2.
    ListEdit edit = ReplaceFilter(c, rows[2].EIdx, Filter("d"));
    EXPECT_EQ(c.FilterList[2].FilterName, "d");
    EXPECT_EQ(edit.SelectRow, 3); // rows a, a, c, d

    edit = DeleteFilter(c, 3); // the second row
    EXPECT_EQ(edit.SelectRow, 1);
    edit = DeleteFilter(c, 2); // "d", the last row
    EXPECT_EQ(edit.SelectRow, 1);
    EXPECT_EQ(edit.Rows, (std::vector<ListRow>{{"a", 1}, {"c", 0}}));
    DeleteFilter(c, 1);
    edit = DeleteFilter(c, 0); // the only row
    EXPECT_EQ(edit.SelectRow, -1);
    EXPECT_TRUE(c.FilterList.empty());
    EXPECT_FALSE(DeleteFilter(c, 0).Change.Filters);
}

TEST(FilterEditing, ValueBoxesOfferAnyThenTheCategoriesAndCheckTypedText)
{
    NameList publishers;
    publishers.Add("Superior");
    publishers.Add("Acornsoft");
    const Texts entries = FilterValueEntries(publishers);
    EXPECT_EQ(entries, (Texts{"any", "Acornsoft", "Superior"}));
    EXPECT_EQ(FilterValueEntries(NameList{}), Texts{"any"});

    EXPECT_EQ(CheckFilterValue(entries, "acornsoft"), "acornsoft"); // a case variant stays as typed
    EXPECT_EQ(CheckFilterValue(entries, "ANY"), "ANY");
    EXPECT_EQ(CheckFilterValue(entries, "Acorn"), "any");
    EXPECT_EQ(CheckFilterValue(entries, "Acornsoft "), "any");
    EXPECT_EQ(CheckFilterValue(entries, ""), "any");
}
