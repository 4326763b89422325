// Running the calling thread's message loop from a test while it waits for something.
#pragma once
#include <windows.h>

#include <functional>

namespace test {

// Dispatches this thread's messages until done() is true or timeoutMs has passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);

}  // namespace test
