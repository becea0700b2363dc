// The recent files: order, letter case, the limit of nine, the settings store
// and the File menu's entries.
#include "EditorFixture.h"

#include "core/Globals.h"
#include "mainwindow/RecentFiles.h"
#include "platform/settings.h"

#include <QAction>
#include <QMenu>

using platform::MsgResult;

namespace {

std::vector<std::string> entries(const MostRecentUsedFiles& list) {
    std::vector<std::string> tags;
    for (int i = 0; i <= list.LastIndex(); ++i) tags.push_back(list.Tag(i));
    return tags;
}

std::vector<std::string> captions(const MostRecentUsedFiles& list) {
    std::vector<std::string> texts;
    for (int i = 0; i <= list.LastIndex(); ++i) texts.push_back(list.Item(i)->text().toStdString());
    return texts;
}

}  // namespace

using RecentFilesTest = EditorFixture;

TEST_F(RecentFilesTest, NewestFirstWithoutDuplicatesAndNineAtMost) {
    Form1& f = StartEditor();
    MostRecentUsedFiles& list = *f.MRUList;
    ASSERT_EQ(list.LastIndex(), -1);
    for (int i = 1; i <= 3; ++i) list.AddMRUItem("/w/" + std::to_string(i) + ".wld");
    EXPECT_EQ(entries(list), (std::vector<std::string>{"/w/3.wld", "/w/2.wld", "/w/1.wld"}));
    EXPECT_EQ(captions(list), (std::vector<std::string>{"&1 /w/3.wld", "&2 /w/2.wld", "&3 /w/1.wld"}));

    // The same path in other letters moves up and shows the form given last.
    list.AddMRUItem("/W/1.WLD");
    EXPECT_EQ(entries(list), (std::vector<std::string>{"/W/1.WLD", "/w/3.wld", "/w/2.wld"}));

    for (int i = 4; i <= 10; ++i) list.AddMRUItem("/w/" + std::to_string(i) + ".wld");
    ASSERT_EQ(list.LastIndex(), 8);
    EXPECT_EQ(list.Tag(0), "/w/10.wld");
    EXPECT_EQ(list.Tag(8), "/w/3.wld");  // the tenth distinct file dropped /w/2.wld
    EXPECT_EQ(list.Item(8)->text().toStdString(), "&9 /w/3.wld");
    for (int i = 0; i <= 8; ++i) EXPECT_TRUE(list.Item(i)->isVisible()) << i;
    // The entries stand together in the File menu, before the separator above Exit.
    const QList<QAction*> items = f.mnuFile->actions();
    const auto first = items.indexOf(list.Item(0));
    for (int i = 1; i <= 8; ++i) EXPECT_EQ(items.indexOf(list.Item(i)), first + i);
    EXPECT_TRUE(items[first + 9]->isSeparator());
}

TEST_F(RecentFilesTest, AnAmpersandOfAPathIsShownAndKeptInThePath) {
    Form1& f = StartEditor();
    MostRecentUsedFiles& list = *f.MRUList;
    list.AddMRUItem("/w/R&D/a&b.wld");
    list.AddMRUItem("/w/plain.wld");
    EXPECT_EQ(entries(list), (std::vector<std::string>{"/w/plain.wld", "/w/R&D/a&b.wld"}));
    EXPECT_EQ(captions(list), (std::vector<std::string>{"&1 /w/plain.wld", "&2 /w/R&&D/a&&b.wld"}));
    // What the menu shows: the access key's mark gone, each "&" of the path there.
    EXPECT_EQ(list.Item(1)->iconText().toStdString(), "2 /w/R&D/a&b.wld");
}

TEST_F(RecentFilesTest, TheListIsStoredOldestFirstAndLoadedUpToAGap) {
    platform::saveSetting("MRUFiles", "0", "/w/old.wld");
    platform::saveSetting("MRUFiles", "1", "/w/mid.wld");
    platform::saveSetting("MRUFiles", "2", "/w/new.wld");
    platform::saveSetting("MRUFiles", "4", "/w/after a gap.wld");
    Form1& f = StartEditor();
    EXPECT_EQ(entries(*f.MRUList), (std::vector<std::string>{"/w/new.wld", "/w/mid.wld", "/w/old.wld"}));

    f.MRUList->AddMRUItem("/w/old.wld");
    f.MRUList.reset();  // releasing the list stores it
    EXPECT_EQ(platform::getSetting("MRUFiles", "0"), "/w/mid.wld");
    EXPECT_EQ(platform::getSetting("MRUFiles", "1"), "/w/new.wld");
    EXPECT_EQ(platform::getSetting("MRUFiles", "2"), "/w/old.wld");
}

TEST_F(RecentFilesTest, ChoosingAnEntryOpensItAndMovesItToTheTop) {
    const std::string a = SaveSmallWorldFile("a.wld");
    const std::string b = SaveSmallWorldFile("b.wld");
    const std::string gone = tempPath("gone.wld");
    Form1& f = StartEditor();
    for (const std::string& p : {gone, a, b}) f.MRUList->AddMRUItem(p);

    f.MRUList->Item(1)->trigger();
    EXPECT_EQ(Globals::CurrWorldFile, a);
    EXPECT_EQ(entries(*f.MRUList), (std::vector<std::string>{a, b, gone}));

    // A file that is gone fails to load and still moves up; nothing is removed.
    platform_.prompts.answer(MsgResult::No).answer(MsgResult::OK);
    f.MRUList->Item(2)->trigger();
    EXPECT_FALSE(f.WorldLoaded);
    EXPECT_EQ(platform_.prompts.shown().back().text, "Error Loading World");
    EXPECT_EQ(entries(*f.MRUList), (std::vector<std::string>{gone, a, b}));

    // Cancel in the save question leaves the world and the order alone.
    f.LoadWorld(b);
    platform_.prompts.answer(MsgResult::Cancel);
    f.MRUList->Item(1)->trigger();
    EXPECT_EQ(Globals::CurrWorldFile, b);
    EXPECT_EQ(entries(*f.MRUList), (std::vector<std::string>{gone, a, b}));
}

TEST_F(RecentFilesTest, ANewWorldNeverJoinsTheList) {
    const std::string a = SaveSmallWorldFile("a.wld");
    Form1& f = StartEditor();
    f.MRUList->AddMRUItem(a);
    OpenEmptyWorld();
    // Open, then cancel the dialog: a real file would move up, the new world does not join.
    platform_.prompts.answerOpenFile("");
    f.mnuOpenFile->trigger();
    EXPECT_TRUE(f.WorldLoaded);
    EXPECT_EQ(entries(*f.MRUList), std::vector<std::string>{a});
}
