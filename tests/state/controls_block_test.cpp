#include "state/controls_block.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/format_version.h"
#include "media/controls_table.h"
#include "support/buffer_writer.h"

namespace kiv {
namespace {

using test::BufferWriter;

Control MakeControl(std::uint8_t seed, const std::u16string& name) {
  Control c;
  IdFill(c.id, seed);
  c.name = name;
  c.displayName = name + u" (shown)";
  c.reserved = 77;
  c.image.mode = 1;
  c.image.fileBytes = {1, 2, seed};
  c.image.valueA = 5;
  c.image.color.color = {1, 2, 3, 4};
  for (int p = 0; p < kPlayerCount; ++p) {
    for (int b = 0; b <= p; ++b) c.slots[p].bindings.push_back({2 << (b % 3), 10 * p + b + seed});
    c.slots[p].current = 1;
    c.slots[p].previous = 1;
  }
  return c;
}

class ControlsBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    controls = {MakeControl(1, u"Action"), MakeControl(2, u"Jump")};
    controlsStamp = 4242;
  }
  void TearDown() override {
    controls.clear();
    controlsStamp = 0;
  }
  static ByteList Written() {
    ByteList bytes;
    std::int32_t offset = 0;
    WriteControls(bytes, offset);
    bytes.resize(static_cast<std::size_t>(offset));
    return bytes;
  }
};

void ExpectSameControls(const std::vector<Control>& expected) {
  ASSERT_EQ(controls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(controls[i].id, expected[i].id);
    EXPECT_EQ(controls[i].name, expected[i].name);
    EXPECT_EQ(controls[i].displayName, expected[i].displayName);
    EXPECT_EQ(controls[i].image, expected[i].image);
    for (int p = 0; p < kPlayerCount; ++p) {
      const BindingSlot& got = controls[i].slots[p];
      ASSERT_EQ(got.bindings.size(), expected[i].slots[p].bindings.size()) << i << "/" << p;
      for (std::size_t b = 0; b < got.bindings.size(); ++b) {
        EXPECT_EQ(got.bindings[b].mode, expected[i].slots[p].bindings[b].mode);
        EXPECT_EQ(got.bindings[b].key, expected[i].slots[p].bindings[b].key);
      }
    }
  }
}

TEST_F(ControlsBlockTest, RoundTripKeepsEveryBindingOfAllFourSlotsAndClearsPressState) {
  const std::vector<Control> saved = controls;
  const ByteList bytes = Written();
  controls = {MakeControl(9, u"Other")};
  controlsStamp = 1;
  std::int32_t offset = 0;
  ReadControls(bytes, offset, kCurrentFormatVersion);
  EXPECT_EQ(offset, static_cast<std::int32_t>(bytes.size()));
  EXPECT_EQ(controlsStamp, 4242);
  EXPECT_EQ(ReadControlsKey(bytes), 4242);
  ExpectSameControls(saved);
  for (const Control& c : controls) {
    EXPECT_EQ(c.reserved, 0);
    for (const BindingSlot& s : c.slots) EXPECT_EQ(s.current + s.previous + s.pending, 0);
  }
  EXPECT_EQ(Written(), bytes);  // writing again gives the same bytes
}

// A block in an older layout: a Long image mode, optional stamp, display name
// and slot bound by version.
ByteList OldBlock(std::int32_t version, std::int32_t stamp) {
  BufferWriter w;
  if (version > 100755) w.WriteLong(stamp);
  w.WriteLong(0);  // one control
  Identifier id;
  IdFill(id, 3);
  w.WriteIdentifier(id);
  if (version >= 100747)
    w.WriteByte(0);
  else
    w.WriteLong(0);
  w.WriteString(u"Fire");
  if (version >= 100629) w.WriteString(u"Fire!");
  if (version >= 100674) w.WriteLong(1);
  const std::int32_t slots = version >= 100674 ? 2 : 1;
  for (int s = 0; s < slots; ++s) w.WriteLong(0).WriteLong(2).WriteLong(57 + s);
  return w.Bytes();
}

TEST_F(ControlsBlockTest, OlderLayoutsFollowTheVersionGates) {
  struct Case {
    std::int32_t version;
    std::int32_t stamp;  // expected afterwards
    std::u16string displayName;
    std::size_t slotsWithBindings;
  };
  const Case cases[] = {
      {100790, 99, u"Fire!", 2},
      {100756, 99, u"Fire!", 2},
      {100755, 4242, u"Fire!", 2},  // stamp not stored: kept
      {100674, 4242, u"Fire!", 2},
      {100673, 4242, u"Fire!", 1},  // slots 1 to 3 empty
      {100629, 4242, u"Fire!", 1},
      {100628, 4242, u"Fire", 1},  // display name = name
  };
  for (const Case& c : cases) {
    SetUp();
    const ByteList bytes = OldBlock(c.version, 99);
    std::int32_t offset = 0;
    ReadControls(bytes, offset, c.version);
    SCOPED_TRACE(c.version);
    EXPECT_EQ(offset, static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(controlsStamp, c.stamp);
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0].name, u"Fire");
    EXPECT_EQ(controls[0].displayName, c.displayName);
    for (std::size_t s = 0; s < 4; ++s) {
      EXPECT_EQ(controls[0].slots[s].bindings.size(), s < c.slotsWithBindings ? 1u : 0u) << s;
    }
    EXPECT_EQ(controls[0].slots[0].bindings[0].key, 57);
  }
}

TEST_F(ControlsBlockTest, EmptyBlockKeepsTheTableButTakesTheStamp) {
  const std::vector<Control> before = controls;
  const ByteList bytes = BufferWriter().WriteLong(7).WriteLong(-1).Bytes();
  std::int32_t offset = 0;
  ReadControls(bytes, offset, kCurrentFormatVersion);
  EXPECT_EQ(offset, 8);
  EXPECT_EQ(controlsStamp, 7);
  ExpectSameControls(before);
}

TEST_F(ControlsBlockTest, DamagedBlockLeavesTableAndStampAsTheyWere) {
  const std::vector<Control> before = controls;
  controlsStamp = 1;
  ByteList full = Written();  // stamp 1
  full[0] = 5;                // another stamp, so a partial commit would show
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    controls[0].name = u"Action";
    const ByteList bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(cut));
    std::int32_t offset = 0;
    EXPECT_THROW(ReadControls(bytes, offset, kCurrentFormatVersion), KivError) << cut;
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(controlsStamp, 1);
    ExpectSameControls(before);
  }
}

TEST_F(ControlsBlockTest, SlotBoundAboveThreeIsASubscriptError) {
  const std::vector<Control> before = controls;
  BufferWriter w;
  w.WriteLong(8).WriteLong(0).WriteIdentifier(Identifier{}).WriteByte(0).WriteString(u"A").WriteString(u"A");
  w.WriteLong(4);
  for (int s = 0; s < 5; ++s) w.WriteLong(-1);
  std::int32_t offset = 0;
  try {
    ReadControls(w.Bytes(), offset, kCurrentFormatVersion);
    FAIL() << "no error";
  } catch (const KivError& e) {
    EXPECT_EQ(e.Number(), kErrIndex);
  }
  EXPECT_EQ(controlsStamp, 4242);
  ExpectSameControls(before);
}

}  // namespace
}  // namespace kiv
