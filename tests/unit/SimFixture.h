#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/AppState.h"
#include "platform/sim/SimWindows.h"

namespace vx::test {

// A fresh simulated Windows per test, installed as the active backend, with the program's
// state as Main leaves it (redirection control allowed).
class SimTest : public testing::Test {
protected:
    explicit SimTest(platform::sim::Bitness bitness = platform::sim::Bitness::Windows64)
        : windows_(std::make_unique<platform::sim::SimWindows>(bitness)) {}

    void SetUp() override {
        platform::Install(*windows_);
        ResetState();
        State().redirectionControlAllowed = true;
    }
    void TearDown() override { ResetState(); }

    platform::sim::SimWindows& sim() { return *windows_; }
    const std::vector<std::string>& lines() const { return windows_->debugLines(); }

private:
    std::unique_ptr<platform::sim::SimWindows> windows_;
};

class Sim32Test : public SimTest {
protected:
    Sim32Test() : SimTest(platform::sim::Bitness::Windows32) {}
};

}  // namespace vx::test
