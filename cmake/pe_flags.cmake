# The security flags of every exe, stated rather than left to the linker's
# defaults, which have changed between binutils releases: a relocatable image
# at a random address, no code run from data pages, and no terminal-server
# compatibility shims. The 32-bit program gets the 4 GB of address space that
# 64-bit Windows gives it (an 8K or multi-monitor capture needs it); the
# 64-bit one gets a 64-bit random base. scripts/check-pe reads them back.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(GRABWELL_PE_FLAGS --dynamicbase --nxcompat --tsaware --large-address-aware)
else()
  set(GRABWELL_PE_FLAGS --dynamicbase --nxcompat --tsaware --high-entropy-va)
endif()
list(JOIN GRABWELL_PE_FLAGS "," GRABWELL_PE_FLAGS)
add_link_options("$<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:LINKER:${GRABWELL_PE_FLAGS}>")
