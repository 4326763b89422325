// The edge of every export: nothing thrown inside may cross into the caller.
#pragma once

namespace cleaning {

template <typename Body>
int Guarded(Body&& body, int fallback = 0) noexcept {
  try {
    return body();
  } catch (...) {
    return fallback;
  }
}

}  // namespace cleaning
