#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/InputMapping.h"
#include "platform/glut/GlutKeys.h"
#include "platform/glut/RendererChoice.h"

TEST(RendererChoice, SoftwareWhereOpenGLRasterizesOnTheCpuUnlessTheSettingSaysOtherwise) {
  const char* llvmpipe = "llvmpipe (LLVM 15.0.6, 256 bits)";
  const char* gpu = "AMD Radeon RX 6600 (navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)";
  const struct {
    const char* setting;
    const char* glRenderer;
    Renderer chosen;
    bool complaint;
  } table[] = {
      {nullptr, llvmpipe, Renderer::Software, false},
      {"", "Gallium 0.4 on softpipe", Renderer::Software, false},
      {nullptr, "Software Rasterizer (swrast)", Renderer::Software, false},
      {nullptr, gpu, Renderer::OpenGL, false},
      {nullptr, nullptr, Renderer::OpenGL, false},  // no answer from OpenGL
      {"gl", llvmpipe, Renderer::OpenGL, false},
      {"GL", llvmpipe, Renderer::OpenGL, false},
      {"software", gpu, Renderer::Software, false},
      {"vulkan", llvmpipe, Renderer::Software, true},
      {"vulkan", gpu, Renderer::OpenGL, true},
  };
  for (const auto& row : table) {
    std::string complaint;
    EXPECT_EQ(chooseRenderer(row.setting, row.glRenderer, complaint), row.chosen)
        << (row.setting ? row.setting : "(unset)") << " / " << (row.glRenderer ? row.glRenderer : "(none)");
    EXPECT_EQ(!complaint.empty(), row.complaint) << complaint;
  }
}

TEST(GlutKeys, ArrowsHomeAndF1BecomeTheGamesCodesAndOtherKeysStay) {
  EXPECT_EQ(mapSpecialKey(GLUT_KEY_DOWN), kKeyDown);
  EXPECT_EQ(mapSpecialKey(GLUT_KEY_LEFT), kKeyLeft);
  // GLUT's Home is 106, a "j" to the game; F1 is 1.
  EXPECT_EQ(mapSpecialKey(GLUT_KEY_HOME), kKeyHome);
  EXPECT_EQ(mapSpecialKey(GLUT_KEY_F1), kKeyF1);
  EXPECT_EQ(mapSpecialKey(GLUT_KEY_F2), GLUT_KEY_F2);
}
