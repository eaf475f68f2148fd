# Fails when the core library defines writable data of its own: a variable at namespace scope, a
# static member or a function-local static that is not constant. Run by CTest as
#   cmake -DNM=<nm> -DLIBRARY=<libtangelo_core.a> -P NoWritableData.cmake
# nm's System V format names each symbol's section; .data, .bss and their thread-local kin are
# writable (.data.rel.ro is written only by the loader and stays).
execute_process(COMMAND ${NM} -C --defined-only --format=sysv ${LIBRARY}
                OUTPUT_VARIABLE symbols RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${NM} could not read ${LIBRARY}")
endif()

string(REPLACE "\n" ";" lines "${symbols}")
set(writable "")
foreach(line IN LISTS lines)
  # name | value | class | type | size | line | section
  string(REPLACE "|" ";" fields "${line}")
  list(LENGTH fields count)
  if(count LESS 7)
    continue()
  endif()
  list(GET fields 0 name)
  list(GET fields 6 section)
  string(STRIP "${name}" name)
  string(STRIP "${section}" section)
  if(NOT section MATCHES "^\\.(data|bss|tdata|tbss)" OR section MATCHES "^\\.data\\.rel\\.ro")
    continue()
  endif()
  # Qt's and the compiler's own: meta-type registrations (kept out of line when unoptimised), guard variables, the personality routine,
  # and the sanitizers' bookkeeping in an instrumented build.
  if(name MATCHES "^QtPrivate::|^QMetaTypeId<|^QMetaTypeIdQObject<|^guard variable for |^DW\\.ref\\.__gxx_personality_v0$|staticMetaObject$|^__odr_asan|^__asan_|^__sancov_|^__ubsan_")
    continue()
  endif()
  string(APPEND writable "  ${name}  (${section})\n")
endforeach()

if(writable)
  message(FATAL_ERROR "Writable data in ${LIBRARY}:\n${writable}")
endif()
message(STATUS "No writable data of its own in ${LIBRARY}")
