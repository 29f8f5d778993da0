#include "common/AppState.h"

namespace vx {
namespace {
AppState state;
}

AppState& State() { return state; }

void ResetState() { state = AppState{}; }

}  // namespace vx
