#include "renderer/scene.h"

namespace renderer {
namespace {

float Remainder(SceneState& scene, int divisor) {
  return static_cast<float>(NextRandom(scene) % divisor);
}

void Advance(Sprite& sprite) {
  sprite.y -= sprite.fallSpeed;
  sprite.angle += sprite.spinSpeed;
  sprite.fold += sprite.foldSpeed;
}

void ReverseFoldPastLimit(Sprite& sprite, float limit) {
  if (sprite.fold > limit || sprite.fold < -limit) sprite.foldSpeed = -sprite.foldSpeed;
}

}  // namespace

int NextRandom(SceneState& scene) {
  scene.randomState = scene.randomState * 214013u + 2531011u;
  return static_cast<int>((scene.randomState >> 16) & 0x7FFF);
}

// Single precision throughout, with the draws in the order written.
void SpawnFlyer(SceneState& scene, int index) {
  Sprite& s = scene.flyers[index];
  s.textureSlot = 0;
  s.x = Remainder(scene, 34) - 17.0f;
  s.y = 18.0f;
  s.z = -(Remainder(scene, 30000) / 1000.0f + 10.0f);
  s.spinSpeed = Remainder(scene, 10000) / 5000.0f - 1.0f;
  s.fold = 0.0f;
  s.foldSpeed = Remainder(scene, 100) / 500.0f + 0.45f;
  s.fallSpeed = Remainder(scene, 1000) / 10000.0f + 0.001f;
}

// x and z are drawn and stored although a backdrop is always drawn centred:
// the draws they spend shape the rest of the sequence.
void SpawnBackdrop(SceneState& scene, int index) {
  Sprite& s = scene.backdrops[index];
  s.textureSlot = 1 + NextRandom(scene) % 2;
  s.x = Remainder(scene, 2) - 1.0f;
  s.z = -(Remainder(scene, 30000) / 1000.0f + 10.0f);
  s.y = 0.0f;
  s.spinSpeed = (Remainder(scene, 10000) / 5000.0f - 1.0f) / 4.0f;
  s.fold = 0.0f;
  s.foldSpeed = Remainder(scene, 100) / 10000.0f + 0.01f;
  s.fallSpeed = Remainder(scene, 1000) / 10000.0f + 0.001f;
}

void AdvanceFlyer(SceneState& scene, int index) {
  Sprite& s = scene.flyers[index];
  Advance(s);
  if (s.y < RespawnBelowY) SpawnFlyer(scene, index);
  ReverseFoldPastLimit(s, FlyerFoldLimit);
}

void AdvanceBackdrop(SceneState& scene, int index) {
  Sprite& s = scene.backdrops[index];
  Advance(s);
  if (s.y < RespawnBelowY) SpawnBackdrop(scene, index);
  ReverseFoldPastLimit(s, BackdropFoldLimit);
}

void SpawnAll(SceneState& scene) {
  for (int i = 0; i < FlyerCount; ++i) SpawnFlyer(scene, i);
  for (int i = 0; i < BackdropCount; ++i) SpawnBackdrop(scene, i);
}

bool SceneInit(SceneState& scene, RenderWindow& window, KeyStates& keys) {
  scene.window = &window;
  scene.keys = &keys;
  LoadTextures(scene);
  SetSceneGlState();
  SpawnAll(scene);
  return true;
}

void SceneStep(SceneState& scene, std::uint32_t /*elapsedMs: motion is per frame*/) {
  if (scene.keys && (*scene.keys)[VkEscape] == True32 && scene.window) RequestQuit(*scene.window);
}

void SceneRelease(SceneState&) {}

}  // namespace renderer
