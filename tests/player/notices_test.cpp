// Notices: repeats of an error merge while the first is younger than 10
// seconds, the error log posts while a game runs, the Message System ages
// them and removes them past 15 seconds, the game-data reset empties them.
#include <gtest/gtest.h>

#include "core/log.h"
#include "player/boxes_fixture.h"
#include "player/world_update.h"

namespace kiv::test {
namespace {

class NoticesTest : public BoxesTest {
 protected:
  void SetUp() override {
    BoxesTest::SetUp();
    gameData.fontSets.resize(1);
    graphics.videoWidth = 640;
  }
  void Age(std::int32_t ms) {
    shell.frameElapsed = ms;
    playerHooks.MessageSystem();
  }
};

TEST_F(NoticesTest, PostsMergeOnlyExactTextsYoungerThanTenSeconds) {
  struct Post {
    const char16_t* text;
    bool merge;
    std::int32_t ageBefore;  // ms the notices age before this post
  };
  struct Case {
    const char* name;
    std::vector<Post> posts;
    std::vector<std::u16string> shown;  // each notice's laid-out text
    std::vector<std::int32_t> counts;
    std::vector<std::int32_t> ages;
  };
  const Case cases[] = {
      {"three within 10 s",
       {{u"Bad", true, 0}, {u"Bad", true, 4000}, {u"Bad", true, 5000}},
       {u"Bad x3"},
       {3},
       {0}},
      {"again after 12 s", {{u"Bad", true, 0}, {u"Bad", true, 12000}}, {u"Bad", u"Bad"}, {1, 1}, {12000, 0}},
      {"at 9999 ms still merges", {{u"Bad", true, 0}, {u"Bad", true, 9999}}, {u"Bad x2"}, {2}, {0}},
      {"at 10000 ms a new one",
       {{u"Bad", true, 0}, {u"Bad", true, 10000}},
       {u"Bad", u"Bad"},
       {1, 1},
       {10000, 0}},
      {"merge False always appends", {{u"Hi", false, 0}, {u"Hi", false, 0}}, {u"Hi", u"Hi"}, {1, 1}, {0, 0}},
      {"letter case counts", {{u"Bad", true, 0}, {u"bad", true, 0}}, {u"Bad", u"bad"}, {1, 1}, {0, 0}},
      {"the first young match wins",
       {{u"A", true, 0}, {u"A", true, 11000}, {u"A", true, 1000}},
       {u"A", u"A x2"},
       {1, 2},
       {12000, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    notices.clear();
    for (const Post& post : c.posts) {
      Age(post.ageBefore);
      PostNotice(post.text, post.merge);
    }
    ASSERT_EQ(notices.size(), c.shown.size());
    for (std::size_t n = 0; n < notices.size(); ++n) {
      EXPECT_EQ(notices[n].glyphs, Glyphs(c.shown[n])) << n;
      EXPECT_EQ(notices[n].count, c.counts[n]) << n;
      EXPECT_EQ(notices[n].age, c.ages[n]) << n;
    }
  }
}

TEST_F(NoticesTest, ARepeatKeepsThePostedTextAndLaysOutWithFontSetZeroTheScreenWidthAndScaleOne) {
  graphics.videoWidth = 1024;
  PostNotice(u"Oops", true);
  PostNotice(u"Oops", true);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, u"Oops");
  EXPECT_EQ(notices[0].lineCount, 1);
  ASSERT_EQ(layouts.size(), 2u);
  for (const LayoutCall& call : layouts) {
    EXPECT_EQ(call.fontSet, 0);
    EXPECT_EQ(call.width, 1024);
    EXPECT_EQ(call.scale, 1.0f);
  }
  EXPECT_EQ(layouts[1].text, u"Oops x2");
}

TEST_F(NoticesTest, WithoutAFontSetANoticeIsListedWithNoLayout) {
  gameData.fontSets.clear();
  PostNotice(u"Quiet", true);
  PostNotice(u"Quiet", true);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_TRUE(notices[0].glyphs.empty());
  EXPECT_EQ(notices[0].count, 2);
  EXPECT_TRUE(layouts.empty());
}

TEST_F(NoticesTest, TheErrorLogPostsWhileAGameRunsWithLineBreaksAsBlanksMerged) {
  ErrorLogAppend("before the game");
  EXPECT_TRUE(notices.empty());
  {
    const GameRunningScope running;
    ErrorLogAppend("Script error\r\n  in Door");
    ErrorLogAppend("Script error\r\n  in Door");
  }
  ErrorLogAppend("after the game");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, u"Script error   in Door");
  EXPECT_EQ(notices[0].count, 2);
  EXPECT_EQ(notices[0].glyphs, Glyphs(std::u16string(u"Script error   in Door x2")));
  // The file keeps every report as written.
  EXPECT_EQ(ErrorLogLines(), (std::vector<std::string>{"before the game", "Script error", "  in Door",
                                                       "Script error", "  in Door", "after the game"}));
}

TEST_F(NoticesTest, TheMessageSystemKeepsANoticeAtExactlyFifteenSecondsAndRemovesItAfter) {
  PostNotice(u"old", false);
  Age(5000);
  PostNotice(u"new", false);
  Age(10000);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_EQ(notices[0].age, 15000);
  Age(1);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].text, u"new");
  EXPECT_EQ(notices[0].age, 10001);
  Age(5000);
  EXPECT_TRUE(notices.empty());
}

TEST_F(NoticesTest, TheMessageSystemRunsInTheWorldUpdateButNotInALoadingTick) {
  PostNotice(u"tick", false);
  shell.frameElapsed = 40;
  shell.loadingTick = true;
  WorldUpdate();
  EXPECT_EQ(notices[0].age, 0);
  shell.loadingTick = false;
  WorldUpdate();
  EXPECT_EQ(notices[0].age, 40);
}

TEST_F(NoticesTest, TheGameDataResetEmptiesTheNotices) {
  PostNotice(u"gone", false);
  dataHooks.ResetShellState();
  EXPECT_TRUE(notices.empty());
}

}  // namespace
}  // namespace kiv::test
