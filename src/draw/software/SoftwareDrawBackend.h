#pragma once

#include <vector>

#include "draw/BitmapFont.h"
#include "draw/DrawBackend.h"
#include "draw/ImageView.h"
#include "draw/software/CoverageRasterizer.h"
#include "draw/software/DiscMaskCache.h"
#include "draw/software/FlatTiles.h"
#include "draw/software/PictureCache.h"
#include "draw/software/PixelBlend.h"
#include "draw/software/RedrawQueue.h"
#include "draw/software/ShadowBatch.h"
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
// and drawn afresh a few a frame (see RedrawQueue).
//
//   SoftwareDrawBackend software(fonts);
//   software.beginFrame(image, viewTransform(800, 800, zoom, translation), 0xFFFFFF);
//   setDrawBackend(&software);
//   game.onDraw();
class SoftwareDrawBackend : public DrawBackend {
 public:
  explicit SoftwareDrawBackend(BitmapFontSet fonts = {});
  // Text from now on: fonts drawn at textScale pixels per unit.
  void setFonts(BitmapFontSet fonts, float textScale);

  // Clears the image to clearRgb and draws into it from now on. The image
  // must stay valid until endFrame, which finishes the picture; only then
  // are all its pixels drawn. keptFromLastFrame: the image still holds the
  // last frame this backend drew on it, so what is unchanged need not be
  // painted again.
  void beginFrame(const ImageView& target, const ScreenTransform& transform, uint32_t clearRgb,
                  bool keptFromLastFrame = false);
  void endFrame();
  const ImageView& target() const { return target_; }

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
  // Whether the frame's one-colour parts are kept as a colour until drawn
  // on (the default) or painted at once, as a frame to compare with.
  void keepFlatTiles(bool keep) { keepFlatTiles_ = keep; }
  const PictureCache& pictures() const { return pictures_; }
  // How many kept pictures the frame showed resampled from another view,
  // not yet drawn afresh at its own.
  size_t staleCount() const { return redraws_.staleCount(); }

  // Light points of kept shadows are rounded to this many units: a shadow
  // moves 0.05 of the light's distance, so it lies within about half a
  // pixel of where it would be, and is drawn anew every dozen frames or so
  // as the light crosses the field.
  static constexpr float kShadowLightStep = 16.0f;

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
  void showKept(const PictureCache::Picture& picture);
  // A kept picture drawn under another view, if it can be laid on
  // resampled; false when it must be drawn afresh.
  bool showResampled(const PictureKey& key, const PictureState& state);
  // Coverage of a shadow, gathered with the shadows before it if they are
  // of its colour.
  void gatherShadow(const uint8_t* coverage, int left, int top, int width, int height);
  // Before anything is painted on the frame within box: the shadows
  // gathered so far, and the flat tiles under it.
  void prepare(const PixelBox& box);
  void flushShadows();
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

  // Line width and point size in image pixels.
  double lineWidthPixels() const;
  double pointSizePixels() const;

  BitmapFontSet fonts_;
  float textScale_ = 1.0f;
  ImageView target_;
  ScreenTransform transform_;
  CoverageRasterizer raster_;
  DiscMaskCache discs_;
  Primitive primitive_ = Primitive::Points;
  bool insideShape_ = false;
  std::vector<Point> points_;
  float color_[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float lineWidth_ = 1.0f;
  float pointSize_ = 1.0f;
  RasterPosition rasterPosition_;
  FlatTiles tiles_;
  bool keepFlatTiles_ = true;

  // Still pictures: kept ones, and the one being drawn (picture_, while
  // recording_) into its own layer while the frame waits.
  struct Recording {
    PictureKey key;
    PictureState state;  // its uses* say what was used before being set
    bool colorSet = false;
    bool lineWidthSet = false;
    bool pointSizeSet = false;
    int left = 0;
    int top = 0;
    PixelBox whole;  // the layer had the frame not cut it
    bool keep = true;
    ImageView frame;
    ScreenTransform frameTransform;
  };
  bool keepPictures_ = true;
  PictureCache pictures_;
  int pictureDepth_ = 0;
  bool recording_ = false;
  Recording picture_;
  std::vector<uint32_t> layer_;
  uint32_t sourceAlpha_ = 0;
  ShadowBatch shadows_;
  ZoomResampler resampler_;
  RedrawQueue redraws_;
  unsigned zoomedAt_ = 0;  // the last frame whose view differed from the one before
  // Pictures drawn afresh, as (owner and kind, state): the last frame's,
  // sorted, and this one's. An object drawn afresh in another state every
  // frame (one being dragged) is drawn in a layer but not kept.
  std::vector<std::pair<uint64_t, uint64_t>> drawnLastFrame_;
  std::vector<std::pair<uint64_t, uint64_t>> drawnThisFrame_;
  PictureCache::Picture passing_;  // such a picture, laid on once
};
