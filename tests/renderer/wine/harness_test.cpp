// The Wine session every Windows test runs in: a Japanese system with a
// working wave output device, as the saver's music needs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/renderer/wine/renderer_wine.h"

namespace renderer_wine {
namespace {

class WineSessionSetup : public RendererWineTest {};

TEST_F(WineSessionSetup, IsJapaneseAndHasAWaveDevice) {
  const auto run = Run(bin_.probe, {"system"});
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const Fields fields = ParseFields(run.output);
  EXPECT_EQ(Field(fields, "acp"), "932");
  EXPECT_GE(std::atoi(Field(fields, "wavedevices").c_str()), 1) << run.output;
}

}  // namespace
}  // namespace renderer_wine
