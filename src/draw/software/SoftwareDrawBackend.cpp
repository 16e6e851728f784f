#include "draw/software/SoftwareDrawBackend.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "draw/software/PixelBlend.h"
#include "world/Maths.h"

namespace {

// OpenGL nudges the raster position by this before taking the pixel a
// bitmap starts at, so that a position on a pixel border is not at the
// mercy of rounding.
constexpr double kRasterEpsilon = 1e-4;

// Discs beyond this radius in pixels are left to the polygon path, which
// clips any size.
constexpr double kLargestDiscPixels = 4096.0;

// Of the kept pictures a frame shows resampled from another zoom, the next
// frame draws afresh as many as cover this share of it: while the view
// still zooms, only enough that none is shown from far off its zoom for
// long (each is soon stale again); once it stays put, a frame's worth in a
// few frames.
constexpr double kRedrawShareZooming = 0.05;
constexpr double kRedrawShareStill = 0.25;

// Pictures to paint or resample waiting for the other threads to be lent
// to them while the frame is recorded: waking them costs about what a few
// small pictures do.
constexpr size_t kJobsToLend = 8;
// As many waiting make a large frame whatever the last one was.
constexpr size_t kJobsToLendAnyway = 64;

// A picture's layer reaches this share of the frame's size beyond its
// edges, so that the frames of a zoom out show it resampled, not cut.
constexpr double kLayerMarginShare = 0.25;
// A frame shared out is cut into at least this many stretches a thread,
// so that they all stay busy to its end.
constexpr size_t kStretchesPerThread = 4;

bool isFinite(double v) {
  return std::isfinite(v);
}

// The box of whole pixels a box of coordinates lies in; what is not a
// number reaches as far as it can.
PixelBox pixelBoxOf(double minX, double minY, double maxX, double maxY) {
  const auto low = [](double v) {
    return v > -1e9 ? static_cast<int>(std::floor(std::min(v, 1e9))) : -1000000000;
  };
  const auto high = [](double v) {
    return v < 1e9 ? static_cast<int>(std::ceil(std::max(v, -1e9))) : 1000000000;
  };
  return {low(minX), low(minY), high(maxX), high(maxY)};
}

}  // namespace

ScreenTransform viewTransform(int width, int height, float zoom, Vec2 translation, double windowScale) {
  // window = zoom * (world + translation - 2 * centre) + centre, in units
  const double cx = width * 0.5;
  const double cy = height * 0.5;
  ScreenTransform t;
  t.scale = zoom * windowScale;
  t.offsetX = (zoom * (translation.x - 2.0 * cx) + cx) * windowScale;
  t.offsetY = (zoom * (translation.y - 2.0 * cy) + cy) * windowScale;
  t.widthScale = windowScale;
  return t;
}

SoftwareDrawBackend::SoftwareDrawBackend(BitmapFontSet fonts, int threads)
    : fonts_(std::move(fonts)), pool_(std::make_unique<TilePool>(threads)) {
  for (int i = 0; i < pool_->threads(); ++i) replays_.push_back(std::make_unique<TileReplay>());
  layerScratch_.resize(static_cast<size_t>(pool_->threads()));
}

SoftwareDrawBackend::~SoftwareDrawBackend() {
  // Lent threads may still paint what this backend holds.
  finishQueue();
}

void SoftwareDrawBackend::setFonts(BitmapFontSet fonts, float textScale) {
  fonts_ = std::move(fonts);
  textScale_ = textScale;
  ++fontsVersion_;
}

double SoftwareDrawBackend::lineWidthPixels() const {
  return std::max(1.0, lineWidth_ * transform_.widthScale);
}

double SoftwareDrawBackend::pointSizePixels() const {
  return std::max(1.0, std::round(pointSize_ * transform_.widthScale));
}

void SoftwareDrawBackend::beginFrame(const ImageView& target, const ScreenTransform& transform,
                                     uint32_t clearRgb, bool keptFromLastFrame) {
  // A frame begun and not ended may still be painting its pictures.
  finishQueue();
  const bool still = transform.scale == transform_.scale && transform.offsetX == transform_.offsetX &&
                     transform.offsetY == transform_.offsetY;
  redraws_.nextFrame(target.width * 0.5, target.height * 0.5,
                     (still ? kRedrawShareStill : kRedrawShareZooming) * target.width * target.height);
  target_ = target;
  canvasWidth_ = target.width;
  canvasHeight_ = target.height;
  transform_ = transform;
  discs_.nextFrame();
  pictures_.nextFrame();
  if (!still) zoomedAt_ = pictures_.frame();
  drawnLastFrame_.swap(drawnThisFrame_);
  drawnThisFrame_.clear();
  std::sort(drawnLastFrame_.begin(), drawnLastFrame_.end());
  pictureDepth_ = 0;
  recording_ = false;
  sourceAlpha_ = 0;
  insideShape_ = false;
  points_.clear();
  // The last frame's image is believed only if that frame was ended.
  keptFromLastFrame_ = keptFromLastFrame && ended_;
  // The pixels of pictures resampled in a frame not ended were never made.
  if (!ended_) resampled_.clear();
  resampledLast_.swap(resampled_);
  resampled_.clear();
  ended_ = false;
  clearRgb_ = clearRgb;
  shadowsOpen_ = false;
  // Pictures shown once keep their buffers for the next frame's, as many
  // as the last frame needed.
  passing_.resize(passingUsed_);
  passingUsed_ = 0;
  layers_.clear();
  placings_.clear();
  settling_.clear();
  resamplersUsed_ = 0;
  queue_.open();
  layersQueued_ = 0;
  calls_.begin(target.empty() ? 0 : target.width, target.empty() ? 0 : target.height,
               paintInTiles_ ? tileShift_ : 0, mixDigest(paintInTiles_ ? 1 : 2, clearRgb));
}

