// A single-column menu box and its drawing together: drawing stores one
// column back into a box of none, and from then on Left and Right move the
// selection too, through the grid's rules.
#include <gtest/gtest.h>

#include <memory>

#include "data/game_data.h"
#include "data/project_state.h"
#include "media/graphics.h"
#include "player/builtin_message_boxes.h"
#include "player/message_box_update.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "render/message_box_drawing.h"
#include "render/render_hooks.h"
#include "support/recording_batcher.h"
#include "text_font_fixture.h"

namespace kiv {
namespace {

constexpr std::int32_t kLeft = 1, kRight = 4;

class SlotMenuColumnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gameData.Reset();
    renderHooks.Reset();
    messageBoxes = {};
    shell.Reset();
    graphics.videoWidth = 800, graphics.videoHeight = 600;
    gameData.fontSets.push_back(test::MakeTestFont());
    projectState.players.assign(1, Player{});
    MessageBox& box = messageBoxes[kSaveSlotsBox];
    box.visible = true;
    box.items.resize(4);
  }
  void TearDown() override {
    gameData.Reset();
    renderHooks.Reset();
    messageBoxes = {};
    projectState.players.clear();
    shell.Reset();
  }
  void Press(std::int32_t arrows) {
    Player& player = projectState.players[0];
    player.arrowKeys = arrows;
    player.arrowKeysHeld = false;
    UpdateMessageBox(kSaveSlotsBox, 0);
  }
  test::RecordingBatcher recorder;
};

TEST_F(SlotMenuColumnsTest, LeftAndRightMoveASingleColumnOnlyOnceItHasBeenDrawn) {
  MessageBox& box = messageBoxes[kSaveSlotsBox];
  Press(kRight);
  EXPECT_EQ(box.selected, 0);
  DrawMessageBoxes();
  EXPECT_EQ(box.itemColumns, 1);
  Press(kRight);
  EXPECT_EQ(box.selected, 1);
  Press(kLeft);
  Press(kLeft);
  EXPECT_EQ(box.selected, 3);  // from the first to the last
}

}  // namespace
}  // namespace kiv
