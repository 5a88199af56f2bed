#pragma once
// What a long run or a bad input could leak: the handles the RAII layer
// counts (Wine's GetGuiResources is a stub), and the handle count and memory
// the system reports for the whole process.
#include <array>
#include <cstdint>
#include <ostream>

#include "platform/unique_any.h"

namespace grabwell::test {

struct HandleSnapshot {
    std::array<long, static_cast<std::size_t>(platform::HandleKind::Count)> live{};
    static HandleSnapshot Now();
    long operator[](platform::HandleKind kind) const {
        return live[static_cast<std::size_t>(kind)];
    }
    friend bool operator==(const HandleSnapshot&, const HandleSnapshot&) = default;
};
void PrintTo(const HandleSnapshot& snapshot, std::ostream* out);

struct ProcessGauges {
    bool handlesKnown = false;  // GetProcessHandleCount gave a real count
    unsigned long handles = 0;
    bool memoryKnown = false;   // K32GetProcessMemoryInfo answered with non-zero sizes
    std::uint64_t pagefileUsage = 0;
    std::uint64_t workingSet = 0;
    static ProcessGauges Now();
};
void PrintTo(const ProcessGauges& gauges, std::ostream* out);

}  // namespace grabwell::test
