#include "renderer/gl.h"
#include "renderer/scene.h"

namespace renderer {

void LoadTextures(SceneState& scene) {
  GLuint names[TextureCount] = {};
  glGenTextures(TextureCount, names);
  for (int slot = 0; slot < TextureCount; ++slot) {
    scene.textures[slot] = names[slot];
    if (!scene.platform) continue;
    const auto bitmap = scene.platform->LoadBitmapResource(TextureResourceIds[slot]);
    if (!bitmap) continue;  // a picture that cannot be read leaves its slot empty
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // bitmap rows are 4-byte aligned
    glBindTexture(GL_TEXTURE_2D, names[slot]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    // Bottom-up rows as they lie: t = 0 is the picture's bottom edge.
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, bitmap->width, bitmap->height, GL_BGR_EXT, GL_UNSIGNED_BYTE,
                      bitmap->bits);
    scene.platform->FreeBitmap(*bitmap);
  }
}

void SetSceneGlState() {
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glDepthFunc(GL_LEQUAL);
  glDisable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
  // No alpha in the pictures and an opaque white colour: each sprite adds.
  glBlendFunc(GL_ONE, GL_SRC_ALPHA);
  glEnable(GL_BLEND);
}

// Two triangles sharing the diagonal (h, h)-(-h, -h); the other corners stand
// out of the plane by `fold`, so the square bends along the creature's body.
void DrawFoldedSquare(float h, float fold) {
  glBegin(GL_TRIANGLES);
  glTexCoord2f(1.0f, 1.0f); glVertex3f(h, h, 0.0f);
  glTexCoord2f(0.0f, 1.0f); glVertex3f(-h, h, fold);
  glTexCoord2f(0.0f, 0.0f); glVertex3f(-h, -h, 0.0f);
  glTexCoord2f(1.0f, 1.0f); glVertex3f(h, h, 0.0f);
  glTexCoord2f(0.0f, 0.0f); glVertex3f(-h, -h, 0.0f);
  glTexCoord2f(1.0f, 0.0f); glVertex3f(h, -h, fold);
  glEnd();
}

void SceneDraw(SceneState& scene) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  for (int i = 0; i < BackdropCount; ++i) {
    const Sprite& s = scene.backdrops[i];
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, scene.textures[s.textureSlot]);
    glTranslatef(0.0f, 0.0f, -50.0f);
    glRotatef(s.angle, 0.0f, 0.0f, 1.0f);
    DrawFoldedSquare(36.0f, s.fold);
    AdvanceBackdrop(scene, i);
  }
  for (int i = 0; i < FlyerCount; ++i) {
    const Sprite& s = scene.flyers[i];
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, scene.textures[s.textureSlot]);
    glTranslatef(s.x, s.y, s.z);
    glRotatef(45.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(s.angle, 0.0f, 0.0f, 1.0f);
    glTranslatef(4.0f, 0.0f, 0.0f);
    DrawFoldedSquare(1.0f, s.fold);
    AdvanceFlyer(scene, i);
  }
  if (scene.platform) scene.platform->Sleep(15);
  glFlush();
}

}  // namespace renderer
