#include "editing/LinkEditing.h"

#include "support/FakePrompts.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vorbix;

namespace {

using Texts = std::vector<std::string>;
using Links = std::vector<DocLink>;

Texts Names(const Links& links)
{
    Texts names;
    for (const DocLink& link : links)
        names.push_back(link.Name);
    return names;
}

} // namespace

TEST(LinkEditing, MovesSortAndButtons)
{
    Links links{{"A", "/a"}, {"B", "/b"}, {"C", "/c"}};
    EXPECT_EQ(MoveLinkUp(links, 0), 0); // the first row has nothing above
    EXPECT_EQ(MoveLinkDown(links, 2), 2); // the last nothing below
    EXPECT_EQ(Names(links), (Texts{"A", "B", "C"}));
    EXPECT_EQ(MoveLinkUp(links, 2), 1);
    EXPECT_EQ(links, (Links{{"A", "/a"}, {"C", "/c"}, {"B", "/b"}})); // names and paths move together
    EXPECT_EQ(MoveLinkDown(links, 0), 1);
    EXPECT_EQ(Names(links), (Texts{"C", "A", "B"}));

    // Case-sensitive, a lower-case letter first; equal names keep their order.
    links = {{"b", "1"}, {"B", "2"}, {"a", "3"}, {"b", "4"}};
    SortLinks(links);
    EXPECT_EQ(links, (Links{{"a", "3"}, {"b", "1"}, {"b", "4"}, {"B", "2"}}));

    EXPECT_EQ(UpdateLinkButtons(0, -1), (LinkButtons{true, false, false, false, false, false}));
    EXPECT_EQ(UpdateLinkButtons(1, 0), (LinkButtons{true, true, true, false, false, false}));
    EXPECT_EQ(UpdateLinkButtons(3, 1), (LinkButtons{true, true, true, true, true, true}));
    EXPECT_EQ(UpdateLinkButtons(3, 3), (LinkButtons{true, false, false, false, false, true})); // no row 3
    EXPECT_EQ(UpdateLinkButtons(13, 12), (LinkButtons{true, true, true, true, false, true}));
    EXPECT_EQ(UpdateLinkButtons(14, 0), (LinkButtons{false, true, true, false, true, true}));

    links.clear();
    for (int i = 0; i < MaxDocLinks; ++i)
        EXPECT_EQ(AddLink(links, {"n", "u"}), i);
    EXPECT_EQ(AddLink(links, {"n", "u"}), -1);
    EXPECT_EQ(links.size(), 14u);

    // A program's links row by row and back; a damaged record gets empty paths.
    ProgramRecord p;
    p.DocLinkNames = {"Manual", "Map"};
    p.DocLinkUrls = {"/m.pdf"};
    EXPECT_EQ(LinksOf(p), (Links{{"Manual", "/m.pdf"}, {"Map", ""}}));
    StoreLinks(p, {{"Map", "/map.jpg"}});
    EXPECT_EQ(p.DocLinkNames, Texts{"Map"});
    EXPECT_EQ(p.DocLinkUrls, Texts{"/map.jpg"});
}

