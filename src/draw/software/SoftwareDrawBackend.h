#pragma once

#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "draw/BitmapFont.h"
#include "draw/DrawBackend.h"
#include "draw/ImageView.h"
#include "draw/software/DiscMaskCache.h"
#include "draw/software/FrameRecording.h"
#include "draw/software/PaintQueue.h"
#include "draw/software/PictureCache.h"
#include "draw/software/PictureLayers.h"
#include "draw/software/PixelBlend.h"
#include "draw/software/RedrawQueue.h"
#include "draw/software/TilePool.h"
#include "draw/software/TileReplay.h"
#include "draw/software/ZoomResampler.h"
#include "world/Geometry.h"

// World units to image pixels: image = world * scale + offset. Line widths
// and point sizes, given in window units as OpenGL's pixels at a window
// scale of 1, are widthScale pixels each.
struct ScreenTransform {
  double scale = 1.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  double widthScale = 1.0;
};

// The transform of the game's view on a window of this size in units, drawn
// at windowScale pixels per unit: the zoom scales about the window's centre
// after the translation has moved the world, as the OpenGL projection of the
// view does.
ScreenTransform viewTransform(int width, int height, float zoom, Vec2 translation, double windowScale = 1.0);

// Draws every primitive of the game into a 32-bit image on the CPU, with
// exact area coverage on every edge and source-alpha blending. Line widths
// and point sizes are in pixels, as OpenGL's are, times the transform's
// widthScale; text comes from the bitmap fonts OpenGL draws (see
// GlyphCapture) or those at the window's scale, placed by OpenGL's raster
// position rules. A shape with a vertex that is not finite is dropped whole.
// Still pictures are kept and laid on whole while their keys stay the same;
// when the view zooms they are laid on resampled from their last drawing
// and drawn afresh a few a frame (see RedrawQueue). A picture drawn afresh
// is recorded too, and painted on the other threads, while the rest of the
// frame is recorded or with its tiles (see PictureLayers, PaintQueue).
//
// A frame's calls are recorded, not painted at once: endFrame paints the
// image in tiles of 64 by 64 pixels, on several threads, each tile (or
// stretch of tiles side by side) clipped to itself, to the same pixels as
// painting the frame whole. A tile whose
// calls are those of the last frame, on an image that still shows it, is
// not painted again.
//
//   SoftwareDrawBackend software(fonts);
//   software.beginFrame(image, viewTransform(800, 800, zoom, translation), 0xFFFFFF);
//   setDrawBackend(&software);
//   game.onDraw();
class SoftwareDrawBackend : public DrawBackend {
 public:
  // threads: how many draw a frame's tiles (see drawingThreads).
  explicit SoftwareDrawBackend(BitmapFontSet fonts = {}, int threads = drawingThreads());
  ~SoftwareDrawBackend() override;
  // Text from now on: fonts drawn at textScale pixels per unit. Between
  // frames only.
  void setFonts(BitmapFontSet fonts, float textScale);

  // Clears the image to clearRgb and draws into it from now on. The image
  // must stay valid until endFrame, which paints the picture: before it
  // the image is as it was. keptFromLastFrame: the image still holds the
  // last frame this backend drew on it, so what is unchanged need not be
  // painted again.
  void beginFrame(const ImageView& target, const ScreenTransform& transform, uint32_t clearRgb,
                  bool keptFromLastFrame = false);
  void endFrame();
  const ImageView& target() const { return target_; }
  // The part of the image the last endFrame painted (empty when none).
  const PixelBox& changedArea() const { return changed_; }
  // How many tiles the last endFrame painted, of how many.
  int paintedTiles() const { return paintedTiles_; }
  int tileCount() const { return calls_.tileCount(); }

