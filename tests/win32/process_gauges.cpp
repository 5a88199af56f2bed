#include "process_gauges.h"

#include <psapi.h>

namespace grabwell::test {

HandleSnapshot HandleSnapshot::Now() {
    HandleSnapshot snapshot;
    for (std::size_t i = 0; i < snapshot.live.size(); ++i) {
        snapshot.live[i] = platform::HandleCounters::Live(static_cast<platform::HandleKind>(i));
    }
    return snapshot;
}

void PrintTo(const HandleSnapshot& snapshot, std::ostream* out) {
    static constexpr const char* kNames[] = {"dc",     "windowDc", "gdi",    "key",   "kernel",
                                             "menu",   "icon",     "memory", "module"};
    static_assert(std::size(kNames) == static_cast<std::size_t>(platform::HandleKind::Count));
    *out << "{";
    for (std::size_t i = 0; i < snapshot.live.size(); ++i) {
        *out << (i ? " " : "") << kNames[i] << "=" << snapshot.live[i];
    }
    *out << "}";
}

ProcessGauges ProcessGauges::Now() {
    ProcessGauges gauges;
    DWORD handles = 0;
    // Wine 8 answers TRUE with a count of 0: no count at all.
    if (::GetProcessHandleCount(::GetCurrentProcess(), &handles) && handles > 0) {
        gauges.handlesKnown = true;
        gauges.handles = handles;
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    if (::K32GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory)) &&
        memory.PagefileUsage != 0 && memory.WorkingSetSize != 0) {
        gauges.memoryKnown = true;
        gauges.pagefileUsage = memory.PagefileUsage;
        gauges.workingSet = memory.WorkingSetSize;
    }
    return gauges;
}

void PrintTo(const ProcessGauges& gauges, std::ostream* out) {
    *out << "{handles=";
    if (gauges.handlesKnown) *out << gauges.handles; else *out << "?";
    *out << " pagefile=";
    if (gauges.memoryKnown) *out << gauges.pagefileUsage / 1024 << "K"; else *out << "?";
    *out << " workingSet=";
    if (gauges.memoryKnown) *out << gauges.workingSet / 1024 << "K"; else *out << "?";
    *out << "}";
}

}  // namespace grabwell::test