void SoftwareDrawBackend::tileShift(int shift) {
  tileShift_ = std::clamp(shift, 1, 12);
  shownDigest_.clear();  // what the image shows was painted in other tiles
}

void SoftwareDrawBackend::endFrame() {
  flushShadows();
  changed_ = PixelBox{};
  paintedTiles_ = 0;
  const int tiles = calls_.tileCount();
  const bool same = keptFromLastFrame_ && paintInTiles_ && target_.pixels == shownImage_.pixels &&
                    target_.width == shownImage_.width && target_.height == shownImage_.height &&
                    target_.stride == shownImage_.stride && shownDigest_.size() == static_cast<size_t>(tiles);
  if (!same) {
    shownDigest_.assign(static_cast<size_t>(tiles), 0);
    shownFlat_.assign(static_cast<size_t>(tiles), 0);
    shownRgb_.assign(static_cast<size_t>(tiles), 0);
  }
  dirty_.clear();
  for (int t = 0; t < tiles; ++t) {
    if (!same || calls_.digestOf(t) != shownDigest_[static_cast<size_t>(t)]) dirty_.push_back(t);
  }
  // A frame with a few tiles to paint (people walking, a number ticking), or
  // that this thread paints soon enough, is painted on this thread alone
  // (see shareFrom). A picture's pixels cost about as much as a tile's.
  const size_t work = dirty_.size() + (layers_.pixels() >> (2 * tileShift_));
  const bool share = paintInTiles_ && work >= fewestTilesToShare_ &&
                     (!tileMsKnown_ || tileMs_ * static_cast<double>(work) >= aloneUpToMs_);
  changedTile_.assign(static_cast<size_t>(tiles), 0);
  // The shapes the tiles to paint lay, each worked out once.
  const uint32_t shapes = calls_.shapeCount();
  if (shapeRuns_.size() < shapes) shapeRuns_.resize(shapes);
  shapeDue_.assign(shapes, 0);
  shapesDue_.clear();
  shapesToRasterize_.clear();
  const uint64_t size = static_cast<uint64_t>(static_cast<uint32_t>(target_.width)) << 32 |
                        static_cast<uint32_t>(target_.height);
  // Tiles side by side in a row are painted as one stretch, so that a call
  // over several is set up once. Those with only rectangles on them stay
  // apart: they may stay a colour, which a stretch would paint as pixels.
  // Whole rows of tiles cost about a tenth less CPU than tiles apart.
  stretches_.clear();
  const int longest =
      share ? static_cast<int>(std::max<size_t>(
                  1, dirty_.size() / (kStretchesPerThread * static_cast<size_t>(pool_->threads()))))
            : calls_.columns();
  for (const int t : dirty_) {
    bool onlyRects = true;
    for (const uint32_t i : calls_.opsOf(t)) {
      const DrawOp& op = calls_.op(i);
      onlyRects = onlyRects && op.kind == DrawOp::Kind::Rect;
      if (op.kind != DrawOp::Kind::Shape || op.tiles == 1 || shapeDue_[op.shape]) continue;
      shapeDue_[op.shape] = 1;
      shapesDue_.push_back(i);
      const uint64_t key = mixDigest(op.digest, size);
      const auto byKey = [](const KeptRuns& k, uint64_t v) { return k.key < v; };
      auto kept = std::lower_bound(keptRuns_.begin(), keptRuns_.begin() + keptCount_, key, byKey);
      // A shape drawn twice the same takes them once.
      while (kept != keptRuns_.begin() + keptCount_ && kept->key == key && kept->runs.empty()) ++kept;
      if (kept != keptRuns_.begin() + keptCount_ && kept->key == key) {
        shapeRuns_[op.shape].swap(kept->runs);
        kept->runs.clear();
      } else {
        shapesToRasterize_.push_back(i);
      }
    }
    Stretch* last = stretches_.empty() ? nullptr : &stretches_.back();
    if (!onlyRects && paintInTiles_ && last && !last->onlyRects && last->tile + last->count == t &&
        t % calls_.columns() != 0 && last->count < longest) {
      ++last->count;
    } else {
      stretches_.push_back({t, 1, onlyRects});
    }
  }
  // First the pictures drawn afresh, those resampled to this zoom and those
  // shapes: all of them before any tile. A layer still open (a frame ended
  // inside its picture) is painted as far as it was drawn.
  while (layersQueued_ < layers_.count())
    queue_.push({PaintQueue::Job::Kind::Layer, &layers_.layer(layersQueued_++), 0});
  for (const uint32_t i : shapesToRasterize_) queue_.push({PaintQueue::Job::Kind::Shape, nullptr, i});
  // The pictures' pixels are where the calls that lay them now say.
  const auto place = [this] {
    for (const Placing& p : placings_) {
      const PictureCache::Picture& pic = *p.picture;
      const void* data = pic.key.kind == PictureKind::Shadow ? static_cast<const void*>(pic.coverage.data())
                                                             : static_cast<const void*>(pic.pixels.data());
      calls_.placePixels(p.op, pic.left, pic.top, pic.width, pic.height, data);
    }
    for (PictureCache::Picture* kept : settling_) pictures_.settle(*kept);
  };
  const auto job = [this](size_t i, int worker) {
    const Stretch& s = stretches_[i];
    const TileReplay::Result r = replays_[static_cast<size_t>(worker)]->playTiles(
        target_, calls_, shapeRuns_, s.tile, s.count, clearRgb_, paintInTiles_);
    for (int t = s.tile; t < s.tile + s.count; ++t) {
      const auto at = static_cast<size_t>(t);
      bool changed = true;
      if (r.flat) {
        // A tile the image already shows in its colour is left as it is.
        changed = !(shownFlat_[at] && shownRgb_[at] == r.rgb);
        if (changed) paintFlat(target_, calls_.tileBox(t), r.rgb);
      }
      shownFlat_[at] = r.flat;
      shownRgb_[at] = r.rgb;
      shownDigest_[at] = calls_.digestOf(t);
      changedTile_[at] = changed;
    }
  };
  if (share) lendThreads();
  finishQueue();
  place();
  const auto start = std::chrono::steady_clock::now();
  if (share) {
    pool_->run(stretches_.size(), job);
  } else {
    for (size_t i = 0; i < stretches_.size(); ++i) job(i, 0);
  }
  if (!dirty_.empty()) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double perTile = ms * (share ? pool_->threads() : 1) / static_cast<double>(dirty_.size());
    tileMs_ = tileMsKnown_ ? tileMs_ + 0.25 * (perTile - tileMs_) : perTile;
    tileMsKnown_ = true;
  }
  sharedLast_ = share;
  for (int t = 0; t < tiles; ++t) {
    if (!changedTile_[static_cast<size_t>(t)]) continue;
    const PixelBox b = calls_.tileBox(t);
    changed_ = paintedTiles_ == 0
                   ? b
                   : PixelBox{std::min(changed_.left, b.left), std::min(changed_.top, b.top),
                              std::max(changed_.right, b.right), std::max(changed_.bottom, b.bottom)};
    ++paintedTiles_;
  }
  if (keptRuns_.size() < shapesDue_.size()) keptRuns_.resize(shapesDue_.size());
  keptCount_ = shapesDue_.size();
  for (size_t k = 0; k < keptCount_; ++k) {
    const DrawOp& op = calls_.op(shapesDue_[k]);
    keptRuns_[k].key = mixDigest(op.digest, size);
    keptRuns_[k].runs.swap(shapeRuns_[op.shape]);
  }
  std::sort(keptRuns_.begin(), keptRuns_.begin() + keptCount_,
            [](const KeptRuns& a, const KeptRuns& b) { return a.key < b.key; });
  shownImage_ = target_;
  ended_ = !target_.empty();
}

