# Cross build with mingw-w64: the plug-in library, its SZDD form, setup.exe,
# and (option QD_BUILD_TESTS) the Wine unit tests, fixtures and e2e driver.
enable_language(RC)

set(SZDD_TOOL "" CACHE FILEPATH "The native szdd tool that compresses the payload")
option(QD_OWN_EXPANDER "Expand with the built-in SZDD expander, not the LZ service" OFF)
option(QD_BUILD_TESTS "Build the Wine tests and the end-to-end driver" OFF)
set(QD_NATIVE_DIR "" CACHE PATH "Native build tree whose tests are run by this tree's ctest")
find_package(Python3 REQUIRED COMPONENTS Interpreter)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # Windows 95 and NT 4 load images that ask for subsystem and OS 4.0.
  set(QD_OS_VERSION_FLAGS
      -Wl,--major-subsystem-version,4,--minor-subsystem-version,0
      -Wl,--major-os-version,4,--minor-os-version,0)
endif()

# The shipped images: small, static, no exceptions or RTTI, ASLR and DEP on.
set(QD_SHIP_COMPILE -Os $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti> -fno-asynchronous-unwind-tables
    -ffunction-sections -fdata-sections -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
set(QD_SHIP_LINK -static -s -Wl,--gc-sections -Wl,--dynamicbase,--nxcompat
    -Wl,--no-insert-timestamp ${QD_OS_VERSION_FLAGS})

set(PAYLOAD_DIR ${CMAKE_BINARY_DIR}/payload)
file(MAKE_DIRECTORY ${PAYLOAD_DIR})

# The plug-in library, built for the same architecture as setup.exe.
add_library(NpQDK32 SHARED resources/plugin/npqdk32.c resources/plugin/npqdk32.def
            resources/plugin/npqdk32.rc)
set_target_properties(NpQDK32 PROPERTIES PREFIX "" OUTPUT_NAME NpQDK32
                      RUNTIME_OUTPUT_DIRECTORY ${PAYLOAD_DIR})
target_compile_options(NpQDK32 PRIVATE ${WARNINGS} ${QD_SHIP_COMPILE})
target_link_options(NpQDK32 PRIVATE ${QD_SHIP_LINK} -Wl,--kill-at -Wl,--enable-stdcall-fixup)

add_custom_command(
  OUTPUT ${PAYLOAD_DIR}/NpQDK32.dl_
  COMMAND ${SZDD_TOOL} compress $<TARGET_FILE:NpQDK32> ${PAYLOAD_DIR}/NpQDK32.dl_
  COMMAND ${SZDD_TOOL} verify ${PAYLOAD_DIR}/NpQDK32.dl_ $<TARGET_FILE:NpQDK32>
  DEPENDS NpQDK32 ${SZDD_TOOL}
  COMMENT "Compressing the plug-in library (SZDD)")
add_custom_command(
  OUTPUT ${PAYLOAD_DIR}/setup.ico
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/resources/make_icon.py ${PAYLOAD_DIR}/setup.ico
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/make_icon.py)
add_custom_command(
  OUTPUT ${PAYLOAD_DIR}/QDPlugin.zip
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/resources/QDPlugin.zip ${PAYLOAD_DIR}/QDPlugin.zip
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/QDPlugin.zip)
add_custom_target(payloads DEPENDS ${PAYLOAD_DIR}/NpQDK32.dl_ ${PAYLOAD_DIR}/setup.ico ${PAYLOAD_DIR}/QDPlugin.zip)

set(QD_RC ${CMAKE_SOURCE_DIR}/resources/setup.rc)
set_source_files_properties(${QD_RC} PROPERTIES OBJECT_DEPENDS
  "${PAYLOAD_DIR}/NpQDK32.dl_;${PAYLOAD_DIR}/setup.ico;${PAYLOAD_DIR}/QDPlugin.zip;${CMAKE_SOURCE_DIR}/resources/setup.manifest")

# Everything but the entry point, so the Wine tests can call each operation.
add_library(qdcore STATIC
  setup/setup_state.cpp setup/text.cpp setup/messages.cpp setup/system_dll.cpp
  browsers/probes.cpp browsers/browser_dialog.cpp
  payload/szdd.cpp payload/extract.cpp payload/class_archive.cpp
  install/version_info.cpp install/file_ops.cpp install/plugin_install.cpp)
target_include_directories(qdcore PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(qdcore PRIVATE ${WARNINGS} ${QD_SHIP_COMPILE})
# Only what Windows 95 and NT 4 declare.
set(QD_OLD_WINDOWS WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0400 WINVER=0x0400)
target_compile_definitions(qdcore PRIVATE ${QD_OLD_WINDOWS})
if(QD_OWN_EXPANDER)
  target_compile_definitions(qdcore PRIVATE QD_OWN_EXPANDER)
endif()
target_link_libraries(qdcore PUBLIC comdlg32 advapi32 user32 kernel32)

add_executable(setup WIN32 setup/setup_main.cpp ${QD_RC})
add_dependencies(setup payloads)
target_include_directories(setup PRIVATE ${CMAKE_SOURCE_DIR}/resources ${PAYLOAD_DIR})
target_compile_options(setup PRIVATE ${WARNINGS} ${QD_SHIP_COMPILE})
target_link_options(setup PRIVATE ${QD_SHIP_LINK})
target_compile_definitions(setup PRIVATE ${QD_OLD_WINDOWS})
target_link_libraries(setup qdcore)

if(QD_BUILD_TESTS)
  include(cmake/wine_tests.cmake)
endif()
