#include "catalogue/Catalogue.h"
#include "collection/FolderScan.h"
#include "collection/ImageMatching.h"
#include "collection/Relocate.h"
#include "collection/TosecName.h"
#include "collection/XmlPull.h"

#include "support/Builders.h"
#include "support/DfsImages.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vorbix;
using namespace vorbix::test;

namespace {

std::string Hex(std::uint32_t crc)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", crc);
    return text;
}

std::string Hex(const Sha1Digest& digest)
{
    std::string text;
    for (std::uint8_t byte : digest)
        text += Hex(byte).substr(6);
    return text;
}

std::string RomLine(const std::string& name, const std::string& bytes, bool rightSha1 = true)
{
    Sha1Digest sha1 = Sha1Of(bytes);
    if (!rightSha1)
        sha1[0] ^= 1;
    return "<rom name=\"" + name + "\" size=\"" + std::to_string(bytes.size()) + "\" crc=\"" + Hex(Crc32Of(bytes))
        + "\" sha1=\"" + Hex(sha1) + "\"/>";
}

std::string MameList(const std::string& items)
{
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE softwarelist SYSTEM \"softwarelist.dtd\">\n<!-- a comment -->\n"
           "<softwarelist name=\"bbcb_flop\" description=\"BBC disks\">\n"
        + items + "</softwarelist>\n";
}

std::string MameItem(const std::string& description, const std::string& year, const std::string& publisher,
    const std::string& roms)
{
    return "<software name=\"x\"><description>" + description + "</description><year>" + year + "</year><publisher>"
        + publisher + "</publisher><part name=\"flop1\" interface=\"floppy_5_25\"><dataarea name=\"flop\" size=\"1\">"
        + roms + "</dataarea></part></software>\n";
}

// A DFS disc whose one file fills sectors 2 to 9 with bytes that are not zero: 2,560 bytes in use.
std::string GameDisc(unsigned sectorsHeld)
{
    std::string disc =
        DfsImage("GAME", 3, {{"GAME", '$', false, 0x1900, 0x1900, 8 * 256, 2}}, 800, 0, static_cast<int>(sectorsHeld));
    for (std::size_t i = 512; i < 10 * 256 && i < disc.size(); ++i)
        disc[i] = static_cast<char>(1 + i % 251);
    return disc;
}

struct Counting : ScanControl {
    bool cancelAtImages = false;
    mutable bool cancelled = false;
    bool Cancelled() const override { return cancelled; }
    void Progress(ScanStage stage, std::size_t, std::size_t) override
    {
        if (stage == ScanStage::Images && cancelAtImages)
            cancelled = true;
    }
};

const FolderProposal* ProposalFor(const FolderScanResult& result, const std::string& path)
{
    for (const FolderProposal& proposal : result.Proposals)
        if (proposal.Record.FileUrl == path)
            return &proposal;
    return nullptr;
}

} // namespace

TEST(Collection, TosecNamesGiveTitleYearAndPublisher)
{
    auto name = ParseTosecName("Repton 3 (1988)(Superior Software)[a]");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Title, "Repton 3");
    EXPECT_EQ(name->Year, "1988");
    EXPECT_EQ(name->Publisher, "Superior Software");
    name = ParseTosecName("Hobbit, The (198x)(Melbourne House)(Disk 1 of 2)[cr]");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Title, "The Hobbit");
    EXPECT_EQ(name->Year, "198x");
    name = ParseTosecName("Elite (demo) (1984-09-20)(-)");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->Title, "Elite");
    EXPECT_EQ(name->Publisher, "");
    // Not the form: no date, a date that is no date, no publisher, no title.
    for (const char* other : {"Repton 3 (Superior Software)", "Repton (88)(Superior)", "Repton (1988)",
             "(1988)(Superior)", "ChuckieEgg", "Repton (1988"})
        EXPECT_FALSE(ParseTosecName(other)) << other;
}