void SoftwareDrawBackend::queue(const PaintQueue::Job& job) {
  const size_t waiting = queue_.push(job);
  const bool shareLikely = sharedLast_ || aloneUpToMs_ <= 0.0;
  if (paintInTiles_ &&
      waiting >= (shareLikely ? std::min(kJobsToLend, fewestTilesToShare_) : kJobsToLendAnyway))
    lendThreads();
}

void SoftwareDrawBackend::lendThreads() {
  if (pool_->lent() || pool_->threads() == 1) return;
  pool_->lend([this](int worker) {
    PaintQueue::Job job;
    while (queue_.take(job)) runJob(job, worker);
  });
}

void SoftwareDrawBackend::runJob(const PaintQueue::Job& job, int worker) {
  const auto w = static_cast<size_t>(worker);
  switch (job.kind) {
    case PaintQueue::Job::Kind::Layer:
      PictureLayers::paint(*static_cast<const PictureLayers::Layer*>(job.what), layerScratch_[w]);
      break;
    case PaintQueue::Job::Kind::Resample:
      static_cast<ZoomResampler*>(const_cast<void*>(job.what))->paint();
      break;
    case PaintQueue::Job::Kind::Shape: {
      const DrawOp& op = calls_.op(job.op);
      replays_[w]->rasterize(target_, calls_, op, shapeRuns_[op.shape]);
      break;
    }
  }
}

