include(GoogleTest)
find_package(Qt6 REQUIRED COMPONENTS Test)
find_package(GTest REQUIRED)

# brimwell_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [UI] [WRAPPER <cmd...>])
# One test program, its cases registered with CTest. UI programs get a main that creates a
# QApplication on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
function(brimwell_add_gtest name)
    cmake_parse_arguments(ARG "UI" "" "SOURCES;LIBS;WRAPPER" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    if(ARG_UI)
        target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/ui_test_main.cpp)
        target_link_libraries(${name} PRIVATE brimwell_ui Qt6::Test GTest::gtest GTest::gmock ${ARG_LIBS})
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main GTest::gmock ${ARG_LIBS})
    endif()
    if(ARG_WRAPPER)
        # Cases found from the source so that listing needs no wrapper at build time.
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
        set_property(TARGET ${name} PROPERTY CROSSCOMPILING_EMULATOR ${ARG_WRAPPER})
    else()
        gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()
