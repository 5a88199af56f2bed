#pragma once
// What a long run or a bad input could leak: the handles the RAII layer
// counts, the GDI objects the system itself keeps for the process (a raw
// handle never given to the layer shows there), and the handle count and
// memory the system reports for the whole process.
#include <array>
#include <cstdint>
#include <ostream>

#include "platform/unique_any.h"

namespace grabwell::test {

// The process's GDI objects, read from the handle table the system maps into
// every process (Windows, and Wine 7 and later); else from GetGuiResources,
// a stub under Wine that answers 0; else unknown.
struct GdiObjects {
    enum class Source { None, HandleTable, GuiResources };
    Source source = Source::None;
    long total = 0;
    // From the table only, by its type byte: DC 1, region 4, bitmap 5,
    // palette 8, font 0x0a, brush 0x10, pen 0x30.
    std::array<long, 128> byType{};
    bool known() const { return source != Source::None; }
    static GdiObjects Now();
    friend bool operator==(const GdiObjects&, const GdiObjects&) = default;
};
void PrintTo(const GdiObjects& objects, std::ostream* out);
// Without either count, only running out of this many handles shows a leak.
constexpr int kGdiHandleTableSize = 0x10000;

struct HandleSnapshot {
    std::array<long, static_cast<std::size_t>(platform::HandleKind::Count)> live{};
    GdiObjects gdi;
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
