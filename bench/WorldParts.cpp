#include "WorldParts.h"

#include <cmath>

#include "agents/Creep.h"
#include "agents/Peep.h"
#include "agents/Road.h"
#include "world/DrawnPath.h"
#include "world/GuardTower.h"
#include "world/Maths.h"

DrawnPath* addSweepingPath(Game& g, float left, float right, float top, float rowStep, float wobble,
                           bool columns) {
  constexpr int kPass = 64;
  const float step = (right - left) / static_cast<float>(kPass);
  auto* path = new DrawnPath(g);
  for (int i = 0; i < DrawnPath::kMaxPoints; ++i) {
    const int pass = i / kPass;
    const float x = left + static_cast<float>(i % kPass) * step;
    const float y =
        top + wobble * maths::sin(0.3f * static_cast<float>(i)) + static_cast<float>(pass) * rowStep;
    const float along = pass % 2 ? (left + right) - x : x;
    if (columns) {
      path->addPoint(y, along, DrawnPath::kPointSpacing);
    } else {
      path->addPoint(along, y, DrawnPath::kPointSpacing);
    }
  }
  return path;
}

std::vector<GuardTower*> addTowerEllipse(Game& g, int count, Vec2 centre, float radiusX, float radiusY,
                                         float towerRadius) {
  std::vector<GuardTower*> towers;
  for (int i = 0; i < count; ++i) {
    const float a = kTwoPi * static_cast<float>(i) / static_cast<float>(count);
    towers.push_back(new GuardTower(g, centre.x + radiusX * maths::cos(a), centre.y + radiusY * maths::sin(a),
                                    towerRadius));
  }
  return towers;
}

void wallRing(Game& g, const std::vector<GuardTower*>& towers) {
  const size_t n = towers.size();
  for (size_t i = 0; i < n; ++i) new Road(g, towers[i]->posts[2], towers[(i + 1) % n]->posts[5]);
}

void fillWithPeeps(Game& g, int count, bool halfTired) {
  const Rect area = g.playArea();
  for (int n = countOf<Peep>(g) - countOf<Creep>(g); n < count; ++n) {
    const Vec2 p = randomPoint(area);
    new Peep(g, p.x, p.y, halfTired && n % 2 ? Peep::kTired : Peep::kRested);
  }
}
