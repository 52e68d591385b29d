#include "dialogs/input_form.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/byte_list.h"
#include "dialogs/controls_file.h"
#include "dialogs/dialogs_fixture.h"
#include "dialogs/input_button_form.h"

namespace kiv {
namespace {

using test::DialogsTest;

Control MakeControl(const std::u16string& displayName, std::vector<std::vector<InputBinding>> perPlayer) {
  Control control;
  control.name = displayName;
  control.displayName = displayName;
  for (std::size_t p = 0; p < perPlayer.size(); ++p) control.slots[p].bindings = perPlayer[p];
  return control;
}

class InputSetTest : public DialogsTest {
 protected:
  void SetUp() override {
    DialogsTest::SetUp();
    controls = {MakeControl(u"Walk Up", {{{2, 0xC8}}, {{8, 0}, {4, 3}}}), MakeControl(u"Action", {{{4, 10}}}),
                MakeControl(u"Menu", {})};
  }
  void TearDown() override {
    if (frmInput.IsLoaded()) frmInput.Unload();
    DialogsTest::TearDown();
  }
  ui::ControlArrayOf& Array(const char* name) { return frmInput.Controls(name); }
  std::string ControlsDat() const { return JoinPath(GetUserGameFolder(), kControlsFileName); }
  // What the user does in the capture window when it opens: choose an entry
  // (a mouse control, or 0 with a held key) and press OK, or close it.
  void OnCapture(int entry, int heldKey, bool accept) {
    ui::SetModalLoopHook([=, this](ui::Form& modal) {
      ASSERT_EQ(&modal, &frmInputButton);
      EXPECT_EQ(modal.Owner(), &frmInput);
      modal.Controls("listControls").Item(0).listIndex = entry;
      frmInputButton.listControls_Click();
      if (heldKey >= 0) {
        heldKeys[static_cast<std::size_t>(heldKey)] = 0x80;
        frmInputButton.tmrKey_Timer();
      }
      if (accept) {
        frmInputButton.buttonOK_Click();
      } else {
        frmInputButton.Unload(ui::kUnloadUser);
      }
    });
  }
};

TEST_F(InputSetTest, ThreeControlsGiveThreeRowsOfFourPlayers) {
  frmInput.Show();
  EXPECT_EQ(frmInput.caption, "Input Set");
  ASSERT_EQ(Array("picStat").items.size(), 3u);
  for (const char* name : {"listInput", "buttonInputAdd", "buttonInputRemove", "txtInfoPlayer"}) {
    SCOPED_TRACE(name);
    ASSERT_EQ(Array(name).items.size(), 12u);
    for (int i = 0; i < 12; ++i) {
      const ui::Control& item = Array(name).Item(i);
      EXPECT_TRUE(item.visible);
      EXPECT_EQ(item.container, "picStat");
      EXPECT_EQ(item.containerIndex, i / 4);                           // control i \ 4
      EXPECT_EQ(item.left, Array(name).Item(0).left + 119 * (i % 4));  // player i Mod 4
    }
  }
  EXPECT_EQ(Array("txtInfoTitle").Item(1).caption, "Action");
  EXPECT_EQ(Array("picStat").Item(2).top, 200);
  EXPECT_EQ(Array("txtInfoPlayer").Item(5).caption, "Player 2");
  EXPECT_EQ(Array("txtInfoPlayer").Item(11).caption, "Player 4");
  EXPECT_EQ(Array("txtInfoPlayer").Item(0).tag, "Player");
  EXPECT_EQ(Array("listInput").Item(0).list, (std::vector<std::string>{"Up"}));
  EXPECT_EQ(Array("listInput").Item(1).list, (std::vector<std::string>{"Button 1", "Click 4"}));
  EXPECT_EQ(Array("listInput").Item(4).list, (std::vector<std::string>{"Mouse Wheel"}));
  EXPECT_TRUE(Array("listInput").Item(8).list.empty());
  EXPECT_EQ(frmInput.Controls("picStats").Item(0).height, 300);
  EXPECT_FALSE(frmInput.Dirty);
}

TEST_F(InputSetTest, PlusAppendsTheAcceptedBindingAndMinusRemovesTheSelectedLine) {
  frmInput.Show();
  OnCapture(0, 0x1E, true);          // "A" held, OK
  frmInput.buttonInputAdd_Click(5);  // control 1, player 2
  EXPECT_EQ(controls[1].slots[1].bindings.size(), 1u);
  EXPECT_EQ(controls[1].slots[1].bindings[0].mode, 2);
  EXPECT_EQ(controls[1].slots[1].bindings[0].key, 0x1E);
  EXPECT_EQ(Array("listInput").Item(5).list, (std::vector<std::string>{"A"}));
  EXPECT_TRUE(frmInput.Dirty);

  // A closed capture window adds nothing.
  frmInput.Dirty = false;
  OnCapture(3, -1, false);
  frmInput.buttonInputAdd_Click(5);
  EXPECT_EQ(controls[1].slots[1].bindings.size(), 1u);
  EXPECT_FALSE(frmInput.Dirty);

  // "--" without a selection does nothing and leaves Dirty as it was.
  frmInput.buttonInputRemove_Click(1);
  EXPECT_EQ(controls[0].slots[1].bindings.size(), 2u);
  EXPECT_FALSE(frmInput.Dirty);
  // The first of two: the second moves down.
  Array("listInput").Item(1).listIndex = 0;
  frmInput.buttonInputRemove_Click(1);
  ASSERT_EQ(controls[0].slots[1].bindings.size(), 1u);
  EXPECT_EQ(controls[0].slots[1].bindings[0].mode, 4);
  EXPECT_EQ(Array("listInput").Item(1).list, (std::vector<std::string>{"Click 4"}));
  EXPECT_EQ(Array("listInput").Item(1).listIndex, -1);
  // The only binding: an empty slot and list.
  Array("listInput").Item(4).listIndex = 0;
  frmInput.buttonInputRemove_Click(4);
  EXPECT_TRUE(controls[1].slots[0].bindings.empty());
  EXPECT_TRUE(Array("listInput").Item(4).list.empty());
  EXPECT_TRUE(frmInput.Dirty);
}

TEST_F(InputSetTest, AddingThenRemovingStillWritesOnOk) {
  frmInput.Show();
  OnCapture(5, -1, true);  // listed as "Mouse Button 5", named "Click 5" once bound
  frmInput.buttonInputAdd_Click(11);
  EXPECT_EQ(controls[2].slots[3].bindings[0].key, 4);
  EXPECT_EQ(Array("listInput").Item(11).list, (std::vector<std::string>{"Click 5"}));
  Array("listInput").Item(11).listIndex = 0;
  frmInput.buttonInputRemove_Click(11);
  EXPECT_TRUE(controls[2].slots[3].bindings.empty());
  EXPECT_TRUE(frmInput.Dirty);
  frmInput.buttonOK_Click();
  EXPECT_FALSE(frmInput.IsLoaded());
  EXPECT_EQ(calls.back(), "ShowStartWindow");
  // The file holds the table as it is now.
  const ByteList bytes = test::ReadTestFile(ControlsDat());
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(ReadControlsKey(bytes), 77);
  controls.clear();
  LoadControlsFile();
  ASSERT_EQ(controls.size(), 3u);
  EXPECT_EQ(controls[0].slots[1].bindings.size(), 2u);
  EXPECT_TRUE(controls[2].slots[3].bindings.empty());
}

TEST_F(InputSetTest, OkWithoutChangesAndCancelWriteNothingButCancelKeepsTheEditsInTheTable) {
  frmInput.Show();
  frmInput.buttonOK_Click();
  EXPECT_FALSE(std::filesystem::exists(ControlsDat()));
  frmInput.Show();
  OnCapture(1, -1, true);
  frmInput.buttonInputAdd_Click(0);
  frmInput.buttonCancel_Click();
  EXPECT_FALSE(frmInput.IsLoaded());
  EXPECT_FALSE(std::filesystem::exists(ControlsDat()));
  ASSERT_EQ(controls[0].slots[0].bindings.size(), 2u);
  EXPECT_EQ(controls[0].slots[0].bindings[1].mode, 4);
  EXPECT_EQ(controls[0].slots[0].bindings[1].key, 0);
  // A new visit starts clean.
  frmInput.Show();
  EXPECT_FALSE(frmInput.Dirty);
  EXPECT_EQ(Array("listInput").Item(0).list, (std::vector<std::string>{"Up", "Left Click"}));
}

TEST_F(InputSetTest, AFailedWriteIsShownAndTheDialogStaysDirtyForAnotherTry) {
  frmInput.Show();
  OnCapture(1, -1, true);
  frmInput.buttonInputAdd_Click(0);
  // A folder where the file should be: the write cannot replace it.
  std::filesystem::create_directories(ControlsDat());
  frmInput.buttonOK_Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].substr(0, boxes[0].find('|')), "Input Set");
  EXPECT_NE(boxes[0].find("could not be saved"), std::string::npos);
  EXPECT_TRUE(frmInput.IsLoaded());
  EXPECT_TRUE(frmInput.Dirty);
  std::filesystem::remove(ControlsDat());
  frmInput.buttonOK_Click();  // the retry works
  EXPECT_FALSE(frmInput.IsLoaded());
  EXPECT_TRUE(std::filesystem::is_regular_file(ControlsDat()));
}

