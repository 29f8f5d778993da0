#include "common/AppState.h"

#include "platform/TextMode.h"

namespace vx {
namespace {
AppState state;
}

AppState& State() { return state; }

void ResetState() {
    state = AppState{};
    platform::SetTextMode(platform::TextMode::Ansi);
}

}  // namespace vx
