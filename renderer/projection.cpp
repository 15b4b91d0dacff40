#include "renderer/gl.h"
#include "renderer/window.h"

namespace renderer {

// Harmless without a current context: GL ignores the calls then, and the
// projection set once the window is open is the one that counts.
void SetProjection(std::int32_t width, std::int32_t height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), 1.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

}  // namespace renderer
