#include "reports/Main_ReportsUnit.h"

#include "support/Builders.h"

#include <gtest/gtest.h>

using namespace vorbix;
using vorbix::test::CrLfLines;
using vorbix::test::MakeProgram;

namespace {

ProgramRecord Program(const std::string& publisher, const std::string& name,
    std::vector<std::pair<std::string, std::string>> warnings = {})
{
    ProgramRecord p = MakeProgram(publisher, name);
    for (auto& [emu, text] : warnings) {
        p.EmuWarningEmus.push_back(emu);
        p.EmuWarningTexts.push_back(text);
    }
    return p;
}

EmuRecord Emu(const std::string& name)
{
    EmuRecord e;
    e.EmuName = name;
    return e;
}

} // namespace

TEST(CompatibilityReport, WarningsCountsAndFilter)
{
    Catalogue c;
    c.EmuList = {Emu("BeebEm"), Emu("b2"), Emu("Unused"), Emu("BeebEm")};
    c.ProgramList = {
        Program("Superior", "Repton", {{"BeebEm", "flicker"}, {"b2", "no sound"}, {"Ghost", "crash"}}),
        Program("Acornsoft", "Elite"),
        Program("Acornsoft", "Aviator", {{"beebem", "case differs: counted nowhere"}}),
        Program("Outside", "Game", {{"b2", "hidden"}}),
    };
    c.ProgramList[3].Favourite = true;
    c.FilterList = {{"NotFav", "any", "=", "any", "=", FavouriteCondition::fcFalse}};
    CompatibilityReportOptions options;
    options.FilterName = "NotFav";
    EXPECT_EQ(CompatibilityReportBytes(c, options),
        CrLfLines({"Acornsoft - Aviator", "   beebem: case differs: counted nowhere", "Superior - Repton",
            "   b2: no sound", "   BeebEm: flicker", "   Ghost: crash", "", "", "Tested: 3 programs",
            "Number of warnings:", "   b2: 1", "   BeebEm: 1", "   BeebEm: 1", "   Unused: 0"}));

    options.Order = ReportOrder::Program;
    options.FilterName = "all";
    const std::string bytes = CompatibilityReportBytes(c, options);
    EXPECT_EQ(bytes.substr(0, bytes.find("\r\n\r\n")),
        "Aviator - Acornsoft\r\n   beebem: case differs: counted nowhere\r\nGame - Outside\r\n   b2: hidden\r\n"
        "Repton - Superior\r\n   b2: no sound\r\n   BeebEm: flicker\r\n   Ghost: crash");
    EXPECT_NE(bytes.find("Tested: 4 programs\r\nNumber of warnings:\r\n   b2: 2\r\n"), std::string::npos);
}

TEST(CompatibilityReport, EmptyAndSingularAndMergedHeadings)
{
    Catalogue c;
    c.EmuList = {Emu("B")};
    EXPECT_EQ(CompatibilityReportBytes(c, {}),
        CrLfLines({"", "", "Tested: 0 programs", "Number of warnings:", "   B: 0"}));
    c.ProgramList = {Program("P", "X")};
    EXPECT_EQ(CompatibilityReportBytes(c, {}),
        CrLfLines({"", "", "Tested: 1 programs", "Number of warnings:", "   B: 0"}));
    c.ProgramList = {Program("P", "X", {{"B", "zz"}}), Program("P", "X", {{"B", "aa"}, {"A", "mid"}})};
    EXPECT_EQ(CompatibilityReportBytes(c, {}),
        CrLfLines({"P - X", "P - X", "   A: mid", "   B: aa", "   B: zz", "", "", "Tested: 2 programs",
            "Number of warnings:", "   B: 2"}));
}
