// Runs the contract suite against the Windows named by --world=NAME (or the only one built).

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

#include "contract/ContractWorld.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    std::string worldName;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--world=", 8) == 0) {
            worldName = argv[i] + 8;
        }
    }
    try {
        vx::contract::SetWorld(vx::contract::MakeWorld(worldName));
    } catch (const std::exception& error) {
        std::cerr << "contract tests: " << error.what() << "\n";
        return 2;
    }
    std::cout << "Contract world: " << vx::contract::World().name() << "\n";
    return RUN_ALL_TESTS();
}
