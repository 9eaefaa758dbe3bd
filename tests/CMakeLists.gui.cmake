# GUI tests. uisupport/ is shared by every GUI test program: the test implementations of the platform
# services, the UiTest fixture and a main() that creates the QApplication (offscreen) set up as the
# program's own. Every folder tests/ui and tests/ui_<name> becomes one test program linked with it.
find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
file(GLOB OMBRISA_UI_TESTSUPPORT CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/uisupport/*.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/uisupport/*.h)
add_library(ombrisa_ui_testsupport STATIC ${OMBRISA_UI_TESTSUPPORT})
target_include_directories(ombrisa_ui_testsupport PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(ombrisa_ui_testsupport PUBLIC ombrisa_ui ombrisa_print_testsupport Qt6::Test GTest::gtest GTest::gmock)
# One precompiled header for every GUI test program: GoogleTest, Qt Test and the widgets tests use.
if(OMBRISA_PCH)
  target_precompile_headers(ombrisa_ui_testsupport PRIVATE <gtest/gtest.h> <gmock/gmock.h> <QTest> <QSignalSpy>
                            <QApplication> <QString> <QWidget> <QDialog> <QLabel> <QLineEdit> <QComboBox>
                            <QToolButton> <QTemporaryDir>)
endif()


file(GLOB OMBRISA_UI_TEST_FOLDERS LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
     ${CMAKE_CURRENT_SOURCE_DIR}/ui ${CMAKE_CURRENT_SOURCE_DIR}/ui_*)
foreach(folder IN LISTS OMBRISA_UI_TEST_FOLDERS)
  if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${folder})
    ombrisa_test_program(ombrisa_${folder}_tests ${folder} ombrisa_ui_testsupport)
    if(OMBRISA_PCH AND TARGET ombrisa_${folder}_tests)
      target_precompile_headers(ombrisa_${folder}_tests REUSE_FROM ombrisa_ui_testsupport)
    endif()
  endif()
endforeach()

# The shell's tests also run the build step that places the password file.
if(TARGET ombrisa_ui_tests AND TARGET ombrisa-seed-password)
  add_dependencies(ombrisa_ui_tests ombrisa-seed-password)
  target_compile_definitions(ombrisa_ui_tests PRIVATE
    OMBRISA_SEED_PASSWORD_PATH="$<TARGET_FILE:ombrisa-seed-password>")
endif()

# Report engine and report layouts: their own program, with a main() that creates a QGuiApplication; the
# report layer links no widget, and neither does this program.
ombrisa_test_program(ombrisa_report_tests report ombrisa_report)
if(OMBRISA_PCH)
  target_precompile_headers(ombrisa_report_tests PRIVATE <gtest/gtest.h> <QGuiApplication> <QString> <QPainter>)
endif()

# Who is calling: a second start of the program hands its number to the running test.
if(TARGET ombrisa_ui_phone_tests AND TARGET ombrisa)
  target_compile_definitions(ombrisa_ui_phone_tests PRIVATE OMBRISA_PROGRAM_PATH="$<TARGET_FILE:ombrisa>")
  add_dependencies(ombrisa_ui_phone_tests ombrisa)
endif()

# A real accessibility client: accessibility_check.py reads the screens that ombrisa-a11y-screens shows
# over AT-SPI (under Xvfb, with a D-Bus session and the accessibility bus of its own).
add_executable(ombrisa-a11y-screens accessibility/screens.cpp)
target_link_libraries(ombrisa-a11y-screens PRIVATE ombrisa_ui Qt6::Test)
add_test(NAME accessibility_atspi
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/accessibility/run_accessibility_check.sh
                 $<TARGET_FILE:ombrisa-a11y-screens> ${CMAKE_CURRENT_SOURCE_DIR}/accessibility/accessibility_check.py)
set_tests_properties(accessibility_atspi PROPERTIES TIMEOUT 300 ENVIRONMENT "LC_ALL=C.UTF-8")
