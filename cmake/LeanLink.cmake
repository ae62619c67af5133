# A program without exceptions, type information or thread-safe guards, with
# the C++ runtime's throwing helpers replaced by platform/runtime/lean_runtime.cpp and
# the C runtime's start-up by the entry point in platform/runtime/lean_startup.cpp,
# and a link that fails when the exception machinery or a global constructor
# comes anyway.
# -Oz: the smallest code, where -Os still trades a few bytes for speed; this
# program's time goes into the system's calls, not its own code.
# The unwind tables (.pdata and .xdata) stay, as the x64 calling convention
# requires: without them a stack walk through the program's frames (Windows
# Error Reporting's crash dumps, debuggers, profilers) and an exception raised
# through them by the system cannot get past the first frame.
set(VORLIND_LEAN -fno-exceptions -fno-rtti -fno-threadsafe-statics -Oz)
# For code optimised across files at link time, for the same reason: inlining
# decided once, over the whole program, rather than file by file before; no
# partial inlining, partial-redundancy elimination or loop-header copying,
# which each trade bytes for speed.
set(VORLIND_LEAN_LTO ${VORLIND_LEAN} -fno-early-inlining -fno-partial-inlining -fno-tree-pre -fno-tree-ch)

# Without link-time optimisation: LTO code lets an object of the runtime that
# defines the same functions win without a word; a plain object turns that
# into a duplicate definition, which fails the link.
add_library(vorlind_lean_runtime OBJECT ${PROJECT_SOURCE_DIR}/platform/runtime/lean_runtime.cpp
                                        ${PROJECT_SOURCE_DIR}/platform/runtime/lean_startup.cpp)
target_compile_options(vorlind_lean_runtime PRIVATE ${VORLIND_LEAN})
target_include_directories(vorlind_lean_runtime PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(vorlind_lean_runtime PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF)
# The other forms of new and delete from a library, before the C++ runtime:
# the linker keeps every function of an object it links (the unwind tables
# hold on to them), but takes a library's object only where it is used.
add_library(vorlind_lean_allocation STATIC ${PROJECT_SOURCE_DIR}/platform/runtime/lean_allocation.cpp)
target_compile_options(vorlind_lean_allocation PRIVATE ${VORLIND_LEAN})
target_include_directories(vorlind_lean_allocation PRIVATE ${PROJECT_SOURCE_DIR})
set_target_properties(vorlind_lean_allocation PROPERTIES INTERPROCEDURAL_OPTIMIZATION OFF)

# Optimised across files at link time, linked with the replacements, and
# checked in its link map: the product is stripped, so the map is what still
# says which of the runtime's functions it holds.
function(vorlind_lean_link target)
  target_compile_options(${target} PRIVATE ${VORLIND_LEAN_LTO})
  set_target_properties(${target} PROPERTIES INTERPROCEDURAL_OPTIMIZATION ON)
  target_link_libraries(${target} PRIVATE vorlind_lean_runtime)
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${target}.map)
  # No data imported without dllimport: platform/runtime/lean_startup.cpp applies no
  # pseudo-relocations, so a use that would need one must fail the link.
  target_link_options(${target} PRIVATE -Wl,-Map=${map} -Wl,--disable-auto-import -Wl,--disable-runtime-pseudo-reloc)
  # Neither the C runtime's start-up objects nor libmingw32 (the rest of that
  # start-up): the runtime libraries by hand, before the system's import
  # libraries that CMake appends, as they call into those. (With
  # -nostartfiles instead, this ld crashes on the import libraries' order.)
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry=VorlindStart -Oz)
  # Not gcc_eh: without the unwinder a throw fails the link already.
  target_link_libraries(${target} PRIVATE vorlind_lean_allocation stdc++ mingwex msvcrt gcc)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DMAP=${map} -DPRODUCT=$<TARGET_FILE:${target}>
            -P ${PROJECT_SOURCE_DIR}/cmake/check_lean_link.cmake
    VERBATIM)
endfunction()
