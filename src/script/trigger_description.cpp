#include "script/trigger_description.h"

#include <cmath>
#include <string>
#include <vector>

#include "core/error.h"
#include "core/number_text.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "media/controls_table.h"
#include "media/key_names.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// The report is written while an error is handled: every record it names is
// looked up without raising, and one that does not exist reads as empty.
template <typename List>
const typename List::value_type* Find(const List& list, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return nullptr;
  return &list[static_cast<std::size_t>(index)];
}

const Map* FindMap(std::int32_t map) {
  if (map < -1 || map > gameData.maps.LastIndex()) return nullptr;
  return &gameData.maps[map];
}

template <typename Record>
std::u16string NameOf(const Record* record) {
  return record != nullptr ? record->name : std::u16string();
}

std::u16string N(std::int64_t number) { return AnsiToUtf16(std::to_string(number)); }
std::u16string Quoted(const std::u16string& name) { return u"\"" + name + u"\""; }

bool HasMapPrefix(std::int32_t ownerKind) {
  return ownerKind == kOwnerMap || ownerKind == kOwnerZone || ownerKind == kOwnerActor ||
         ownerKind == kOwnerDoor || ownerKind == kOwnerSpawn || ownerKind == kOwnerField ||
         ownerKind == kOwnerFieldValue;
}

// The name of the owning object: of the map for zones, actors, doors, spawns
// and fields, of the tables for items, input sets and custom events.
std::u16string OwnerName(std::int32_t ownerKind, std::int32_t map, std::int32_t index) {
  switch (ownerKind) {
    case kOwnerItem:
      return NameOf(Find(gameData.items, index));
    case kOwnerInput:
      return NameOf(Find(gameData.inputSets, index));
    case kOwnerCustomEvent:
      return NameOf(Find(gameData.customEvents, index));
    default:
      break;
  }
  const Map* record = FindMap(map);
  if (record == nullptr) return std::u16string();
  switch (ownerKind) {
    case kOwnerZone:
      return NameOf(Find(record->zones, index));
    case kOwnerActor:
      return NameOf(Find(record->actors, index));
    case kOwnerDoor:
      return NameOf(Find(record->doors, index));
    case kOwnerSpawn:
      return NameOf(Find(record->spawns, index));
    case kOwnerField:
    case kOwnerFieldValue:
      return NameOf(Find(record->fields, index));
    default:
      return std::u16string();
  }
}

// The event and its conditions of a trigger of a zone, actor or field.
std::u16string TriggerEventText(std::int32_t ownerKind, std::int32_t map, std::int32_t ownerIndex,
                                std::int32_t trigger) {
  const Map* record = FindMap(map);
  if (record == nullptr) return std::u16string();
  const std::vector<Trigger>* triggers = nullptr;
  if (ownerKind == kOwnerZone) {
    if (const Zone* zone = Find(record->zones, ownerIndex)) triggers = &zone->triggers;
  } else if (ownerKind == kOwnerActor) {
    if (const Actor* actor = Find(record->actors, ownerIndex)) triggers = &actor->triggers;
  } else if (ownerKind == kOwnerField) {
    if (const Field* field = Find(record->fields, ownerIndex)) triggers = &field->triggers;
  }
  const Trigger* entry = triggers != nullptr ? Find(*triggers, trigger) : nullptr;
  if (entry == nullptr) return std::u16string();
  const std::u16string eventName =
      entry->event >= 0 && entry->event < SymbolCount() ? SymbolName(entry->event) : std::u16string();
  return DescribeEventEntry(eventName, entry->parameters, entry->script.text.empty(), false);
}

// The player number shown for an input trigger's character: its owner + 1.
std::int64_t PlayerNumber(std::int32_t map, std::int32_t character) {
  const Map* record = FindMap(map);
  const Actor* actor = record != nullptr ? Find(record->actors, character) : nullptr;
  return (actor != nullptr ? actor->owningPlayer : -1) + 1LL;
}

// One step of an input trigger: its low five flag bits give the kind, 256 up, 512 down.
std::u16string InputStepText(const InputStep& step) {
  std::u16string text;
  const std::int32_t type = step.flags & 31;
  if (type == 1) {
    const Control* control = Find(controls, step.value);
    text = control != nullptr ? control->name : u"???";
  } else if (type == 2 || type == 4 || type == 8) {
    text = InputControlName(step.value, type);
  } else if (type == 16) {
    text = VarToText(Variant::Double(std::nearbyint(step.value) / 1000.0));
  }
  if ((step.flags & 256) != 0) text += u" (Up)";
  if ((step.flags & 512) != 0) text += u" (Down)";
  return text;
}

