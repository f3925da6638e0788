#include "catalogue/Main_LoadSaveUnit.h"
#include "platform/FileSystem.h"

#include "support/Builders.h"
#include "support/FakePrompts.h"
#include "support/TempDir.h"
#include "support/Writers.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vorbix;
using vorbix::test::CatalogueIn;
using vorbix::test::FakePrompts;
using vorbix::test::TempDir;

namespace {

const char* kLegacyOptions = "1\n0\nAcornsoft\n\n\n\nall\n\nfalse\n\n\nfalse\nfalse\n\n";
const char* kLegacyPrograms = "1\nElite\n/g/Elite.ssd\nAcornsoft\nSpace\nFalse\nFalse\n0\n0\n";

} // namespace

TEST(LoadCatalogue, ChoosesBetweenXmlAndLegacyFiles)
{
    FakePrompts prompts;
    {
        TempDir dir;
        Catalogue c = CatalogueIn(dir.path());
        EXPECT_EQ(LoadCatalogue(c, prompts).Value(), CatalogueSource::None);
        EXPECT_TRUE(c.ProgramList.empty());
        EXPECT_EQ(c.LastFilter, "all");
        EXPECT_FALSE(c.ProgramsChanged);
    }
    {
        // Legacy files and no options file: imported once, marked as changed.
        TempDir dir;
        dir.Write("Options.ini", kLegacyOptions);
        dir.Write("Programs.ini", kLegacyPrograms);
        Catalogue c = CatalogueIn(dir.path());
        std::vector<std::string> progress;
        EXPECT_EQ(LoadCatalogue(c, prompts, [&](const std::string& s) { progress.push_back(s); }).Value(),
            CatalogueSource::Legacy);
        EXPECT_TRUE(prompts.shown.empty()); // no programs file: the import replaces nothing
        EXPECT_TRUE(c.ProgramsChanged);
        ASSERT_EQ(c.ProgramList.size(), 1u);
        EXPECT_EQ(c.Publishers.Items(), std::vector<std::string>{"Acornsoft"});
        EXPECT_EQ(progress.front(), "Loading programs...");

        // At exit both XML files are written; the next start reads them, whatever INI remain.
        Result<SavedFiles> saved = SaveCatalogue(c, true);
        ASSERT_TRUE(saved.Ok());
        EXPECT_TRUE(saved.Value().ProgramsFile);
        EXPECT_TRUE(saved.Value().OptionsFile);
        dir.Write("Programs.ini", "0\n");
        Catalogue next = CatalogueIn(dir.path());
        EXPECT_EQ(LoadCatalogue(next, prompts).Value(), CatalogueSource::Xml);
        EXPECT_FALSE(next.ProgramsChanged);
        ASSERT_EQ(next.ProgramList.size(), 1u);
        EXPECT_EQ(next.ProgramList[0].ProgramName, "Elite");
    }
    {
        // The programs file never decides: options file without programs file is empty.
        TempDir dir;
        dir.Write("Programs.ini", kLegacyPrograms);
        dir.Write("Options.ini", kLegacyOptions);
        dir.Write("Data/options.xml", "<?xml version=\"1.0\"?>\r\n\r\n<options></options>\r\n");
        Catalogue c = CatalogueIn(dir.path());
        EXPECT_EQ(LoadCatalogue(c, prompts).Value(), CatalogueSource::Xml);
        EXPECT_TRUE(c.ProgramList.empty());
    }
    {
        // Programs.ini alone (no Options.ini) is not imported.
        TempDir dir;
        dir.Write("Programs.ini", kLegacyPrograms);
        Catalogue c = CatalogueIn(dir.path());
        EXPECT_EQ(LoadCatalogue(c, prompts).Value(), CatalogueSource::None);
        EXPECT_TRUE(c.ProgramList.empty());
    }
}

