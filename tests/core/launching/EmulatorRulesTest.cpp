#include "launching/EmulatorArguments.h"
#include "launching/ImageMasks.h"

#include <gtest/gtest.h>

using namespace vorbix;

using Texts = std::vector<std::string>;

TEST(EmulatorRules, CaptionsAndClassificationFromTheMasks)
{
    EXPECT_EQ(DiskImagesCaption(), "Disk images (*.ssd, *.dsd, *.img, *.bbc, *.adf, *.uef, *.zip)");
    EXPECT_EQ(DiskImageExtensionsText(), ".ssd/.dsd/.img/.bbc/.adf/.uef/.zip");
    EXPECT_EQ(RomImagesCaption(), "Rom images (*.rom)");
    EXPECT_EQ(UpperExtension("/g/Elite.v1.Ssd"), ".SSD");
    EXPECT_EQ(UpperExtension("/g.x/Elite"), "");
    EXPECT_TRUE(IsDiskExtension(".ZIP"));
    EXPECT_FALSE(IsDiskExtension(".ROM"));
    EXPECT_TRUE(IsRomExtension(".ROM"));
    EXPECT_FALSE(IsRomExtension(""));
    EXPECT_FALSE(IsDiskExtension(""));
    EXPECT_FALSE(IsDiskExtension(".JPG"));
}

TEST(EmulatorRules, CommandLineWordsAndTheImagePlaceholder)
{
    EXPECT_EQ(SplitCommandLine("  -a   b\t\"c d\" e\"f g\"h \"\" "), (Texts{"-a", "b", "c d", "ef gh", ""}));
    EXPECT_EQ(SplitCommandLine("\"unterminated word"), Texts{"unterminated word"});
    EXPECT_TRUE(SplitCommandLine(" \t ").empty());
    EXPECT_EQ(EmulatorArguments("-disc %IMAGE% --x=%IMAGE%", "/e/a b.ssd"),
        (Texts{"-disc", "/e/a b.ssd", "--x=/e/a b.ssd"}));
    // Without an image the switch that took it goes too, or it would take the next switch.
    EXPECT_EQ(EmulatorArguments("-disc %IMAGE% -fast", ""), Texts{"-fast"});
    EXPECT_EQ(EmulatorArguments("bbcb -flop1 %IMAGE% -autoboot_delay 2", ""), (Texts{"bbcb", "-autoboot_delay", "2"}));
    EXPECT_EQ(EmulatorArguments("-x --file=%IMAGE% -fast", ""), (Texts{"-x", "-fast"}));
    EXPECT_EQ(EmulatorArguments("model %IMAGE%", ""), Texts{"model"});
    // A path holding the placeholder's text is not replaced again.
    EXPECT_EQ(EmulatorArguments("%IMAGE%", "/e/%IMAGE%.ssd"), Texts{"/e/%IMAGE%.ssd"});
}