std::u16string InputStepsText(std::int32_t inputSet, std::int32_t entry) {
  const InputSet* set = Find(gameData.inputSets, inputSet);
  const InputEntry* input = set != nullptr ? Find(set->entries, entry) : nullptr;
  if (input == nullptr) return std::u16string();
  std::u16string text;
  for (std::size_t i = 0; i < input->steps.size(); ++i) {
    if (i > 0) text += u",";
    text += InputStepText(input->steps[i]);
  }
  return text;
}

std::u16string ParameterValueText(const Variant& value) {
  if (value.IsEmpty()) return u"Empty";
  if (value.Type() == kVarError) return u"Error";
  if (value.IsArray()) return u"Array";
  if (value.IsText()) return Quoted(value.AsText());
  return VarToTextLenient(value);
}

}  // namespace

std::u16string DescribeTrigger(const CallFrame& frame) {
  std::u16string text;
  const std::int32_t map = frame.ownerMap;
  if (HasMapPrefix(frame.ownerKind)) {
    const Map* record = FindMap(map);
    text += (record != nullptr && record->isInterface ? u"Interface" : u"Map");
    text += u": " + Quoted(record != nullptr ? record->fileName : std::u16string()) + u" ";
  }
  auto name = [&frame](std::int32_t mapOfName) {
    return Quoted(OwnerName(frame.ownerKind, mapOfName, frame.ownerIndex));
  };
  auto eventText = [&frame, map] {
    return TriggerEventText(frame.ownerKind, map, frame.ownerIndex, frame.subIndex);
  };
  switch (frame.ownerKind) {
    case kOwnerSystem:
      text += u"System Script Trigger: " + N(frame.ownerIndex);
      break;
    case kOwnerMap:
      text += u"Trigger: " + N(frame.ownerIndex);
      break;
    case kOwnerZone:
      text += u"Zone: " + name(map) + u" Trigger: " + eventText();
      break;
    case kOwnerActor:
      text += u"Actor: " + name(map) + u" Trigger: " + eventText();
      break;
    case kOwnerDoor:
      text += u"Door: " + name(map) + u" Trigger: " + N(frame.subIndex);
      break;
    case kOwnerItem:
      text += u"Item: " + name(-1) + u" Trigger: " + N(frame.subIndex);
      break;
    case kOwnerSpawn:
      text += u"Spawn: " + name(map) + u" Trigger: " + N(frame.subIndex);
      break;
    case kOwnerField:
      text += u"Field: " + name(map) + u" Trigger: " + eventText();
      break;
    case kOwnerInput: {
      text += u"Input: " + name(-1);
      if (frame.relateActor >= 0) text += u" Player: " + N(PlayerNumber(map, frame.relateActor));
      text += u" Trigger: " + InputStepsText(frame.ownerIndex, frame.subIndex);
      break;
    }
    case kOwnerCustomEvent:
      text += u"Custom Event: " + name(-1);
      break;
    case kOwnerSpriteTexture:
      text += u"Sprite Texture: " + N(frame.ownerIndex) + u" Trigger: " + N(frame.subIndex);
      break;
    case kOwnerFieldValue:
      text += u"Field: " + name(map) + u" Retrieve Value: " + N(frame.subIndex);
      break;
    default:
      text += N(frame.ownerKind) + u": " + Quoted(N(frame.ownerIndex)) + u" Trigger: " + N(frame.subIndex);
      break;
  }
  if (scriptEngine.callTop >= 0) {
    const CallFrame& top = scriptEngine.callStack[static_cast<std::size_t>(scriptEngine.callTop)];
    if (!top.parameters.empty()) {
      text += u" Params: ";
      for (const ScriptVariable& parameter : top.parameters) {
        text += SymbolName(parameter.symbol) + u"=" + ParameterValueText(parameter.value) + u", ";
      }
      text.resize(text.size() - 2);
    }
  }
  return text;
}

std::u16string DescribeTriggerRun(const TriggerRun& run) {
  CallFrame frame;
  frame.ownerKind = run.ownerKind;
  frame.ownerIndex = run.ownerIndex;
  frame.subIndex = run.subIndex;
  frame.ownerMap = run.map;
  frame.relateActor = run.relateActor;
  return DescribeTrigger(frame);
}

std::string CaughtErrorLine(const std::exception& error) {
  const KivError* numbered = dynamic_cast<const KivError*>(&error);
  return "Error: " + std::string(error.what()) +
         (numbered != nullptr ? " (" + std::to_string(numbered->Number()) + ")" : std::string());
}

}  // namespace kiv
