// The browser platform's plain C++ parts, on the desktop.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/GlutMenu.h"
#include "platform/web/CanvasBytes.h"
#include "platform/web/WebMenuBackend.h"

namespace {

TEST(WebMenuBackend, ThePageSeesTheMenusAsTheGameBuildsAndRelabelsThem) {
  WebMenuBackend backend;
  GlutMenu menu(backend);
  bool paused = false;
  menu.reset();
  menu.addSubMenu("Game");
  menu.addEntry("Creep Attack", 0);
  menu.addSeparator();
  menu.addEntry("Pause", 8, 0, &paused);
  const int root = backend.attached();
  const int game = menu.subMenuId(0);
  ASSERT_NE(root, 0);
  EXPECT_EQ(backend.describe(root), "M\t" + std::to_string(game) + "\tGame\n");
  EXPECT_EQ(backend.describe(game), "E\t0\tCreep Attack\nE\t-1\t---\nE\t8\tTurn Pause On\n");

  // A pick from the page goes through the menu, which flips and relabels.
  backend.pick(game, 8);
  EXPECT_TRUE(paused);
  EXPECT_EQ(backend.describe(game), "E\t0\tCreep Attack\nE\t-1\t---\nE\t8\tTurn Pause Off\n");
  // Only what the menu holds can be picked: a sub-menu, a stale or
  // unknown id, a menu gone.
  backend.pick(root, game);
  backend.pick(game, 77);
  backend.pick(999, 8);
  EXPECT_TRUE(paused);
  EXPECT_EQ(backend.describe(999), "");
  menu.reset();
  EXPECT_EQ(backend.describe(root), "");
}

TEST(CanvasBytes, EachPixelBecomesOpaqueRgbaBytesRowByRowLeavingTheStrideOut) {
  // Two rows of two pixels in rows of three.
  const std::vector<uint32_t> pixels = {0x112233, 0xFFFFFF, 0xDEAD, 0x000000, 0xAB0000, 0xBEEF};
  std::vector<uint32_t> out(4);
  convertToCanvasBytes({const_cast<uint32_t*>(pixels.data()), 2, 2, 3}, out.data());
  std::vector<unsigned char> bytes(16);
  for (int i = 0; i < 16; ++i) bytes[i] = static_cast<unsigned char>(out[i / 4] >> (8 * (i % 4)));
  EXPECT_EQ(bytes, (std::vector<unsigned char>{0x11, 0x22, 0x33, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  //
                                               0x00, 0x00, 0x00, 0xFF, 0xAB, 0x00, 0x00, 0xFF}));
}

}  // namespace
