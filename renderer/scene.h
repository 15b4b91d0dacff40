#pragma once
// The flyer scene: two turning sky layers and forty winged sprites.
#include <array>
#include <cstdint>

#include "renderer/window.h"

namespace renderer {

struct Sprite {
  std::int32_t textureSlot = 0;
  float x = 0;
  float y = 0;
  float z = 0;
  float fallSpeed = 0;
  float angle = 0;  // never set by a spawn: carries on through respawns
  float spinSpeed = 0;
  float fold = 0;
  float foldSpeed = 0;
};

inline constexpr int BackdropCount = 2;
inline constexpr int FlyerCount = 40;
inline constexpr int TextureCount = 3;
inline constexpr std::array<int, TextureCount> TextureResourceIds{127, 123, 124};
inline constexpr float FlyerFoldLimit = 1.5f;
inline constexpr float BackdropFoldLimit = 1.0f;
inline constexpr float RespawnBelowY = -18.0f;

// Belongs to the program, not to a window: a re-created window spawns the
// sprites again while the angles and the generator go on.
struct SceneState {
  std::array<Sprite, BackdropCount> backdrops{};
  std::array<Sprite, FlyerCount> flyers{};
  std::uint32_t randomState = 1;
  RenderWindow* window = nullptr;
  KeyStates* keys = nullptr;
  Platform* platform = nullptr;
  std::array<std::uint32_t, TextureCount> textures{};
};

int NextRandom(SceneState& scene);
void SpawnFlyer(SceneState& scene, int index);
void SpawnBackdrop(SceneState& scene, int index);
// One frame's motion of one sprite, respawn and fold reversal included.
void AdvanceFlyer(SceneState& scene, int index);
void AdvanceBackdrop(SceneState& scene, int index);
void SpawnAll(SceneState& scene);

bool SceneInit(SceneState& scene, RenderWindow& window, KeyStates& keys);
void SceneStep(SceneState& scene, std::uint32_t elapsedMs);
void SceneDraw(SceneState& scene);
void SceneRelease(SceneState& scene);

// GL side of the scene.
void LoadTextures(SceneState& scene);
void SetSceneGlState();
void DrawFoldedSquare(float halfSize, float fold);

// The scene as the frame loop sees it.
class FlyerScene final : public SceneOps {
 public:
  explicit FlyerScene(Platform& platform) { state_.platform = &platform; }
  bool Init(RenderWindow& window, KeyStates& keys) override { return SceneInit(state_, window, keys); }
  void Step(std::uint32_t elapsedMs) override { SceneStep(state_, elapsedMs); }
  void Draw() override { SceneDraw(state_); }
  void Release() override { SceneRelease(state_); }
  SceneState& State() { return state_; }

 private:
  SceneState state_;
};

}  // namespace renderer
