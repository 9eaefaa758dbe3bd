#include "ui/common/workareas.h"

#include <array>

namespace ombrisa {
namespace {
std::array<WorkAreaProvider, 4>& providers() {
    static std::array<WorkAreaProvider, 4> all;
    return all;
}
} // namespace

void registerWorkArea(int tile, WorkAreaProvider provider) {
    if (tile >= 1 && tile <= 4)
        providers()[static_cast<std::size_t>(tile - 1)] = std::move(provider);
}

QWidget* workArea(int tile) {
    if (tile < 1 || tile > 4)
        return nullptr;
    const auto& provider = providers()[static_cast<std::size_t>(tile - 1)];
    return provider ? provider() : nullptr;
}

} // namespace ombrisa
