#include "player/input_system.h"

#include <array>

#include "core/error.h"
#include "data/game_data.h"
#include "data/project_state.h"
#include "media/controls_table.h"
#include "media/input_binding.h"
#include "media/input_devices.h"
#include "player/message_boxes.h"
#include "player/shell_state.h"
#include "script/script_hooks.h"

namespace kiv {

namespace {

constexpr std::int32_t kKeyReturn = 28;
constexpr std::int32_t kKeyEscape = 1;
struct ArrowKey {
  std::int32_t key;
  std::int32_t bit;
};
constexpr std::array<ArrowKey, 4> kArrows{{{203, 1}, {200, 2}, {205, 4}, {208, 8}}};

bool KeyDown(const input::KeyboardState& state, std::int32_t key) {
  return (state[static_cast<std::size_t>(key)] & input::kDownBit) != 0;
}

// A step is ready when it is the first, when it is under way, or when the one
// before it is complete.
bool StepReady(const InputEntry& entry, std::size_t k, std::size_t p) {
  return k == 0 || entry.steps[k].progress[p] == kStepUnderWay || entry.steps[k - 1].progress[p] == kStepComplete;
}

void Idle(InputStep& step, std::size_t p) {
  step.progress[p] = kStepIdle;
  step.progressTime[p] = 0;
}

// The entry, or nullptr when the tables no longer hold it (a script changed them).
InputEntry* EntryAt(std::int32_t setIndex, std::int32_t entryIndex) {
  if (static_cast<std::size_t>(setIndex) >= gameData.inputSets.size()) return nullptr;
  InputSet& set = gameData.inputSets[static_cast<std::size_t>(setIndex)];
  if (static_cast<std::size_t>(entryIndex) >= set.entries.size()) return nullptr;
  return &set.entries[static_cast<std::size_t>(entryIndex)];
}

// Advances the steps of one input for player p; stops after the input fired.
void AdvanceInput(std::int32_t setIndex, std::int32_t entryIndex, std::int32_t player) {
  InputSet& set = gameData.inputSets[static_cast<std::size_t>(setIndex)];
  const auto p = static_cast<std::size_t>(player);
  for (std::size_t k = 0;; ++k) {
    InputEntry& entry = set.entries[static_cast<std::size_t>(entryIndex)];
    if (k >= entry.steps.size()) break;
    if (!StepReady(entry, k, p)) continue;
    InputStep& step = entry.steps[k];
    const std::int32_t kind = step.flags & kInputKindMask;
    bool advanced = false;
    if (step.progress[p] == kStepIdle && (step.flags & kInputStepOnPress) != 0 && set.currentEnabled == 1) {
      if (InputTestBinding(player, kind, step.value, 1, 0)) {
        step.progress[p] = (step.flags & kInputStepOnRelease) != 0 ? kStepUnderWay : kStepComplete;
        advanced = true;
      }
    } else if (step.progress[p] == kStepUnderWay ||
               (step.progress[p] == kStepIdle && (step.flags & kInputStepOnPress) == 0)) {
      if ((step.flags & kInputStepOnRelease) != 0 && InputTestBinding(player, kind, step.value, -1, 0)) {
        step.progress[p] = kStepComplete;
        advanced = true;
      }
    }
    if (!advanced) {
      step.progressTime[p] += shell.frameElapsed;
      if ((step.flags & kInputStepTimed) != 0) {
        step.progress[p] = kStepUnderWay;
        if (step.progressTime[p] > step.value) {
          step.progress[p] = kStepComplete;
          advanced = true;
        }
      } else if (step.progressTime[p] > kInputStepTimeout) {
        Idle(step, p);
      }
    }
    if (!advanced) continue;
    step.progressTime[p] = 0;
    if (k > 0) Idle(entry.steps[k - 1], p);
    if (k + 1 == entry.steps.size() && step.progress[p] == kStepComplete) {
      Idle(step, p);
      const bool noControl = entry.noControl;
      FireInput(setIndex, entryIndex, player);
      // The script ran at once and may have changed the tables.
      if (InputEntry* after = EntryAt(setIndex, entryIndex); after != nullptr && noControl) {
        after->firedThisTick = true;
      }
      break;
    }
  }
}

void UpdateMenuKeys() {
  const input::KeyboardState& now = inputDevices.keyboardState;
  const input::KeyboardState& before = inputDevices.previousKeyboardState;
  for (Player& player : projectState.players) {
    player.keyReturnDown = KeyDown(now, kKeyReturn);
    player.keyEscapeDown = KeyDown(now, kKeyEscape);
    player.arrowKeys = 0;
    bool anyArrowHeld = false;
    for (const ArrowKey& arrow : kArrows) {
      if (KeyDown(now, arrow.key)) {
        player.arrowKeys |= arrow.bit;
        if (KeyDown(before, arrow.key)) anyArrowHeld = true;
      }
    }
    const auto latch = [&](bool& held, std::int32_t key) {
      if (!KeyDown(now, key)) {
        held = false;
      } else if (KeyDown(before, key)) {
        held = true;
      }
    };
    latch(player.keyReturnHeld, kKeyReturn);
    latch(player.keyEscapeHeld, kKeyEscape);
    if (player.arrowKeys == 0) {
      player.arrowKeysHeld = false;
    } else if (anyArrowHeld) {
      player.arrowKeysHeld = true;
    }
  }
}

}  // namespace

bool AnyGameBoxShown() {
  for (std::size_t b = 0; b <= 6; ++b) {
    if (messageBoxes[b].visible) return true;
  }
  return false;
}

void FireInput(std::int32_t set, std::int32_t entry, std::int32_t player) {
  TriggerRun run;
  run.ownerKind = kOwnerKindInput;
  run.ownerIndex = set;
  run.subIndex = entry;
  run.player = player;
  // A player without a controlled party member fires with no acting character.
  if (player >= 0 && static_cast<std::size_t>(player) < projectState.players.size()) {
    const Player& record = projectState.players[static_cast<std::size_t>(player)];
    const std::int32_t member = record.controlledMember;
    if (member >= 0 && static_cast<std::size_t>(member) < record.party.size() &&
        record.party[static_cast<std::size_t>(member)].character >= 0) {
      run.map = record.mapIndex;
      run.relateActor = record.party[static_cast<std::size_t>(member)].character;
    }
  }
  // Through the script hook, which start-up points at ScriptRunTrigger.
  scriptHooks.RunTrigger(run);
}

void RunInputSystem() {
  if (messageBoxState == 0 && !AnyGameBoxShown()) {
    shell.activityStep = 1;
    for (InputSet& set : gameData.inputSets) {
      for (InputEntry& entry : set.entries) entry.firedThisTick = false;
    }
    const auto playerCount = static_cast<std::int32_t>(projectState.players.size());
    for (std::int32_t p = 0; p < playerCount && p < kInputPlayerCount; ++p) {
      const auto pi = static_cast<std::size_t>(p);
      for (InputSet& set : gameData.inputSets) set.currentEnabled = set.enabled[pi];
      for (Control& control : controls) {
        BindingSlot& slot = control.slots[pi];
        slot.previous = slot.current;
        slot.current = slot.pending;
      }
      for (std::size_t s = 0; s < gameData.inputSets.size(); ++s) {
        if (gameData.inputSets[s].currentEnabled == 0) continue;
        for (std::size_t i = 0; i < gameData.inputSets[s].entries.size(); ++i) {
          const InputEntry& entry = gameData.inputSets[s].entries[i];
          if (entry.firedThisTick && !entry.kind4) continue;
          AdvanceInput(static_cast<std::int32_t>(s), static_cast<std::int32_t>(i), p);
          if (s >= gameData.inputSets.size()) break;
        }
        // A fired script may have removed sets.
        if (s >= gameData.inputSets.size()) break;
      }
    }
  }
  shell.activityStep = 0;
  UpdateMenuKeys();
}

void SetInputSetEnabled(std::int32_t player, std::int32_t setIndex, std::uint8_t value) {
  if (player < 0 || player >= kInputPlayerCount) RaiseError(9, "Subscript out of range");
  if (setIndex < 0 || static_cast<std::size_t>(setIndex) >= gameData.inputSets.size()) {
    RaiseError(9, "Subscript out of range");
  }
  const auto p = static_cast<std::size_t>(player);
  InputSet& set = gameData.inputSets[static_cast<std::size_t>(setIndex)];
  if (set.enabled[p] == value) return;
  set.enabled[p] = value;
  if (value != 0) return;
  for (std::size_t i = 0;; ++i) {
    if (EntryAt(setIndex, static_cast<std::int32_t>(i)) == nullptr) break;
    for (std::size_t k = 0;; ++k) {
      InputEntry* found = EntryAt(setIndex, static_cast<std::int32_t>(i));
      if (found == nullptr || k >= found->steps.size()) break;
      InputEntry& entry = *found;
      if (!StepReady(entry, k, p)) continue;
      InputStep& step = entry.steps[k];
      const bool waiting = step.progress[p] == kStepUnderWay ||
                           (step.progress[p] == kStepIdle && (step.flags & kInputStepOnPress) == 0);
      if (!waiting || (step.flags & kInputStepOnRelease) == 0) continue;
      if (!InputTestBinding(player, step.flags & kInputKindMask, step.value, 0, 0)) continue;
      step.progress[p] = kStepComplete;
      step.progressTime[p] = 0;
      if (k > 0) Idle(entry.steps[k - 1], p);
      if (k + 1 == entry.steps.size()) {
        Idle(step, p);
        FireInput(setIndex, static_cast<std::int32_t>(i), player);
        break;
      }
    }
  }
}

}  // namespace kiv