TEST(LoadCatalogue, ALegacyImportOverAProgramsFileKeepsThatFileUnderANewName)
{
    TempDir dir;
    dir.Write("Options.ini", kLegacyOptions);
    dir.Write("Programs.ini", kLegacyPrograms);
    Catalogue old = CatalogueIn(dir.path());
    old.ProgramList = {test::MakeProgram("Superior", "Repton"), test::MakeProgram("Superior", "Citadel")};
    ASSERT_TRUE(SaveCatalogue(old, false).Ok());
    DeleteFileAt(dir / "Data/options.xml");
    const std::string oldPrograms = dir.Read("Data/programs.xml");
    const std::string path = dir / "Data/programs.xml";
    const std::string imported = "The catalogue was imported from the legacy files Programs.ini and Options.ini in "
        + dir.path() + " (1 program, 0 emulators, 0 filters), because " + dir / "Data/options.xml" + " does not exist.";

    Catalogue c = CatalogueIn(dir.path());
    FakePrompts prompts;
    ASSERT_EQ(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Value(), CatalogueSource::Legacy);
    EXPECT_EQ(prompts.Texts(),
        std::vector<std::string>{imported + " The programs file that was there, " + path + ", was kept as " + path
            + ".before-import-1; the next save writes the imported "
              "programs in its place."});
    EXPECT_EQ(dir.Read("Data/programs.xml.before-import-1"), oldPrograms);
    Result<SavedFiles> saved = SaveCatalogue(c, true);
    ASSERT_TRUE(saved.Ok());
    EXPECT_TRUE(saved.Value().Notices.empty());
    EXPECT_NE(dir.Read("Data/programs.xml").find("<program-name>Elite</program-name>"), std::string::npos);
    EXPECT_EQ(dir.Read("Data/programs.xml.before-import-1"), oldPrograms);

    // A read-only load writes nothing and says so; the save that replaces the file keeps the
    // copy first, under the next free name, and tells where.
    DeleteFileAt(dir / "Data/options.xml");
    const std::string eliteOnly = dir.Read("Data/programs.xml");
    const auto before = dir.Contents();
    Catalogue r = CatalogueIn(dir.path());
    FakePrompts readOnly;
    ASSERT_EQ(LoadCatalogue(r, readOnly).Value(), CatalogueSource::Legacy);
    EXPECT_EQ(readOnly.Texts(),
        std::vector<std::string>{imported + " The programs file that is there, " + path
            + ", was left as it is; a save would keep it under a new name before writing "
              "the imported programs in its place."});
    EXPECT_EQ(dir.Contents(), before);
    saved = SaveCatalogue(r, true);
    ASSERT_TRUE(saved.Ok());
    EXPECT_EQ(saved.Value().Notices,
        std::vector<std::string>{"The programs file that was there before the legacy "
                                 "import, "
            + path + ", was kept as " + path
            + ".before-import-2 before it "
              "was saved over."});
    EXPECT_EQ(dir.Read("Data/programs.xml.before-import-2"), eliteOnly);
    EXPECT_EQ(dir.Read("Data/programs.xml.before-import-1"), oldPrograms);

    // A programs file too long for the disk's room: not copied, so not replaced, while the
    // shorter imported file would fit.
    DeleteFileAt(dir / "Data/options.xml");
    old.ProgramList[0].Comments = {std::string(20000, 'c')};
    ASSERT_TRUE(SaveProgramsFile(old).Ok());
    const std::string longPrograms = dir.Read("Data/programs.xml");
    test::FailingWriter fullDisk(8000);
    Catalogue f = CatalogueIn(dir.path());
    FakePrompts full;
    ASSERT_EQ(LoadCatalogue(f, full, {}, LoadAccess::KeepCopies, fullDisk).Value(), CatalogueSource::Legacy);
    EXPECT_EQ(full.Texts(),
        std::vector<std::string>{imported + " The programs file that is there, " + path
            + ", could not be kept under a new name (Cannot create file " + path
            + ".before-import-3), so it will not be saved over until a copy can be kept beside "
              "it."});
    ASSERT_LT(ProgramsFileBytes(f).size(), 8000u);
    saved = SaveCatalogue(f, true, fullDisk);
    ASSERT_FALSE(saved.Ok());
    EXPECT_EQ(saved.Message(),
        "Cannot save " + path
            + ": the programs file that was there before the legacy import "
              "could not be kept under a new name (Cannot create file "
            + path + ".before-import-3). It was left as it is.");
    EXPECT_EQ(dir.Read("Data/programs.xml"), longPrograms);
    EXPECT_FALSE(dir.Exists("Data/options.xml")); // so the next start offers the import again
    EXPECT_FALSE(dir.Exists("Data/programs.xml.before-import-3"));
}

TEST(LoadCatalogue, BadLegacyCountReachesTheCallerAndNothingIsWritten)
{
    TempDir dir;
    dir.Write("Options.ini", kLegacyOptions);
    dir.Write("Programs.ini", "1\nA\na.ssd\nP\nT\nFalse\nFalse\nmany\n");
    Catalogue c = CatalogueIn(dir.path());
    FakePrompts prompts;
    const Result<CatalogueSource> loaded = LoadCatalogue(c, prompts);
    ASSERT_FALSE(loaded.Ok());
    EXPECT_EQ(loaded.Message(), "'many' is not a valid integer value");
    EXPECT_FALSE(dir.Exists("Data"));
    EXPECT_EQ(dir.Read("Programs.ini"), "1\nA\na.ssd\nP\nT\nFalse\nFalse\nmany\n");
}

