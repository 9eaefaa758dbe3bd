#pragma once

// The four work areas of the start menu (1 client archive, 2 call register, 3 agents and work,
// 4 hours summary). main() registers each work area's screen here and the start menu shows it when its
// tile is clicked; the screen is created once, on the first click (createdOnFirstUse). A tile without a
// registered screen does nothing.

#include <QWidget>
#include <functional>
#include <memory>

namespace ombrisa {

using WorkAreaProvider = std::function<QWidget*()>;

void registerWorkArea(int tile, WorkAreaProvider provider); // tile 1..4; an empty provider removes it
QWidget* workArea(int tile);                                // nullptr when none is registered

// A provider that creates the screen on the first request and keeps it in `screen`, which owns it for the
// rest of the run.
template <typename Screen>
WorkAreaProvider createdOnFirstUse(std::unique_ptr<Screen>& screen) {
    return [&screen]() -> QWidget* {
        if (!screen)
            screen = std::make_unique<Screen>();
        return screen.get();
    };
}

} // namespace ombrisa
