#pragma once
// The steps of map drawing after the fields: shadows on the ground, the
// mouse-sensitive zones of a pick pass, clouds and rain, the "tops" over
// characters (carried interfaces and message text), and the screen sprites,
// transition and flash of a view field.
#include <cstdint>

#include "render/render_hooks.h"

namespace kiv {

struct Actor;
struct Attachment;
struct Door;
struct PickUp;

void DrawShadows(const MapDrawStep& step);
void DrawZones(const MapDrawStep& step);
void DrawClouds(const MapDrawStep& step);
void DrawRain(const MapDrawStep& step);
void DrawTops(const MapDrawStep& step);
void DrawViewOverlays(const MapDrawStep& step);

// The shrink of a character's shadow at height z: 150 / (|z| + 150).
float ShadowScale(float z);

// The colour of a view field's screen sprite at clock ms: fading in from no
// alpha over fadeTime while there is no fade-out start (negative), else
// fading out to nothing from fadeOutStart to fadeTime. A fade with no length
// is over at once.
std::uint32_t ScreenSpriteColour(std::uint32_t colour, std::int32_t clock, std::int32_t fadeTime,
                                 std::int32_t fadeOutStart);

// How far a view's transition has come: elapsed / duration fading out
// (direction 1), 1 - elapsed / duration fading in (direction 2); negative
// when nothing is drawn (no direction or no duration).
float TransitionAmount(std::uint8_t direction, std::int32_t elapsed, std::int32_t duration);

// The strength of a flash of count pulses over duration ms at elapsed ms:
// (1 - cos(2 pi x elapsed x count / duration)) / 2, 0 without a duration.
float FlashAmount(std::int32_t count, std::int32_t elapsed, std::int32_t duration);

// The message text over a character: where it goes relative to the
// character's projected foot point and the colours of its two forms.
struct MessageTextLook {
  std::int32_t x = 0, y = 0;  // centre of the first line's top
  std::uint32_t top = 0, bottom = 0, shadow = 0;
};
MessageTextLook MessageTextPlacement(float screenX, float screenY, bool secondForm);

// The names drawing gives to the shadow fields that records keep under their
// file names.
std::uint32_t ActorShadowSecondColour(const Actor& actor);
bool PickUpCastsShadow(const PickUp& p);
std::uint32_t PickUpShadowColour(const PickUp& p);
std::uint32_t PickUpShadowSecondColour(const PickUp& p);
bool AttachmentCastsShadow(const Attachment& a);
std::uint32_t AttachmentShadowColour(const Attachment& a);

}  // namespace kiv