  void begin(Primitive primitive) override;
  void end() override;
  void vertex(float x, float y) override;
  void color(float r, float g, float b, float a) override;
  void lineWidth(float width) override;
  void pointSize(float size) override;
  void rasterPos(float x, float y) override;
  void bitmapCharacter(TextFont font, int character) override;
  int bitmapWidth(TextFont font, int character) override;
  float textScale() const override { return textScale_; }
  bool fillDisc(float cx, float cy, float radius, int segments) override;
  bool beginPicture(const PictureKey& key, const Rect& bounds) override;
  void endPicture() override;
  float shadowLightStep() const override { return keepPictures_ ? kShadowLightStep : 0.0f; }

  // Whether still pictures are kept (the default) or drawn every frame.
  void keepPictures(bool keep) { keepPictures_ = keep; }
  // Frames with fewer tiles to paint than tiles (24 unless told), or whose
  // tiles one thread would paint in less than aloneUpToMs (kAloneUpToMs
  // unless told; 0: whatever they cost) at what the last frames' tiles
  // took, are painted on the calling thread alone. Waking another thread
  // costs tens of us, and two threads spend a tenth to a quarter more CPU
  // than one on the same tiles, which a frame due every 33 ms need not
  // spend to be done a few milliseconds sooner. Pictures to paint afresh
  // or resample go to the other threads while the frame is still recorded,
  // once this many (at most eight) wait and the last frame was shared out,
  // or once many wait.
  void shareFrom(size_t tiles, double aloneUpToMs = 0.0) {
    fewestTilesToShare_ = tiles;
    aloneUpToMs_ = aloneUpToMs;
  }
  static constexpr double kAloneUpToMs = 6.0;
  // Whether the last frame's tiles were painted on several threads.
  bool sharedLastFrame() const { return sharedLast_; }
  // Whether frames are painted in tiles (the default), or whole on the
  // calling thread, every pixel anew: the frame tiles are compared with.
  void paintInTiles(bool tiles) { paintInTiles_ = tiles; }
  // Tiles of 2^shift pixels a side (kTileShift unless told), from the next
  // frame on, which paints every tile.
  void tileShift(int shift);
  const PictureCache& pictures() const { return pictures_; }
  // How many kept pictures the frame showed resampled from another view,
  // not yet drawn afresh at its own.
  size_t staleCount() const { return redraws_.staleCount(); }

  // Light points of kept shadows are rounded to this many units: a shadow
  // moves 0.05 of the light's distance, so it lies within about half a
  // pixel of where it would be, and is drawn anew every dozen frames or so
  // as the light crosses the field.
  static constexpr float kShadowLightStep = 16.0f;

  // The side of a tile in pixels. Smaller tiles paint less again where a
  // little changed, but each call costs its setting up in every tile it
  // meets: at 32 the zooming and large frames cost about a tenth more, at
  // 128 the quiet ones a fifth more.
  static constexpr int kTileShift = 6;
  static constexpr int kTileSide = 1 << kTileShift;

 private:
  struct Point {
    double x;
    double y;
  };
  // Where text goes: the raster position in image pixels and the colour
  // latched with it; text at an invalid position is not drawn.
  struct RasterPosition {
    double x = 0.0;
    double y = 0.0;
    bool valid = false;
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  };

