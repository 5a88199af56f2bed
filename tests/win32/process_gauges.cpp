#include "process_gauges.h"

#include <psapi.h>

namespace grabwell::test {

namespace {

// One entry of the GDI handle table (the PEB's GdiSharedHandleTable), laid
// out alike by 64-bit Windows and by Wine of either width. 32-bit Windows
// has entries of 16 bytes and is left to GetGuiResources.
struct GdiTableEntry {
    std::uint64_t object;      // Wine keeps it in a freed entry: no sign of use
    std::uint16_t processId;   // Wine 8 leaves it 0: its table holds only ours
    std::uint16_t count;
    std::uint16_t upper;
    std::uint8_t type;         // 0 in a free entry
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiTableEntry) == 24);

const GdiTableEntry* GdiHandleTable() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
#ifdef _WIN64
    constexpr std::size_t kTableInPeb = 0xF8;
#else
    constexpr std::size_t kTableInPeb = 0x94;
    if (!::GetProcAddress(ntdll, "wine_get_version")) return nullptr;
#endif
    using GetPeb = const BYTE*(WINAPI*)();
    const auto currentPeb = reinterpret_cast<GetPeb>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetCurrentPeb")));
    const BYTE* peb = currentPeb ? currentPeb() : nullptr;
    return peb ? *reinterpret_cast<const GdiTableEntry* const*>(peb + kTableInPeb) : nullptr;
}

}  // namespace

GdiObjects GdiObjects::Now() {
    GdiObjects objects;
    if (const GdiTableEntry* table = GdiHandleTable()) {
        bool owned = false;
        for (int i = 0; i < kGdiHandleTableSize && !owned; ++i) owned = table[i].processId != 0;
        const auto ours = static_cast<std::uint16_t>(::GetCurrentProcessId());
        for (int i = 0; i < kGdiHandleTableSize; ++i) {
            const GdiTableEntry& entry = table[i];
            if (entry.type == 0 || (owned && entry.processId != ours)) continue;
            ++objects.byType[entry.type & 0x7F];
            ++objects.total;
        }
        if (objects.total > 0) {
            objects.source = Source::HandleTable;
            return objects;
        }
        objects = {};
    }
    if (const DWORD gui = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); gui > 0) {
        objects.source = Source::GuiResources;
        objects.total = static_cast<long>(gui);
    }
    return objects;
}

void PrintTo(const GdiObjects& objects, std::ostream* out) {
    if (!objects.known()) {
        *out << "{gdi=?}";
        return;
    }
    *out << "{gdi=" << objects.total << std::hex;
    for (std::size_t type = 0; type < objects.byType.size(); ++type) {
        if (objects.byType[type]) {
            *out << " " << type << ":" << std::dec << objects.byType[type] << std::hex;
        }
    }
    *out << std::dec << "}";
}

HandleSnapshot HandleSnapshot::Now() {
    HandleSnapshot snapshot;
    for (std::size_t i = 0; i < snapshot.live.size(); ++i) {
        snapshot.live[i] = platform::HandleCounters::Live(static_cast<platform::HandleKind>(i));
    }
    snapshot.gdi = GdiObjects::Now();
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
    *out << "} ";
    PrintTo(snapshot.gdi, out);
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
