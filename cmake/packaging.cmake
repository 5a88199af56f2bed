# A ZIP of the program folder: Grabwell.exe, language/, readme.txt, Temp/.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Grabwell)
set(CPACK_PACKAGE_VENDOR "Grabwell developers")
set(CPACK_PACKAGE_FILE_NAME "Grabwell-${PROJECT_VERSION}-${CMAKE_SYSTEM_PROCESSOR}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
