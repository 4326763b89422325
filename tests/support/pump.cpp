#include "tests/support/pump.h"

namespace test {

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done && done()) return true;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return done ? done() : true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, (timeoutMs - elapsed) < 10 ? (timeoutMs - elapsed) : 10,
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD ms) { PumpUntil(nullptr, ms); }

}  // namespace test