TEST(LinkEditing, DeleteAsksAboutTheFile)
{
    test::TempDir dir;
    const std::string manual = dir.Write("docs/Manual.txt", "m");
    const std::string keep = dir.Write("docs/Keep.txt", "k");
    const std::string missing = dir / "docs/Gone.pdf";
    Links links{{"Manual", manual}, {"Web", ""}, {"Gone", missing}, {"Sys", "/proc/version"}, {"Keep", keep}};
    test::FakePrompts prompts;

    // Cancel keeps the link and the file.
    prompts.QueueAnswer(MessageAnswer::Cancel);
    LinkDelete deleted = DeleteLink(links, 0, prompts);
    EXPECT_FALSE(deleted.Removed);
    EXPECT_EQ(deleted.Row, 0);
    EXPECT_EQ(links.size(), 5u);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].request.Text, "Also delete associated file (Manual.txt)?");
    EXPECT_TRUE(prompts.shown[0].request.DefaultNo); // Enter keeps the file
    EXPECT_EQ(prompts.shown[0].request.Buttons, MessageButtons::YesNoCancel);

    // No removes the link only.
    prompts.QueueAnswer(MessageAnswer::No);
    deleted = DeleteLink(links, 0, prompts);
    EXPECT_TRUE(deleted.Removed);
    EXPECT_EQ(deleted.Row, 0);
    EXPECT_TRUE(dir.Exists("docs/Manual.txt"));

    // No path: nothing is asked.
    deleted = DeleteLink(links, 0, prompts);
    EXPECT_TRUE(deleted.Removed);
    EXPECT_EQ(prompts.shown.size(), 2u);

    // Yes with a missing file, and with one nobody may delete (root included): the message,
    // and the link goes all the same.
    prompts.QueueAnswer(MessageAnswer::Yes);
    prompts.QueueAnswer(MessageAnswer::Yes);
    DeleteLink(links, 0, prompts);
    deleted = DeleteLink(links, 0, prompts);
    EXPECT_TRUE(deleted.Removed);
    EXPECT_EQ(prompts.Texts(),
        (Texts{"Also delete associated file (Manual.txt)?", "Also delete associated file (Manual.txt)?",
            "Also delete associated file (Gone.pdf)?", "Cannot find file " + missing,
            "Also delete associated file (version)?", "Cannot delete file /proc/version"}));
    EXPECT_EQ(prompts.shown[3].request.Buttons, MessageButtons::Ok);
    EXPECT_EQ(prompts.shown[3].request.Icon, MessageIcon::None);

    // Yes deletes the file; the only row gone, none is selected.
    prompts.QueueAnswer(MessageAnswer::Yes);
    deleted = DeleteLink(links, 0, prompts);
    EXPECT_EQ(deleted.Row, -1);
    EXPECT_TRUE(links.empty());
    EXPECT_FALSE(dir.Exists("docs/Keep.txt"));
    EXPECT_EQ(prompts.shown.size(), 7u);
    EXPECT_FALSE(DeleteLink(links, 0, prompts).Removed);

    // Deleting the last of several rows selects the new last row.
    links = {{"A", ""}, {"B", ""}, {"C", ""}};
    EXPECT_EQ(DeleteLink(links, 2, prompts).Row, 1);
    EXPECT_EQ(DeleteLink(links, 0, prompts).Row, 0);
}

TEST(LinkEditing, TheLinkDialogsOkAndChooser)
{
    test::FakePrompts prompts;
    EXPECT_FALSE(LinkOkAccepted(prompts, "   ", "/docs/m.pdf"));
    EXPECT_FALSE(LinkOkAccepted(prompts, "Manual", " "));
    EXPECT_FALSE(LinkOkAccepted(prompts, "", ""));
    EXPECT_TRUE(LinkOkAccepted(prompts, " Manual ", "/docs/m.pdf"));
    EXPECT_EQ(prompts.Texts(),
        (Texts{"Please enter a link name", "Please enter a file name", "Please enter a link name"}));

    Catalogue c;
    c.LastProgramDir = "/games/";
    EXPECT_EQ(LinkFileRequest("", c), (FileOpenRequest{"All Files|*", "/games/", "", true}));
    EXPECT_EQ(LinkFileRequest("/docs/Elite manual.pdf", c),
        (FileOpenRequest{"All Files|*", "/docs/", "Elite manual.pdf", true}));
    prompts.QueueChoice("/home/me/docs/Map.jpg");
    EXPECT_EQ(BrowseLinkFile(prompts, c, ""), "/home/me/docs/Map.jpg");
    EXPECT_EQ(c.LastDocDir, "/home/me/docs/");
    EXPECT_EQ(LinkFileRequest("", c).InitialDir, "/home/me/docs/");
    EXPECT_FALSE(BrowseLinkFile(prompts, c, "/x/y.pdf")); // cancelled
    EXPECT_EQ(c.LastDocDir, "/home/me/docs/");
    EXPECT_EQ(prompts.fileRequests.back().InitialDir, "/x/");
}
