#include "media/gestures.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "core/angles.h"
#include "core/error.h"
#include "core/number_text.h"

namespace kiv {
namespace {

constexpr int kErrTypeMismatch = 13;

// Scores fall from 1 at distance 0 to -1/3 at distance pi (divisor about 3 pi / 4).
constexpr double kScoreDivisor = static_cast<double>(kPi) - static_cast<double>(kPiOver4);

[[noreturn]] void RaiseSubscript() { RaiseError(kErrIndex, "Subscript out of range"); }

// "|"-separated tokens; the empty text has none.
std::vector<std::u16string_view> SplitTokens(std::u16string_view text) {
  std::vector<std::u16string_view> tokens;
  if (text.empty()) return tokens;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = text.find(u'|', start);
    tokens.push_back(
        text.substr(start, bar == std::u16string_view::npos ? std::u16string_view::npos : bar - start));
    if (bar == std::u16string_view::npos) return tokens;
    start = bar + 1;
  }
}

// A decimal number with optional blanks around it, an optional sign, a point
// or comma as the decimal separator and an optional exponent.
double TokenToNumber(std::u16string_view token) {
  std::size_t begin = 0;
  std::size_t end = token.size();
  while (begin < end && (token[begin] == u' ' || token[begin] == u'\t')) ++begin;
  while (end > begin && (token[end - 1] == u' ' || token[end - 1] == u'\t')) --end;
  bool negative = false;
  if (begin < end && (token[begin] == u'+' || token[begin] == u'-')) negative = token[begin++] == u'-';

  std::string ascii;
  bool mantissaDigit = false;
  bool separator = false;
  bool exponent = false;
  bool exponentDigit = false;
  for (std::size_t i = begin; i < end; ++i) {
    const char16_t c = token[i];
    if (c >= u'0' && c <= u'9') {
      (exponent ? exponentDigit : mantissaDigit) = true;
      ascii.push_back(static_cast<char>(c));
    } else if ((c == u'.' || c == u',') && !separator && !exponent) {
      separator = true;
      ascii.push_back('.');
    } else if ((c == u'e' || c == u'E') && mantissaDigit && !exponent) {
      exponent = true;
      ascii.push_back('e');
      if (i + 1 < end && (token[i + 1] == u'+' || token[i + 1] == u'-'))
        ascii.push_back(static_cast<char>(token[++i]));
    } else {
      RaiseError(kErrTypeMismatch, "Type mismatch");
    }
  }
  if (!mantissaDigit || (exponent && !exponentDigit)) RaiseError(kErrTypeMismatch, "Type mismatch");
  double value = 0.0;
  const auto [last, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (error != std::errc() || last != ascii.data() + ascii.size()) RaiseError(kErrOverflow, "Overflow");
  return negative ? -value : value;
}

double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return floor + 1.0;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::int32_t TokenToInt32(std::u16string_view token) {
  const double rounded = RoundHalfEven(TokenToNumber(token));
  if (rounded < std::numeric_limits<std::int32_t>::min() ||
      rounded > std::numeric_limits<std::int32_t>::max()) {
    RaiseError(kErrOverflow, "Overflow");
  }
  return static_cast<std::int32_t>(rounded);
}

float TokenToSingle(std::u16string_view token) {
  const double value = TokenToNumber(token);
  if (std::fabs(value) > std::numeric_limits<float>::max()) RaiseError(kErrOverflow, "Overflow");
  return static_cast<float>(value);
}

double PathLength(const std::vector<StrokePoint>& points) {
  double length = 0.0;
  for (std::size_t k = 1; k < points.size(); ++k) length += GesturePointDistance(points[k - 1], points[k]);
  return length;
}

// A stroke has a shape when it has at least two points and a path longer than 0.
bool HasShape(const Stroke& stroke) {
  if (stroke.points.size() < 2) return false;
  const double length = PathLength(stroke.points);
  return length > 0.0 && std::isfinite(length);
}

// The first prefix end to try: 1 + the fraction of (last index - 1), halves
// to even. Never below 1 (a one-point prefix has no shape); above the last
// index when the fraction asks for more than the template has.
std::int32_t LowestPrefixEnd(float minimumFraction, std::int32_t lastIndex) {
  const double wanted = static_cast<double>(minimumFraction) * (static_cast<double>(lastIndex) - 1.0);
  if (!(wanted >= 0.0)) return 1;
  if (wanted > lastIndex) return lastIndex + 1;
  return 1 + static_cast<std::int32_t>(RoundHalfEven(wanted));
}

}  // namespace

Gesture GestureParse(std::u16string_view text) {
  if (IsQuotedString(text)) text = text.substr(1, text.size() - 2);
  const std::vector<std::u16string_view> tokens = SplitTokens(text);
  std::size_t next = 0;
  auto nextSingle = [&]() { return next < tokens.size() ? TokenToSingle(tokens[next++]) : 0.0f; };

  Gesture gesture;
  for (Stroke& stroke : gesture.strokes) {
    if (next >= tokens.size()) break;
    const std::int32_t lastIndex = TokenToInt32(tokens[next++]);
    if (lastIndex > kGestureMaxLastIndex) RaiseError(kErrData, "Gesture stroke has too many points.");
    if (lastIndex < 0) continue;
    stroke.points.resize(static_cast<std::size_t>(lastIndex) + 1);
    for (StrokePoint& point : stroke.points) {
      point.x = nextSingle();
      point.y = nextSingle();
    }
  }
  return gesture;
}

double GesturePointDistance(const StrokePoint& a, const StrokePoint& b) {
  const double dx = static_cast<double>(b.x) - a.x;
  const double dy = static_cast<double>(b.y) - a.y;
  return std::sqrt(dx * dx + dy * dy);
}

void GestureResample(Stroke& stroke, int count) {
  if (stroke.points.empty()) RaiseSubscript();
  std::vector<StrokePoint> result(static_cast<std::size_t>(count));
  result[0] = stroke.points[0];
  if (!HasShape(stroke)) {
    // Nothing to walk along: every point is the first one.
    std::fill(result.begin(), result.end(), stroke.points[0]);
    stroke.points = std::move(result);
    return;
  }
  const double interval = PathLength(stroke.points) / (count - 1);
  // Points are moved forward while walking; the last one never is.
  std::vector<StrokePoint> walk = std::move(stroke.points);
  double accumulated = 0.0;
  std::size_t j = 0;
  std::size_t k = 0;
  while (k + 1 < walk.size()) {
    const double d = GesturePointDistance(walk[k], walk[k + 1]);
    if (accumulated + d >= interval) {
      // Float rounding can place one point too many; the list holds `count`.
      if (j + 1 >= result.size()) break;
      const double t = (interval - accumulated) / d;
      const StrokePoint q{
          static_cast<float>(walk[k].x + t * (static_cast<double>(walk[k + 1].x) - walk[k].x)),
          static_cast<float>(walk[k].y + t * (static_cast<double>(walk[k + 1].y) - walk[k].y))};
      result[++j] = q;
      walk[k] = q;  // the same segment is examined again from q
      accumulated = 0.0;
    } else {
      accumulated += d;
      ++k;
    }
  }
  if (j + 2 == result.size()) result[++j] = walk.back();
  stroke.points = std::move(result);
}

void GestureCentroid(Stroke& stroke) {
  double sumX = 0.0;
  double sumY = 0.0;
  for (const StrokePoint& point : stroke.points) {
    sumX += point.x;
    sumY += point.y;
  }
  const double count = static_cast<double>(stroke.points.size());
  stroke.centroidX = static_cast<float>(sumX / count);
  stroke.centroidY = static_cast<float>(sumY / count);
}

double GestureRotateToZero(Stroke& stroke) {
  if (stroke.points.empty()) RaiseSubscript();
  const double cx = stroke.centroidX;
  const double cy = stroke.centroidY;
  const double angle = Atan2(cy - stroke.points[0].y, cx - stroke.points[0].x);
  const double c = std::cos(-angle);
  const double s = std::sin(-angle);
  for (StrokePoint& point : stroke.points) {
    const double dx = point.x - cx;
    const double dy = point.y - cy;
    point = {static_cast<float>(cx + dx * c - dy * s), static_cast<float>(cy + dx * s + dy * c)};
  }
  return angle;
}

float GestureScaleToSquare(Stroke& stroke, float size) {
  float minX = 3.402823E+38f;
  float minY = 3.402823E+38f;
  float maxX = -3.402823E+38f;
  float maxY = -3.402823E+38f;
  for (const StrokePoint& point : stroke.points) {
    minX = std::min(minX, point.x);
    minY = std::min(minY, point.y);
    maxX = std::max(maxX, point.x);
    maxY = std::max(maxY, point.y);
  }
  const float width = maxX - minX;
  const float height = maxY - minY;
  const float factor = width > height ? size / width : size / height;
  for (StrokePoint& point : stroke.points) {
    point.x *= factor;
    point.y *= factor;
  }
  return factor;
}

void GestureTranslateToOrigin(Stroke& stroke) {
  for (StrokePoint& point : stroke.points) {
    point.x -= stroke.centroidX;
    point.y -= stroke.centroidY;
  }
}

void GestureVectorize(Stroke& stroke) {
  double sum = 0.0;
  for (const StrokePoint& point : stroke.points) {
    sum += static_cast<double>(point.x) * point.x + static_cast<double>(point.y) * point.y;
  }
  const double norm = std::sqrt(sum);
  stroke.vectors.resize(stroke.points.size());
  for (std::size_t i = 0; i < stroke.points.size(); ++i) {
    stroke.vectors[i] = {static_cast<float>(stroke.points[i].x / norm),
                         static_cast<float>(stroke.points[i].y / norm)};
  }
}

double GestureCosineDistance(const Stroke& p, const Stroke& q) {
  if (q.vectors.size() < p.vectors.size()) RaiseSubscript();
  double a = 0.0;
  double b = 0.0;
  for (std::size_t i = 0; i < p.vectors.size(); ++i) {
    a += static_cast<double>(p.vectors[i].x) * q.vectors[i].x +
         static_cast<double>(p.vectors[i].y) * q.vectors[i].y;
    b += static_cast<double>(p.vectors[i].x) * q.vectors[i].y -
         static_cast<double>(p.vectors[i].y) * q.vectors[i].x;
  }
  const double angle = a == 0.0 && b == 0.0 ? 0.0 : std::atan(b / a);
  const double d = a * std::cos(angle) + b * std::sin(angle);
  // Rounding can carry the cosine just past either end: past 1 it is a
  // perfect match, past -1 the worst one.
  if (d > 1.0) return 0.0;
  if (d < -1.0) return Acos(-1.0);
  return Acos(d);
}

std::optional<GestureNormalization> GestureNormalize(Stroke& stroke) {
  if (stroke.points.empty()) RaiseSubscript();
  if (!HasShape(stroke)) return std::nullopt;
  GestureNormalization result;
  GestureResample(stroke, kGestureResampleCount);
  GestureCentroid(stroke);
  result.angle = GestureRotateToZero(stroke);
  GestureCentroid(stroke);
  result.scale = GestureScaleToSquare(stroke, kGestureSquareSize);
  GestureCentroid(stroke);
  GestureTranslateToOrigin(stroke);
  GestureVectorize(stroke);
  return result;
}

void GestureMatch(const Stroke& templateStroke, const Stroke& drawnStroke, float minimumFraction,
                  GestureMatchResult& result) {
  if (drawnStroke.points.empty() || templateStroke.points.empty()) RaiseSubscript();
  // The caller's stroke stays as drawn: several conditions may match the same stroke.
  Stroke drawn = drawnStroke;
  const std::optional<GestureNormalization> drawnForm = GestureNormalize(drawn);
  result.score = 0.0f;
  if (!drawnForm) return;

  const std::int32_t lastIndex = templateStroke.LastIndex();
  const std::int32_t lowest = LowestPrefixEnd(minimumFraction, lastIndex);
  for (std::int32_t k = lastIndex; k >= lowest; --k) {
    Stroke prefix;
    prefix.points.assign(templateStroke.points.begin(), templateStroke.points.begin() + k + 1);
    const std::optional<GestureNormalization> prefixForm = GestureNormalize(prefix);
    if (!prefixForm) continue;
    const double distance = GestureCosineDistance(prefix, drawn);
    const float score = static_cast<float>(1.0 - distance / kScoreDivisor);
    if (score > result.score) {
      result.angleDifference = static_cast<float>(drawnForm->angle - prefixForm->angle);
      result.scaleRatio = prefixForm->scale / drawnForm->scale;
      result.score = score;
      result.completion =
          static_cast<float>(static_cast<double>(k + 1) / (static_cast<double>(lastIndex) + 1.0));
      result.bestStroke = std::move(prefix);
    }
  }
}

}  // namespace kiv