TEST(LoadCatalogue, ACatalogueLinkThatCannotBeFollowedIsAnErrorAndStaysALink)
{
    // A dangling link at either catalogue file, with a legacy Options.ini beside it: the load
    // fails with the link's path instead of importing or starting empty.
    for (const char* file : {"Data/options.xml", "Data/programs.xml"}) {
        TempDir dir;
        dir.Write("Options.ini", kLegacyOptions);
        dir.Write("Data/options.xml", "<options></options>");
        std::filesystem::remove(dir / file);
        std::filesystem::create_symlink(dir / "gone.xml", dir / file);
        Catalogue c = CatalogueIn(dir.path());
        FakePrompts prompts;
        const Result<CatalogueSource> loaded = LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies);
        ASSERT_FALSE(loaded.Ok()) << file;
        EXPECT_EQ(loaded.Error(), Failure::CannotOpen(dir / file));
        EXPECT_TRUE(std::filesystem::is_symlink(dir / file));
        EXPECT_FALSE(dir.Exists("gone.xml"));
    }
}

TEST(SaveCatalogue, WhichFilesAreWritten)
{
    TempDir root;
    TempDir dir;
    // A first save makes the application folder that does not exist yet (as
    // $XDG_DATA_HOME/vorbix/ on a first run) and its Data; at exit without changes only
    // options are written.
    Catalogue c = CatalogueIn(root / "share/vorbix/");
    Result<SavedFiles> r = SaveCatalogue(c, true);
    ASSERT_TRUE(r.Ok()) << r.Message();
    EXPECT_TRUE(root.Exists("share/vorbix/Data/options.xml"));
    c = CatalogueIn(dir.path());
    r = SaveCatalogue(c, true);
    ASSERT_TRUE(r.Ok()) << r.Message();
    EXPECT_FALSE(r.Value().ProgramsFile);
    EXPECT_TRUE(dir.Exists("Data/options.xml"));
    EXPECT_FALSE(dir.Exists("Data/programs.xml"));
    // "&Save" writes both, whatever the flag.
    c.LastFilter = "Favs";
    c.LastEmu = "BeebEm";
    r = SaveCatalogue(c, false);
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.Value().ProgramsFile && r.Value().OptionsFile);
    EXPECT_NE(dir.Read("Data/options.xml").find("<last-filter>Favs</last-filter>"), std::string::npos);
    EXPECT_EQ(dir.Read("Data/programs.xml"),
        "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"programs.xsl\"?>\r\n"
        "<!DOCTYPE programs SYSTEM \"programs.dtd\">\r\n\r\n<programs>\r\n  <vorbix-version>2.3</vorbix-version>\r\n"
        "</programs>\r\n");
}

TEST(SaveCatalogue, FailuresAreReportedAndOldFilesStayIntact)
{
    TempDir dir;
    Catalogue c = CatalogueIn(dir.path());
    c.ProgramList.push_back(ProgramRecord{"New", "/g/new.ssd", "P", "T"});
    c.ProgramsChanged = true;
    dir.Write("Data/programs.xml", "old programs");
    dir.Write("Data/options.xml", "old options");

    // A read-only programs file: error, and the options file is not written after it.
    test::SetMode(dir / "Data/programs.xml", 0444);
    Result<SavedFiles> r = SaveCatalogue(c, true);
    ASSERT_FALSE(r.Ok());
    EXPECT_EQ(r.Error(), (Failure{"Cannot create file " + (dir / "Data/programs.xml"), dir / "Data/programs.xml"}));
    EXPECT_EQ(dir.Read("Data/programs.xml"), "old programs");
    EXPECT_EQ(dir.Read("Data/options.xml"), "old options");
    EXPECT_TRUE(c.ProgramsChanged);
    test::SetMode(dir / "Data/programs.xml", 0644);

    // A read-only Data folder that holds no programs file yet.
    TempDir fresh;
    Catalogue elsewhere = CatalogueIn(fresh.path());
    std::filesystem::create_directory(fresh / "Data");
    test::SetMode(fresh / "Data", 0555);
    r = SaveCatalogue(elsewhere, false);
    test::SetMode(fresh / "Data", 0755);
    EXPECT_EQ(r.Message(), "Cannot create file " + (fresh / "Data/programs.xml"));
    EXPECT_FALSE(fresh.Exists("Data/programs.xml"));

    // A disk that fills up part-way and a crash between writing the temporary file and
    // the rename never replace the catalogue.
    test::FailingWriter fullDisk(100);
    r = SaveCatalogue(c, false, fullDisk);
    EXPECT_EQ(r.Message(), "Cannot create file " + (dir / "Data/programs.xml"));
    EXPECT_EQ(dir.Read("Data/programs.xml"), "old programs");
    test::WatchingWriter crash;
    crash.OnWrite = [](const std::string&) { throw std::runtime_error("power cut"); };
    EXPECT_THROW((void)SaveCatalogue(c, false, crash), std::runtime_error);
    EXPECT_EQ(dir.Read("Data/programs.xml"), "old programs");
    Catalogue reloaded = CatalogueIn(dir.path());
    FakePrompts prompts;
    EXPECT_TRUE(LoadCatalogue(reloaded, prompts).Ok());
    EXPECT_EQ(dir.Read("Data/programs.xml"), "old programs");

    // A Data folder that cannot be created (a file stands in its way).
    TempDir blocked;
    blocked.Write("Data", "not a folder");
    Catalogue b = CatalogueIn(blocked.path());
    r = SaveCatalogue(b, true);
    EXPECT_EQ(r.Message(), "Cannot create file " + (blocked / "Data/options.xml"));

    // Once the fault is gone, the save succeeds.
    r = SaveCatalogue(c, false);
    EXPECT_TRUE(r.Ok());
    EXPECT_NE(dir.Read("Data/programs.xml").find("<program-name>New</program-name>"), std::string::npos);
}

