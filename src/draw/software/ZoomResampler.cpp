#include "draw/software/ZoomResampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Pictures drawn up to this many times as large as they are shown are
// interpolated between two pixels a side; larger ones are averaged.
constexpr double kPairsUpTo = 2.0;
// Nor are pictures drawn at more than this many times the zoom shown, or
// less than its inverse, resampled: they are drawn afresh.
constexpr double kMostZoom = 8.0;

using Lanes = float __attribute__((vector_size(16)));

// Premultiplied 0xAARRGGBB to its four channels and back, rounded, with no
// colour above the alpha (which compositing takes for granted).
inline Lanes channelsOf(uint32_t p) {
  return Lanes{static_cast<float>(p >> 24), static_cast<float>(p >> 16 & 0xFF),
               static_cast<float>(p >> 8 & 0xFF), static_cast<float>(p & 0xFF)};
}
inline uint32_t pixelOf(Lanes c) {
  const float a = std::clamp(c[0] + 0.5f, 0.0f, 255.5f);
  const auto channel = [a](float v) { return static_cast<uint32_t>(std::clamp(v + 0.5f, 0.0f, a)); };
  return static_cast<uint32_t>(a) << 24 | channel(c[1]) << 16 | channel(c[2]) << 8 | channel(c[3]);
}

// How each kind of picture is summed: colour in four lanes, coverage in one,
// stored between the passes as floats.
struct Colour {
  using Pixel = uint32_t;
  using Sum = Lanes;
  static constexpr int kFloats = 4;
  static Sum zero() { return Sum{0, 0, 0, 0}; }
  static Sum of(uint32_t p) { return channelsOf(p); }
  static uint32_t back(Sum s) { return pixelOf(s); }
  static Sum load(const float* f) {
    Sum s;
    std::memcpy(&s, f, sizeof s);
    return s;
  }
  static void store(float* f, Sum s) { std::memcpy(f, &s, sizeof s); }
};
struct Coverage {
  using Pixel = uint8_t;
  using Sum = float;
  static constexpr int kFloats = 1;
  static Sum zero() { return 0.0f; }
  static Sum of(uint8_t c) { return static_cast<float>(c); }
  static uint8_t back(Sum s) { return static_cast<uint8_t>(std::clamp(s + 0.5f, 0.0f, 255.5f)); }
  static Sum load(const float* f) { return *f; }
  static void store(float* f, Sum s) { *f = s; }
};

// Where a pixel edge x of the frame under one view lies under the other.
double mapEdge(double x, double fromScale, double fromOffset, double toScale, double toOffset) {
  return (x - fromOffset) / fromScale * toScale + toOffset;
}

// x as a pixel of an axis of size pixels, or one just off either end.
int pixelAt(double x, int size) {
  return static_cast<int>(std::clamp(x, -1.0, static_cast<double>(size)));
}

bool usable(const PictureState& s) {
  return std::isfinite(s.scale) && s.scale > 0.0 && std::isfinite(s.offsetX) && std::isfinite(s.offsetY);
}

}  // namespace

void ZoomResampler::span(const Axis& a, bool pairs, int& first, int& last) {
  // Picture pixels per frame pixel; the tent reaches a frame pixel's width
  // (a pair reaches one pixel of the picture).
  const double reach = pairs ? 1.0 : std::max(1.0, a.keptScale / a.scale);
  const auto frameOf = [&](double u) {
    return mapEdge(u + 0.5 + a.pictureStart, a.keptScale, a.keptOffset, a.scale, a.offset) - 0.5;
  };
  first = std::max(0, pixelAt(std::floor(frameOf(-reach)), a.frameSize));
  last =
      std::min(a.frameSize - 1,
               pixelAt(std::ceil(frameOf(pairs ? a.pictureSize : a.pictureSize - 1 + reach)), a.frameSize));
}

