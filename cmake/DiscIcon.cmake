# The disc icon "data/ev.ico" of every disc folder. A small program of ours paints it at build time; the file
# becomes the resource "AUTORUNICON" of every program that links vellora_core. The resource's object file is
# handed to the programs themselves (a static archive would drop it, since nothing refers to it by name), and it
# registers itself before main runs.
add_executable(vellora-discicon ${CMAKE_SOURCE_DIR}/tools/discicon/DiscIconMain.cpp)
target_link_libraries(vellora-discicon PRIVATE Qt6::Gui)
set_target_properties(vellora-discicon PROPERTIES AUTOMOC OFF AUTORCC OFF)

set(DISC_ICON ${CMAKE_BINARY_DIR}/generated/ev.ico)
set(DISC_ICON_QRC ${CMAKE_BINARY_DIR}/generated/disc_icon.qrc)
set(DISC_ICON_CPP ${CMAKE_BINARY_DIR}/generated/qrc_disc_icon.cpp)
add_custom_command(OUTPUT ${DISC_ICON}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:vellora-discicon> ${DISC_ICON}
  DEPENDS vellora-discicon
  COMMENT "Painting the disc icon"
  VERBATIM)
file(GENERATE OUTPUT ${DISC_ICON_QRC} CONTENT
  "<RCC><qresource prefix=\"/resources\"><file alias=\"AUTORUNICON\">${DISC_ICON}</file></qresource></RCC>\n")
add_custom_command(OUTPUT ${DISC_ICON_CPP}
  COMMAND Qt6::rcc --name disc_icon --output ${DISC_ICON_CPP} ${DISC_ICON_QRC}
  DEPENDS ${DISC_ICON} ${DISC_ICON_QRC}
  COMMENT "Embedding the disc icon as a resource"
  VERBATIM)
add_library(vellora_icon_resource OBJECT ${DISC_ICON_CPP})
set_source_files_properties(${DISC_ICON_CPP} PROPERTIES SKIP_AUTOGEN ON GENERATED ON)
target_link_libraries(vellora_icon_resource PRIVATE Qt6::Core)
set_target_properties(vellora_icon_resource PROPERTIES AUTOMOC OFF AUTORCC OFF)
target_sources(vellora_core INTERFACE $<TARGET_OBJECTS:vellora_icon_resource>)
add_dependencies(vellora_core vellora_icon_resource)
