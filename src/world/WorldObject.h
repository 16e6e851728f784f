#pragma once

#include <cstdint>

#include "world/Geometry.h"
#include "world/Reach.h"

class Anchor;
class Game;
class Peep;

// Base of everything that lives in the world. Every object belongs to one
// Game and sits in its intrusive list from construction to destruction: a
// new object links itself in at the head, a destroyed one unlinks itself in
// constant time through the back link.
class WorldObject {
 public:
  explicit WorldObject(Game& owner);
  // An object of no world, made only to be drawn: it takes serial 0, which
  // no object of a world has, and joins neither the list nor the index, so
  // making it changes nothing of the game.
  struct Detached {};
  WorldObject(Game& owner, Detached);
  WorldObject(const WorldObject&) = delete;
  WorldObject& operator=(const WorldObject&) = delete;
  virtual ~WorldObject();

  // A fresh object of the same kind on the same owner, or none when the
  // kind cannot be bought or copied.
  virtual WorldObject* clone() { return nullptr; }
  virtual void setSelected(bool) {}
  virtual bool isSelected() { return false; }
  virtual void orderTo(float, float) {}
  // Moves the object by (dx, dy); the world's queries find it at its new
  // place.
  void moveBy(float dx, float dy);
  virtual bool containsPoint(float, float) { return false; }
  virtual Anchor* slotAt(float, float) { return nullptr; }
  virtual bool onMousePress(float, float) { return false; }
  virtual void onMouseRelease(float, float) {}
  virtual void onMouseDrag(float, float) {}
  virtual void drawDebug() {}
  virtual int drawLayer() { return 1; }
  virtual void draw() {}
  virtual void drawShadow(float, float) {}
  virtual void update() {}
  virtual void affect(Peep&) {}
  virtual Vec2 separation(Peep&) { return {}; }
  virtual Vec2 avoidance(Peep&) { return {}; }
  virtual Vec2 alignment(Peep&) { return {}; }
  virtual void onDrop(float, float) {}
  virtual int population() { return 0; }
  virtual bool nearestPathPoint(float, float, Vec2&, float&, Vec2&) { return false; }
  virtual Rect bounds() { return {}; }
  // Where the world's queries can find the object (see Reach): by default
  // everywhere, so an object that says nothing is always asked.
  virtual Reach reach() { return {}; }
  virtual bool isPressed() { return mouseDown; }

  // Slides the object 20 % of the way into the play area (less a margin) each
  // tick until less than 2 units remain.
  void settleStep();

  Game& game() const { return *owner; }
  // Unique among the objects of its game, ever: the owner of its still
  // pictures. It grows with each new object, so the list holds serials in
  // falling order.
  uint64_t serial() const { return serial_; }
  WorldObject* nextObject() const { return next; }
  bool isDetached() const { return !prevLink; }

  bool inactive = false;
  Game* owner;
  bool destroyRequested = false;
  float pulsePhase = 0.0f;
  bool mouseDown = false;
  Vec2 mousePos;
  bool settling = false;

 protected:
  virtual void translate(float, float) {}
  // Tells the world's queries to read the reach again; due whenever it may
  // have grown other than by following its point or moving.
  void reachChanged();

 private:
  friend class Game;
  friend struct CityFields;
  uint64_t serial_;
  WorldObject* next = nullptr;
  WorldObject** prevLink = nullptr;
};

// The shadow of a rectangle cast away from the light point; colour and alpha
// are the caller's.
void rectShadow(const Rect& r, float lightX, float lightY);
