#include "media/gestures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/error.h"

namespace kiv {
namespace {

using Points = std::vector<std::pair<float, float>>;

Stroke MakeStroke(const Points& points) {
  Stroke stroke;
  for (const auto& [x, y] : points) stroke.points.push_back({x, y});
  return stroke;
}

Points PointsOf(const Stroke& stroke) {
  Points points;
  for (const StrokePoint& p : stroke.points) points.emplace_back(p.x, p.y);
  return points;
}

int ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const KivError& e) {
    return e.Number();
  }
  return 0;
}

// A spiral whose every beginning has a shape of its own.
const Points kSpiral = {{0, 0},   {10, 0},   {10, 10},   {0, 10},   {0, -15}, {25, -15},
                        {25, 30}, {-30, 30}, {-30, -40}, {45, -40}, {45, 60}};

Points FirstPoints(const Points& points, std::size_t count) {
  return Points(points.begin(), points.begin() + count);
}

// ---- parsing ----

TEST(GestureParse, ReadsStrokesAndFillsMissingTokens) {
  struct Case {
    std::u16string text;
    std::vector<Points> strokes;  // strokes 0 to 4; empty = absent
  };
  const Case cases[] = {
      {u"", {{}, {}, {}, {}, {}}},
      {u"0|5|7", {{{5, 7}}, {}, {}, {}, {}}},
      {u"\"0|5|7\"", {{{5, 7}}, {}, {}, {}, {}}},
      {u"3|1|2", {{{1, 2}, {0, 0}, {0, 0}, {0, 0}}, {}, {}, {}, {}}},
      {u"2|0|0|1|1|2|0", {{{0, 0}, {1, 1}, {2, 0}}, {}, {}, {}, {}}},
      {u"1|0|0|10|0|0|3|4", {{{0, 0}, {10, 0}}, {{3, 4}}, {}, {}, {}}},
      {u"-1|0|1|2", {{}, {{1, 2}}, {}, {}, {}}},
      {u"0|1|1|0|2|2|0|3|3|0|4|4|0|5|5|9|9|x", {{{1, 1}}, {{2, 2}}, {{3, 3}}, {{4, 4}}, {{5, 5}}}},
      {u"0| 1.5 |-2,25", {{{1.5f, -2.25f}}, {}, {}, {}, {}}},
      {u"0|+1e2|2.5E-1", {{{100, 0.25f}}, {}, {}, {}, {}}},
      {u"0.5|1|1", {{{1, 1}}, {}, {}, {}, {}}},                  // last index 0.5 rounds to 0
      {u"1.5|1|1", {{{1, 1}, {0, 0}, {0, 0}}, {}, {}, {}, {}}},  // and 1.5 to 2
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    const Gesture gesture = GestureParse(c.text);
    for (int s = 0; s < kGestureStrokeCount; ++s) {
      const Stroke& stroke = gesture.strokes[static_cast<std::size_t>(s)];
      EXPECT_EQ(PointsOf(stroke), c.strokes[static_cast<std::size_t>(s)]) << "stroke " << s;
      EXPECT_TRUE(stroke.vectors.empty());
      EXPECT_EQ(stroke.centroidX, 0.0f);
    }
  }
}

TEST(GestureParse, RefusesBadTokens) {
  struct Case {
    std::u16string text;
    int error;
  };
  const Case cases[] = {
      {u"x", 13},        {u"0|a|1", 13},      {u"0||1", 13},       {u"0|1|", 13},    {u"0|1.2.3|0", 13},
      {u"0|1e|0", 13},   {u"0|\u00BD|0", 13}, {u"0|1 2|0", 13},    {u"0|1e39|0", 6}, {u"2147483648", 6},
      {u"0|1e400|0", 6}, {u"4096", -1},       {u"2147483647", -1},  // refused before anything is allocated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(ErrorOf([&] { GestureParse(c.text); }), c.error);
  }
  EXPECT_EQ(GestureParse(u"4095").strokes[0].LastIndex(), kGestureMaxLastIndex);
}

// ---- normalisation ----

