// disc: what is on a disc or tape image, as the details panel's Disc tab shows it.

#include "CliCatalogue.h"
#include "discs/DiscContents.h"

#include <ostream>

namespace vorbix::cli {

int RunDisc(CliContext& context, const std::vector<std::string>& args)
{
    if (args.size() != 1 || args.front().empty()) {
        context.err << "disc needs one image file\n";
        return kExitUsage;
    }
    const Result<ImageDescription> description = DescribeImageFile(args.front());
    if (!description) {
        context.err << "Error: " << description.Message() << "\n";
        return kExitFileError;
    }
    for (const std::string& line : description.Value().Lines)
        context.out << line << '\n';
    // An image read as no disc or tape is a finding, as check's problems are.
    return FlushedOutput(context, description.Value().Understood ? kExitOk : kExitFindings);
}

} // namespace vorbix::cli
