// Colour functions on 32-bit ARGB Longs: packing channels, reading them back,
// lightness, chroma and saturation, and the helper library's mixes.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "commands/internal_selection.h"
#include "core/math_util.h"
#include "mathkiv/colors.h"
#include "script/script_value_ops.h"

namespace kiv {

namespace {

std::int32_t Pack(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
  return static_cast<std::int32_t>((a << 24) | (r << 16) | (g << 8) | b);
}

std::uint32_t Channel(InternalCall& call, std::int32_t i) {
  return static_cast<std::uint32_t>(ClampLong(call.ArgumentLong(i), 0, 255));
}

// The colour without its alpha, 0..16777215.
std::uint32_t ColourBits(InternalCall& call, std::int32_t i) {
  return static_cast<std::uint32_t>(call.ArgumentLong(i)) & 0xFFFFFFu;
}

void Rgb(InternalCall& call) {
  const std::uint32_t r = Channel(call, 0);
  const std::uint32_t g = Channel(call, 1);
  call.Answer(Variant::Long(Pack(255, r, g, Channel(call, 2))));
}

void Argb(InternalCall& call) {
  const std::uint32_t a = Channel(call, 0);
  const std::uint32_t r = Channel(call, 1);
  const std::uint32_t g = Channel(call, 2);
  call.Answer(Variant::Long(Pack(a, r, g, Channel(call, 3))));
}

void AlterAlpha(InternalCall& call) {
  const std::uint32_t rgb = ColourBits(call, 0);
  call.Answer(Variant::Long(static_cast<std::int32_t>((Channel(call, 1) << 24) | rgb)));
}

std::uint32_t Colour(InternalCall& call, std::int32_t i) {
  return static_cast<std::uint32_t>(call.ArgumentLong(i));
}

void Modulate(InternalCall& call) {
  const std::uint32_t a = Colour(call, 0);
  call.Answer(Variant::Long(static_cast<std::int32_t>(ColorModulate(a, Colour(call, 1)))));
}

void Average(InternalCall& call) {
  const std::uint32_t a = Colour(call, 0);
  call.Answer(Variant::Long(static_cast<std::int32_t>(ColorAverage(a, Colour(call, 1)))));
}

void Lerp(InternalCall& call) {
  const std::uint32_t a = Colour(call, 0);
  const std::uint32_t b = Colour(call, 1);
  const auto t = static_cast<float>(VarToDouble(call.Argument(2)));
  call.Answer(Variant::Long(static_cast<std::int32_t>(ColorLerp(a, b, t))));
}

void Alpha(InternalCall& call) {
  call.Answer(Variant::Long(static_cast<std::int32_t>(Colour(call, 0) >> 24)));
}
void Red(InternalCall& call) {
  call.Answer(Variant::Long(static_cast<std::int32_t>((ColourBits(call, 0) >> 16) & 0xFF)));
}
void Green(InternalCall& call) {
  call.Answer(Variant::Long(static_cast<std::int32_t>((ColourBits(call, 0) >> 8) & 0xFF)));
}
void Blue(InternalCall& call) {
  call.Answer(Variant::Long(static_cast<std::int32_t>(ColourBits(call, 0) & 0xFF)));
}

struct Extremes {
  std::int32_t max = 0;
  std::int32_t min = 0;
};

Extremes ChannelExtremes(InternalCall& call) {
  std::uint8_t a = 0, r = 0, g = 0, b = 0;
  ColorSplitBytes(Colour(call, 0), a, r, g, b);
  return {std::max<std::int32_t>(std::max(r, g), b), std::min<std::int32_t>(std::min(r, g), b)};
}

void Lightness(InternalCall& call) {
  const Extremes e = ChannelExtremes(call);
  call.Answer(Variant::Long((e.max + e.min) / 2));
}

void Chroma(InternalCall& call) {
  const Extremes e = ChannelExtremes(call);
  call.Answer(Variant::Byte(static_cast<std::uint8_t>(e.max - e.min)));
}

// HSL saturation scaled by 255: pure colours reach 256.
void Saturation(InternalCall& call) {
  const Extremes e = ChannelExtremes(call);
  const std::int32_t c = e.max - e.min;
  std::int32_t saturation = 0;
  if (c != 0) {
    const auto lightness = static_cast<float>((e.max + e.min) / 2);
    if (lightness <= 127.5f) {
      // Only red, green and blue of 1 and 0 give a lightness of 0: fully saturated.
      const auto divisor = static_cast<std::int32_t>(std::nearbyint(lightness * 510));
      saturation = divisor == 0 ? 255 : c * 65025 / divisor;
    } else if (lightness < 255) {
      saturation = c * 65025 / static_cast<std::int32_t>(std::nearbyint((255 - lightness) * 510));
    }
  }
  call.Answer(Variant::Long(saturation));
}

constexpr InternalCommand kColour[] = {
    {"Color.RGB", Rgb},
    {"Color.ARGB", Argb},
    {"Color.AlterAlpha", AlterAlpha},
    {"Color.Modulate", Modulate},
    {"Color.Average", Average},
    {"Color.Lerp", Lerp},
    {"Color.Alpha", Alpha},
    {"Color.Red", Red},
    {"Color.Green", Green},
    {"Color.Blue", Blue},
    {"Color.Lightness", Lightness},
    {"Color.Chroma", Chroma},
    {"Color.Saturation", Saturation},
};

}  // namespace

std::span<const InternalCommand> ColourFunctions() { return kColour; }

}  // namespace kiv
