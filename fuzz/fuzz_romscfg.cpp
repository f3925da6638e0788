// Feeds arbitrary ROMS.CFG bytes and ROM names to UpdateRomsCfg. Input: one byte of
// flags (insert, DFS, Model B, Master 128), one byte giving the name's length, the name,
// then the file. Checks that the rewritten file is the edited lines with CR LF, that the
// line count and every blank and comment line stay, and that a refused file is untouched.

#include "catalogue/Prompts.h"
#include "launching/RomsCfg.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

class SilentPrompts : public vorbix::Prompts {
public:
    vorbix::MessageAnswer ShowMessageBox(const vorbix::MessageRequest&) override
    {
        ++shown;
        return vorbix::MessageAnswer::Ok;
    }
    int shown = 0;
};

const std::string& Folder()
{
    static const std::string folder = [] {
        std::string pattern = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/vorbix-fuzz-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        return pattern + "/";
    }();
    static const bool cleanUp = [] {
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return true;
    }();
    (void)cleanUp;
    return folder;
}

bool IsEntry(const std::string& line)
{
    const auto first = line.find_first_not_of(" \t");
    return first != std::string::npos && line[first] != '#';
}

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned flags = data[0];
    const std::size_t nameLength = std::min<std::size_t>(data[1], size - 2);
    const std::string name(reinterpret_cast<const char*>(data + 2), nameLength);
    const std::string bytes(reinterpret_cast<const char*>(data + 2 + nameLength), size - 2 - nameLength);
    const bool insert = flags & 1, isDfs = flags & 2, modelB = flags & 4, master = flags & 8;

    const std::string cfg = Folder() + "ROMS.CFG";
    vorbix::WriteFileAtomic(cfg, bytes);
    SilentPrompts prompts;
    vorbix::UpdateRomsCfg(insert, isDfs, Folder() + "beebem", name, modelB, master, prompts);

    const std::string after = vorbix::ReadFileBytes(cfg);
    const auto before = vorbix::SplitLines(bytes);
    auto expected = before;
    const bool edited = (modelB || master)
        && vorbix::EditRomsCfgLines(expected, insert, isDfs, name, modelB) == vorbix::RomsCfgEdit::Done;
    if (!edited) {
        Check(after == bytes);
        Check((modelB || master) == (prompts.shown == 1));
        return 0;
    }
    Check(prompts.shown == 0);
    Check(after == vorbix::JoinLinesCrLf(expected));
    const auto lines = vorbix::SplitLines(after);
    Check(lines.size() == before.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        Check(IsEntry(before[i]) ? IsEntry(lines[i]) : lines[i] == before[i]);
    return 0;
}
