# The security flags of every exe, stated rather than left to the linker's
# defaults, which have changed between releases: a relocatable image at a
# random address, no code run from data pages, and no terminal-server
# compatibility shims. The 32-bit program gets the 4 GB of address space that
# 64-bit Windows gives it (an 8K or multi-monitor capture needs it); the
# 64-bit one gets a 64-bit random base. scripts/check-pe reads them back.
set(GRABWELL_EXE "$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>")
if(MSVC)
  # link.exe can also have the exe's own imports resolved from System32 only
  # (GNU ld has no way to set that flag).
  set(GRABWELL_PE_FLAGS /DYNAMICBASE /NXCOMPAT /TSAWARE /DEPENDENTLOADFLAG:0x800)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    list(APPEND GRABWELL_PE_FLAGS /LARGEADDRESSAWARE)
  else()
    list(APPEND GRABWELL_PE_FLAGS /HIGHENTROPYVA)
  endif()
  add_link_options("$<${GRABWELL_EXE}:${GRABWELL_PE_FLAGS}>")
else()
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(GRABWELL_PE_FLAGS --dynamicbase,--nxcompat,--tsaware,--large-address-aware)
  else()
    set(GRABWELL_PE_FLAGS --dynamicbase,--nxcompat,--tsaware,--high-entropy-va)
  endif()
  add_link_options("$<${GRABWELL_EXE}:LINKER:${GRABWELL_PE_FLAGS}>")
endif()
