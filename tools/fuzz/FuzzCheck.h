#pragma once
// What every fuzz target shares: a property that does not hold aborts with the input's story,
// which libFuzzer reports as a crash and keeps as a finding.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace vx::fuzz {

inline void Check(bool holds, const char* property, const std::string& detail = {}) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::fwrite(detail.data(), 1, detail.size(), stderr);
        std::fputc('\n', stderr);
        std::abort();
    }
}

}  // namespace vx::fuzz