TEST_F(InputSetTest, ResizeLayout) {
  const struct {
    const char* name;
    std::size_t rows;
    std::int32_t height;  // inner height H
    bool enabled;
    std::int32_t max;
    std::int32_t largeChange;
  } cases[] = {
      // T = 4, B = 25, R = 100: overflow = 100 n - (H - 4).
      {"rows fit", 3, 400, false, 0, 1},
      {"exactly fits", 4, 404, false, 0, 1},
      {"one pixel over", 4, 403, true, 25 + 1 + 16, 399},
      {"many rows", 200, 400, true, 25 + (20000 - 396) + 16, 396},
      {"past 16 bits", 400, 400, true, 32767, 396},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    controls.assign(c.rows, MakeControl(u"Jump", {}));
    frmInput.Show();
    frmInput.Controls("scrollWindow").Item(0).value = 30;
    frmInput.Controls("picStats").Item(0).top = -30;
    frmInput.clientHeight = c.height;
    frmInput.Form_Resize();
    const ui::Control& scroll = frmInput.Controls("scrollWindow").Item(0);
    EXPECT_EQ(frmInput.Controls("picHold").Item(0).height, c.height - 4 - 25 - 16);
    EXPECT_EQ(scroll.height, c.height - 4 - 25 - 16);
    EXPECT_EQ(scroll.enabled, c.enabled);
    EXPECT_EQ(scroll.max, c.max);
    if (c.enabled) {
      EXPECT_EQ(scroll.largeChange, c.largeChange);
    } else {
      EXPECT_EQ(frmInput.Controls("picStats").Item(0).top, 0);  // the rows at the top
    }
    frmInput.Unload();
    frmInput.clientHeight = InputFormDesign::kHeight;
  }
}