TEST(SaveCatalogue, AFileChangedOutsideSinceTheLoadIsSavedOverOnlyWhenTheUserSaysSoAndItsVersionIsKept)
{
    TempDir dir;
    Catalogue original = CatalogueIn(dir.path());
    original.ProgramList.push_back(ProgramRecord{"Orbit", "/g/Orbit.ssd", "P", "T"});
    ASSERT_TRUE(SaveCatalogue(original, false).Ok());

    FakePrompts prompts;
    Catalogue c = CatalogueIn(dir.path());
    ASSERT_TRUE(LoadCatalogue(c, prompts, {}, LoadAccess::KeepCopies).Ok());
    c.ProgramsChanged = true;

    // The same bytes written again (a sync tool, an editor's save without changes) with a
    // new time stamp and inode are no change.
    const std::string loaded = dir.Read("Data/programs.xml");
    std::filesystem::remove(dir / "Data/programs.xml");
    dir.Write("Data/programs.xml", loaded);
    EXPECT_FALSE(SaveWouldAsk(c, true));

    // A program renamed by another program, and an options file of the same size: the save
    // asks about each before writing anything, and No leaves both as they are.
    std::string renamed = loaded;
    renamed.replace(renamed.find("Orbit"), 5, "Orbix");
    dir.Write("Data/programs.xml", renamed);
    std::string options = dir.Read("Data/options.xml");
    options.replace(options.find(">all<"), 5, ">any<");
    dir.Write("Data/options.xml", options);
    const auto before = dir.Contents();
    prompts.QueueAnswer(MessageAnswer::Yes);
    prompts.QueueAnswer(MessageAnswer::No);
    Result<SavedFiles> saved = SaveCatalogue(c, true, SystemFileWriter(), &prompts);
    ASSERT_TRUE(saved.Ok());
    EXPECT_TRUE(saved.Value().Declined);
    EXPECT_FALSE(saved.Value().ProgramsFile || saved.Value().OptionsFile);
    EXPECT_EQ(dir.Contents(), before);
    ASSERT_EQ(prompts.Texts().size(), 2u);
    EXPECT_EQ(prompts.Texts()[0],
        "Data/programs.xml was changed outside Vorbix since it was loaded. Save the catalogue shown here over it? "
        "The version on disk is kept as Data/programs.xml.outside-1.");
    EXPECT_EQ(prompts.Texts()[1].substr(0, 17), "Data/options.xml ");

    // Without anyone to ask, nothing is written either.
    saved = SaveCatalogue(c, true);
    EXPECT_TRUE(saved.Ok() && saved.Value().Declined);
    EXPECT_EQ(dir.Contents(), before);

    // Yes to both: each version on disk is kept byte for byte under a name no file holds,
    // then the catalogue shown is written; the next save asks nothing.
    dir.Write("Data/programs.xml.outside-1", "an earlier kept version");
    prompts.shown.clear();
    saved = SaveCatalogue(c, true, SystemFileWriter(), &prompts);
    ASSERT_TRUE(saved.Ok());
    EXPECT_TRUE(saved.Value().ProgramsFile && saved.Value().OptionsFile);
    EXPECT_NE(prompts.Texts()[0].find("kept as Data/programs.xml.outside-2."), std::string::npos);
    EXPECT_EQ(dir.Read("Data/programs.xml.outside-1"), "an earlier kept version");
    EXPECT_EQ(dir.Read("Data/programs.xml.outside-2"), renamed);
    EXPECT_EQ(dir.Read("Data/options.xml.outside-1"), options);
    EXPECT_EQ(dir.Read("Data/programs.xml"), loaded);
    prompts.shown.clear();
    EXPECT_TRUE(SaveCatalogue(c, false, SystemFileWriter(), &prompts).Ok());
    EXPECT_TRUE(prompts.shown.empty());

    // A file deleted outside holds nothing a save could lose: written without a question.
    std::filesystem::remove(dir / "Data/options.xml");
    EXPECT_FALSE(SaveWouldAsk(c, true));
}
