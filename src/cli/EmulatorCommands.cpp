// emulators: the ready-made emulator definitions, and the test of the catalogue's ones.

#include "CliCatalogue.h"
#include "catalogue/OptionsFile.h"
#include "launching/EmulatorCheck.h"
#include "launching/EmulatorPresets.h"

#include <ostream>

namespace vorbix::cli {

namespace {

constexpr const char* kEmulatorsUsage = "emulators needs one of --presets, --preset NAME, --check [NAME]";

int PrintPresetNames(CliContext& context)
{
    for (const std::string& name : EmulatorPresetNames())
        context.out << name << "\n";
    return FlushedOutput(context, kExitOk);
}

// The element as the options file would hold it, with the terminal's line ends. The
// working folder is named, not created.
int PrintPreset(CliContext& context, const std::string& name)
{
    const std::optional<EmuRecord> preset = EmulatorPreset(name, SystemPresetEnvironment());
    if (!preset) {
        context.err << "No preset named " << name << "\n";
        return kExitUsage;
    }
    std::string element = EmulatorElementBytes(*preset);
    std::string text;
    for (const char c : element)
        if (c != '\r')
            text += c;
    context.out << text;
    return FlushedOutput(context, kExitOk);
}

// Every emulator of the catalogue (each line led by its name), or the one named as the
// launch finds it: of several with that name the last one.
int CheckEmulators(CliContext& context, const std::string* name)
{
    return WithCatalogue(context, [&](const Catalogue& catalogue, CatalogueSource) {
        const EmuRecord* named = nullptr;
        if (name != nullptr) {
            for (const EmuRecord& emu : catalogue.EmuList)
                if (emu.EmuName == *name)
                    named = &emu;
            if (named == nullptr) {
                context.err << "No emulator named " << *name << "\n";
                return kExitUsage;
            }
        }
        bool any = false;
        for (const EmuRecord& emu : catalogue.EmuList) {
            if (named != nullptr && &emu != named)
                continue;
            for (const std::string& problem : CheckEmulator(emu, catalogue)) {
                context.out << (named != nullptr ? std::string() : emu.EmuName + ": ") << problem << "\n";
                any = true;
            }
        }
        if (!any)
            context.out << "No problems found\n";
        return FlushedOutput(context, any ? kExitFindings : kExitOk);
    });
}

} // namespace

int RunEmulators(CliContext& context, const std::vector<std::string>& args)
{
    if (args.size() == 1 && args[0] == "--presets")
        return PrintPresetNames(context);
    if (args.size() == 2 && args[0] == "--preset")
        return PrintPreset(context, args[1]);
    if (!args.empty() && args.size() <= 2 && args[0] == "--check")
        return CheckEmulators(context, args.size() == 2 ? &args[1] : nullptr);
    context.err << kEmulatorsUsage << "\n";
    return kExitUsage;
}

} // namespace vorbix::cli