void ZoomResampler::axisTaps(Taps& taps, const Axis& a) {
  const double keptScale = a.keptScale, keptOffset = a.keptOffset, scale = a.scale, offset = a.offset;
  const int pictureStart = a.pictureStart, pictureSize = a.pictureSize;
  const double reach = std::max(1.0, keptScale / scale);
  // The picture's pixel i has its centre at i; u is where frame pixel j's
  // centre comes from.
  const auto sourceOf = [&](double j) {
    return mapEdge(j + 0.5, scale, offset, keptScale, keptOffset) - 0.5 - pictureStart;
  };
  int first = 0, last = -1;
  span(a, false, first, last);
  taps.first = first;
  taps.from.clear();
  taps.count.clear();
  taps.offset.clear();
  taps.weights.clear();
  for (int j = first; j <= last; ++j) {
    const double u = sourceOf(j);
    const int lo = static_cast<int>(std::floor(u - reach)) + 1;
    const int hi = static_cast<int>(std::ceil(u + reach)) - 1;
    double sum = 0.0;
    for (int i = lo; i <= hi; ++i) sum += 1.0 - std::fabs(i - u) / reach;
    const int from = std::max(lo, 0);
    const int to = std::min(hi, pictureSize - 1);
    taps.from.push_back(from);
    taps.count.push_back(std::max(0, to - from + 1));
    taps.offset.push_back(static_cast<int>(taps.weights.size()));
    for (int i = from; i <= to; ++i)
      taps.weights.push_back(static_cast<float>((1.0 - std::fabs(i - u) / reach) / sum));
  }
}

template <class Kind>
void ZoomResampler::run(const typename Kind::Pixel* source, int sourceWidth,
                        std::vector<typename Kind::Pixel>& out) {
  using Sum = typename Kind::Sum;
  constexpr int n = Kind::kFloats;
  const int w = static_cast<int>(columns_.from.size());
  const int h = static_cast<int>(rows_.from.size());
  out.assign(static_cast<size_t>(w) * h, 0);
  // The picture's rows that the frame's rows are made of.
  int rowLo = INT32_MAX, rowHi = -1;
  for (int j = 0; j < h; ++j) {
    if (rows_.count[j] == 0) continue;
    rowLo = std::min(rowLo, rows_.from[j]);
    rowHi = std::max(rowHi, rows_.from[j] + rows_.count[j] - 1);
  }
  if (rowHi < rowLo) return;
  // Across first, each of those rows to the frame's columns; then down.
  across_.resize(static_cast<size_t>(rowHi - rowLo + 1) * w * n);
  for (int y = rowLo; y <= rowHi; ++y) {
    const typename Kind::Pixel* row = source + static_cast<size_t>(y) * sourceWidth;
    float* to = across_.data() + static_cast<size_t>(y - rowLo) * w * n;
    for (int x = 0; x < w; ++x) {
      const float* weight = columns_.weights.data() + columns_.offset[x];
      const typename Kind::Pixel* from = row + columns_.from[x];
      Sum sum = Kind::zero();
      for (int k = 0; k < columns_.count[x]; ++k) sum += Kind::of(from[k]) * weight[k];
      Kind::store(to + static_cast<size_t>(x) * n, sum);
    }
  }
  for (int y = 0; y < h; ++y) {
    typename Kind::Pixel* to = out.data() + static_cast<size_t>(y) * w;
    const float* weight = rows_.weights.data() + rows_.offset[y];
    const float* from = across_.data() + static_cast<size_t>(rows_.from[y] - rowLo) * w * n;
    const size_t rowFloats = static_cast<size_t>(w) * n;
    for (int x = 0; x < w; ++x) {
      Sum sum = Kind::zero();
      for (int k = 0; k < rows_.count[y]; ++k) sum += Kind::load(from + k * rowFloats + x * n) * weight[k];
      to[x] = Kind::back(sum);
    }
  }
}

void ZoomResampler::pairTaps(std::vector<Pair>& pairs, const Axis& a) {
  // Plain linear interpolation: exact for a picture drawn smaller than it is
  // shown, and close enough for one drawn up to twice as large.
  const double keptScale = a.keptScale, keptOffset = a.keptOffset, scale = a.scale, offset = a.offset;
  const int pictureStart = a.pictureStart, pictureSize = a.pictureSize;
  int first = 0, last = -1;
  span(a, true, first, last);
  pairs.resize(static_cast<size_t>(std::max(0, last - first + 1)));
  for (int j = first; j <= last; ++j) {
    const double u = mapEdge(j + 0.5, scale, offset, keptScale, keptOffset) - 0.5 - pictureStart;
    const double lower = std::floor(u);
    // Rounded half up, as lround rounds the non-negative, without its call.
    const double fraction = (u - lower) * 256.0;
    auto second = static_cast<uint32_t>(fraction);
    if (fraction - second >= 0.5) ++second;
    // Written in place: a whole Pair built apart and copied in stalls on
    // the copy.
    Pair& p = pairs[static_cast<size_t>(j - first)];
    p.first = static_cast<int>(lower);
    p.second = p.first + 1;
    p.firstWeight = 256 - second;
    p.secondWeight = second;
    // Beyond the picture is nothing: a weight on its edge pixel, or none.
    if (p.first < 0) p.first = 0, p.firstWeight = 0;
    if (p.second > pictureSize - 1) p.second = pictureSize - 1, p.secondWeight = 0;
    if (p.first > pictureSize - 1) p.first = pictureSize - 1, p.firstWeight = 0;
    if (p.second < 0) p.second = 0, p.secondWeight = 0;
  }
}

