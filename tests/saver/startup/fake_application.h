#pragma once
// The recording toolkit application of the saver's unit tests.
#include "tests/saver/support/fake_toolkit.h"
