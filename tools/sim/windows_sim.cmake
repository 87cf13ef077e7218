# quorvanel-sim.exe: the headless simulator made by the Windows tool chain and linked with its
# C runtime, so that recorded games can be played under Wine and their ends compared with the
# native builds'. Included by the cross build; the host build's generated resources and glyph
# table (QUORVANEL_RESOURCE_DIR) stand in for FreeType and the resource generator.
foreach(file resources_data.cpp text_glyphs.cpp)
    if(NOT EXISTS ${QUORVANEL_RESOURCE_DIR}/${file})
        message(FATAL_ERROR "${file} is missing in QUORVANEL_RESOURCE_DIR "
                            "(\"${QUORVANEL_RESOURCE_DIR}\"): run `make windows`")
    endif()
endforeach()

file(GLOB sim_soft_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/display/software/*.cpp)
list(FILTER sim_soft_sources EXCLUDE REGEX
     "display/software/(font_file|font_raster|glyphs_freetype)\\.cpp$")
file(GLOB sim_headless_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/shell/headless/*.cpp)
add_executable(quorvanel_sim_windows
               ${CMAKE_SOURCE_DIR}/tools/sim/main.cpp
               ${CMAKE_SOURCE_DIR}/tools/sim/sim_options.cpp
               ${CMAKE_SOURCE_DIR}/tools/sim/sim_run.cpp
               ${CMAKE_SOURCE_DIR}/tools/sim/sim_compare.cpp
               ${CMAKE_SOURCE_DIR}/tools/sim/sim_output.cpp
               ${CMAKE_SOURCE_DIR}/tools/sim/sim_no_png.cpp
               ${sim_soft_sources}
               ${sim_headless_sources}
               ${CMAKE_SOURCE_DIR}/resources/resources.cpp
               ${QUORVANEL_RESOURCE_DIR}/resources_data.cpp
               ${QUORVANEL_RESOURCE_DIR}/text_glyphs.cpp)
set_target_properties(quorvanel_sim_windows PROPERTIES OUTPUT_NAME quorvanel-sim
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
target_include_directories(quorvanel_sim_windows PRIVATE ${CMAKE_SOURCE_DIR})
# A console program that runs on a clean Windows: the C and C++ runtimes linked in.
target_link_options(quorvanel_sim_windows PRIVATE -static -static-libgcc -static-libstdc++)
target_link_libraries(quorvanel_sim_windows PRIVATE quorvanel_core)
