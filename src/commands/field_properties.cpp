// The identifiers of an interface field (kind 26).
#include <bit>
#include <cmath>

#include "commands/field_view_call.h"
#include "commands/field_view_executor.h"
#include "commands/map_object_copies.h"
#include "commands/number_arguments.h"
#include "core/error.h"
#include "core/symbol_table.h"
#include "data/field_state.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"
#include "script/script_convert.h"
#include "script/script_dispatch.h"
#include "script/script_lookups.h"
#include "script/script_map_resolvers.h"
#include "script/script_object_names.h"
#include "script/script_object_resolvers.h"
#include "script/script_value_ops.h"
#include "script/timed_changes.h"
#include "world/field_focus.h"
#include "world/field_lists.h"
#include "world/field_values.h"
#include "world/object_resets.h"

namespace kiv {

namespace {

// The behaviour whose sprite turns by the field's rotation.
constexpr std::uint8_t kStaticEffectKind = 5;
// The removal mark of a field a script deleted: removed even while a wait names it.
constexpr std::int32_t kDeletedByScript = 2147483135;

Field& F(FieldViewCall& c) { return c.Target(); }

void Relayout(FieldViewCall& c) { UpdateFieldLayout(c.TargetMap(), c.map, c.field); }

// Colours are kept as unsigned ARGB; scripts see them as Longs.
std::int32_t& AsLong(std::uint32_t& colour) { return reinterpret_cast<std::int32_t&>(colour); }

void Name(FieldViewCall& c) {
  if (c.call.Assigning()) {
    F(c).name = VarToText(c.call.value);
  } else {
    c.call.Answer(Variant::Text(F(c).name));
  }
}

void Title(FieldViewCall& c) {
  if (c.call.Assigning()) {
    F(c).displayName = VarToText(c.call.value);
  } else {
    c.call.Answer(Variant::Text(F(c).displayName));
  }
}

void FullName(FieldViewCall& c) {
  if (c.call.Assigning()) RaiseError(kErrData, "You cannot change the full name of something.");
  c.call.Answer(Variant::Text(FullObjectName(c.map, F(c).name)));
}

void X(FieldViewCall& c) { c.call.slot.BindSingle(F(c).x); }
void Y(FieldViewCall& c) { c.call.slot.BindSingle(F(c).y); }
void Z(FieldViewCall& c) { c.call.slot.BindSingle(F(c).z); }
void Face(FieldViewCall& c) { c.call.slot.BindBoolean(F(c).face); }
void Shadow(FieldViewCall& c) { c.call.slot.BindBoolean(F(c).shadow); }
void NoDraw(FieldViewCall& c) { c.call.slot.BindBoolean(F(c).noDraw); }
void NonExistent(FieldViewCall& c) { c.call.slot.BindBoolean(F(c).nonExistent); }
void Color1(FieldViewCall& c) { c.call.slot.BindLong(AsLong(F(c).colorsA[0])); }
void Color2(FieldViewCall& c) { c.call.slot.BindLong(AsLong(F(c).colorsB[0])); }
void ShadowColor(FieldViewCall& c) { c.call.slot.BindLong(AsLong(F(c).colorsC[0])); }
void Specular(FieldViewCall& c) { c.call.slot.BindLong(AsLong(F(c).specular)); }
void TextLines(FieldViewCall& c) { c.call.slot.BindLong(F(c).lineCount); }
void SizeZ(FieldViewCall& c) { c.call.slot.BindSingle(F(c).depth); }

// A read gives the laid-out pixel size; an assignment sets the design size.
void SizeAxis(FieldViewCall& c, float Field::*design, std::int32_t Field::*pixels) {
  if (!c.call.Assigning()) {
    c.call.Answer(Variant::Long(F(c).*pixels));
    return;
  }
  PropertySlot slot;
  slot.BindSingle(F(c).*design);
  slot.Assign(c.call.value);
  Relayout(c);
}
void SizeX(FieldViewCall& c) { SizeAxis(c, &Field::width, &Field::pixelWidth); }
void SizeY(FieldViewCall& c) { SizeAxis(c, &Field::height, &Field::pixelHeight); }

// Position and Resize: three timed changes over the fourth argument's
// milliseconds when it is given and true, else the three values at once.
bool TimedAxes(FieldViewCall& c, const char16_t* const (&axes)[3]) {
  InternalCall& call = c.call;
  if (call.argumentUpper < 3 || !call.ArgumentBoolean(3)) return false;
  const std::int32_t duration = call.ArgumentLong(3);
  for (std::int32_t axis = 0; axis < 3; ++axis) {
    const std::int32_t code = SymbolIntern(axes[axis]);
    const Variant target = call.Argument(axis);
    if (ScriptStartTimedChange(code, call.object, -1, target, duration)) continue;
    // Not taken over: the axis is set at once.
    ScriptValue scratch;
    ScriptFieldViewProperty(code, call.object, -1, scratch, kModeAssign, target, false);
  }
  return true;
}

void Position(FieldViewCall& c) {
  static const char16_t* const kAxes[3] = {u"X", u"Y", u"Z"};
  if (TimedAxes(c, kAxes)) return;
  const Variant x = c.call.Argument(0), y = c.call.Argument(1), z = c.call.Argument(2);
  for (auto [value, member] : {std::pair{&x, &Field::x}, std::pair{&y, &Field::y}, std::pair{&z, &Field::z}}) {
    PropertySlot slot;
    slot.BindSingle(F(c).*member);
    slot.Assign(*value);
  }
}

void Resize(FieldViewCall& c) {
  static const char16_t* const kAxes[3] = {u"SizeX", u"SizeY", u"SizeZ"};
  if (TimedAxes(c, kAxes)) return;
  const Variant x = c.call.Argument(0), y = c.call.Argument(1), z = c.call.Argument(2);
  for (auto [value, member] :
       {std::pair{&x, &Field::width}, std::pair{&y, &Field::height}, std::pair{&z, &Field::depth}}) {
    PropertySlot slot;
    slot.BindSingle(F(c).*member);
    slot.Assign(*value);
  }
  Relayout(c);
}

void Rotation(FieldViewCall& c) {
  if (F(c).Kind() != kStaticEffectKind) {
    RaiseError(kErrData,
               "You cannot access rotation of a field that does not have its behavior set to \"Static Effect\".");
  }
  if (c.call.Assigning()) {
    const float angle = ScriptConvertRotation(c.call.value, true);
    F(c).rotation = std::bit_cast<std::int32_t>(angle);
  } else {
    c.call.Answer(Variant::Single(F(c).RotationAngle()));
  }
}

// A new sprite set starts the field's sprites from their first frame.
void RestartSprites(Field& field) {
  for (SpriteInstance& sprite : field.sprites) SetObjectSprite(sprite, field.spriteSet);
}

bool SpriteSetExists(std::int32_t set) {
  return set >= 0 && static_cast<std::size_t>(set) < gameData.spriteSets.size();
}

void Sprite(FieldViewCall& c) {
  if (c.call.Assigning()) {
    const std::int32_t set = VarToLong(ScriptLookupSprite(VarToText(c.call.value), -1, true, true).value);
    F(c).spriteSet = set;
    RestartSprites(F(c));
    Relayout(c);
    return;
  }
  const std::int32_t set = F(c).spriteSet;
  c.call.Answer(Variant::Text(SpriteSetExists(set) ? gameData.spriteSets[static_cast<std::size_t>(set)].name : u""));
}

void Texture(FieldViewCall& c) {
  if (c.call.Assigning()) {
    const std::int32_t set = VarToLong(ScriptLookupEffect(VarToText(c.call.value), true, true).value);
    F(c).spriteSet = set;
    RestartSprites(F(c));
    Relayout(c);
    return;
  }
  const std::int32_t set = F(c).spriteSet;
  c.call.Answer(Variant::Text(
      SpriteSetExists(set) ? ScriptParseScriptingId(gameData.spriteSets[static_cast<std::size_t>(set)].name,
                                                    kObjectEffect)
                           : u""));
}

void Font(FieldViewCall& c) {
  if (c.call.Assigning()) {
    F(c).fontSet = VarToLong(ScriptLookupFont(VarToText(c.call.value), true).value);
    return;
  }
  const std::int32_t set = F(c).fontSet;
  const bool exists = set >= 0 && static_cast<std::size_t>(set) < gameData.fontSets.size();
  c.call.Answer(Variant::Text(exists ? gameData.fontSets[static_cast<std::size_t>(set)].name : u""));
}

// The parent field's name, "" without one (or when the index is stale).
const Field* ParentOf(FieldViewCall& c) {
  const std::int32_t parent = F(c).parent;
  const std::vector<Field>& fields = c.TargetMap().fields;
  if (parent < 0 || static_cast<std::size_t>(parent) >= fields.size()) return nullptr;
  return &fields[static_cast<std::size_t>(parent)];
}

void AssignParent(FieldViewCall& c) {
  const std::u16string text = VarToText(c.call.value);
  if (text.empty()) {
    F(c).parent = -1;
    return;
  }
  const std::int32_t parent = VarToLong(ScriptResolveField(text, c.map, true).value);
  FieldOfReference(c.map, parent);
  F(c).parent = parent;
  ApplyFieldState(c.TargetMap(), parent);
}

void Associate(FieldViewCall& c) {
  if (c.call.Assigning()) return AssignParent(c);
  const Field* parent = ParentOf(c);
  c.call.Answer(Variant::Text(parent != nullptr ? parent->name : u""));
}

void AssociateFull(FieldViewCall& c) {
  if (c.call.Assigning()) return AssignParent(c);
  const Field* parent = ParentOf(c);
  c.call.Answer(Variant::Text(parent != nullptr ? FullObjectName(c.map, parent->name) : u""));
}

void Disabled(FieldViewCall& c) {
  if (c.call.Assigning()) {
    SetFieldDisabled(c.map, c.field, ScriptConvertBoolean(c.call.value, true));
  } else {
    c.call.Answer(Variant::Byte(F(c).disabled));
  }
}

void Selectable(FieldViewCall& c) {
  if (c.call.Assigning()) {
    SetFieldSelectable(c.map, c.field, ScriptConvertBoolean(c.call.value, true));
  } else {
    c.call.Answer(Variant::Byte(F(c).selectable));
  }
}

void Value(FieldViewCall& c) {
  if (!c.call.Assigning()) return c.call.Answer(F(c).value1);
  Field& field = F(c);
  StoreFieldValue(field, field.value1, c.call.value, FieldEmptyValue::kStore);
  field.runByte = 1;  // the value script no longer overrides it
  Relayout(c);
}

void MaxValue(FieldViewCall& c) {
  if (!c.call.Assigning()) return c.call.Answer(F(c).value2);
  Field& field = F(c);
  StoreFieldValue(field, field.value2, c.call.value, FieldEmptyValue::kStore);
  Relayout(c);
}

// Line n (from 1) of the laid-out text as characters of the field's font.
void TextAtLine(FieldViewCall& c) {
  const std::int64_t wanted = static_cast<std::int64_t>(c.call.ArgumentLong(0)) - 1;
  const Field& field = F(c);
  const std::int32_t set = field.fontSet;
  const FontSet* font = set >= 0 && static_cast<std::size_t>(set) < gameData.fontSets.size()
                            ? &gameData.fontSets[static_cast<std::size_t>(set)]
                            : nullptr;
  std::u16string text;
  std::int64_t line = 0;
  for (const std::int16_t glyph : field.lines) {
    if (glyph == kGlyphLineMark) {
      ++line;
      continue;
    }
    if (line != wanted || font == nullptr || glyph < 0) continue;
    if (static_cast<std::size_t>(glyph) >= font->glyphs.size()) continue;
    text.push_back(static_cast<char16_t>(font->glyphs[static_cast<std::size_t>(glyph)].code));
  }
  c.call.Answer(Variant::Text(text));
}

void Activate(FieldViewCall& c) { ActivateField(c.map, c.field); }
void UnspawnFields(FieldViewCall& c) { UnspawnChildFields(c.map, c.field); }

void Delete(FieldViewCall& c) {
  DetachField(c.map, c.field);
  F(c).removeMark = kDeletedByScript;
  ResetFieldState(c.map, c.field);
}

void WaitDisplay(FieldViewCall& c) { AnswerFieldWait(c, c.field, -1); }

// Moving a field to another interface belongs to the copying and moving of
// map objects, which this player does not run yet.
// Moves the field to the named interface (or within its own) at the position.
void Position2(FieldViewCall& c) {
  const std::int32_t target = VarToLong(ScriptResolveInterface(c.call.ArgumentText(0), true).value);
  const float x = VarToSingle(c.call.Argument(1));
  const float y = VarToSingle(c.call.Argument(2));
  const float z = VarToSingle(c.call.Argument(3));
  // The resolver may have loaded the interface: the field is checked again.
  FieldOfReference(c.map, c.field);
  if (target < 0 || target > gameData.maps.LastIndex()) RaiseError(kErrIndex, "Subscript out of range");
  MoveField(c.field, c.map, target, x, y, z);
}

constexpr FieldViewIdentifier kFieldIdentifiers[] = {
    {u"Name", Name},
    {u"Title", Title},
    {u"FullName", FullName},
    {u"X", X},
    {u"Y", Y},
    {u"Z", Z},
    {u"Position", Position},
    {u"Position2", Position2},
    {u"Face", Face},
    {u"Shadow", Shadow},
    {u"NoDraw", NoDraw},
    {u"NonExistent", NonExistent},
    {u"Color", Color1},
    {u"Color1", Color1},
    {u"Color2", Color2},
    {u"ShadowColor", ShadowColor},
    {u"Specular", Specular},
    {u"TextLines", TextLines},
    {u"SizeX", SizeX},
    {u"SizeY", SizeY},
    {u"SizeZ", SizeZ},
    {u"Resize", Resize},
    {u"Rotation", Rotation},
    {u"Sprite", Sprite},
    {u"Texture", Texture},
    {u"Font", Font},
    {u"Associate", Associate},
    {u"AssociateFull", AssociateFull},
    {u"Disabled", Disabled},
    {u"Selectable", Selectable},
    {u"Value", Value},
    {u"MaxValue", MaxValue},
    {u"TextAtLine", TextAtLine},
    {u"Activate", Activate},
    {u"UnspawnFields", UnspawnFields},
    {u"Delete", Delete},
    {u"WaitDisplay", WaitDisplay},
};

}  // namespace

std::span<const FieldViewIdentifier> FieldIdentifiers() { return kFieldIdentifiers; }

}  // namespace kiv
