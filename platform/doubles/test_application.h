// The one QApplication of a test program, made on first use (offscreen under
// CTest). Test fixtures call it in SetUp.
#pragma once

class QApplication;

namespace platform::doubles {

QApplication& testApplication();

}  // namespace platform::doubles