  Point toScreen(float x, float y) const;
  // The current colour as a paint; its alpha byte is set while a picture
  // is drawn, so that the picture's pixels keep their coverage.
  Paint currentPaint(const float* color) const;
  PictureState currentState() const;
  // While a picture is drawn: notes which of the state it began with its
  // drawing used, before setting its own.
  void noteUse(bool color, bool lineWidth, bool pointSize);
  // pending: its pixels are painted as the frame ends, and placed then.
  void showKept(const PictureCache::Picture& picture, bool pending = false);
  // A kept picture drawn under another view, if it can be laid on
  // resampled; false when it must be drawn afresh.
  bool showResampled(const PictureKey& key, const PictureState& state);
  // Coverage of a shadow, gathered with the shadows before it if they are
  // of its colour. The call's number in the frame's recording, as lay's.
  uint32_t gatherShadow(const uint8_t* coverage, int left, int top, int width, int height, uint64_t identity);
  // A colour picture's pixels laid on the frame as one paint call.
  uint32_t layPicture(const uint32_t* pixels, int left, int top, int width, int height, uint64_t identity);
  // Before anything else is painted on the frame: the shadows gathered so far.
  void flushShadows();
  // Hands out a job that is not a tile's; lends the other threads to the
  // queue once enough wait.
  void queue(const PaintQueue::Job& job);
  // The threads but this one take from the queue until it is finished.
  void lendThreads();
  void runJob(const PaintQueue::Job& job, int worker);
  // Closes the queue and waits until all it holds is done, this thread
  // taking its share.
  void finishQueue();
  // A call painted on the frame: recorded for its tiles (its number there,
  // or FrameRecording::kNotFiled), or, while a picture is drawn, for its
  // layer.
  uint32_t lay(const DrawOp& op, const PixelBox& box, uint64_t identity);
  // A picture to show once, with the buffers of one an earlier frame showed.
  PictureCache::Picture& nextPassing();
  // An identity for pixels no other frame will show.
  uint64_t freshIdentity() { return ++freshIdentities_; }
  const BitmapGlyph* glyph(TextFont font, int character) const;
  void drawShape(uint32_t rgb, int alpha);
  void drawPoints(uint32_t rgb, int alpha);
  void addLines(bool strip, bool loop);
  void addTriangleStrip();
  void addQuads();
  void addPolygon();
  bool drawAsRectangle(uint32_t rgb, int alpha);
  void addTriangle(const Point& a, const Point& b, const Point& c);
  void addSegment(const Point& a, const Point& b, double halfWidth);
  void addEdge(double x0, double y0, double x1, double y1);

  // Line width and point size in image pixels.
  double lineWidthPixels() const;
  double pointSizePixels() const;

  BitmapFontSet fonts_;
  float textScale_ = 1.0f;
  ImageView target_;
  // The size of what is drawn into: the frame, or while a picture is drawn
  // its layer.
  int canvasWidth_ = 0;
  int canvasHeight_ = 0;
  ScreenTransform transform_;
  DiscMaskCache discs_;
  Primitive primitive_ = Primitive::Points;
  bool insideShape_ = false;
  std::vector<Point> points_;
  float color_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float lineWidth_ = 1.0f;
  float pointSize_ = 1.0f;
  RasterPosition rasterPosition_;
  uint64_t fontsVersion_ = 0;