namespace {

// Two pixels' channels weighted by 0..256 in all, rounded, in fixed point:
// red and blue, then alpha and green, side by side in the halves of a word.
inline uint32_t mixPixels(uint32_t a, uint32_t wa, uint32_t b, uint32_t wb) {
  constexpr uint32_t kMask = 0xFF00FFu;
  const uint32_t rb = ((a & kMask) * wa + (b & kMask) * wb + 0x800080u) >> 8 & kMask;
  const uint32_t ag = ((a >> 8 & kMask) * wa + (b >> 8 & kMask) * wb + 0x800080u) >> 8 & kMask;
  return rb | ag << 8;
}

inline uint8_t mixPixels(uint8_t a, uint32_t wa, uint8_t b, uint32_t wb) {
  return static_cast<uint8_t>((a * wa + b * wb + 128) >> 8);
}

// Two rows of pixels or coverage bytes weighted the same way, sixteen bytes
// at a time (each byte is a channel or a coverage, weighted alike).
template <class T>
void mixRows(const T* a, uint32_t wa, const T* b, uint32_t wb, T* out, int count) {
  using Bytes = uint8_t __attribute__((vector_size(16)));
  using Wide = uint16_t __attribute__((vector_size(32)));
  constexpr int kStep = static_cast<int>(sizeof(Bytes) / sizeof(T));
  const auto upper = static_cast<uint16_t>(wa);
  const auto lower = static_cast<uint16_t>(wb);
  int i = 0;
  for (; i + kStep <= count; i += kStep) {
    Bytes x, y;
    std::memcpy(&x, a + i, sizeof x);
    std::memcpy(&y, b + i, sizeof y);
    const Wide mixed =
        (__builtin_convertvector(x, Wide) * upper + __builtin_convertvector(y, Wide) * lower + 128) >> 8;
    x = __builtin_convertvector(mixed, Bytes);
    std::memcpy(out + i, &x, sizeof x);
  }
  for (; i < count; ++i) out[i] = mixPixels(a[i], wa, b[i], wb);
}

}  // namespace