void SoftwareDrawBackend::finishQueue() {
  queue_.close();
  PaintQueue::Job job;
  while (queue_.take(job)) runJob(job, 0);
  pool_->reclaim();
}

void SoftwareDrawBackend::flushShadows() {
  if (!shadowsOpen_ || recording_) return;
  shadowsOpen_ = false;
  calls_.closeShadows(shadowRgb_);
}

uint32_t SoftwareDrawBackend::lay(const DrawOp& op, const PixelBox& box, uint64_t identity) {
  if (!recording_) return calls_.add(op, box, identity);
  layers_.add(op);
  return FrameRecording::kNotFiled;
}

SoftwareDrawBackend::Point SoftwareDrawBackend::toScreen(float x, float y) const {
  return {x * transform_.scale + transform_.offsetX, y * transform_.scale + transform_.offsetY};
}

void SoftwareDrawBackend::begin(Primitive primitive) {
  if (insideShape_) return;  // as OpenGL, which refuses a begin inside a shape
  insideShape_ = true;
  primitive_ = primitive;
  points_.clear();
}

void SoftwareDrawBackend::vertex(float x, float y) {
  if (insideShape_) points_.push_back(toScreen(x, y));
}

Paint SoftwareDrawBackend::currentPaint(const float* c) const {
  Paint p = paintOf(c[0], c[1], c[2], c[3]);
  p.rgb |= sourceAlpha_;
  return p;
}

void SoftwareDrawBackend::end() {
  if (!insideShape_) return;
  insideShape_ = false;
  const Paint paint = currentPaint(color_);
  const bool finite = std::all_of(points_.begin(), points_.end(),
                                  [](const Point& p) { return isFinite(p.x) && isFinite(p.y); });
  if (finite && !points_.empty() && paint.alpha > 0 && !target_.empty()) drawShape(paint.rgb, paint.alpha);
  points_.clear();
}

void SoftwareDrawBackend::noteUse(bool color, bool lineWidth, bool pointSize) {
  if (!recording_) return;
  Recording& r = picture_;
  r.state.usesColor |= color && !r.colorSet;
  r.state.usesLineWidth |= lineWidth && !r.lineWidthSet;
  r.state.usesPointSize |= pointSize && !r.pointSizeSet;
}

void SoftwareDrawBackend::drawShape(uint32_t rgb, int alpha) {
  const bool lines = primitive_ == Primitive::Lines || primitive_ == Primitive::LineLoop ||
                     primitive_ == Primitive::LineStrip;
  noteUse(true, lines, primitive_ == Primitive::Points);
  // The box the shape lies in: its points, widened by half a line and a
  // pixel for rounding.
  double minX = points_[0].x, maxX = minX, minY = points_[0].y, maxY = minY;
  for (const Point& p : points_) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const double margin = lineWidthPixels() * 0.5 + 1.0;
  if (primitive_ == Primitive::Points) {
    drawPoints(rgb, alpha);
    return;
  }
  const bool quads = primitive_ == Primitive::Quads || primitive_ == Primitive::Polygon;
  if (quads && drawAsRectangle(rgb, alpha)) return;
  flushShadows();
  const std::vector<FrameRecording::Edge>& edges = recording_ ? layers_.edges() : calls_.edges();
  const size_t firstEdge = edges.size();
  switch (primitive_) {
    case Primitive::Points:  // drawn above
      break;
    case Primitive::Lines:
      addLines(false, false);
      break;
    case Primitive::LineStrip:
      addLines(true, false);
      break;
    case Primitive::LineLoop:
      addLines(true, true);
      break;
    case Primitive::TriangleStrip:
      addTriangleStrip();
      break;
    case Primitive::Quads:
    case Primitive::Polygon:
      if (primitive_ == Primitive::Quads) {
        addQuads();
      } else {
        addPolygon();
      }
      break;
  }
  DrawOp op;
  op.kind = DrawOp::Kind::Shape;
  op.rgb = rgb;
  op.alpha = alpha;
  op.x0 = minX - margin;
  op.y0 = minY - margin;
  op.x1 = maxX + margin;
  op.y1 = maxY + margin;
  op.firstEdge = static_cast<uint32_t>(firstEdge);
  op.edgeCount = static_cast<uint32_t>(edges.size() - firstEdge);
  if (op.edgeCount > 0) lay(op, pixelBoxOf(op.x0, op.y0, op.x1, op.y1), 0);
}

void SoftwareDrawBackend::addEdge(double x0, double y0, double x1, double y1) {
  (recording_ ? layers_.edges() : calls_.edges()).push_back({x0, y0, x1, y1});
}

void SoftwareDrawBackend::drawPoints(uint32_t rgb, int alpha) {
  // Unsmoothed OpenGL points are squares of the size rounded to whole pixels.
  const double side = pointSizePixels();
  for (const Point& p : points_) {
    flushShadows();
    DrawOp op;
    op.rgb = rgb;
    op.alpha = alpha;
    op.x0 = p.x - side * 0.5;
    op.y0 = p.y - side * 0.5;
    op.x1 = p.x + side * 0.5;
    op.y1 = p.y + side * 0.5;
    lay(op, pixelBoxOf(op.x0, op.y0, op.x1, op.y1), 0);
  }
}

