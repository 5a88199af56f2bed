# A ZIP of the program folder: Grabwell.exe, language/, readme.txt, Temp/.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Grabwell)
set(CPACK_PACKAGE_VENDOR "Grabwell developers")
set(CPACK_PACKAGE_FILE_NAME ${GRABWELL_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)

# The Windows Installer packages of the same folder (target `msi`), built
# with wixl from installer/Grabwell.wxs: per machine, and per user.
find_program(GRABWELL_WIXL wixl)
if(GRABWELL_WIXL)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(GRABWELL_MSI_ARCH x64)
  else()
    set(GRABWELL_MSI_ARCH x86)
  endif()
  set(GRABWELL_USER_MSI ${CMAKE_BINARY_DIR}/${GRABWELL_PACKAGE_NAME}-per-user.msi)
  set(scopes perMachine perUser)
  set(msis ${GRABWELL_MSI} ${GRABWELL_USER_MSI})
  foreach(scope msi IN ZIP_LISTS scopes msis)
    add_custom_command(OUTPUT ${msi}
      COMMAND bash ${CMAKE_SOURCE_DIR}/installer/build-msi $<TARGET_FILE_DIR:Grabwell>
        ${GRABWELL_MSI_ARCH} ${PROJECT_VERSION} ${msi} ${scope}
      DEPENDS Grabwell grabwell_program_folder ${CMAKE_SOURCE_DIR}/installer/Grabwell.wxs
        ${CMAKE_SOURCE_DIR}/installer/build-msi ${CMAKE_SOURCE_DIR}/resources/grabwell.ico
        ${CMAKE_SOURCE_DIR}/resources/language/chinese.lng ${CMAKE_SOURCE_DIR}/resources/language/English.lng
        ${CMAKE_SOURCE_DIR}/resources/readme.txt
      VERBATIM)
  endforeach()
  add_custom_target(msi DEPENDS ${GRABWELL_MSI} ${GRABWELL_USER_MSI})
endif()