namespace {

// Across a row already mixed down: each of the frame's pixels from two of
// the row's, weighted as mixPixels weights them, several pixels at a time.
// The vectors are built from the pixels in registers (not written and read
// back) and weighted in sixteen bits, where no channel carries into the
// next, so each channel comes out as mixPixels makes it.
// Where a group's pairs are each of two pixels side by side (most are; not
// at the picture's edges), one load takes both (the machines the game runs
// on are little-endian: the first pixel in the low half).
template <class Pair>
void mixAcross(const uint32_t* m, const Pair* pairs, const uint16_t* weights, const uint8_t* adjacent,
               uint32_t* to, int w) {
  using Quad = uint32_t __attribute__((vector_size(16)));
  using Longs = uint64_t __attribute__((vector_size(16)));
  using Bytes = uint8_t __attribute__((vector_size(16)));
  using Wide = uint16_t __attribute__((vector_size(32)));
  const auto both = [m](const Pair& c) {
    uint64_t v;
    std::memcpy(&v, m + c.first, sizeof v);
    return v;
  };
  int x = 0;
  for (; x + 4 <= w; x += 4) {
    const auto* c = pairs + x;
    Quad a, b;
    if (adjacent[x / 4]) {
      const Longs low{both(c[0]), both(c[1])};
      const Longs high{both(c[2]), both(c[3])};
      Quad p, q;
      std::memcpy(&p, &low, sizeof p);
      std::memcpy(&q, &high, sizeof q);
      a = __builtin_shufflevector(p, q, 0, 2, 4, 6);
      b = __builtin_shufflevector(p, q, 1, 3, 5, 7);
    } else {
      a = Quad{m[c[0].first], m[c[1].first], m[c[2].first], m[c[3].first]};
      b = Quad{m[c[0].second], m[c[1].second], m[c[2].second], m[c[3].second]};
    }
    Bytes ab, bb;
    std::memcpy(&ab, &a, sizeof ab);
    std::memcpy(&bb, &b, sizeof bb);
    Wide wa, wb;
    std::memcpy(&wa, weights + x * 8, sizeof wa);
    std::memcpy(&wb, weights + x * 8 + 16, sizeof wb);
    const Wide mixed =
        (__builtin_convertvector(ab, Wide) * wa + __builtin_convertvector(bb, Wide) * wb + 128) >> 8;
    const Bytes out = __builtin_convertvector(mixed, Bytes);
    std::memcpy(to + x, &out, sizeof out);
  }
  for (; x < w; ++x)
    to[x] = mixPixels(m[pairs[x].first], pairs[x].firstWeight, m[pairs[x].second], pairs[x].secondWeight);
}

// Coverage likewise, eight at a time.
template <class Pair>
void mixAcross(const uint8_t* m, const Pair* pairs, const uint16_t* weights, const uint8_t* adjacent,
               uint8_t* to, int w) {
  using Half = uint16_t __attribute__((vector_size(16)));
  using Bytes = uint8_t __attribute__((vector_size(8)));
  const auto both = [m](const Pair& c) {
    uint16_t v;
    std::memcpy(&v, m + c.first, sizeof v);
    return v;
  };
  int x = 0;
  for (; x + 8 <= w; x += 8) {
    const auto* c = pairs + x;
    Half a, b;
    if (adjacent[x / 8]) {
      const Half p{both(c[0]), both(c[1]), both(c[2]), both(c[3]),
                   both(c[4]), both(c[5]), both(c[6]), both(c[7])};
      a = p & 0xFF;
      b = p >> 8;
    } else {
      a = Half{m[c[0].first], m[c[1].first], m[c[2].first], m[c[3].first],
               m[c[4].first], m[c[5].first], m[c[6].first], m[c[7].first]};
      b = Half{m[c[0].second], m[c[1].second], m[c[2].second], m[c[3].second],
               m[c[4].second], m[c[5].second], m[c[6].second], m[c[7].second]};
    }
    Half wa, wb;
    std::memcpy(&wa, weights + x * 2, sizeof wa);
    std::memcpy(&wb, weights + x * 2 + 8, sizeof wb);
    const Bytes out = __builtin_convertvector((a * wa + b * wb + 128) >> 8, Bytes);
    std::memcpy(to + x, &out, sizeof out);
  }
  for (; x < w; ++x)
    to[x] = mixPixels(m[pairs[x].first], pairs[x].firstWeight, m[pairs[x].second], pairs[x].secondWeight);
}

}  // namespace

template <class Pixel>
void ZoomResampler::runPairs(const Pixel* source, int sourceWidth, std::vector<Pixel>& out,
                             std::vector<Pixel>& mixed) {
  const int w = static_cast<int>(columnPairs_.size());
  const int h = static_cast<int>(rowPairs_.size());
  out.resize(static_cast<size_t>(w) * h);
  // The columns' weights as the vectors across take them: per group of
  // pixels, each pixel's first weight in its lanes, then its second.
  constexpr int kGroup = sizeof(Pixel) == 4 ? 4 : 8;
  constexpr int kLanes = sizeof(Pixel);
  columnWeights_.resize(static_cast<size_t>(w) * kLanes * 2);
  adjacent_.assign(static_cast<size_t>(w / kGroup), 1);
  for (int g = 0; g + kGroup <= w; g += kGroup) {
    uint16_t* to = columnWeights_.data() + static_cast<size_t>(g) * kLanes * 2;
    for (int i = 0; i < kGroup; ++i) {
      const Pair& c = columnPairs_[static_cast<size_t>(g + i)];
      if (c.second != c.first + 1) adjacent_[static_cast<size_t>(g / kGroup)] = 0;
      for (int k = 0; k < kLanes; ++k) {
        to[i * kLanes + k] = static_cast<uint16_t>(c.firstWeight);
        to[(kGroup + i) * kLanes + k] = static_cast<uint16_t>(c.secondWeight);
      }
    }
  }
  // Down first, over the picture's columns the frame's row is made of (the
  // pairs go left to right); then across.
  const int lo = columnPairs_.front().first;
  const int hi = columnPairs_.back().second;
  mixed.resize(static_cast<size_t>(hi - lo + 1));
  for (int y = 0; y < h; ++y) {
    const Pair& r = rowPairs_[y];
    mixRows(source + static_cast<size_t>(r.first) * sourceWidth + lo, r.firstWeight,
            source + static_cast<size_t>(r.second) * sourceWidth + lo, r.secondWeight, mixed.data(),
            hi - lo + 1);
    Pixel* to = out.data() + static_cast<size_t>(y) * w;
    mixAcross(mixed.data() - lo, columnPairs_.data(), columnWeights_.data(), adjacent_.data(), to, w);
  }
}