// Each segment is a rectangle as wide as the line, without caps, as
// OpenGL's smoothed lines are. The segments of a strip or loop share one
// coverage, so their joints are not painted twice.
void SoftwareDrawBackend::addLines(bool strip, bool loop) {
  const double half = lineWidthPixels() * 0.5;
  const size_t n = points_.size();
  if (n < 2) return;
  if (!strip) {
    for (size_t i = 0; i + 1 < n; i += 2) addSegment(points_[i], points_[i + 1], half);
    return;
  }
  for (size_t i = 0; i + 1 < n; ++i) addSegment(points_[i], points_[i + 1], half);
  if (loop) addSegment(points_[n - 1], points_[0], half);
}

void SoftwareDrawBackend::addSegment(const Point& a, const Point& b, double halfWidth) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = maths::hypot(dx, dy);
  if (!(length > 0.0) || !isFinite(length)) return;
  const double nx = -dy / length * halfWidth;
  const double ny = dx / length * halfWidth;
  addEdge(a.x + nx, a.y + ny, b.x + nx, b.y + ny);
  addEdge(b.x + nx, b.y + ny, b.x - nx, b.y - ny);
  addEdge(b.x - nx, b.y - ny, a.x - nx, a.y - ny);
  addEdge(a.x - nx, a.y - ny, a.x + nx, a.y + ny);
}

// Every triangle is turned the same way round, so that the edge two
// neighbours share cancels out and the strip fills as one shape.
void SoftwareDrawBackend::addTriangle(const Point& a, const Point& b, const Point& c) {
  const double twiceArea = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (twiceArea == 0.0 || !isFinite(twiceArea)) return;
  const Point& second = twiceArea > 0.0 ? b : c;
  const Point& third = twiceArea > 0.0 ? c : b;
  addEdge(a.x, a.y, second.x, second.y);
  addEdge(second.x, second.y, third.x, third.y);
  addEdge(third.x, third.y, a.x, a.y);
}

void SoftwareDrawBackend::addTriangleStrip() {
  for (size_t i = 0; i + 2 < points_.size(); ++i) addTriangle(points_[i], points_[i + 1], points_[i + 2]);
}

void SoftwareDrawBackend::addQuads() {
  for (size_t i = 0; i + 3 < points_.size(); i += 4) {
    addTriangle(points_[i], points_[i + 1], points_[i + 2]);
    addTriangle(points_[i], points_[i + 2], points_[i + 3]);
  }
}

void SoftwareDrawBackend::addPolygon() {
  const size_t n = points_.size();
  if (n < 3) return;
  for (size_t i = 0; i < n; ++i) {
    const Point& a = points_[i];
    const Point& b = points_[(i + 1) % n];
    addEdge(a.x, a.y, b.x, b.y);
  }
}

// A single quad or four-sided polygon with axis-aligned sides, which is
// what every filled rectangle is, painted without the rasterizer.
bool SoftwareDrawBackend::drawAsRectangle(uint32_t rgb, int alpha) {
  if (points_.size() != 4) return false;
  const Point* v = points_.data();
  const bool rowsFirst = v[0].y == v[1].y && v[1].x == v[2].x && v[2].y == v[3].y && v[3].x == v[0].x;
  const bool columnsFirst = v[0].x == v[1].x && v[1].y == v[2].y && v[2].x == v[3].x && v[3].y == v[0].y;
  if (!rowsFirst && !columnsFirst) return false;
  const double x0 = std::min(v[0].x, v[2].x), x1 = std::max(v[0].x, v[2].x);
  const double y0 = std::min(v[0].y, v[2].y), y1 = std::max(v[0].y, v[2].y);
  flushShadows();
  DrawOp op;
  op.rgb = rgb;
  op.alpha = alpha;
  op.x0 = x0;
  op.y0 = y0;
  op.x1 = x1;
  op.y1 = y1;
  lay(op, pixelBoxOf(x0, y0, x1, y1), 0);
  return true;
}

