// The one QApplication of a test program, made on first use (offscreen under
// CTest). Test fixtures call it in SetUp.
#pragma once

class QApplication;

namespace platform::testing {

QApplication& testApplication();

}  // namespace platform::testing