TEST(GestureNormalize, GivesSixtyFourPointsOnTheSquareAroundTheOrigin) {
  Stroke stroke = MakeStroke({{100, 100}, {300, 100}, {300, 200}});
  const auto form = GestureNormalize(stroke);
  ASSERT_TRUE(form.has_value());
  ASSERT_EQ(stroke.points.size(), 64u);
  ASSERT_EQ(stroke.vectors.size(), 64u);

  double sumX = 0, sumY = 0, norm = 0;
  float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
  for (const StrokePoint& p : stroke.points) {
    sumX += p.x;
    sumY += p.y;
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  for (const StrokePoint& v : stroke.vectors) norm += double(v.x) * v.x + double(v.y) * v.y;
  EXPECT_NEAR(sumX / 64, 0.0, 1e-3);
  EXPECT_NEAR(sumY / 64, 0.0, 1e-3);
  EXPECT_NEAR(std::max(maxX - minX, maxY - minY), 448.0f, 1e-2);
  EXPECT_NEAR(norm, 1.0, 1e-5);
  // Rotated so that the first point lies straight left of the centroid.
  EXPECT_NEAR(stroke.points[0].y, 0.0f, 1e-3);
  EXPECT_LT(stroke.points[0].x, 0.0f);
}

TEST(GestureNormalize, StrokesWithoutShapeStayAsTheyAre) {
  for (const Points& points : {Points{{3, 4}}, Points{{5, 5}, {5, 5}, {5, 5}}}) {
    Stroke stroke = MakeStroke(points);
    EXPECT_FALSE(GestureNormalize(stroke).has_value());
    EXPECT_EQ(PointsOf(stroke), points);
  }
  Stroke empty;
  EXPECT_EQ(ErrorOf([&] { GestureNormalize(empty); }), 9);
}

TEST(GestureResample, KeepsBothEndsAndEvenSpacing) {
  Stroke stroke = MakeStroke({{0, 0}, {63, 0}, {63, 63}});
  GestureResample(stroke, 64);
  ASSERT_EQ(stroke.points.size(), 64u);
  EXPECT_EQ(stroke.points.front().x, 0.0f);
  EXPECT_NEAR(stroke.points.back().x, 63.0f, 1e-4);
  EXPECT_NEAR(stroke.points.back().y, 63.0f, 1e-4);
  for (std::size_t i = 1; i < 64; ++i) {
    if (i == 32) continue;  // the corner is cut
    EXPECT_NEAR(GesturePointDistance(stroke.points[i - 1], stroke.points[i]), 2.0, 1e-3) << i;
  }
}

TEST(GestureCosineDistance, RoundingPastEitherEndIsClamped) {
  Stroke p = MakeStroke({});
  p.vectors = {{1.0f, 0.0f}};
  struct Case {
    StrokePoint q;
    double distance;
  };
  const Case cases[] = {
      {{1.0f, 0.0f}, 0.0},
      {{1.0000001f, 0.0f}, 0.0},
      {{-1.0f, 0.0f}, M_PI},
      {{-1.0000001f, 0.0f}, M_PI},  // the worst match, not a perfect one
  };
  for (const Case& c : cases) {
    Stroke q;
    q.vectors = {c.q};
    EXPECT_NEAR(GestureCosineDistance(p, q), c.distance, 1e-6) << c.q.x << ", " << c.q.y;
  }
}

// ---- matching ----

GestureMatchResult Untouched() {
  GestureMatchResult result;
  result.score = 0.5f;
  result.angleDifference = 7.0f;
  result.completion = 7.0f;
  result.scaleRatio = 7.0f;
  return result;
}

TEST(GestureMatch, SameStrokeScoresOne) {
  const Stroke stroke = MakeStroke(kSpiral);
  GestureMatchResult result;
  GestureMatch(stroke, stroke, 1.0f, result);
  EXPECT_NEAR(result.score, 1.0f, 1e-3);
  EXPECT_EQ(result.completion, 1.0f);
  EXPECT_NEAR(result.angleDifference, 0.0f, 1e-5);
  EXPECT_NEAR(result.scaleRatio, 1.0f, 1e-5);
  EXPECT_EQ(result.bestStroke.points.size(), 64u);
}

TEST(GestureMatch, StrokeTwiceAsLargeHasScaleTwo) {
  Points doubled;
  for (const auto& [x, y] : kSpiral) doubled.emplace_back(2 * x + 50, 2 * y - 30);
  GestureMatchResult result;
  GestureMatch(MakeStroke(kSpiral), MakeStroke(doubled), 1.0f, result);
  EXPECT_NEAR(result.score, 1.0f, 1e-3);
  EXPECT_EQ(result.completion, 1.0f);
  EXPECT_NEAR(result.scaleRatio, 2.0f, 1e-4);
}

TEST(GestureMatch, DrawnStrokeIsNotChanged) {
  const Stroke templateStroke = MakeStroke(kSpiral);
  Stroke drawn = MakeStroke(FirstPoints(kSpiral, 8));
  GestureMatchResult first, second;
  GestureMatch(templateStroke, drawn, 0.0f, first);
  EXPECT_EQ(PointsOf(drawn), FirstPoints(kSpiral, 8));
  EXPECT_TRUE(drawn.vectors.empty());
  GestureMatch(templateStroke, drawn, 0.0f, second);
  EXPECT_EQ(second.score, first.score);
  EXPECT_EQ(second.scaleRatio, first.scaleRatio);
  EXPECT_EQ(second.angleDifference, first.angleDifference);
  EXPECT_EQ(PointsOf(templateStroke), kSpiral);
}

// With a template of last index 10, fraction 0 tries the beginnings ending at
// points 10 down to 1; fraction 0.5 gives 4.5, which rounds to 4, so 10 down
// to 5; fraction 0.3 gives 2.7, so 10 down to 4.
TEST(GestureMatch, MinimumFractionBoundsThePrefixes) {
  struct Case {
    float fraction;
    std::size_t drawnPoints;
    bool found;
  };
  const Case cases[] = {
      {0.0f, 2, true}, {0.0f, 5, true},  {0.5f, 6, true},  {0.5f, 5, false},
      {0.3f, 5, true}, {0.3f, 4, false}, {1.0f, 11, true}, {1.0f, 10, false},
  };
  const Stroke templateStroke = MakeStroke(kSpiral);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "fraction " << c.fraction << ", " << c.drawnPoints << " points");
    GestureMatchResult result;
    GestureMatch(templateStroke, MakeStroke(FirstPoints(kSpiral, c.drawnPoints)), c.fraction, result);
    const float completion = static_cast<float>(c.drawnPoints) / 11.0f;
    if (c.found) {
      EXPECT_NEAR(result.score, 1.0f, 1e-3);
      EXPECT_FLOAT_EQ(result.completion, completion);
    } else {
      EXPECT_LT(result.score, 0.99f);
      EXPECT_NE(result.completion, completion);
    }
  }
}

