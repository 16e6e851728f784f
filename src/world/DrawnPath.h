#pragma once

#include "world/WorldObject.h"

// A freehand grey polyline recorded from the mouse trail while the button is
// held. Agents whose look-ahead comes near it are drawn onto it, so peeps
// tend to walk along drawn paths. Paths are permanent and cannot be picked up.
class DrawnPath : public WorldObject {
 public:
  static constexpr int kMaxPoints = 256;
  static constexpr float kPointSpacing = 6.0f;
  // Beyond this distance from its look-ahead a path does not pull an agent.
  static constexpr float kReach = 40.0f;

  explicit DrawnPath(Game& owner) : WorldObject(owner) {}

  void onDrop(float x, float y) override { addPoint(x, y, kPointSpacing); }
  void draw() override;
  bool nearestPathPoint(float x, float y, Vec2& point, float& distance, Vec2& direction) override;
  Vec2 avoidance(Peep& agent) override;
  Reach reach() override;

  // Records (x, y) unless it lies within minSpacing of the last point or the
  // path is full. The first point is always taken.
  void addPoint(float x, float y, float minSpacing);

  int pointCount() const { return pointCount_; }
  Vec2 point(int i) const { return points_[i]; }

 private:
  // The segment scan behind nearestPathPoint, answering only when the nearest
  // point is closer than reach. Boxes round the path, round runs of segments
  // and round each segment skip the segments that cannot be the nearest; the
  // answer is the one a scan of every segment gives.
  bool findNearest(Vec2 q, float reach, Vec2& point, float& distance, Vec2& direction) const;
  // The distance to one segment likely to be about the nearest: an upper
  // bound of the answer.
  double nearestGuess(Vec2 q, int segments) const;

  static constexpr int kRunLength = 16;
  static constexpr int kRuns = kMaxPoints / kRunLength;

  Vec2 points_[kMaxPoints];
  int pointCount_ = 0;
  // Kept up to date by addPoint, the only way points change.
  Rect box_;
  Rect runBoxes_[kRuns];  // run r holds segments 16r .. 16r + 15
};
