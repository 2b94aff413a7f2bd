# The Windows starter "evplay.exe" of every disc folder: a small Win32 program that opens index.html beside it in
# the default browser. It is cross-built with MinGW-w64 in every configuration and becomes the resource
# "WINSTARTER" of the programs that link vellora_winstarter_resource (see the end of CMakeLists.txt).
#
# The compiler is called directly, not through a CMake target, so none of this build's own options (sanitizers,
# warnings, the Linux linker flags) reach the Windows program. It is linked statically (no MinGW DLLs on the
# user's machine) and without a time stamp, so the same source always gives the same bytes. Its icon is the disc
# icon of DiscIcon.cmake, which must be included first.
find_program(MINGW_CXX NAMES x86_64-w64-mingw32-g++ REQUIRED)
find_program(MINGW_WINDRES NAMES x86_64-w64-mingw32-windres REQUIRED)

set(WINSTARTER_DIR ${CMAKE_BINARY_DIR}/generated/winstart)
set(WINSTARTER_EXE ${WINSTARTER_DIR}/evplay.exe)
set(WINSTARTER_SOURCE ${CMAKE_SOURCE_DIR}/src/winstart/WinStart.cpp)
set(WINSTARTER_RC ${CMAKE_SOURCE_DIR}/src/winstart/WinStart.rc)
set(WINSTARTER_RES ${WINSTARTER_DIR}/WinStart.res.o)
get_filename_component(WINSTARTER_ICON_DIR ${DISC_ICON} DIRECTORY)

add_custom_command(OUTPUT ${WINSTARTER_RES}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${WINSTARTER_DIR}
  COMMAND ${MINGW_WINDRES} -I ${WINSTARTER_ICON_DIR} -O coff -i ${WINSTARTER_RC} -o ${WINSTARTER_RES}
  DEPENDS ${WINSTARTER_RC} ${DISC_ICON}
  COMMENT "Compiling the Windows starter's icon and version"
  VERBATIM)
add_custom_command(OUTPUT ${WINSTARTER_EXE}
  COMMAND ${MINGW_CXX} -std=c++20 -Os -s -Wall -Wextra -fno-exceptions -fno-rtti
          -static -municode -mwindows -Wl,--no-insert-timestamp
          -o ${WINSTARTER_EXE} ${WINSTARTER_SOURCE} ${WINSTARTER_RES} -lole32 -lshell32
  DEPENDS ${WINSTARTER_SOURCE} ${WINSTARTER_RES}
  COMMENT "Cross-building the Windows starter evplay.exe"
  VERBATIM)
add_custom_target(vellora-winstarter ALL DEPENDS ${WINSTARTER_EXE})

# The built starter as the resource "WINSTARTER": an object library whose resources register themselves before
# main runs, like the disc icon's.
set(WINSTARTER_QRC ${CMAKE_BINARY_DIR}/generated/winstarter_resource.qrc)
set(WINSTARTER_QRC_CPP ${CMAKE_BINARY_DIR}/generated/qrc_winstarter_resource.cpp)
file(GENERATE OUTPUT ${WINSTARTER_QRC} CONTENT
  "<RCC><qresource prefix=\"/resources\"><file alias=\"WINSTARTER\">${WINSTARTER_EXE}</file></qresource></RCC>\n")
add_custom_command(OUTPUT ${WINSTARTER_QRC_CPP}
  COMMAND Qt6::rcc --name winstarter_resource --output ${WINSTARTER_QRC_CPP} ${WINSTARTER_QRC}
  DEPENDS ${WINSTARTER_EXE} ${WINSTARTER_QRC}
  COMMENT "Embedding the Windows starter as a resource"
  VERBATIM)
add_library(vellora_winstarter_resource OBJECT ${WINSTARTER_QRC_CPP})
set_source_files_properties(${WINSTARTER_QRC_CPP} PROPERTIES SKIP_AUTOGEN ON GENERATED ON)
target_link_libraries(vellora_winstarter_resource PRIVATE Qt6::Core)
set_target_properties(vellora_winstarter_resource PROPERTIES AUTOMOC OFF AUTORCC OFF)
