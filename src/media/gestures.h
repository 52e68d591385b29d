#pragma once
// Mouse gestures: strokes drawn with the pointer, the gesture text stored in
// trigger conditions, and a single-template recogniser of the unistroke
// family (resample, rotate to the indicative angle, scale, translate,
// vectorise, closed-form angular distance) that also accepts a partly drawn
// gesture by trying ever shorter beginnings of the template.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kiv {

struct StrokePoint {
  float x = 0.0f;
  float y = 0.0f;
};

struct Stroke {
  std::vector<StrokePoint> points;
  std::vector<StrokePoint> vectors;  // the points scaled to unit length by normalisation
  float centroidX = 0.0f;
  float centroidY = 0.0f;

  // Index of the last point; -1 when the stroke is absent or empty.
  std::int32_t LastIndex() const { return static_cast<std::int32_t>(points.size()) - 1; }
};

inline constexpr int kGestureStrokeCount = 5;

struct Gesture {
  std::array<Stroke, kGestureStrokeCount> strokes;  // a stroke without points is absent
};

// Normalised strokes have this many points and this size.
inline constexpr int kGestureResampleCount = 64;
inline constexpr float kGestureSquareSize = 448.0f;
// Gesture texts with a stroke of more points are refused.
inline constexpr std::int32_t kGestureMaxLastIndex = 4095;

// Reads a gesture text: for each of the five strokes its last index, then x
// and y of each point, all separated by "|"; the text may be enclosed in
// double quotes. Missing tokens give absent strokes and points (0, 0).
// Raises 13 for a token that is not a number, 6 for a number out of range
// and -1 for a stroke of more than kGestureMaxLastIndex + 1 points.
Gesture GestureParse(std::u16string_view text);

struct GestureNormalization {
  double angle = 0.0;  // the indicative angle the stroke was rotated by
  float scale = 0.0f;  // the factor that scaled it to the square
};

// Normalises the stroke in place (resample to 64 points, rotate to zero,
// scale to the square, translate to the origin, vectorise). A stroke of one
// point, or whose points all coincide, has no shape: it is left unchanged and
// the result is empty. Raises 9 for a stroke without points.
std::optional<GestureNormalization> GestureNormalize(Stroke& stroke);

// The steps of normalisation.
// Resampling requires at least two points and a path longer than 0.
void GestureResample(Stroke& stroke, int count);
void GestureCentroid(Stroke& stroke);
double GestureRotateToZero(Stroke& stroke);
float GestureScaleToSquare(Stroke& stroke, float size);
void GestureTranslateToOrigin(Stroke& stroke);
void GestureVectorize(Stroke& stroke);

double GesturePointDistance(const StrokePoint& a, const StrokePoint& b);
// The optimal angular distance between two vectorised strokes, 0 to pi.
double GestureCosineDistance(const Stroke& p, const Stroke& q);

struct GestureMatchResult {
  Stroke bestStroke;
  float angleDifference = 0.0f;  // drawn angle - template angle
  float score = 0.0f;            // 1 for a perfect match, 0 when nothing matched
  float completion = 0.0f;       // the fraction of the template that matched best
  float scaleRatio = 0.0f;       // drawn size over template size
};

// Matches the drawn stroke against the template and its beginnings down to
// the minimum fraction of its points. Neither stroke is changed. The score is
// set to 0 first; the other results change only when some prefix scores above
// 0 (ties keep the longer prefix). A drawn stroke without shape matches
// nothing. Raises 9 when either stroke has no points.
void GestureMatch(const Stroke& templateStroke, const Stroke& drawnStroke, float minimumFraction,
                  GestureMatchResult& result);

}  // namespace kiv
