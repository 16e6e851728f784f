#pragma once

#include "agents/Anchor.h"
#include "world/WorldObject.h"

// A link between two anchors, drawn as a smooth curve that leaves and enters
// each anchor along its direction. Between two impassable anchors (tower
// posts) it is a wall that pushes agents off its centre line; a road touching
// a door only shows the connection.
class Road : public WorldObject {
 public:
  static constexpr int kControlPoints = 10;
  static constexpr int kVerticesPerSegment = 10;
  static constexpr int kCurveVertices = (kControlPoints - 3) * kVerticesPerSegment;

  // Radii within which a wall pushes (separation) and steers (avoidance).
  static constexpr float kWallSeparationRadius = 6.25f;
  static constexpr float kWallAvoidanceRadius = 30.0f;
  static constexpr float kWallPush = 4.0f;

  // The anchors are not owned and must outlive the road.
  Road(Game& owner, Anchor& a, Anchor& b);

  void drawDebug() override;
  int drawLayer() override { return 0; }
  void draw() override;
  void update() override;
  Vec2 separation(Peep& agent) override;
  Vec2 avoidance(Peep& agent) override;
  // Only walls push, as far as their anchors' places say.
  Reach reach() override;

  // 4 units straight away from the centre line for an agent closer than
  // radius to it; nothing unless the road is a wall.
  virtual Vec2 wallPush(const Peep& agent, float radius);

  bool isWall() const { return !anchorA->isPassable() && !anchorB->isPassable(); }
  Color3 roadColor() const;
  float roadWidth() const;

  struct ControlPoints {
    Vec2 at[kControlPoints];
  };
  struct Curve {
    Vec2 at[kCurveVertices];
  };
  static ControlPoints controlPoints(const Anchor& a, const Anchor& b);
  // Uniform Catmull-Rom through the control points; the joints between
  // segments appear twice.
  static Curve curve(const ControlPoints& points);

  Rect extent;
  Anchor* anchorA;
  Anchor* anchorB;
};
