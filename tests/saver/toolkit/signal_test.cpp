// A termination signal unloads every form: its unload events run and the
// program ends as the last form goes.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <thread>

#include "tests/support/child_process.h"
#include "tests/saver/support/temp_dir.h"

namespace {

using namespace std::chrono_literals;

bool WaitForLine(const std::string& log, const std::string& line) {
  for (int i = 0; i < 1000; ++i) {
    if (testsupport::ReadBytes(log).find(line + "\n") != std::string::npos) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

TEST(TerminationSignals, UnloadTheFormsAndEndTheLoop) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    testsupport::TempDir folder;
    const std::string log = folder.File("log");
    testsupport::ChildProcess probe;
    ASSERT_TRUE(probe.Start(TOVAREL_TOOLKIT_PROBE, {log, "form"}));
    ASSERT_TRUE(WaitForLine(log, "ready")) << testsupport::ReadBytes(log);
    probe.Signal(signal);
    EXPECT_EQ(probe.Wait(10), 0) << strsignal(signal);
    EXPECT_EQ(testsupport::ReadBytes(log), "load\nready\nquery-unload\nunload\nloop ended 0\n") << strsignal(signal);
  }
}

}  // namespace