bool SoftwareDrawBackend::fillDisc(float cx, float cy, float radius, int segments) {
  if (insideShape_) return false;
  const Point c = toScreen(cx, cy);
  double r = radius * transform_.scale;
  if (!isFinite(c.x) || !isFinite(c.y) || !(r >= 0.0) || r > kLargestDiscPixels) return false;
  if (target_.empty()) return true;
  noteUse(true, color_[3] == 1.0f, false);  // an opaque disc's edge is a line
  const Paint paint = currentPaint(color_);
  // The circle's polygon lies inside the circle: a disc of the same area.
  if (segments >= 3) r *= std::sqrt(segments * maths::sin(kTwoPi / segments) / kTwoPi);
  // An opaque disc has its smoothed outline drawn over its edge, half
  // outside it.
  if (color_[3] == 1.0f) r += lineWidthPixels() * 0.5;
  flushShadows();
  if (!(r > 0.0) || paint.alpha <= 0) return true;
  DrawOp op;
  op.kind = DrawOp::Kind::LargeDisc;
  op.rgb = paint.rgb;
  op.alpha = paint.alpha;
  op.x0 = c.x;
  op.y0 = c.y;
  op.x1 = r;
  // Drawn once into a picture that is kept, a mask would not be used again.
  if (!recording_ && r <= DiscMaskCache::kLargestRadius) {
    const DiscMaskCache::Placement at = discs_.place(c.x, c.y, r, target_.width, target_.height);
    if (!at.mask) return true;
    op.kind = DrawOp::Kind::Disc;
    op.data = at.mask;
    op.left = at.x;
    op.top = at.y;
    op.width = at.width;
    op.height = at.height;
    lay(op, PixelBox{at.x, at.y, at.x + at.width, at.y + at.height}, 0);
    return true;
  }
  lay(op, pixelBoxOf(c.x - r - 2.0, c.y - r - 2.0, c.x + r + 2.0, c.y + r + 2.0), 0);
  return true;
}

void SoftwareDrawBackend::color(float r, float g, float b, float a) {
  picture_.colorSet = picture_.colorSet || recording_;
  color_[0] = r;
  color_[1] = g;
  color_[2] = b;
  color_[3] = a;
}

void SoftwareDrawBackend::lineWidth(float width) {
  if (insideShape_) return;
  lineWidth_ = width;
  picture_.lineWidthSet = picture_.lineWidthSet || recording_;
}

void SoftwareDrawBackend::pointSize(float size) {
  if (insideShape_) return;
  pointSize_ = size;
  picture_.pointSizeSet = picture_.pointSizeSet || recording_;
}

void SoftwareDrawBackend::rasterPos(float x, float y) {
  if (insideShape_) return;
  noteUse(true, false, false);  // the colour is latched here
  const Point p = toScreen(x, y);
  rasterPosition_.x = p.x;
  rasterPosition_.y = p.y;
  // Valid only inside the view, borders included, as OpenGL's clip test.
  rasterPosition_.valid = p.x >= 0.0 && p.x <= canvasWidth_ && p.y >= 0.0 && p.y <= canvasHeight_;
  std::copy(color_, color_ + 4, rasterPosition_.color);
}

const BitmapGlyph* SoftwareDrawBackend::glyph(TextFont font, int character) const {
  if (character < 0 || character > 255) return nullptr;
  for (const BitmapFont& f : fonts_) {
    if (f.font == font) return &f.glyphs[static_cast<size_t>(character)];
  }
  return nullptr;
}

void SoftwareDrawBackend::bitmapCharacter(TextFont font, int character) {
  if (insideShape_ || !rasterPosition_.valid) return;
  const BitmapGlyph* g = glyph(font, character);
  if (!g) return;
  const Paint paint = currentPaint(rasterPosition_.color);
  // The glyph's pixels count from the pixel the raster position is in, in
  // OpenGL's window coordinates, whose rows go upwards.
  const int h = canvasHeight_;
  const int baseX = static_cast<int>(std::floor(rasterPosition_.x + kRasterEpsilon));
  const int baseUp = static_cast<int>(std::floor(h - rasterPosition_.y + kRasterEpsilon));
  const int lowest = h - 1 - (baseUp + g->bottom);
  flushShadows();
  if (paint.alpha > 0) {
    DrawOp op;
    op.kind = DrawOp::Kind::Glyph;
    op.rgb = paint.rgb;
    op.alpha = paint.alpha;
    op.left = baseX + g->left;
    op.top = lowest;
    op.data = g;
    lay(op, PixelBox{op.left, lowest - g->height + 1, op.left + g->width, lowest + 1},
        mixDigest(fontsVersion_, static_cast<uint64_t>(font) << 16 | static_cast<uint64_t>(character)));
  }
  rasterPosition_.x += g->advance;
}

int SoftwareDrawBackend::bitmapWidth(TextFont font, int character) {
  const BitmapGlyph* g = glyph(font, character);
  return g ? g->advance : 0;
}

PictureState SoftwareDrawBackend::currentState() const {
  PictureState s;
  s.scale = transform_.scale;
  s.offsetX = transform_.offsetX;
  s.offsetY = transform_.offsetY;
  s.widthScale = transform_.widthScale;
  std::copy(color_, color_ + 4, s.color);
  s.lineWidth = lineWidth_;
  s.pointSize = pointSize_;
  return s;
}

