#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "draw/DrawBackend.h"
#include "draw/ImageView.h"

// What a still picture was drawn under: the view, and the drawing state at
// its start as far as its drawing used it (most pictures set their own
// colours and widths before they draw, and then the state they began with
// does not matter). A kept picture is shown only under the same.
struct PictureState {
  double scale = 1.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  double widthScale = 1.0;        // of line widths and point sizes
  float color[4] = {0, 0, 0, 0};  // of a shadow, only the alpha counts
  float lineWidth = 1.0f;
  float pointSize = 1.0f;
  bool usesColor = true;
  bool usesLineWidth = true;
  bool usesPointSize = true;
};

// The still pictures a software backend keeps: in colour as premultiplied
// 0xAARRGGBB pixels, shadows as coverage. Pictures the last frames have not
// shown go every few frames, and at once beyond a budget.
class PictureCache {
 public:
  struct Picture {
    PictureKey key;
    PictureState state;
    int left = 0;  // in image pixels
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;   // colour: width * height
    std::vector<uint8_t> coverage;  // shadow: width * height
    // Which drawing the pixels are: a number no other keeping of this
    // cache has, for the digests of the tiles it is laid on.
    uint64_t serial = 0;
    unsigned lastShown = 0;
    unsigned keptAt = 0;  // the frame it was drawn in
    // Painted up to a side of its layer that the frame did not cut: most
    // likely it was cut there, its bounds too small for what it draws.
    bool cut = false;
    // The layer it was drawn in, and the layer it would have had had the
    // frame not cut it: what lies between the two was never drawn.
    PixelBox drawn;
    PixelBox whole;
    // False from reserve to settle: its pixels are being painted, and no
    // lookup finds it.
    bool made = true;
  };

  // The picture kept for this key under this state, or null.
  Picture* find(const PictureKey& key, const PictureState& state);
  // The picture kept for this key under this state but another view (it
  // was drawn at another zoom), or null.
  Picture* findUnderOtherView(const PictureKey& key, const PictureState& state);
  // The last picture kept of the key's family (a shadow cast from another
  // light point), if it is not the key's own, or null.
  Picture* findRelative(const PictureKey& key, const PictureState& state);
  // The picture of key to be kept, its pixels still to be taken (take)
  // before settle; null if one for the same slot is still being made. The
  // pixels of a picture it replaces stay readable until the next frame
  // starts: the frame's tiles may still lay them on.
  Picture* reserve(const PictureKey& key, const PictureState& state);
  // A reserved picture's pixels have been taken: it counts, and is found.
  void settle(Picture& picture);
  // What a layer holds as picture's pixels: those within
  // [left, left + width) x [top, top + height) of the image, trimmed to
  // those it painted.
  static void take(Picture& picture, const PictureKey& key, const PictureState& state, const ImageView& layer,
                   int left, int top);
  // Starts a frame.
  void nextFrame();
  // The frame's number, counted by nextFrame.
  unsigned frame() const { return frame_; }
  size_t bytes() const { return bytes_; }
  size_t size() const { return pictures_.size(); }
  // How many pictures have been drawn and kept so far.
  size_t keeps() const { return keeps_; }
  // How many kept pictures were cut by their bounds.
  size_t cutCount() const;
  // Which picture: one slot per key.
  static uint64_t slotOf(const PictureKey& key);

 private:
  static size_t bytesOf(const Picture& p);
  Picture* findUnderAnyView(const PictureKey& key, const PictureState& state);

  static uint64_t familySlotOf(const PictureKey& key);

  std::unordered_map<uint64_t, Picture> pictures_;    // looked up only, never walked in drawing order
  std::unordered_map<uint64_t, uint64_t> families_;   // family slot to the slot of its last picture
  std::vector<std::vector<uint32_t>> retiredPixels_;  // replaced this frame
  std::vector<std::vector<uint8_t>> retiredCoverage_;
  size_t bytes_ = 0;
  size_t keeps_ = 0;
  size_t unsettled_ = 0;  // reserved and not settled
  unsigned frame_ = 0;
};
