// The toolkit's conformance cases over the unit tests' fake.
#include "tests/saver/support/fake_toolkit.h"
#include "tests/saver/toolkit/conformance/form_cases.h"

namespace {

TEST(FakeConformance, FormLifeCycle) {
  for (const conformance::FormCase& c : conformance::FormCases()) {
    testsupport::FakeApplication app;
    conformance::RunFormCase(app, c);
  }
}

}  // namespace
