#pragma once

// The four work areas of the start menu (1 client archive, 2 call register, 3 agents and work,
// 4 hours summary). Each work area's screen is created once at start-up; main() registers it here and
// the start menu shows it when its tile is clicked. A tile without a registered screen does nothing.

#include <QWidget>
#include <functional>

namespace ombrisa {

using WorkAreaProvider = std::function<QWidget*()>;

void registerWorkArea(int tile, WorkAreaProvider provider); // tile 1..4; an empty provider removes it
QWidget* workArea(int tile);                                // nullptr when none is registered

} // namespace ombrisa
