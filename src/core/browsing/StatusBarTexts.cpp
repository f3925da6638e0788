#include "browsing/StatusBarTexts.h"

namespace vorbix {

StatusPanels StatusBarTexts(const ProgramRecord& program, int rowCount)
{
    StatusPanels panels;
    panels[0] = " " + program.ProgramType;
    panels[1] = program.Favourite ? " Favourite" : "";
    panels[2] = program.E00Dfs ? " E00" : "";
    panels[3] = (!program.Comments.empty() || !program.DocLinkNames.empty()) ? "!" : "";
    panels[4] = ProgramCountText(rowCount);
    return panels;
}

std::string ProgramCountText(int rowCount)
{
    return std::to_string(rowCount) + " Programs  ";
}

} // namespace vorbix