TEST_F(InputSetTest, ScrollingMovesTheRows) {
  controls.assign(10, MakeControl(u"Jump", {}));
  frmInput.Show();
  ui::Control& scroll = frmInput.Controls("scrollWindow").Item(0);
  ASSERT_TRUE(scroll.enabled);
  scroll.value = 120;
  frmInput.scrollWindow_Scroll();
  EXPECT_EQ(frmInput.Controls("picStats").Item(0).top, -120);
  scroll.value = 7;
  frmInput.scrollWindow_Change();
  EXPECT_EQ(frmInput.Controls("picStats").Item(0).top, -7);
}

TEST_F(InputSetTest, AnEmptyTableShowsOnlyTheTwoButtons) {
  controls.clear();
  frmInput.Show();
  EXPECT_FALSE(frmInput.Controls("picStat").Item(0).visible);
  EXPECT_FALSE(frmInput.Controls("picHold").Item(0).visible);
  EXPECT_FALSE(frmInput.Controls("scrollWindow").Item(0).visible);
  EXPECT_TRUE(frmInput.Controls("buttonOK").Item(0).visible);
  EXPECT_TRUE(frmInput.Controls("buttonCancel").Item(0).visible);
  EXPECT_EQ(frmInput.Controls("listInput").items.size(), 1u);  // the template only
}

}  // namespace
}  // namespace kiv