TEST(Collection, TheXmlReaderTakesWhatListsHoldAndStopsOnDamage)
{
    XmlPull reader("<?xml version='1.0'?><!DOCTYPE a [<!ENTITY x '>'>]><a k='1 &amp; &#233;'><![CDATA[<b>]]>"
                   "t&lt;&#x41;<e/></a>");
    ASSERT_EQ(reader.Next(), XmlPiece::StartElement);
    EXPECT_EQ(reader.Attribute("k"), "1 & \xC3\xA9");
    ASSERT_EQ(reader.Next(), XmlPiece::Text);
    EXPECT_EQ(reader.Text(), "<b>");
    ASSERT_EQ(reader.Next(), XmlPiece::Text);
    EXPECT_EQ(reader.Text(), "t<A");
    EXPECT_EQ(reader.Next(), XmlPiece::StartElement);
    EXPECT_EQ(reader.Next(), XmlPiece::EndElement);
    EXPECT_EQ(reader.Next(), XmlPiece::EndElement);
    EXPECT_EQ(reader.Next(), XmlPiece::End);

    for (const char* damaged : {"<a><b></a>", "<a k=1/>", "<a>&bogus;</a>", "<a>&#0;</a>", "<a><!-- x", "<a",
             "<a></a>junk", "<a k='<'/>", "<a>\n\n<![CDATA[x"}) {
        XmlPull bad(damaged);
        XmlPiece piece = XmlPiece::StartElement;
        for (int i = 0; i < 20 && piece != XmlPiece::Error && piece != XmlPiece::End; ++i)
            piece = bad.Next();
        EXPECT_EQ(piece, XmlPiece::Error) << damaged;
        EXPECT_NE(bad.Message().find(" at line "), std::string::npos) << damaged;
    }
}

TEST(Collection, ListsMatchBySizeAndCrcConfirmedBySha1AndDfsDiscsByContent)
{
    const std::string trimmed = GameDisc(10); // cut after its last used sector
    const std::string padded = GameDisc(800); // padded with zeros to 200 KB
    const std::string rom(16384, '\x42');
    ChecksumLists lists;
    ASSERT_TRUE(lists.AddText(MameList(MameItem("Game &amp; Watch", "1985", "Acornsoft", RomLine("game.ssd", trimmed))
                                  + MameItem("Bad Sha", "1986", "X", RomLine("rom.rom", rom, false))),
        "bbcb_flop.xml"));
    ASSERT_TRUE(lists.AddText("<datafile><header><name>TOSEC</name></header>"
                              "<game name=\"Chess, The (1983)(Acornsoft)[a]\"><description>d</description>"
            + RomLine("Chess.ssd", padded.substr(0, 5000) + std::string(5240, '\x01')) + "</game></datafile>",
        "tosec.dat"));
    ASSERT_EQ(lists.size(), 3u);
    EXPECT_EQ(lists[0].Name, "Game & Watch");
    EXPECT_EQ(lists[0].Year, "1985");
    EXPECT_EQ(lists[2].Name, "The Chess");
    EXPECT_EQ(lists[2].Publisher, "Acornsoft");
    EXPECT_EQ(lists[2].Year, "");
    const auto sizes = lists.Sizes();

    auto exact = MatchInLists(lists, sizes, trimmed, true);
    ASSERT_TRUE(exact);
    EXPECT_EQ(exact->Entry, 0u);
    EXPECT_FALSE(exact->ByContent);
    EXPECT_FALSE(MatchInLists(lists, sizes, rom, false)); // size and CRC agree, SHA-1 does not
    // The padded copy, and a copy padded to 100 KB, are the trimmed disc by content.
    for (const std::string& copy : {padded, padded.substr(0, 400 * 256)}) {
        auto content = MatchInLists(lists, sizes, copy, true);
        ASSERT_TRUE(content);
        EXPECT_EQ(content->Entry, 0u);
        EXPECT_TRUE(content->ByContent);
        EXPECT_FALSE(MatchInLists(lists, sizes, copy, false)); // not a DFS candidate (.dsd)
    }
    // A byte changed inside the used sectors, or junk in the padding, is another disc.
    std::string changed = padded;
    changed[9 * 256] ^= 0x10;
    EXPECT_FALSE(MatchInLists(lists, sizes, changed, true));
    std::string junk = padded;
    junk[700 * 256] = 'J';
    EXPECT_FALSE(MatchInLists(lists, sizes, junk, true));
    // A list whose disc is padded matches a trimmed copy the other way round.
    ChecksumLists paddedList;
    ASSERT_TRUE(paddedList.AddText(MameList(MameItem("Game", "", "", RomLine("g.ssd", padded))), "p.xml"));
    auto reverse = MatchInLists(paddedList, paddedList.Sizes(), trimmed, true);
    ASSERT_TRUE(reverse);
    EXPECT_TRUE(reverse->ByContent);
    EXPECT_EQ(Crc32WithZeros(Crc32Of(trimmed), padded.size() - trimmed.size()), Crc32Of(padded));

    // Damaged and foreign lists are refused whole, with the file's name.
    ChecksumLists refused;
    const Status notList = refused.AddText("<html><body/></html>", "page.xml");
    EXPECT_EQ(notList.Message(), "page.xml is neither a MAME software list nor a Logiqx DAT file");
    const Status cut = refused.AddText(MameList(MameItem("A", "1", "B", RomLine("a", rom))).substr(0, 300), "cut.xml");
    EXPECT_EQ(cut.Message().rfind("Cannot read cut.xml: ", 0), 0u) << cut.Message();
    EXPECT_TRUE(refused.empty());
    EXPECT_EQ(refused.AddFile("/nonexistent/list.xml").Message(), "Cannot find file /nonexistent/list.xml");
}

