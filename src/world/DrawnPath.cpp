#include "world/DrawnPath.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "agents/Peep.h"
#include "draw/Pen.h"
#include "draw/Shapes.h"
#include "draw/StillPicture.h"

namespace {

Rect pointBox(Vec2 p) {
  return Rect{p.x, p.x, p.y, p.y};
}

Rect segmentBox(Vec2 a, Vec2 b) {
  return Rect{std::min(a.x, b.x), std::max(a.x, b.x), std::min(a.y, b.y), std::max(a.y, b.y)};
}

// Squared distance from q to the box, in double so that it is a true lower
// bound of the distance to anything inside.
double boxDistanceSquared(Vec2 q, const Rect& r) {
  const double dx = q.x < r.minX ? static_cast<double>(r.minX) - q.x
                                 : (q.x > r.maxX ? static_cast<double>(q.x) - r.maxX : 0.0);
  const double dy = q.y < r.minY ? static_cast<double>(r.minY) - q.y
                                 : (q.y > r.maxY ? static_cast<double>(q.y) - r.maxY : 0.0);
  return dx * dx + dy * dy;
}

// nearestOnSegment turns the point onto the segment with float trigonometry,
// so a distance it returns can be off by a few ulps of the coordinates. A box
// only rules segments out when it lies farther than this beyond the limit.
double slack(Vec2 q, const Rect& r) {
  const double scale = std::max({std::fabs(q.x), std::fabs(q.y), std::fabs(r.minX), std::fabs(r.maxX),
                                 std::fabs(r.minY), std::fabs(r.maxY)});
  return 0.5 + 1e-5 * scale;
}

// NaN never counts as beyond, so odd inputs take the full scan.
bool beyond(Vec2 q, const Rect& r, double limit) {
  return boxDistanceSquared(q, r) > limit * limit;
}

}  // namespace

void DrawnPath::addPoint(float x, float y, float minSpacing) {
  if (pointCount_ > 0) {
    if (!(distanceTo(points_[pointCount_ - 1], x, y) > minSpacing)) return;
    if (pointCount_ == kMaxPoints) return;
  }
  const Vec2 p{x, y};
  const int n = pointCount_;
  reachChanged();
  points_[n] = p;
  pointCount_ = n + 1;

  if (n == 0) {
    box_ = pointBox(p);
  } else {
    include(box_, x, y);
  }
  // The point ends segment n - 1 and starts segment n.
  if (n > 0) include(runBoxes_[(n - 1) / kRunLength], x, y);
  if (n < kMaxPoints - 1) {
    Rect& run = runBoxes_[n / kRunLength];
    if (n % kRunLength == 0) {
      run = pointBox(p);
    } else {
      include(run, x, y);
    }
  }
}

void DrawnPath::draw() {
  if (pointCount_ < 2) return;  // a single point shows nothing
  // Points are only ever added: their count and the last tell the picture.
  const Vec2 last = points_[pointCount_ - 1];
  StillPicture picture(
      {serial(), PictureKind::Colour, pictureDigest({static_cast<float>(pointCount_), last.x, last.y})},
      grownBy(box_, 2.0f));
  if (!picture.needsDrawing()) return;
  setColor(0.5f, 0.5f, 0.5f);
  beginLineStrip();
  vertices(points_, pointCount_);
  endShape();
}

bool DrawnPath::nearestPathPoint(float x, float y, Vec2& point, float& distance, Vec2& direction) {
  return findNearest({x, y}, std::numeric_limits<float>::infinity(), point, distance, direction);
}

bool DrawnPath::findNearest(Vec2 q, float reach, Vec2& point, float& distance, Vec2& direction) const {
  if (pointCount_ < 2) return false;
  const double margin = slack(q, box_);
  const double reachLimit = reach + margin;
  if (beyond(q, box_, reachLimit)) return false;

  // A first guess, the segment of the nearest run with the nearest box,
  // bounds the answer before the scan starts, so the scan can pass over
  // more; the scan still finds the earliest of the nearest on its own.
  const int segments = pointCount_ - 1;
  const double guess = nearestGuess(q, segments) + margin;
  bool found = false;
  float best = 0.0f;
  // Farther than this a segment cannot beat (or tie) the best so far.
  auto limit = [&] { return std::min(found ? best + margin : guess, reachLimit); };

  for (int run = 0; run * kRunLength < segments; ++run) {
    if (beyond(q, runBoxes_[run], limit())) continue;
    const int end = std::min(segments, (run + 1) * kRunLength);
    for (int i = run * kRunLength; i < end; ++i) {
      const Vec2 a = points_[i];
      const Vec2 b = points_[i + 1];
      if (beyond(q, segmentBox(a, b), limit())) continue;
      Vec2 p = q;
      const float d = nearestOnSegment(p, a, b);
      // Ties keep the earlier segment.
      if (!found || d < best) {
        found = true;
        best = d;
        point = p;
        distance = d;
        direction = b - a;
      }
    }
  }
  return found;
}

double DrawnPath::nearestGuess(Vec2 q, int segments) const {
  int nearestRun = 0;
  double runDistance = boxDistanceSquared(q, runBoxes_[0]);
  for (int run = 1; run * kRunLength < segments; ++run) {
    const double d = boxDistanceSquared(q, runBoxes_[run]);
    if (d < runDistance) {
      runDistance = d;
      nearestRun = run;
    }
  }
  int nearest = nearestRun * kRunLength;
  double segmentDistance = std::numeric_limits<double>::infinity();
  for (int i = nearest; i < std::min(segments, (nearestRun + 1) * kRunLength); ++i) {
    const double d = boxDistanceSquared(q, segmentBox(points_[i], points_[i + 1]));
    if (d < segmentDistance) {
      segmentDistance = d;
      nearest = i;
    }
  }
  Vec2 p = q;
  const float d = nearestOnSegment(p, points_[nearest], points_[nearest + 1]);
  // NaN guesses nothing.
  return d == d ? d : std::numeric_limits<double>::infinity();
}

Reach DrawnPath::reach() {
  Reach r = Reach::nowhere();
  // The look-ahead of the fastest agent is ten of its steps ahead.
  if (pointCount_ >= 2) r.avoidance = reachAround(box_, kReach + 10.0f * Peep::kTopSpeed);
  return r;
}

Vec2 DrawnPath::avoidance(Peep& agent) {
  const Vec2 p = agent.position;
  const Vec2 lookAhead = p + scaled(agent.velocity(), 10.0f);
  Vec2 nearest;
  float d = 0.0f;
  Vec2 direction;
  if (findNearest(lookAhead, kReach, nearest, d, direction) && d < kReach) {
    return scaled(nearest - p, 0.025f * d);
  }
  return {};
}
