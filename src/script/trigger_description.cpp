#include "script/trigger_description.h"

#include <cmath>
#include <string>

#include "core/error.h"
#include "core/symbol_table.h"
#include "core/text_encoding.h"
#include "data/game_data.h"
#include "script/script_hooks.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

std::u16string N(std::int64_t number) { return AnsiToUtf16(std::to_string(number)); }
std::u16string Quoted(const std::u16string& name) { return u"\"" + name + u"\""; }

bool HasMapPrefix(std::int32_t ownerKind) {
  return ownerKind == kOwnerMap || ownerKind == kOwnerZone || ownerKind == kOwnerActor ||
         ownerKind == kOwnerDoor || ownerKind == kOwnerSpawn || ownerKind == kOwnerField ||
         ownerKind == kOwnerFieldValue;
}

std::u16string InputEntryText(const InputTriggerEntry& entry) {
  std::u16string text;
  const std::int32_t type = entry.type & 31;
  if (type == 1) {
    text = entry.value < 0 ? u"???" : scriptHooks.ControlName(entry.value);
  } else if (type == 2 || type == 4 || type == 8) {
    text = scriptHooks.InputControlName(entry.value, type);
  } else if (type == 16) {
    text = VarToText(Variant::Double(std::nearbyint(entry.value) / 1000.0));
  }
  if ((entry.type & 256) != 0) text += u" (Up)";
  if ((entry.type & 512) != 0) text += u" (Down)";
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
    const bool known = map >= -1 && map <= gameData.maps.LastIndex();
    const bool isInterface = known && gameData.maps[map].isInterface;
    text += (isInterface ? u"Interface" : u"Map");
    text += u": " + Quoted(known ? gameData.maps[map].fileName : std::u16string()) + u" ";
  }
  auto name = [&frame](std::int32_t mapOfName) {
    return Quoted(scriptHooks.OwnerName(frame.ownerKind, mapOfName, frame.ownerIndex));
  };
  auto eventText = [&frame, map] {
    return scriptHooks.TriggerEventText(frame.ownerKind, map, frame.ownerIndex, frame.subIndex);
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
      if (frame.relateActor >= 0) {
        text += u" Player: " + N(scriptHooks.CharacterOwnerPlayer(map, frame.relateActor) + 1LL);
      }
      text += u" Trigger: ";
      const std::vector<InputTriggerEntry> entries =
          scriptHooks.InputTriggerEntries(frame.ownerIndex, frame.subIndex);
      for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) text += u",";
        text += InputEntryText(entries[i]);
      }
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
