# Wine unit tests (GoogleTest cross-built from Debian's sources), the fixture
# images they need, and the end-to-end driver with its scenarios.
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(FIXTURE_DIR ${CMAKE_BINARY_DIR}/fixtures)
file(MAKE_DIRECTORY ${FIXTURE_DIR})
set(QD_FIXTURES "")

# A fixture image: NAME.EXT with the resources of RC.
function(qd_fixture name ext rc)
  if(ext STREQUAL "exe")
    add_executable(fx_${name} tests/fixtures/empty_main.c ${rc})
  else()
    add_library(fx_${name} SHARED tests/fixtures/empty.c ${rc})
    set_target_properties(fx_${name} PROPERTIES PREFIX "")
  endif()
  set_target_properties(fx_${name} PROPERTIES OUTPUT_NAME ${name} SUFFIX .${ext}
                        RUNTIME_OUTPUT_DIRECTORY ${FIXTURE_DIR})
  target_include_directories(fx_${name} PRIVATE ${FIXTURE_DIR})
  target_link_options(fx_${name} PRIVATE -s -static)
  set(QD_FIXTURES ${QD_FIXTURES} fx_${name} PARENT_SCOPE)
endfunction()

# A fixture with version information: VALUES are the StringFileInfo lines.
function(qd_version_fixture name ext block translation values)
  set(QD_BLOCK ${block})
  set(QD_TRANSLATION ${translation})
  set(QD_VALUES ${values})
  configure_file(${CMAKE_SOURCE_DIR}/tests/fixtures/version.rc.in ${FIXTURE_DIR}/${name}.rc @ONLY)
  qd_fixture(${name} ${ext} ${FIXTURE_DIR}/${name}.rc)
  set(QD_FIXTURES ${QD_FIXTURES} PARENT_SCOPE)
endfunction()

macro(qd_product name ext product version)
  qd_version_fixture(${name} ${ext} "040904e4" "0x0409, 0x04E4"
    "            VALUE \"ProductName\", \"${product}\\0\"\n            VALUE \"FileVersion\", \"${version}\\0\"")
endmacro()

qd_product(qd_3_0_1_99_0 dll "QuillDeck" "3.0.1.99.0")
qd_product(qd_10_0_0_1 dll "QuillDeck" "10.0.0.1")
qd_product(qd_same dll "QuillDeck" "3.0.1.123.2")
qd_product(qd_inside dll "The QuillDeck Plugin" "2.0")
qd_product(qd_lowercase dll "quilldeck" "1.0")
qd_product(foreign dll "Other Plugin" "1.0")
qd_product(qd_long dll "QuillDeck" "1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890")
qd_product(nav408 exe "Netscape Navigator" "4.08")
qd_product(nav30 exe "Netscape Navigator" "3.0")
qd_product(nav202 exe "Netscape Navigator" "2.02")
qd_product(nav10 exe "Netscape Navigator" "10.0")
qd_product(nav_letter exe "Netscape Navigator" "A1")
qd_product(ie4 exe "Microsoft Internet Explorer" "4.72.3110.8")
qd_version_fixture(qd_no_fileversion dll "040904e4" "0x0409, 0x04E4"
  "            VALUE \"ProductName\", \"QuillDeck\\0\"")
qd_version_fixture(qd_empty_fileversion dll "040904e4" "0x0409, 0x04E4"
  "            VALUE \"ProductName\", \"QuillDeck\"\n            VALUE \"FileVersion\", \"\"")
qd_version_fixture(qd_second_translation dll "040704b0" "0x0409, 0x04E4, 0x0407, 0x04B0"
  "            VALUE \"ProductName\", \"QuillDeck\\0\"\n            VALUE \"FileVersion\", \"9.9\\0\"")
qd_version_fixture(qd_german dll "040704b0" "0x0407, 0x04B0"
  "            VALUE \"ProductName\", \"QuillDeck\\0\"\n            VALUE \"FileVersion\", \"3.5\\0\"")
qd_fixture(no_version dll ${CMAKE_SOURCE_DIR}/tests/fixtures/no_version.rc)
qd_fixture(nav_high exe ${CMAKE_SOURCE_DIR}/tests/fixtures/nav_high.rc)

# Modules whose "myprog" or "qdclass" is missing, empty or damaged.
add_custom_command(
  OUTPUT ${FIXTURE_DIR}/truncated.dl_ ${FIXTURE_DIR}/empty.bin ${FIXTURE_DIR}/mode_b.dl_ ${FIXTURE_DIR}/plain.bin
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/fixtures/make_payload_fixtures.py
          ${PAYLOAD_DIR}/NpQDK32.dl_ ${FIXTURE_DIR}
  DEPENDS ${PAYLOAD_DIR}/NpQDK32.dl_ ${CMAKE_SOURCE_DIR}/tests/fixtures/make_payload_fixtures.py)
add_custom_target(payload_fixtures DEPENDS ${FIXTURE_DIR}/truncated.dl_)
foreach(kind truncated empty mode_b plain no_payload)
  qd_fixture(res_${kind} dll ${CMAKE_SOURCE_DIR}/tests/fixtures/res_${kind}.rc)
  add_dependencies(fx_res_${kind} payload_fixtures)
endforeach()

