# One library per folder of src/, one test program per library.

# quillor_add_library(quillor_<part> LINK <libraries>): every source file of the
# calling folder as one static library. A folder with no source yet adds nothing.
function(quillor_add_library name)
    cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    if(NOT sources MATCHES "\\.cpp")
        return()
    endif()
    add_library(${name} STATIC ${sources})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PUBLIC ${ARG_LINK})
endfunction()

# quillor_add_tests(<library> [MAIN gtest|core|widgets] [LINK <libraries>]): the
# tests of the calling folder as <library>_tests. MAIN picks the program's main:
# GoogleTest's own, one that creates a QCoreApplication (event loop), or one that
# creates a QApplication on the offscreen platform.
function(quillor_add_tests library)
    cmake_parse_arguments(ARG "" "MAIN" "LINK" ${ARGN})
    if(NOT TARGET ${library})
        return()
    endif()
    set(target ${library}_tests)
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    add_executable(${target} ${tests} ${PROJECT_SOURCE_DIR}/tests/FrenchTestEnvironment.cpp)
    if(ARG_MAIN STREQUAL "core")
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/CoreApplicationMain.cpp)
    elseif(ARG_MAIN STREQUAL "widgets")
        target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests/ApplicationMain.cpp)
    else()
        target_link_libraries(${target} PRIVATE GTest::gtest_main)
    endif()
    target_link_libraries(${target} PRIVATE ${library} ${ARG_LINK} GTest::gtest)
    target_compile_definitions(${target} PRIVATE QUILLOR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