  // The frame's calls, and how they are painted.
  FrameRecording calls_;
  uint32_t clearRgb_ = 0;
  bool paintInTiles_ = true;
  size_t fewestTilesToShare_ = 24;
  double aloneUpToMs_ = kAloneUpToMs;
  double tileMs_ = 0.0;  // one thread's time for a tile, as the last frames' took
  bool tileMsKnown_ = false;
  bool sharedLast_ = false;
  int tileShift_ = kTileShift;
  bool keptFromLastFrame_ = false;
  bool shadowsOpen_ = false;
  uint32_t shadowRgb_ = 0;
  uint64_t freshIdentities_ = 0;
  std::unique_ptr<TilePool> pool_;
  std::vector<std::unique_ptr<TileReplay>> replays_;  // one per thread
  // What the image shows of each tile since the last frame ended: the
  // digest of its calls, and whether it is all one colour (and which).
  ImageView shownImage_;
  bool ended_ = false;  // a frame begun and not ended leaves the image unknown
  std::vector<uint64_t> shownDigest_;
  std::vector<uint8_t> shownFlat_;
  std::vector<uint32_t> shownRgb_;
  std::vector<int> dirty_;
  // Tiles painted as one: count side by side in a row, from tile on.
  struct Stretch {
    int tile;
    int count;
    bool onlyRects;
  };
  std::vector<Stretch> stretches_;
  std::vector<uint32_t> shapesDue_;          // shapes the dirty tiles lay
  std::vector<uint8_t> shapeDue_;            // by shape number
  std::vector<TileReplay::Runs> shapeRuns_;  // by shape number
  // The runs of the last frame's shapes that spanned tiles, by digest (and
  // the image's size): a shape drawn the same again is not worked out again.
  // The first keptCount_, sorted by key; runs taken again are left empty.
  // Runs change hands by swapping, so their memory serves frame after frame.
  struct KeptRuns {
    uint64_t key = 0;
    TileReplay::Runs runs;
  };
  std::vector<KeptRuns> keptRuns_;
  size_t keptCount_ = 0;
  std::vector<uint32_t> shapesToRasterize_;
  std::vector<uint8_t> changedTile_;
  PixelBox changed_;
  int paintedTiles_ = 0;
  // Pixels the frame's calls read that nothing else keeps until it ends:
  // pictures shown once, and pictures resampled to another zoom (placed
  // while the frame is recorded, their pixels made with the tiles').
  std::deque<PictureCache::Picture> passing_;
  size_t passingUsed_ = 0;
  std::vector<std::unique_ptr<ZoomResampler>> resamplers_;
  size_t resamplersUsed_ = 0;
  // A picture resampled, by slot, and what from: made again from the same
  // drawing under the same view, it is the same pixels, so a view that has
  // stopped zooming neither resamples its stale pictures again nor paints
  // again the tiles they lie on. This frame's, and the last frame's not yet
  // taken up again.
  struct Resampled {
    std::unique_ptr<ZoomResampler> resampler;
    uint64_t source = 0;  // the serial of the picture it was made from
    double scale = 0.0;
    double offsetX = 0.0;
    double offsetY = 0.0;
    int frameWidth = 0;
    int frameHeight = 0;
    uint64_t identity = 0;
  };
  std::unordered_map<uint64_t, Resampled> resampled_;      // looked up only
  std::unordered_map<uint64_t, Resampled> resampledLast_;  // looked up only
  // The work that is not a tile's: pictures painted into layers and
  // resampled, handed to the drawing threads as they are recorded (once a
  // few are waiting, the other threads are lent to the queue until the
  // frame ends), then the shapes that span tiles.
  PaintQueue queue_;
  size_t layersQueued_ = 0;

  // Still pictures: kept ones, and the one being drawn (picture_, while
  // recording_) for its own layer.
  struct Recording {
    PictureKey key;
    PictureState state;  // its uses* say what was used before being set
    bool colorSet = false;
    bool lineWidthSet = false;
    bool pointSizeSet = false;
    PixelBox drawn;                            // its layer, in the frame's pixels
    PixelBox whole;                            // the layer had the frame not cut it
    PictureCache::Picture* picture = nullptr;  // kept, or passing
    bool keep = true;
    ScreenTransform frameTransform;
  };
  bool keepPictures_ = true;
  PictureCache pictures_;
  int pictureDepth_ = 0;
  bool recording_ = false;
  Recording picture_;
  // The pictures drawn afresh this frame, painted as it ends; the calls
  // that lay them, to be told where their pixels are; the kept ones.
  PictureLayers layers_;
  std::vector<PictureLayers::Scratch> layerScratch_;  // one per thread
  struct Placing {
    uint32_t op;
    const PictureCache::Picture* picture;
  };
  std::vector<Placing> placings_;
  std::vector<PictureCache::Picture*> settling_;
  uint32_t sourceAlpha_ = 0;
  RedrawQueue redraws_;
  unsigned zoomedAt_ = 0;  // the last frame whose view differed from the one before
  // Pictures drawn afresh, as (owner and kind, state): the last frame's,
  // sorted, and this one's. An object drawn afresh in another state every
  // frame (one being dragged) is drawn in a layer but not kept.
  std::vector<std::pair<uint64_t, uint64_t>> drawnLastFrame_;
  std::vector<std::pair<uint64_t, uint64_t>> drawnThisFrame_;
};
