// The identifiers of a camera view (kind 33): the camera position all views
// share, and the fades, flashes, shakes, pans, focus and screen sprites of
// one view field.
#include <bit>
#include <cmath>

#include "commands/field_view_call.h"
#include "core/error.h"
#include "data/game_data.h"
#include "data/sprite_instance.h"
#include "mathkiv/colors.h"
#include "media/draw_device.h"
#include "player/game_reset.h"
#include "render/field_camera.h"
#include "script/script_actor_resolvers.h"
#include "script/script_convert.h"
#include "script/script_lookups.h"
#include "script/script_map_resolvers.h"
#include "script/script_object_names.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

// Fade states of a view.
constexpr std::uint8_t kFadeHiding = 1;
constexpr std::uint8_t kFadeShowing = 2;
// Flash and shake modes.
constexpr std::uint8_t kCounted = 0;
constexpr std::uint8_t kContinuous = 1;

// A screen sprite of a view, by the places the world and the drawing use:
// the sprite set, X, Y, Z, W, the colour, the clock, the end of the fade-in
// (or, while hiding, of the fade-out) and the clock time the hide began.
std::int32_t& ViewSpriteSet(FieldRuntimeEntry& e) { return e.values[0]; }
std::int32_t& ViewSpriteColour(FieldRuntimeEntry& e) { return e.values[5]; }
std::int32_t& ViewSpriteElapsed(FieldRuntimeEntry& e) { return e.values[6]; }
std::int32_t& ViewSpriteAppearEnd(FieldRuntimeEntry& e) { return e.values[7]; }
std::int32_t& ViewSpriteHideStart(FieldRuntimeEntry& e) { return e.values[8]; }

FieldView& V(FieldViewCall& c) { return c.Target().view; }

std::int32_t ScreenWidth() { return static_cast<std::int32_t>(GraphicsBackBufferWidth()); }
std::int32_t ScreenHeight() { return static_cast<std::int32_t>(GraphicsBackBufferHeight()); }

