// The yardstick: the smallest SDL2 + GL 1.1 program that draws this scene's
// load (two full-view blended quads and forty small ones, three mipmapped
// textures of the same sizes) at 1024 x 768, with nothing else.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>

#include <vector>

namespace {

GLuint Texture(int size, unsigned char r, unsigned char g, unsigned char b) {
  std::vector<unsigned char> pixels(static_cast<std::size_t>(size) * size * 3);
  for (std::size_t i = 0; i < pixels.size(); i += 3) {
    pixels[i] = b;
    pixels[i + 1] = g;
    pixels[i + 2] = r;
  }
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 3, size, size, 0x80E0 /* GL_BGR_EXT */, GL_UNSIGNED_BYTE, pixels.data());
  return name;
}

void Quad(float h) {
  glBegin(GL_TRIANGLES);
  glTexCoord2f(1, 1); glVertex3f(h, h, 0);
  glTexCoord2f(0, 1); glVertex3f(-h, h, 0.5f);
  glTexCoord2f(0, 0); glVertex3f(-h, -h, 0);
  glTexCoord2f(1, 1); glVertex3f(h, h, 0);
  glTexCoord2f(0, 0); glVertex3f(-h, -h, 0);
  glTexCoord2f(1, 0); glVertex3f(h, -h, 0.5f);
  glEnd();
}

}  // namespace

int main() {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_Window* window = SDL_CreateWindow("bare", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
  if (!window) return 1;
  SDL_GLContext context = SDL_GL_CreateContext(window);
  if (!context) return 1;
  glViewport(0, 0, 1024, 768);
  glMatrixMode(GL_PROJECTION);
  gluPerspective(45.0, 1024.0 / 768.0, 1.0, 1000.0);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_TEXTURE_2D);
  glBlendFunc(GL_ONE, GL_SRC_ALPHA);
  glEnable(GL_BLEND);
  const GLuint small = Texture(128, 40, 200, 90);
  const GLuint skies[2] = {Texture(256, 60, 90, 230), Texture(256, 0, 0, 255)};
  float angle = 0;
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (event.type == SDL_QUIT) return 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int i = 0; i < 2; ++i) {
      glLoadIdentity();
      glBindTexture(GL_TEXTURE_2D, skies[i]);
      glTranslatef(0, 0, -50);
      glRotatef(angle * (i ? -1.0f : 1.0f), 0, 0, 1);
      Quad(36);
    }
    for (int i = 0; i < 40; ++i) {
      glLoadIdentity();
      glBindTexture(GL_TEXTURE_2D, small);
      glTranslatef(static_cast<float>(i % 8) * 4 - 16, static_cast<float>(i / 8) * 6 - 12, -30.0f - i % 5);
      glRotatef(45, 1, 0, 0);
      glRotatef(angle * 3, 0, 0, 1);
      glTranslatef(4, 0, 0);
      Quad(1);
    }
    angle += 0.5f;
    glFlush();
    SDL_GL_SwapWindow(window);
  }
}
