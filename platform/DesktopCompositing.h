#pragma once

// A compositing manager blends windows with what lies behind them, so
// see-through windows look see-through; without one they turn black.
namespace DesktopCompositing {

bool isActive();

} // namespace DesktopCompositing