// The last point repeats the one before, so the two longest beginnings have
// the same shape and the same score: the longer one is kept.
TEST(GestureMatch, TieKeepsTheLongerPrefix) {
  const Stroke templateStroke = MakeStroke({{0, 0}, {10, 0}, {10, 10}, {10, 10}});
  GestureMatchResult result;
  GestureMatch(templateStroke, MakeStroke({{0, 0}, {10, 0}, {10, 10}}), 0.0f, result);
  EXPECT_NEAR(result.score, 1.0f, 1e-3);
  EXPECT_EQ(result.completion, 1.0f);
  EXPECT_EQ(result.bestStroke.points.size(), 64u);
}

TEST(GestureMatch, StrokesWithoutShapeMatchNothing) {
  const Stroke line = MakeStroke({{3, 4}, {0, 0}});
  for (const Points& drawn : {Points{{3, 4}}, Points{{5, 5}, {5, 5}}, Points{{0, 0}, {0, 0}, {0, 0}}}) {
    GestureMatchResult result = Untouched();
    GestureMatch(line, MakeStroke(drawn), 0.0f, result);
    EXPECT_EQ(result.score, 0.0f);
    EXPECT_EQ(result.completion, 7.0f);
    EXPECT_EQ(result.scaleRatio, 7.0f);
    EXPECT_EQ(result.angleDifference, 7.0f);
  }
  // A one-point template has no beginning of two points to try.
  GestureMatchResult result = Untouched();
  GestureMatch(MakeStroke({{1, 1}}), line, 0.0f, result);
  EXPECT_EQ(result.score, 0.0f);
  EXPECT_EQ(result.completion, 7.0f);
}

TEST(GestureMatch, FractionAboveOneTriesNothing) {
  const Stroke stroke = MakeStroke(kSpiral);
  GestureMatchResult result = Untouched();
  GestureMatch(stroke, stroke, 1.5f, result);
  EXPECT_EQ(result.score, 0.0f);
  EXPECT_EQ(result.completion, 7.0f);
}

TEST(GestureMatch, EmptyStrokesRaiseOutOfRange) {
  const Stroke stroke = MakeStroke(kSpiral);
  GestureMatchResult result;
  EXPECT_EQ(ErrorOf([&] { GestureMatch(Stroke{}, stroke, 0.0f, result); }), 9);
  EXPECT_EQ(ErrorOf([&] { GestureMatch(stroke, Stroke{}, 0.0f, result); }), 9);
}

}  // namespace
}  // namespace kiv
