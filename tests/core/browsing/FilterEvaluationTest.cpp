#include "browsing/FilterEvaluation.h"

#include <gtest/gtest.h>

using namespace vorbix;

namespace {

FilterRecord Filter(const std::string& name, const std::string& pub, const std::string& pubOp, const std::string& type,
    const std::string& typeOp, FavouriteCondition fav = FavouriteCondition::fcDontCare)
{
    return {name, pub, pubOp, type, typeOp, fav};
}

bool Matches(const FilterConditions& c, const std::string& pub, const std::string& type = "Game", bool fav = false)
{
    return ProgramMatchesFilter(c, pub, type, fav);
}

} // namespace

TEST(FilterEvaluation, AllIsReservedAndSelectsEverything)
{
    const std::vector<FilterRecord> filters = {Filter("all", "Acornsoft", "=", "any", "=")};
    const FilterConditions all = LookupFilter(filters, "all");
    EXPECT_EQ(all, (FilterConditions{"any", "=", "any", "=", FavouriteCondition::fcDontCare}));
    EXPECT_TRUE(Matches(all, "Superior", "", true));
    EXPECT_EQ(LookupFilter({}, "all"), all);
    // "All" is an ordinary name: looked up among the filters (here: the first, as no name matches).
    EXPECT_EQ(LookupFilter(filters, "All").PublisherValue, "Acornsoft");
    // With no filters at all, any other name also selects everything.
    EXPECT_EQ(LookupFilter({}, "Games"), all);
}

TEST(FilterEvaluation, LookupTakesLastOfSameNameElseFirstAndCopiesOddOperators)
{
    const std::vector<FilterRecord> filters = {
        Filter("A", "P1", "=", "any", "="),
        Filter("B", "P2", "like", "T", "<>", FavouriteCondition::fcTrue),
        Filter("B", "P3", "<>", "any", "="),
    };
    EXPECT_EQ(LookupFilter(filters, "B").PublisherValue, "P3");
    EXPECT_EQ(LookupFilter(filters, "b").PublisherValue, "P1");
    EXPECT_EQ(LookupFilter(filters, "deleted").PublisherValue, "P1");
    const std::vector<FilterRecord> odd = {filters[1]};
    EXPECT_EQ(LookupFilter(odd, "B"), (FilterConditions{"P2", "like", "T", "<>", FavouriteCondition::fcTrue}));
}

TEST(FilterEvaluation, PublisherAndTypeConditions)
{
    const FilterConditions eq{"Acornsoft", "=", "any", "=", FavouriteCondition::fcDontCare};
    EXPECT_TRUE(Matches(eq, "Acornsoft"));
    EXPECT_FALSE(Matches(eq, "acornsoft"));
    EXPECT_FALSE(Matches(eq, "Acornsoft "));

    const FilterConditions anyNot{"any", "<>", "any", "=", FavouriteCondition::fcDontCare};
    EXPECT_FALSE(Matches(anyNot, "Acornsoft"));
    EXPECT_FALSE(Matches(anyNot, "any"));
    EXPECT_TRUE(Matches(FilterConditions{}, "any"));

    const FilterConditions emptyEq{"", "=", "any", "=", FavouriteCondition::fcDontCare};
    const FilterConditions emptyNot{"", "<>", "any", "=", FavouriteCondition::fcDontCare};
    EXPECT_TRUE(Matches(emptyEq, ""));
    EXPECT_FALSE(Matches(emptyEq, "X"));
    EXPECT_FALSE(Matches(emptyNot, ""));
    EXPECT_TRUE(Matches(emptyNot, "X"));

    const FilterConditions notType{"any", "=", "Game", "<>", FavouriteCondition::fcDontCare};
    EXPECT_FALSE(Matches(notType, "X", "Game"));
    EXPECT_TRUE(Matches(notType, "X", "Utility"));
    const FilterConditions oddOperator{"Acornsoft", "==", "Game", "!=", FavouriteCondition::fcDontCare};
    EXPECT_TRUE(Matches(oddOperator, "Other", "Other"));
    // All three conditions are joined by AND.
    const FilterConditions both{"Acornsoft", "=", "Game", "=", FavouriteCondition::fcTrue};
    EXPECT_TRUE(ProgramMatchesFilter(both, "Acornsoft", "Game", true));
    EXPECT_FALSE(ProgramMatchesFilter(both, "Acornsoft", "Game", false));
    EXPECT_FALSE(ProgramMatchesFilter(both, "Acornsoft", "Util", true));
}

TEST(FilterEvaluation, FavouriteCondition)
{
    FilterConditions c;
    c.Favourite = FavouriteCondition::fcFalse;
    EXPECT_TRUE(Matches(c, "P", "T", false));
    EXPECT_FALSE(Matches(c, "P", "T", true));
    c.Favourite = FavouriteCondition::fcTrue;
    EXPECT_FALSE(Matches(c, "P", "T", false));
    EXPECT_TRUE(Matches(c, "P", "T", true));
    c.Favourite = FavouriteCondition::fcDontCare;
    EXPECT_TRUE(Matches(c, "P", "T", false));
    EXPECT_TRUE(Matches(c, "P", "T", true));
    c.Favourite = static_cast<FavouriteCondition>(7);
    EXPECT_FALSE(Matches(c, "P", "T", false));
    EXPECT_FALSE(Matches(c, "P", "T", true));
}