add_library(test_common STATIC tests/common/window_reader.cpp tests/common/files.cpp)
target_include_directories(test_common PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
target_compile_options(test_common PRIVATE ${WARNINGS})
target_link_libraries(test_common PUBLIC gdi32 user32 advapi32)

# The unit tests link the program's operations and its resources.
add_executable(wine_tests
  tests/wine/responder.cpp tests/wine/helpers.cpp
  tests/wine/extract_test.cpp tests/wine/probes_test.cpp tests/wine/dialog_test.cpp
  tests/wine/version_test.cpp tests/wine/install_test.cpp tests/wine/class_archive_test.cpp
  tests/wine/resources_test.cpp ${QD_RC})
add_dependencies(wine_tests payloads ${QD_FIXTURES})
target_include_directories(wine_tests PRIVATE ${CMAKE_SOURCE_DIR}/resources ${PAYLOAD_DIR})
target_compile_options(wine_tests PRIVATE ${WARNINGS})
target_compile_definitions(wine_tests PRIVATE QD_FIXTURE_DIR="${FIXTURE_DIR}" QD_PAYLOAD_DIR="${PAYLOAD_DIR}")
target_link_libraries(wine_tests qdcore test_common gtest gtest_main)
target_link_options(wine_tests PRIVATE -static)

add_executable(e2e_driver tests/e2e/driver.cpp)
target_compile_options(e2e_driver PRIVATE ${WARNINGS})
target_link_libraries(e2e_driver test_common advapi32 version)
target_link_options(e2e_driver PRIVATE -static)
add_dependencies(e2e_driver ${QD_FIXTURES})

# A control program that imports lz32.dll the ordinary way, to show that a
# DLL planted beside a program is loaded by such a program.
add_executable(planted_control tests/e2e/planted_control.c)
target_link_libraries(planted_control lz32)
set_target_properties(planted_control PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${FIXTURE_DIR})
add_dependencies(e2e_driver planted_control planted_lz32)
add_library(planted_lz32 SHARED tests/e2e/planted_lz32.c tests/e2e/planted_lz32.def)
target_link_options(planted_lz32 PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
set_target_properties(planted_lz32 PROPERTIES PREFIX "" OUTPUT_NAME lz32 RUNTIME_OUTPUT_DIRECTORY ${FIXTURE_DIR}/planted)

set(WINE wine)
add_test(NAME wine.unit COMMAND ${WINE} $<TARGET_FILE:wine_tests>)
set_tests_properties(wine.unit PROPERTIES LABELS wine TIMEOUT 400)

add_test(NAME wine.images COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tests/check_images.py ${CMAKE_SOURCE_DIR}
         ${CMAKE_SOURCE_DIR}/dist/win32/setup.exe ${CMAKE_SOURCE_DIR}/dist/x64/setup.exe)
set_tests_properties(wine.images PROPERTIES LABELS wine)

# One e2e test for each scenario file in FOLDER, run by the command that
# follows (the driver, or a wrapper that prepares the world and runs it).
function(qd_scenarios folder)
  file(GLOB scenarios CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/${folder}/*.scn)
  foreach(scenario ${scenarios})
    get_filename_component(name ${scenario} NAME_WE)
    add_test(NAME e2e.${name}
             COMMAND ${ARGN} $<TARGET_FILE:e2e_driver> $<TARGET_FILE:setup> ${scenario} ${FIXTURE_DIR}
                     ${CMAKE_BINARY_DIR}/shots/${name})
    # 77: the wrapper could not prepare its world here (a tmpfs needs root).
    set_tests_properties(e2e.${name} PROPERTIES LABELS e2e TIMEOUT 120 RUN_SERIAL ON SKIP_RETURN_CODE 77)
  endforeach()
endfunction()

qd_scenarios(scenarios ${WINE})
# On a full disk: a tiny tmpfs mapped as drive Q: for the test.
qd_scenarios(tmpfs bash ${CMAKE_SOURCE_DIR}/tests/e2e/tmpfs/run.sh)

if(QD_NATIVE_DIR)
  add_test(NAME native.szdd COMMAND ${QD_NATIVE_DIR}/native_tests)
  set_tests_properties(native.szdd PROPERTIES LABELS native)
  add_test(NAME native.szdd_tool COMMAND bash ${CMAKE_SOURCE_DIR}/tests/native/szdd_tool_test.sh ${QD_NATIVE_DIR}/szdd)
  set_tests_properties(native.szdd_tool PROPERTIES LABELS native)
endif()
if(QD_FUZZ_DIR)
  foreach(target fuzz_expand fuzz_roundtrip)
    # New inputs go to the first folder, a scratch one: the seeds stay as committed.
    add_test(NAME native.${target}
             COMMAND sh -c "mkdir -p '${CMAKE_BINARY_DIR}/fuzz-work/${target}' && exec '${QD_FUZZ_DIR}/${target}' -max_total_time=15 -seed=1 -artifact_prefix='${CMAKE_BINARY_DIR}/fuzz-work/${target}-' '${CMAKE_BINARY_DIR}/fuzz-work/${target}' '${CMAKE_SOURCE_DIR}/tests/fuzz/corpus'")
    set_tests_properties(native.${target} PROPERTIES LABELS native)
  endforeach()
endif()
