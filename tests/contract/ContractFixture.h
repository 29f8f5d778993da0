#pragma once
#include <gtest/gtest.h>

#include "common/AppState.h"
#include "contract/ContractWorld.h"

namespace vx::contract {

// Every contract test starts from the start-up state of the program: redirection control
// allowed, nothing switched off.
class ContractTest : public testing::Test {
protected:
    void SetUp() override {
        ResetState();
        State().redirectionControlAllowed = true;
    }
    void TearDown() override { ResetState(); }

    platform::Platform& system() { return World().backend(); }
};

}  // namespace vx::contract
