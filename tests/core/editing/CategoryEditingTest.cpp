#include "editing/CategoryEditing.h"

#include "support/Builders.h"

#include <gtest/gtest.h>

using namespace vorbix;

namespace {

using vorbix::test::Names;

using Texts = std::vector<std::string>;

} // namespace

TEST(CategoryEditing, AddTrimsTheEndRefusesDuplicatesAndReturnsTheSortedPlace)
{
    NameList list = Names({"Superior", "Acornsoft"});
    CategoryEdit edit = AddCategory(list, "Zeta  ");
    EXPECT_EQ(edit.Row, 2);
    EXPECT_TRUE(edit.Change.Categories);

    // The same name again, with or without blanks, adds nothing.
    for (const char* again : {"Zeta", "Zeta "}) {
        edit = AddCategory(list, again);
        EXPECT_FALSE(edit.Change.Categories);
        EXPECT_EQ(edit.Row, -1);
    }
    EXPECT_FALSE(AddCategory(list, "   ").Change.Categories);
    EXPECT_FALSE(AddCategory(list, "").Change.Categories);

    // A leading blank stays and sorts before the letters; a case variant is a new entry,
    // the lower-case one first.
    EXPECT_EQ(AddCategory(list, " Beta").Row, 0);
    EXPECT_EQ(AddCategory(list, "acornsoft").Row, 1);
    EXPECT_EQ(list.Items(), (Texts{" Beta", "acornsoft", "Acornsoft", "Superior", "Zeta"}));
}

TEST(CategoryEditing, DeleteRevealsTheEntryThatMovedUp)
{
    NameList list = Names({"a", "b", "c"});
    EXPECT_EQ(DeleteCategory(list, 1).Row, 1); // the middle: "c" moved up
    EXPECT_EQ(list.Items(), (Texts{"a", "c"}));
    EXPECT_EQ(DeleteCategory(list, 1).Row, 0); // the last: the one before
    CategoryEdit edit = DeleteCategory(list, 0); // the only one
    EXPECT_EQ(edit.Row, -1);
    EXPECT_TRUE(edit.Change.Categories);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(DeleteCategory(list, -1).Change.Categories); // no selection
    list = Names({"a"});
    EXPECT_FALSE(DeleteCategory(list, -1).Change.Categories);
    EXPECT_EQ(list.size(), 1u);
}