bool SoftwareDrawBackend::beginPicture(const PictureKey& key, const Rect& bounds) {
  ++pictureDepth_;
  // Inside another picture it is part of that one; inside a shape or
  // without a frame it is simply drawn.
  if (pictureDepth_ > 1 || insideShape_ || target_.empty() || !keepPictures_) return true;
  const PictureState state = currentState();
  if (const PictureCache::Picture* kept = pictures_.find(key, state)) {
    showKept(*kept);
    --pictureDepth_;
    return false;
  }
  if (showResampled(key, state)) {
    --pictureDepth_;
    return false;
  }
  // The layer covers the bounds on screen and a pixel of smoothing around
  // them, as far as a margin round the frame: what lies beyond is not seen
  // before the view zooms out more than a step or two.
  const Point a = toScreen(bounds.minX, bounds.minY);
  const Point b = toScreen(bounds.maxX, bounds.maxY);
  // Bounds that are not numbers hold no layer: it is simply drawn.
  if (!isFinite(a.x) || !isFinite(a.y) || !isFinite(b.x) || !isFinite(b.y)) return true;
  const auto edge = [](double v) { return static_cast<int>(std::clamp(v, -1e9, 1e9)); };
  const PixelBox whole{edge(std::floor(std::min(a.x, b.x)) - 1.0), edge(std::floor(std::min(a.y, b.y)) - 1.0),
                       edge(std::ceil(std::max(a.x, b.x)) + 1.0), edge(std::ceil(std::max(a.y, b.y)) + 1.0)};
  if (!(whole.left < target_.width && whole.right > 0 && whole.top < target_.height && whole.bottom > 0)) {
    // Nothing of it is in view: nothing to draw or keep.
    --pictureDepth_;
    return false;
  }
  const uint64_t object = PictureCache::slotOf({key.owner, key.kind, 0, 0});
  using Drawn = std::pair<uint64_t, uint64_t>;
  const auto from = std::lower_bound(drawnLastFrame_.begin(), drawnLastFrame_.end(), Drawn{object, 0});
  const auto to =
      std::find_if_not(from, drawnLastFrame_.end(), [object](const Drawn& d) { return d.first == object; });
  const bool keep = from == to || std::binary_search(from, to, Drawn{object, key.state});
  drawnThisFrame_.emplace_back(object, key.state);
  const int marginX = keep ? static_cast<int>(target_.width * kLayerMarginShare) : 0;
  const int marginY = keep ? static_cast<int>(target_.height * kLayerMarginShare) : 0;
  const PixelBox drawn{std::max(whole.left, -marginX), std::max(whole.top, -marginY),
                       std::min(whole.right, target_.width + marginX),
                       std::min(whole.bottom, target_.height + marginY)};
  Recording& r = picture_;
  r.key = key;
  r.state = state;
  r.state.usesColor = r.state.usesLineWidth = r.state.usesPointSize = false;
  r.colorSet = r.lineWidthSet = r.pointSizeSet = false;
  r.drawn = drawn;
  r.whole = whole;
  // The slot's picture may still be being made, drawn earlier this frame
  // under another state: this one is shown once, not kept.
  r.picture = keep ? pictures_.reserve(key, state) : nullptr;
  r.keep = r.picture != nullptr;
  if (!r.picture) r.picture = &nextPassing();
  r.frameTransform = transform_;
  layers_.begin(r.picture, drawn, whole);
  canvasWidth_ = drawn.right - drawn.left;
  canvasHeight_ = drawn.bottom - drawn.top;
  transform_.offsetX -= drawn.left;
  transform_.offsetY -= drawn.top;
  sourceAlpha_ = 0xFF000000u;
  recording_ = true;
  return true;
}

void SoftwareDrawBackend::endPicture() {
  if (pictureDepth_ == 0) return;
  if (--pictureDepth_ > 0 || !recording_) return;
  recording_ = false;
  sourceAlpha_ = 0;
  const Recording& r = picture_;
  canvasWidth_ = target_.width;
  canvasHeight_ = target_.height;
  transform_ = r.frameTransform;
  // What it paints is not known until its layer is painted: until then it
  // may lie anywhere in the layer, and is laid on the tiles that meet it.
  PictureCache::Picture& p = *r.picture;
  p.key = r.key;
  p.state = r.state;
  p.left = r.drawn.left;
  p.top = r.drawn.top;
  p.width = r.drawn.right - r.drawn.left;
  p.height = r.drawn.bottom - r.drawn.top;
  p.drawn = r.drawn;
  p.whole = r.whole;
  if (r.keep) {
    settling_.push_back(&p);
  } else {
    p.serial = 0;  // pixels no other frame will show
  }
  showKept(p, true);
  // Recorded: its layer can be painted now.
  queue({PaintQueue::Job::Kind::Layer, &layers_.layer(layersQueued_++), 0});
}

PictureCache::Picture& SoftwareDrawBackend::nextPassing() {
  if (passingUsed_ == passing_.size()) passing_.emplace_back();
  PictureCache::Picture& p = passing_[passingUsed_++];
  std::vector<uint32_t> pixels = std::move(p.pixels);
  std::vector<uint8_t> coverage = std::move(p.coverage);
  p = PictureCache::Picture{};
  p.pixels = std::move(pixels);
  p.coverage = std::move(coverage);
  return p;
}

