#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "renderer/scene.h"

namespace renderer {
namespace {

// The generator as a plain sequence, to say which draw each field takes.
std::vector<int> Draws(int count) {
  SceneState scene;
  std::vector<int> draws;
  for (int i = 0; i < count; ++i) draws.push_back(NextRandom(scene));
  return draws;
}

TEST(SceneGenerator, FirstResultsFromStateOne) {
  EXPECT_EQ(Draws(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
}

TEST(SceneGenerator, StaysInFifteenBits) {
  SceneState scene;
  int highest = 0;
  for (int i = 0; i < 200000; ++i) highest = std::max(highest, NextRandom(scene));
  EXPECT_EQ(highest, 32767);
}

TEST(SceneSpawn, FirstFlyerFromTheInitialState) {
  SceneState scene;
  SpawnAll(scene);
  const Sprite& f = scene.flyers[0];
  EXPECT_EQ(f.textureSlot, 0);
  EXPECT_FLOAT_EQ(f.x, -10.0f);
  EXPECT_FLOAT_EQ(f.y, 18.0f);
  EXPECT_FLOAT_EQ(f.z, -28.467f);
  EXPECT_FLOAT_EQ(f.spinSpeed, 0.2668f);
  EXPECT_FLOAT_EQ(f.foldSpeed, 0.45f);
  EXPECT_FLOAT_EQ(f.fallSpeed, 0.0179f);
  EXPECT_EQ(f.fold, 0.0f);
  EXPECT_EQ(f.angle, 0.0f);
}

TEST(SceneSpawn, FlyersComeBeforeBackdropsAndBackdropsSpendDrawsOnXAndZ) {
  const std::vector<int> d = Draws(40 * 5 + 2 * 6);
  SceneState scene;
  SpawnAll(scene);
  // Flyer 39 takes draws 195..199, then backdrop 0 takes 200..205 in the
  // order slot, x, z, spin, fold speed, fall speed.
  EXPECT_EQ(scene.flyers[39].x, static_cast<float>(d[195] % 34) - 17.0f);
  EXPECT_EQ(scene.flyers[39].fallSpeed, static_cast<float>(d[199] % 1000) / 10000.0f + 0.001f);
  for (int b = 0; b < 2; ++b) {
    const int base = 200 + 6 * b;
    const Sprite& s = scene.backdrops[b];
    EXPECT_EQ(s.textureSlot, 1 + d[base] % 2) << b;
    EXPECT_EQ(s.x, static_cast<float>(d[base + 1] % 2) - 1.0f) << b;
    EXPECT_EQ(s.z, -(static_cast<float>(d[base + 2] % 30000) / 1000.0f + 10.0f)) << b;
    EXPECT_EQ(s.spinSpeed, (static_cast<float>(d[base + 3] % 10000) / 5000.0f - 1.0f) / 4.0f) << b;
    EXPECT_EQ(s.foldSpeed, static_cast<float>(d[base + 4] % 100) / 10000.0f + 0.01f) << b;
    EXPECT_EQ(s.fallSpeed, static_cast<float>(d[base + 5] % 1000) / 10000.0f + 0.001f) << b;
    EXPECT_EQ(s.y, 0.0f);
  }
  SceneState reference;
  for (int i = 0; i < 212; ++i) NextRandom(reference);
  EXPECT_EQ(scene.randomState, reference.randomState);
}

// The generator state whose `steps`-th result is `value`: the generator run
// backwards (214013 is odd, so it has an inverse modulo 2^32).
std::uint32_t StateBefore(int value, int steps) {
  std::uint32_t inverse = 214013u;
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;  // Newton's step, mod 2^32
  std::uint32_t state = static_cast<std::uint32_t>(value) << 16;
  for (int i = 0; i < steps; ++i) state = (state - 2531011u) * inverse;
  return state;
}

// One spawn field: the draw it takes, the remainder's divisor, and the
// value written the single-precision way and the double-precision way.
struct SpawnField {
  const char* name;
  bool backdrop;
  int draw;  // 1-based, in the spawn's order
  int divisor;
  float Sprite::*field;
  float (*single)(int r);
  float (*twice)(int r);  // computed in double, stored as float
};

// Every remainder of every field: the stored bits are exactly those of the
// single-precision computation, and the table holds remainders for which a
// double-precision computation stores other bits, so it would not pass.
TEST(SceneSpawn, SpawnArithmeticIsSinglePrecisionForEveryRemainder) {
  const SpawnField fields[] = {
      {"x", false, 1, 34, &Sprite::x, [](int r) { return static_cast<float>(r) - 17.0f; },
       [](int r) { return static_cast<float>(r - 17.0); }},
      {"z", false, 2, 30000, &Sprite::z, [](int r) { return -(static_cast<float>(r) / 1000.0f + 10.0f); },
       [](int r) { return static_cast<float>(-(r / 1000.0 + 10.0)); }},
      {"spin", false, 3, 10000, &Sprite::spinSpeed, [](int r) { return static_cast<float>(r) / 5000.0f - 1.0f; },
       [](int r) { return static_cast<float>(r / 5000.0 - 1.0); }},
      {"fold speed", false, 4, 100, &Sprite::foldSpeed, [](int r) { return static_cast<float>(r) / 500.0f + 0.45f; },
       [](int r) { return static_cast<float>(r / 500.0 + 0.45); }},
      {"fall speed", false, 5, 1000, &Sprite::fallSpeed,
       [](int r) { return static_cast<float>(r) / 10000.0f + 0.001f; },
       [](int r) { return static_cast<float>(r / 10000.0 + 0.001); }},
      {"backdrop z", true, 3, 30000, &Sprite::z, [](int r) { return -(static_cast<float>(r) / 1000.0f + 10.0f); },
       [](int r) { return static_cast<float>(-(r / 1000.0 + 10.0)); }},
      {"backdrop spin", true, 4, 10000, &Sprite::spinSpeed,
       [](int r) { return (static_cast<float>(r) / 5000.0f - 1.0f) / 4.0f; },
       [](int r) { return static_cast<float>((r / 5000.0 - 1.0) / 4.0); }},
      {"backdrop fold speed", true, 5, 100, &Sprite::foldSpeed,
       [](int r) { return static_cast<float>(r) / 10000.0f + 0.01f; },
       [](int r) { return static_cast<float>(r / 10000.0 + 0.01); }},
      {"backdrop fall speed", true, 6, 1000, &Sprite::fallSpeed,
       [](int r) { return static_cast<float>(r) / 10000.0f + 0.001f; },
       [](int r) { return static_cast<float>(r / 10000.0 + 0.001); }},
  };
  for (const SpawnField& f : fields) {
    int wrong = 0, doubleDiffers = 0;
    for (int r = 0; r < f.divisor; ++r) {
      SceneState scene;
      scene.randomState = StateBefore(r, f.draw);
      f.backdrop ? SpawnBackdrop(scene, 0) : SpawnFlyer(scene, 0);
      const Sprite& sprite = f.backdrop ? scene.backdrops[0] : scene.flyers[0];
      const float expected = f.single(r);
      if (std::bit_cast<std::uint32_t>(sprite.*f.field) != std::bit_cast<std::uint32_t>(expected)) {
        if (++wrong <= 3) ADD_FAILURE() << f.name << ", remainder " << r << ": " << sprite.*f.field;
      }
      if (f.twice(r) != expected) ++doubleDiffers;
    }
    EXPECT_EQ(wrong, 0) << f.name;
    if (f.divisor > 34) {
      EXPECT_GT(doubleDiffers, 0) << f.name << ": no remainder tells single from double";
    }
  }
}

struct Range {
  float low = 1e9f, high = -1e9f;
  void Add(float v) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
};

TEST(SceneSpawn, RangesOverManySpawns) {
  SceneState scene;
  Range x, z, spin, foldSpeed, fall, bSpin, bFoldSpeed, bFall;
  bool sawSky = false, sawBlue = false, wholeX = true;
  for (int i = 0; i < 100000; ++i) {
    SpawnFlyer(scene, i % FlyerCount);
    const Sprite& f = scene.flyers[i % FlyerCount];
    x.Add(f.x);
    wholeX = wholeX && f.x == static_cast<float>(static_cast<int>(f.x));
    z.Add(f.z);
    spin.Add(f.spinSpeed);
    foldSpeed.Add(f.foldSpeed);
    fall.Add(f.fallSpeed);
    SpawnBackdrop(scene, i % BackdropCount);
    const Sprite& b = scene.backdrops[i % BackdropCount];
    sawSky = sawSky || b.textureSlot == 1;
    sawBlue = sawBlue || b.textureSlot == 2;
    ASSERT_TRUE(b.textureSlot == 1 || b.textureSlot == 2);
    bSpin.Add(b.spinSpeed);
    bFoldSpeed.Add(b.foldSpeed);
    bFall.Add(b.fallSpeed);
  }
  EXPECT_TRUE(wholeX);
  EXPECT_TRUE(sawSky && sawBlue);
  struct Expect {
    const char* name;
    Range got;
    float low, high;
  } table[] = {
      {"x", x, -17.0f, 16.0f},
      {"z", z, -39.999f, -10.0f},
      {"spin", spin, -1.0f, 0.9998f},
      {"fold speed", foldSpeed, 0.45f, 0.648f},
      {"fall speed", fall, 0.001f, 0.1009f},
      {"backdrop spin", bSpin, -0.25f, 0.24995f},
      {"backdrop fold speed", bFoldSpeed, 0.01f, 0.0199f},
      {"backdrop fall speed", bFall, 0.001f, 0.1009f},
  };
  for (const Expect& e : table) {
    EXPECT_NEAR(e.got.low, e.low, 1e-5f) << e.name;
    EXPECT_NEAR(e.got.high, e.high, 1e-5f) << e.name;
  }
}

struct FoldCase {
  const char* name;
  bool backdrop;
  float fold, foldSpeed;
  bool reverses;
};

TEST(SceneMotion, FoldReversesOnlyPastItsLimit) {
  const FoldCase cases[] = {
      {"flyer passes 1.5", false, 1.4f, 0.2f, true},
      {"flyer reaches exactly 1.5", false, 1.0f, 0.5f, false},
      {"flyer passes -1.5", false, -1.4f, -0.2f, true},
      {"flyer reaches exactly -1.5", false, -1.0f, -0.5f, false},
      {"flyer inside", false, 0.0f, 0.6f, false},
      {"backdrop passes 1", true, 0.995f, 0.0199f, true},
      {"backdrop reaches exactly 1", true, 0.5f, 0.5f, false},
      {"backdrop passes -1", true, -0.995f, -0.01f, true},
      {"flyer at 1.5 but heading back", false, 2.0f, -0.25f, true},
  };
  for (const FoldCase& c : cases) {
    SceneState scene;
    Sprite& s = c.backdrop ? scene.backdrops[0] : scene.flyers[0];
    s.y = 5.0f;
    s.fold = c.fold;
    s.foldSpeed = c.foldSpeed;
    c.backdrop ? AdvanceBackdrop(scene, 0) : AdvanceFlyer(scene, 0);
    EXPECT_EQ(s.foldSpeed, c.reverses ? -c.foldSpeed : c.foldSpeed) << c.name;
    EXPECT_EQ(s.fold, c.fold + c.foldSpeed) << c.name;
  }
}

TEST(SceneMotion, FoldStaysWithinOneStepOfItsLimit) {
  SceneState scene;
  SpawnAll(scene);
  float flyerMax = 0, backdropMax = 0;
  for (int frame = 0; frame < 50000; ++frame) {
    for (int i = 0; i < BackdropCount; ++i) {
      AdvanceBackdrop(scene, i);
      backdropMax = std::max(backdropMax, std::abs(scene.backdrops[i].fold));
    }
    for (int i = 0; i < FlyerCount; ++i) {
      AdvanceFlyer(scene, i);
      flyerMax = std::max(flyerMax, std::abs(scene.flyers[i].fold));
    }
  }
  EXPECT_GT(flyerMax, 1.5f);
  EXPECT_LE(flyerMax, 2.148f + 1e-4f);
  EXPECT_GT(backdropMax, 1.0f);
  EXPECT_LE(backdropMax, 1.0199f + 1e-4f);
}

TEST(SceneMotion, RespawnedSpriteNeverReversesInItsRespawnFrame) {
  SceneState scene;
  Sprite& f = scene.flyers[3];
  f.y = -17.95f;
  f.fallSpeed = 0.1f;
  f.fold = 2.0f;
  f.foldSpeed = 0.5f;
  AdvanceFlyer(scene, 3);
  EXPECT_EQ(f.y, 18.0f);
  EXPECT_EQ(f.fold, 0.0f);
  EXPECT_GE(f.foldSpeed, 0.45f);

  Sprite& b = scene.backdrops[1];
  b.y = -17.99f;
  b.fallSpeed = 0.05f;
  b.fold = 3.0f;
  b.foldSpeed = 0.02f;
  AdvanceBackdrop(scene, 1);
  EXPECT_EQ(b.y, 0.0f);
  EXPECT_GT(b.foldSpeed, 0.0f);
}

TEST(SceneMotion, AngleCarriesThroughRespawnsAndReinitialisation) {
  SceneState scene;
  SpawnAll(scene);
  Sprite& f = scene.flyers[0];
  f.angle = 123.0f;
  f.spinSpeed = 0.5f;
  f.y = -17.99f;
  f.fallSpeed = 0.1f;
  AdvanceFlyer(scene, 0);
  EXPECT_EQ(f.y, 18.0f);
  EXPECT_FLOAT_EQ(f.angle, 123.5f);

  // A new window spawns everything again; angles and generator go on.
  scene.backdrops[1].angle = -40.0f;
  const float angle = f.angle;
  const std::uint32_t state = scene.randomState;
  SpawnAll(scene);
  EXPECT_EQ(f.angle, angle);
  EXPECT_EQ(scene.backdrops[1].angle, -40.0f);
  EXPECT_NE(scene.randomState, state);
  EXPECT_EQ(f.y, 18.0f);
}

TEST(SceneMotion, StepIgnoresElapsedTime) {
  SceneState scene;
  SpawnAll(scene);
  KeyStates keys{};
  scene.keys = &keys;
  const auto before = scene.flyers;
  SceneStep(scene, 100000);
  EXPECT_EQ(0, std::memcmp(before.data(), scene.flyers.data(), sizeof(before)));
}

TEST(SceneMotion, RespawnHappensOnlyBelowMinusEighteen) {
  SceneState scene;
  Sprite& f = scene.flyers[0];
  f.y = -17.5f;
  f.fallSpeed = 0.5f;  // lands exactly on -18: not below
  AdvanceFlyer(scene, 0);
  EXPECT_EQ(f.y, -18.0f);
  EXPECT_EQ(scene.randomState, 1u);
}

}  // namespace
}  // namespace renderer