std::int32_t Whole(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

void CameraX(FieldViewCall& c) { c.call.slot.BindLong(viewScroll.scrollPixelX); }
void CameraY(FieldViewCall& c) { c.call.slot.BindLong(viewScroll.scrollPixelY); }
void CameraZ(FieldViewCall& c) { c.call.slot.BindLong(viewScroll.scrollPixelZ); }

// The far edge of the screen on an axis: the camera plus the screen size.
void FarEdge(FieldViewCall& c, std::int32_t& camera, std::int32_t screen) {
  if (c.call.Assigning()) {
    camera = static_cast<std::int32_t>(static_cast<std::int64_t>(VarToLong(c.call.value)) - screen);
  } else {
    c.call.Answer(Variant::Long(static_cast<std::int32_t>(static_cast<std::int64_t>(camera) + screen)));
  }
}
void CameraX2(FieldViewCall& c) { FarEdge(c, viewScroll.scrollPixelX, ScreenWidth()); }
void CameraY2(FieldViewCall& c) { FarEdge(c, viewScroll.scrollPixelY, ScreenHeight()); }
// The depth axis runs up the screen too, so it takes the screen height.
void CameraZ2(FieldViewCall& c) { FarEdge(c, viewScroll.scrollPixelZ, ScreenHeight()); }

void View(FieldViewCall& c) {
  const std::int32_t view = ScriptConvertScreenView(c.call.ArgumentText(0), true);
  SetFieldScreenView(c.Target(), view);
}

// A fade under way carries its visible progress into the new one.
void StartFade(FieldView& view, std::uint8_t state, std::int32_t duration) {
  if (view.transitionDuration > 0) {
    const double done = static_cast<double>(view.transitionElapsed) / view.transitionDuration;
    const double left = 1.0 - done;
    double fraction = -1.0;
    if (state == kFadeShowing) {
      if (view.transitionMode == kFadeShowing) fraction = done;
      if (view.transitionMode == kFadeHiding) fraction = left;
    } else {
      fraction = view.transitionMode == kFadeHiding ? done : left;
    }
    if (fraction >= 0.0) view.transitionElapsed = Whole(duration * fraction);
  }
  view.transitionDuration = duration;
  view.transitionMode = state;
  if (state == kFadeHiding && duration == 0) {
    view.transitionElapsed = 1;
    view.transitionDuration = 1;
  }
}

void Show(FieldViewCall& c) {
  const std::int32_t transition = ScriptConvertTransition(c.call.ArgumentText(0), true);
  const std::int32_t duration = c.call.ArgumentLong(1);
  FieldView& view = V(c);
  view.transitionKind = transition;
  StartFade(view, kFadeShowing, duration);
}

void HideTo(FieldViewCall& c, std::uint32_t alpha) {
  const std::int32_t transition = ScriptConvertTransition(c.call.ArgumentText(0), true);
  const auto colour = static_cast<std::uint32_t>(c.call.ArgumentLong(1));
  const std::int32_t duration = c.call.ArgumentLong(2);
  FieldView& view = V(c);
  view.transitionKind = transition;
  view.transitionColor = colour | alpha;
  StartFade(view, kFadeHiding, duration);
}
void Hide(FieldViewCall& c) { HideTo(c, 0xFF000000u); }
void Hide2(FieldViewCall& c) { HideTo(c, 0); }

void Flash(FieldViewCall& c) {
  const auto colour = static_cast<std::uint32_t>(c.call.ArgumentLong(0));
  const std::int32_t count = c.call.ArgumentLong(1);
  const std::int32_t duration = c.call.ArgumentLong(2);
  if (count < 1) RaiseError(kErrData, "You cannot have a flash count less than 1.");
  FieldView& view = V(c);
  view.flashColor = colour;
  view.flashCount = count;
  view.flashDuration = duration;
  view.flashElapsed = 0;
  view.flashRepeat = kCounted;
}

void FlashStart(FieldViewCall& c) {
  const auto colour = static_cast<std::uint32_t>(c.call.ArgumentLong(0));
  const std::int32_t duration = c.call.ArgumentLong(1);
  FieldView& view = V(c);
  view.flashColor = colour;
  view.flashCount = 1;
  view.flashDuration = duration;
  view.flashElapsed = 0;
  view.flashRepeat = kContinuous;
}

void FlashStop(FieldViewCall& c) { V(c).flashDuration = 0; }

void StartShake(FieldViewCall& c, float direction, std::int32_t amplitude, std::int32_t count, std::int32_t duration,
                std::uint8_t mode) {
  FieldView& view = V(c);
  view.shakeAngle = direction;
  view.shakeAmplitude = amplitude;
  view.shakeCount = count;
  view.shakeDuration = duration;
  view.shakeElapsed = 0;
  view.shakeRepeat = mode;
}

void Shake(FieldViewCall& c) {
  const float direction = ScriptConvertRotation(c.call.Argument(0), true);
  const std::int32_t amplitude = c.call.ArgumentLong(1);
  const std::int32_t count = c.call.ArgumentLong(2);
  const std::int32_t duration = c.call.ArgumentLong(3);
  if (count < 1) RaiseError(kErrData, "You cannot have a shake count less than 1.");
  StartShake(c, direction, amplitude, count, duration, kCounted);
}

void ShakeStart(FieldViewCall& c) {
  const float direction = ScriptConvertRotation(c.call.Argument(0), true);
  const std::int32_t amplitude = c.call.ArgumentLong(1);
  const std::int32_t duration = c.call.ArgumentLong(2);
  StartShake(c, direction, amplitude, 1, duration, kContinuous);
}

void ShakeStop(FieldViewCall& c) { V(c).shakeDuration = 0; }

struct Focus {
  std::int32_t map = -1;
  float x = 0.0f, y = 0.0f, z = 0.0f;
};

Focus FocusOf(FieldViewCall& c) {
  Focus focus;
  focus.map = FieldViewFocus(c.Target(), focus.x, focus.y, focus.z);
  return focus;
}

void StartPanFrom(FieldView& view, const Focus& from, std::int32_t x, std::int32_t y, std::int32_t z,
                  std::int32_t duration) {
  view.panning = 1;
  view.panStartX = Whole(from.x);
  view.panStartY = Whole(from.y);
  view.panStartZ = Whole(from.z);
  view.panTargetX = x;
  view.panTargetY = y;
  view.panTargetZ = z;
  view.panElapsed = 0;
  view.panDuration = duration;
}

// Pan and Pan2: towards a point of a map; another map than the shown one is
// shown from then on, without a followed actor.
void PanTo(FieldViewCall& c, bool withZ) {
  const Focus focus = FocusOf(c);
  const std::int32_t target = VarToLong(ScriptResolveMap(c.call.ArgumentText(0), true, true, true).value);
  const std::int32_t x = c.call.ArgumentLong(1);
  const std::int32_t y = c.call.ArgumentLong(2);
  const std::int32_t z = withZ ? c.call.ArgumentLong(3) : Whole(focus.z);
  const std::int32_t duration = c.call.ArgumentLong(withZ ? 4 : 3);
  FieldView& view = V(c);
  if (target != focus.map) {
    view.followedCharacter = -1;
    view.ownMap = target;
  }
  StartPanFrom(view, focus, x, y, z, duration);
}
void Pan(FieldViewCall& c) { PanTo(c, false); }
void Pan2(FieldViewCall& c) { PanTo(c, true); }

void PanReturn(FieldViewCall& c) {
  const Focus focus = FocusOf(c);
  const std::int32_t duration = c.call.ArgumentLong(0);
  FieldView& view = V(c);
  view.followedCharacter = -1;
  view.ownMap = -1;
  StartPanFrom(view, focus, kPanBack, kPanBack, kPanBack, duration);
}

void WaitPan(FieldViewCall& c) { AnswerFieldWait(c, -1, c.field); }

// The camera-fixed byte: fixing it holds the camera where it looks now.
void Disable(FieldViewCall& c) {
  if (!c.call.Assigning()) return c.call.Answer(Variant::Byte(V(c).panning));
  if (ScriptConvertBoolean(c.call.value, true) == 0) {
    V(c).panning = 0;
    return;
  }
  if (V(c).panning != 0) return;
  const Focus focus = FocusOf(c);
  FieldView& view = V(c);
  view.panTargetX = Whole(focus.x);
  view.panTargetY = Whole(focus.y);
  view.panTargetZ = Whole(focus.z);
  view.panDuration = 0;
  view.flashElapsed = 0;
  view.panning = 1;
}

// The followed actor's record, or none.
const Actor* FollowedActor(FieldViewCall& c) {
  const FieldView& view = V(c);
  if (view.ownMap < 0 || view.ownMap > gameData.maps.LastIndex() || view.followedCharacter < 0) return nullptr;
  const std::vector<Actor>& actors = gameData.maps[view.ownMap].actors;
  if (static_cast<std::size_t>(view.followedCharacter) >= actors.size()) return nullptr;
  return &actors[static_cast<std::size_t>(view.followedCharacter)];
}

// The view follows what the reference names; "" follows the player again.
void FollowReference(FieldViewCall& c, const ScriptValue* reference) {
  FieldView& view = V(c);
  view.followedCharacter = reference != nullptr ? VarToLong(reference->value) : -1;
  view.ownMap = reference != nullptr ? reference->mapIndex : -1;
}

void EndFocusChange(FieldViewCall& c) {
  V(c).panning = 0;
  RefreshViewedMaps(false);
}

void FocusActor(FieldViewCall& c) {
  if (!c.call.Assigning()) {
    const Actor* actor = FollowedActor(c);
    c.call.Answer(Variant::Text(actor != nullptr ? FullObjectName(V(c).ownMap, actor->name) : u""));
    return;
  }
  const std::u16string text = VarToText(c.call.value);
  if (text.empty()) {
    FollowReference(c, nullptr);
  } else {
    const ScriptValue reference = ScriptResolveActor(text, -1, true, false);
    FollowReference(c, &reference);
  }
  EndFocusChange(c);
}

void FocusScriptingId(FieldViewCall& c, std::int32_t kind) {
  if (!c.call.Assigning()) {
    const Actor* actor = FollowedActor(c);
    c.call.Answer(Variant::Text(actor != nullptr ? ScriptParseScriptingId(actor->name, kind) : u""));
    return;
  }
  const std::u16string text = VarToText(c.call.value);
  if (text.empty()) {
    FollowReference(c, nullptr);
  } else {
    const ScriptValue reference = kind == kObjectCharacter ? ScriptResolveCharacter(text, -1, true, false)
                                                           : ScriptResolveVehicle(text, -1, true);
    FollowReference(c, &reference);
  }
  EndFocusChange(c);
}
void FocusChar(FieldViewCall& c) { FocusScriptingId(c, kObjectCharacter); }
void FocusVehicle(FieldViewCall& c) { FocusScriptingId(c, kObjectVehicle); }

void FocusMap(FieldViewCall& c) {
  if (!c.call.Assigning()) {
    const std::int32_t map = V(c).ownMap;
    const bool shown = map >= 0 && map <= gameData.maps.LastIndex();
    c.call.Answer(Variant::Text(shown ? gameData.maps[map].fileName : u""));
    return;
  }
  V(c).followedCharacter = -1;
  const std::u16string text = VarToText(c.call.value);
  const std::int32_t map = text.empty() ? -1 : VarToLong(ScriptResolveMap(text, true, true, true).value);
  V(c).ownMap = map;
  EndFocusChange(c);
}

std::int32_t LookedUpSprite(FieldViewCall& c) {
  return VarToLong(ScriptLookupSprite(c.call.ArgumentText(0), -1, true, false).value);
}

FieldRuntimeEntry* FirstSpriteEntry(FieldViewCall& c, std::int32_t sprite) {
  for (FieldRuntimeEntry& entry : c.Target().runtimeEntries) {
    if (ViewSpriteSet(entry) == sprite) return &entry;
  }
  return nullptr;
}

void ShowSprite(FieldViewCall& c) {
  const std::int32_t sprite = LookedUpSprite(c);
  if (FirstSpriteEntry(c, sprite) != nullptr) return;
  FieldRuntimeEntry entry;
  ViewSpriteSet(entry) = sprite;
  SetObjectSprite(entry.sprite, sprite);
  for (std::int32_t i = 1; i <= 4; ++i) {
    PropertySlot slot;
    float place = 0.0f;
    slot.BindSingle(place);
    slot.Assign(c.call.Argument(i));
    entry.values[static_cast<std::size_t>(i)] = std::bit_cast<std::int32_t>(place);
  }
  ViewSpriteColour(entry) = c.call.ArgumentLong(5);
  ViewSpriteHideStart(entry) = -1;
  ViewSpriteElapsed(entry) = 0;
  ViewSpriteAppearEnd(entry) = c.call.ArgumentLong(6);
  c.Target().runtimeEntries.push_back(entry);
}

// A sprite still fading in keeps the colour it has reached and fades out in
// the share of the time its fade-in had covered.
void HideSprite(FieldViewCall& c) {
  const std::int32_t sprite = LookedUpSprite(c);
  const std::int32_t duration = c.call.ArgumentLong(1);
  FieldRuntimeEntry* entry = FirstSpriteEntry(c, sprite);
  if (entry == nullptr) return;
  const std::int32_t elapsed = ViewSpriteElapsed(*entry);
  const std::int32_t appearEnd = ViewSpriteAppearEnd(*entry);
  ViewSpriteHideStart(*entry) = elapsed;
  // A fade-in of no length is over from the start.
  if (appearEnd < elapsed || appearEnd <= 0) {
    ViewSpriteAppearEnd(*entry) = static_cast<std::int32_t>(static_cast<std::int64_t>(elapsed) + duration);
    return;
  }
  const double fraction = static_cast<double>(elapsed) / appearEnd;
  const auto colour = static_cast<std::uint32_t>(ViewSpriteColour(*entry));
  ViewSpriteColour(*entry) =
      static_cast<std::int32_t>(ColorLerp(colour & 0x00FFFFFFu, colour, static_cast<float>(fraction)));
  ViewSpriteAppearEnd(*entry) = static_cast<std::int32_t>(elapsed + std::nearbyint((1.0 - fraction) * duration));
}

constexpr FieldViewIdentifier kViewIdentifiers[] = {
    {u"X", CameraX},
    {u"Y", CameraY},
    {u"Z", CameraZ},
    {u"X2", CameraX2},
    {u"Y2", CameraY2},
    {u"Z2", CameraZ2},
    {u"View", View},
    {u"Show", Show},
    {u"Hide", Hide},
    {u"Hide2", Hide2},
    {u"Flash", Flash},
    {u"FlashStart", FlashStart},
    {u"FlashStop", FlashStop},
    {u"Shake", Shake},
    {u"ShakeStart", ShakeStart},
    {u"ShakeStop", ShakeStop},
    {u"Pan", Pan},
    {u"Pan2", Pan2},
    {u"PanReturn", PanReturn},
    {u"WaitPan", WaitPan},
    {u"Disable", Disable},
    {u"FocusActor", FocusActor},
    {u"FocusChar", FocusChar},
    {u"FocusVehicle", FocusVehicle},
    {u"FocusMap", FocusMap},
    {u"ShowSprite", ShowSprite},
    {u"HideSprite", HideSprite},
};

}  // namespace

std::span<const FieldViewIdentifier> ViewIdentifiers() { return kViewIdentifiers; }

}  // namespace kiv
