#include "platform/glut/RendererChoice.h"

#include <algorithm>
#include <cctype>

namespace {

std::string lowered(const char* text) {
  std::string s = text ? text : "";
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool isSoftwareRasterizer(const char* glRenderer) {
  const std::string name = lowered(glRenderer);
  for (const char* known : {"llvmpipe", "softpipe", "swrast"}) {
    if (name.find(known) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

Renderer chooseRenderer(const char* setting, const char* glRenderer, std::string& complaint) {
  complaint.clear();
  const std::string wanted = lowered(setting);
  if (wanted == "gl") return Renderer::OpenGL;
  if (wanted == "software") return Renderer::Software;
  if (!wanted.empty()) {
    complaint = "verlomba: VERLOMBA_RENDERER=" + std::string(setting) +
                " is neither \"gl\" nor \"software\"; choosing by the OpenGL renderer";
  }
  return isSoftwareRasterizer(glRenderer) ? Renderer::Software : Renderer::OpenGL;
}

const char* rendererName(Renderer renderer) {
  return renderer == Renderer::Software ? "software" : "gl";
}