TEST(Collection, AScanProposesEachNewImageOnceAndCountsWhatItSkips)
{
    TempDir dir;
    const std::string root = dir / "images/";
    const std::string repton = dir.Write("images/Superior/Repton 3 (1988)(Superior Software)[a].ssd", "r3");
    const std::string chuckie = dir.Write("images/AcornSoft/Games/ChuckieEgg.SSD", "ce");
    const std::string listed = dir.Write("images/Misc/disc042.ssd", GameDisc(800));
    const std::string known = dir.Write("images/Superior/Known.ssd", "already");
    const std::string copy = dir.Write("images/Misc/Copy of Elite.rom", "elite rom");
    const std::string elite = dir.Write("elsewhere/Elite.rom", "elite rom");
    dir.Write("images/readme.txt", "not an image");
    std::filesystem::create_symlink(chuckie, root + "Chuckie link.ssd"); // the same file twice
    std::filesystem::create_symlink(root, root + "Misc/loop"); // a folder link back up
    ASSERT_EQ(::mkfifo((root + "fifo.ssd").c_str(), 0600), 0);

    Catalogue catalogue = CatalogueIn(dir / "app/");
    catalogue.Publishers = Names({"Acornsoft", "Superior Software"});
    catalogue.ProgramList = {MakeProgram("Superior Software", "Known", "", known),
        MakeProgram("Acornsoft", "Elite", "", elite)};
    ChecksumLists lists;
    ASSERT_TRUE(lists.AddText(MameList(MameItem("Game", "1985", "Acornsoft", RomLine("game.ssd", GameDisc(10)))),
        "bbcb_flop.xml"));
    Counting control;
    const FolderScanResult result = ScanFolder(root, ScanCatalogue::Of(catalogue), lists, control);

    ASSERT_EQ(result.Proposals.size(), 4u);
    EXPECT_EQ(result.ImagesFound, 5u);
    EXPECT_EQ(result.AlreadyInCatalogue, 1u);
    EXPECT_EQ(result.LinkLoops, 1u);
    EXPECT_EQ(result.SpecialFiles, 1u);
    const FolderProposal* p = ProposalFor(result, repton);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Record.ProgramName, "Repton 3");
    EXPECT_EQ(p->Record.PublisherName, "Superior Software");
    EXPECT_EQ(p->Source, NameSource::FileName);
    EXPECT_TRUE(p->Unmatched);
    p = ProposalFor(result, root + "AcornSoft/Games/ChuckieEgg.SSD");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Record.ProgramName, "Chuckie Egg");
    EXPECT_EQ(p->Record.PublisherName, ""); // its folder is "Games"
    EXPECT_EQ(p->Source, NameSource::Folder);
    p = ProposalFor(result, listed);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->Source, NameSource::ListByContent);
    EXPECT_EQ(p->Record.Comments, StringList{"Year: 1985"});
    EXPECT_EQ(p->Record.PublisherName, "Acornsoft");
    p = ProposalFor(result, copy);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->CopyOf, 1);
    EXPECT_FALSE(p->Ticked);
    EXPECT_EQ(ScanSummary(result, true),
        "5 images found: 3 to add, 1 copy of a catalogue program, 1 already in the catalogue, 3 not in the lists; "
        "skipped: 1 link that loops or leads nowhere, 1 special file");

    // Adding: the ticked ones in order, a new type and publisher join the lists once.
    FolderScanResult edited = result;
    for (FolderProposal& proposal : edited.Proposals) {
        proposal.Record.ProgramType = "Arcade";
        if (proposal.Source == NameSource::Folder)
            proposal.Record.PublisherName = "Bug-Byte";
    }
    const CatalogueChange change = AddProposals(catalogue, edited.Proposals);
    EXPECT_EQ(catalogue.ProgramList.size(), 5u);
    EXPECT_EQ(change.RevealPIdx, 2);
    EXPECT_TRUE(change.Programs && change.Categories && change.RebuildProgramList && catalogue.ProgramsChanged);
    EXPECT_EQ(catalogue.Publishers.Items(), (StringList{"Acornsoft", "Bug-Byte", "Superior Software"}));
    EXPECT_EQ(catalogue.ProgramTypes.Items(), StringList{"Arcade"});

    // A scan cancelled while naming returns what it had, marked so.
    Counting cancelling;
    cancelling.cancelAtImages = true;
    const FolderScanResult stopped = ScanFolder(root, ScanCatalogue::Of(catalogue), lists, cancelling);
    EXPECT_TRUE(stopped.Cancelled);
    EXPECT_TRUE(stopped.Proposals.empty());
}