bool ZoomResampler::place(const PictureCache::Picture& p, const PictureState& now, int frameWidth,
                          int frameHeight) {
  result_ = Result{};
  sourcePixels_ = nullptr;
  sourceCoverage_ = nullptr;
  const PictureState& kept = p.state;
  // Views far apart are not worth it (nor views that are not views).
  const double ratio = kept.scale / now.scale;
  if (!usable(kept) || !usable(now) || !(ratio <= kMostZoom && ratio >= 1.0 / kMostZoom)) return false;
  // What the frame shows of the picture's whole layer (its bounds), a
  // tent's reach around it, must have been drawn.
  const double reach = std::max(1.0, ratio);
  const auto needed = [&](int wholeStart, int wholeEnd, int drawnStart, int drawnEnd, double keptOffset,
                          double offset, int frameSize) {
    const double lo =
        std::max<double>(wholeStart, mapEdge(0.0, now.scale, offset, kept.scale, keptOffset) - reach);
    const double hi =
        std::min<double>(wholeEnd, mapEdge(frameSize, now.scale, offset, kept.scale, keptOffset) + reach);
    return lo >= hi || (lo >= drawnStart && hi <= drawnEnd);
  };
  if (!needed(p.whole.left, p.whole.right, p.drawn.left, p.drawn.right, kept.offsetX, now.offsetX,
              frameWidth) ||
      !needed(p.whole.top, p.whole.bottom, p.drawn.top, p.drawn.bottom, kept.offsetY, now.offsetY,
              frameHeight))
    return false;
  if (p.width == 0 || p.height == 0) return true;
  const bool shadow = p.key.kind == PictureKind::Shadow;
  pairs_ = kept.scale <= kPairsUpTo * now.scale;
  columnAxis_ = Axis{kept.scale, kept.offsetX, now.scale, now.offsetX, p.left, p.width, frameWidth};
  rowAxis_ = Axis{kept.scale, kept.offsetY, now.scale, now.offsetY, p.top, p.height, frameHeight};
  int lastColumn = -1, lastRow = -1;
  span(columnAxis_, pairs_, result_.left, lastColumn);
  span(rowAxis_, pairs_, result_.top, lastRow);
  const int w = std::max(0, lastColumn - result_.left + 1);
  const int h = std::max(0, lastRow - result_.top + 1);
  if (w == 0 || h == 0) {
    result_ = Result{result_.left, result_.top, 0, 0, nullptr, nullptr};
    return true;
  }
  result_.width = w;
  result_.height = h;
  sourceWidth_ = p.width;
  // Made to their size now, so that where the pixels will be is known.
  const size_t n = static_cast<size_t>(w) * h;
  if (shadow) {
    sourceCoverage_ = p.coverage.data();
    coverage_.resize(n);
    result_.coverage = coverage_.data();
  } else {
    sourcePixels_ = p.pixels.data();
    pixels_.resize(n);
    result_.pixels = pixels_.data();
  }
  return true;
}

void ZoomResampler::paint() {
  if (result_.width == 0 || result_.height == 0) return;
  if (pairs_) {
    pairTaps(columnPairs_, columnAxis_);
    pairTaps(rowPairs_, rowAxis_);
  } else {
    axisTaps(columns_, columnAxis_);
    axisTaps(rows_, rowAxis_);
  }
  if (pairs_) {
    if (sourceCoverage_) {
      runPairs(sourceCoverage_, sourceWidth_, coverage_, mixedCoverage_);
    } else {
      runPairs(sourcePixels_, sourceWidth_, pixels_, mixedPixels_);
    }
  } else if (sourceCoverage_) {
    run<Coverage>(sourceCoverage_, sourceWidth_, coverage_);
  } else {
    run<Colour>(sourcePixels_, sourceWidth_, pixels_);
  }
}
