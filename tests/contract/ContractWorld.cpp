#include "contract/ContractWorld.h"

#include <stdexcept>

namespace vx::contract {
namespace {
std::unique_ptr<ContractWorld> current;
int folderCounter = 0;
}  // namespace

ContractWorld& World() {
    if (!current) {
        throw std::logic_error("no contract world chosen");
    }
    return *current;
}

void SetWorld(std::unique_ptr<ContractWorld> world) {
    current = std::move(world);
    platform::Install(current->backend());
}

std::string Variable(const std::string& name) {
    return World().backend().environment().variable(name);
}

std::string FreshFolder(const std::string& tag) {
    auto& files = World().backend().files();
    const std::string base = Variable("TEMP") + "\\vxcontract";
    static_cast<void>(files.createDirectory(base));
    // The tick makes names unique across runs in one prefix, the counter within a run.
    const std::string folder = base + "\\" + tag + "-" +
                               std::to_string(World().backend().processes().tickMilliseconds()) +
                               "-" + std::to_string(++folderCounter);
    if (files.createDirectory(folder) != platform::kSuccess) {
        throw std::runtime_error("cannot create " + folder);
    }
    return folder;
}

}  // namespace vx::contract