void SoftwareDrawBackend::showKept(const PictureCache::Picture& picture, bool pending) {
  // Never while a picture is drawn: one inside another is drawn, not kept.
  if (recording_) return;
  const uint64_t identity = picture.serial != 0 ? picture.serial : freshIdentity() | 1ull << 63;
  const uint32_t op = picture.key.kind == PictureKind::Shadow
                          ? gatherShadow(picture.coverage.data(), picture.left, picture.top, picture.width,
                                         picture.height, identity)
                          : layPicture(picture.pixels.data(), picture.left, picture.top, picture.width,
                                       picture.height, identity);
  if (pending && op != FrameRecording::kNotFiled) placings_.push_back({op, &picture});
}

uint32_t SoftwareDrawBackend::layPicture(const uint32_t* pixels, int left, int top, int width, int height,
                                         uint64_t identity) {
  flushShadows();
  DrawOp op;
  op.kind = DrawOp::Kind::Picture;
  op.left = left;
  op.top = top;
  op.width = width;
  op.height = height;
  op.stride = width;
  op.data = pixels;
  return lay(op, PixelBox{left, top, left + width, top + height}, identity);
}

uint32_t SoftwareDrawBackend::gatherShadow(const uint8_t* coverage, int left, int top, int width, int height,
                                           uint64_t identity) {
  const uint32_t rgb = paintOf(color_[0], color_[1], color_[2], 1.0f).rgb;
  if (!shadowsOpen_ || shadowRgb_ != rgb) {
    flushShadows();
    shadowsOpen_ = true;
    shadowRgb_ = rgb;
  }
  if (width <= 0 || height <= 0) return FrameRecording::kNotFiled;
  DrawOp op;
  op.kind = DrawOp::Kind::ShadowAdd;
  op.rgb = rgb;
  op.left = left;
  op.top = top;
  op.width = width;
  op.height = height;
  op.stride = width;
  op.data = coverage;
  return lay(op, PixelBox{left, top, left + width, top + height}, identity);
}

bool SoftwareDrawBackend::showResampled(const PictureKey& key, const PictureState& state) {
  const PictureCache::Picture* stale = pictures_.findUnderOtherView(key, state);
  // A shadow cast from an earlier light point, drawn before the view last
  // moved, stands in for one not drawn yet, and is as stale: the light's
  // steps in a still view draw shadows afresh as they always have.
  if (!stale) {
    stale = pictures_.findRelative(key, state);
    if (stale && stale->keptAt > zoomedAt_) return false;
  }
  if (!stale) return false;
  const uint64_t slot = PictureCache::slotOf(key);
  if (redraws_.isDue(slot)) return false;
  // Its pixels are made in endFrame, on the tiles' threads, before any
  // tile lays them on.
  const ZoomResampler* made = nullptr;
  uint64_t identity = 0;
  // Painted whole, the frame is made anew: what the tiles are checked against.
  if (paintInTiles_ && stale->serial != 0 && resampled_.find(slot) == resampled_.end()) {
    Resampled entry;
    const auto last = resampledLast_.find(slot);
    if (last != resampledLast_.end()) {
      entry = std::move(last->second);
      resampledLast_.erase(last);
    }
    const bool same = entry.resampler && entry.source == stale->serial && entry.scale == state.scale &&
                      entry.offsetX == state.offsetX && entry.offsetY == state.offsetY &&
                      entry.frameWidth == target_.width && entry.frameHeight == target_.height;
    if (!same) {
      if (!entry.resampler) entry.resampler = std::make_unique<ZoomResampler>();
      if (!entry.resampler->place(*stale, state, target_.width, target_.height)) return false;
      entry.source = stale->serial;
      entry.scale = state.scale;
      entry.offsetX = state.offsetX;
      entry.offsetY = state.offsetY;
      entry.frameWidth = target_.width;
      entry.frameHeight = target_.height;
      entry.identity = freshIdentity() | 1ull << 63;
      queue({PaintQueue::Job::Kind::Resample, entry.resampler.get(), 0});
    }
    made = entry.resampler.get();
    identity = entry.identity;
    resampled_.emplace(slot, std::move(entry));
  } else {
    // The same picture twice in a frame: made afresh, apart.
    if (resamplersUsed_ == resamplers_.size()) resamplers_.push_back(std::make_unique<ZoomResampler>());
    ZoomResampler& resampler = *resamplers_[resamplersUsed_];
    if (!resampler.place(*stale, state, target_.width, target_.height)) return false;
    ++resamplersUsed_;
    queue({PaintQueue::Job::Kind::Resample, &resampler, 0});
    made = &resampler;
    identity = freshIdentity() | 1ull << 63;
  }
  const ZoomResampler::Result& r = made->result();
  if (r.width == 0 || r.height == 0) return true;
  redraws_.add(slot, PixelBox{r.left, r.top, r.left + r.width, r.top + r.height},
               stale->state.scale / state.scale);
  if (key.kind == PictureKind::Shadow) {
    gatherShadow(r.coverage, r.left, r.top, r.width, r.height, identity);
    return true;
  }
  layPicture(r.pixels, r.left, r.top, r.width, r.height, identity);
  return true;
}
