#include "reports/ReportLines.h"

#include <gtest/gtest.h>

#include "fastpath/CollationTable.h"

#include <algorithm>
#include <iterator>
#include <random>

using namespace vorbix;

namespace {

std::vector<std::string> Texts(const ReportLines& lines)
{
    std::vector<std::string> texts;
    for (const ReportLines::Line& line : lines.Lines())
        texts.push_back(ReportLines::WholeText(line));
    return texts;
}

} // namespace

// Sorting in groups must give exactly the order of one stable sort of all lines, also when
// groups interleave (fronts equal ignoring case or accents) or lines compare equal; and
// that order is the plain comparison's, of the headings first, then of the whole lines.
TEST(ReportLines, GroupedSortEqualsOneStableSort)
{
    std::mt19937 rng(11);
    const std::vector<std::string> fronts = {"Elite", "elite", "\xC3\x89lite", "Elite ", "Elit", "Zork", "zork", "",
        "Elite2", "Caf\xe9", "CAF\xc9", "Caf\xe8", "Cafe", "Acornsoft Limited - Elite", "ACORNSOFT LIMITED - ELITE II",
        "Acornsoft Limited -\x01 Elite"};
    const std::vector<std::string> markers = {"               #1InfoStart #123@#", "               #2InfoIn    #123@#",
        "               #5WarnIn    #123@#"};
    const std::string typeMarker = "               #Type       #123@#";
    const std::vector<std::string> rests = {"", "a", "A", "\xC3\xA0", "\xe0", " b", "0000000001x", "0000000000y"};
    // Every other round has only ASCII fronts and more lines: the sorts then order the lines
    // by their prefixes first ("Acornsoft Limited - Elite" and "ACORNSOFT LIMITED - ELITE II"
    // share one), and only lines with equal prefixes by their texts.
    std::vector<std::string> asciiFronts;
    std::copy_if(fronts.begin(), fronts.end(), std::back_inserter(asciiFronts), [](const std::string& f) {
        return std::all_of(f.begin(), f.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    });
    for (int round = 0; round < 200; ++round) {
        const std::vector<std::string>& frontsNow = round % 2 == 0 ? fronts : asciiFronts;
        ReportLines grouped;
        ReportLines plain;
        std::vector<std::pair<std::string, std::string>> reference; // heading, line
        auto add = [&](const std::string& front, const std::string& line) {
            reference.emplace_back(!front.empty() && line.starts_with(front) ? front : line, line);
        };
        for (int g = 0, groups = 1 + static_cast<int>(rng() % (round % 2 == 0 ? 8 : 40)); g < groups; ++g) {
            const std::string front = frontsNow[rng() % frontsNow.size()];
            grouped.BeginGroup();
            grouped.SetHeading(front);
            plain.SetHeading(front);
            grouped.Add(front);
            plain.Add(front);
            add(front, front);
            if (rng() % 3 == 0) { // a plain line equal to another group's front
                const std::string other = frontsNow[rng() % frontsNow.size()];
                grouped.Add(other);
                plain.Add(other);
                add(front, other);
            }
            // The programs report's lines begin with the program's whole type line.
            std::string key = front;
            if (rng() % 2 == 0) {
                const std::string type = rng() % 2 == 0 ? " (Arcade)" : " (Puzzle)";
                grouped.AddMarked(front, typeMarker, 2, type);
                plain.AddMarked(front, typeMarker, 2, type);
                add(front, front + typeMarker + type);
                key = front + typeMarker + type;
            }
            for (int i = 0, n = static_cast<int>(rng() % 5); i < n; ++i) {
                const std::string& marker = markers[rng() % markers.size()];
                const std::string& rest = rests[rng() % rests.size()];
                grouped.AddMarked(key, marker, 1, rest);
                plain.AddMarked(key, marker, 1, rest);
                add(front, key + marker + rest);
            }
        }
        grouped.Sort();
        plain.Sort();
        ASSERT_EQ(Texts(grouped), Texts(plain)) << "round " << round;
        std::stable_sort(reference.begin(), reference.end(), [](const auto& a, const auto& b) {
            const int head = CompareTextIgnoreCase(a.first, b.first);
            return head != 0 ? head < 0 : CompareTextIgnoreCase(a.second, b.second) < 0;
        });
        std::vector<std::string> expected;
        for (const auto& [heading, line] : reference)
            expected.push_back(line);
        ASSERT_EQ(Texts(plain), expected) << "round " << round;
    }
}

TEST(ReportLines, EqualLinesOfDifferentGroupsKeepTheirOrder)
{
    ReportLines lines;
    lines.BeginGroup();
    lines.Add("Elite");
    lines.BeginGroup();
    lines.Add("A");
    lines.Add("elite");
    lines.Sort();
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{"A", "Elite", "elite"}));
}

TEST(ReportLines, MarkerPlaceIsKeptThroughTheSort)
{
    ReportLines lines;
    lines.BeginGroup();
    lines.AddMarked("B #Temp", "#M#", 7, " (x #M# y)");
    lines.BeginGroup();
    lines.Add("A");
    lines.Sort();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines.Lines()[0].Tag, ReportLines::kPlain);
    EXPECT_EQ(lines.Lines()[1].Tag, 7);
    EXPECT_EQ(lines.Before(lines.Lines()[1]), "B #Temp");
    EXPECT_EQ(lines.After(lines.Lines()[1]), " (x #M# y)");
}