TEST(Collection, AFolderThatCannotBeReadIsCountedAndTheRestScanned)
{
    TempDir dir;
    dir.Write("images/open/One.ssd", "1");
    dir.Write("images/shut/Two.ssd", "2");
    SetMode(dir.path(), 0755);
    SetMode(dir / "images", 0755);
    SetMode(dir / "images/open", 0755);
    SetMode(dir / "images/open/One.ssd", 0644);
    SetMode(dir / "images/shut", 0);
    // Permissions bind only a user without privileges: the scan runs as one in a child.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        Counting control;
        const FolderScanResult result = ScanFolder(dir / "images", ScanCatalogue{}, ChecksumLists{}, control);
        ::_exit(result.UnreadableFolders == 1 && result.Proposals.size() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    SetMode(dir / "images/shut", 0755);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(Collection, RelocateRewritesPathsBelowTheOldFolderOnly)
{
    TempDir dir;
    const std::string to = dir / "Beeb";
    dir.Write("Beeb/Acornsoft/Elite.ssd", "e");
    dir.Write("Beeb/Docs/Elite.txt", "d");
    Catalogue catalogue = CatalogueIn(dir / "app/");
    ProgramRecord elite = MakeProgram("Acornsoft", "Elite", "", "c:\\games\\ACORNSOFT\\Elite.ssd");
    elite.DocLinkNames = {"Manual", "Web"};
    elite.DocLinkUrls = {"C:/Games/Docs/Elite.txt", "http://example.org/"};
    catalogue.ProgramList = {elite, MakeProgram("X", "Other", "", "C:\\GamesOld\\Other.ssd"),
        MakeProgram("Y", "Gone", "", "C:\\Games\\Gone.ssd")};
    catalogue.LastProgramDir = "C:\\Games\\Acornsoft\\";
    catalogue.Options.PictureUrl = "C:\\Games\\shot.jpg";
    catalogue.LastEmuDir = "D:\\Emu\\";

    const auto plan = PlanRelocation(catalogue, "C:\\Games\\", to + "/");
    ASSERT_EQ(plan.size(), 5u);
    EXPECT_EQ(plan[0].NewPath, to + "/ACORNSOFT/Elite.ssd"); // case of the rest kept as stored
    EXPECT_FALSE(plan[0].Exists); // the disk's folder is "Acornsoft"
    EXPECT_EQ(plan[1].NewPath, to + "/Docs/Elite.txt");
    EXPECT_TRUE(plan[1].Exists);
    EXPECT_EQ(RelocationPlace(catalogue, plan[1]), "link Manual of Elite");
    EXPECT_EQ(plan[2].NewPath, to + "/Gone.ssd");
    EXPECT_EQ(plan[3].NewPath, to + "/Acornsoft/");
    EXPECT_TRUE(plan[3].Exists);
    EXPECT_EQ(plan[4].NewPath, to + "/shot.jpg");

    EXPECT_EQ(RelocatedPath("/mnt/a/b.ssd", "/mnt/a", "/srv/x/"), "/srv/x/b.ssd");
    EXPECT_EQ(RelocatedPath("/mnt/ab.ssd", "/mnt/a", "/srv/x"), "");
    EXPECT_EQ(RelocatedPath("/Mnt/a/b.ssd", "/mnt/a", "/srv"), ""); // a Linux folder compares exactly
    EXPECT_EQ(RelocatedPath("C:\\x\\y.ssd", "C:\\", "/d"), "/d/x/y.ssd");
    EXPECT_EQ(RelocatedPath("C:\\x\\y.ssd", "c:\\X", "E:\\Z\\"), "E:\\Z\\y.ssd");

    const CatalogueChange change = ApplyRelocation(catalogue, plan);
    EXPECT_TRUE(change.Programs && change.Options && catalogue.ProgramsChanged);
    EXPECT_EQ(catalogue.ProgramList[0].FileUrl, to + "/ACORNSOFT/Elite.ssd");
    EXPECT_EQ(catalogue.ProgramList[0].DocLinkUrls[1], "http://example.org/");
    EXPECT_EQ(catalogue.ProgramList[1].FileUrl, "C:\\GamesOld\\Other.ssd");
    EXPECT_EQ(catalogue.LastEmuDir, "D:\\Emu\\");
    EXPECT_TRUE(PlanRelocation(catalogue, "C:\\Games", to).empty());
}
