# The archive tool against its command-line contract, as scripts use it.
# Run with: cmake -DDATTOOL=<dattool> -DWORK=<scratch folder> -P dattool_contract.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT DATTOOL OR NOT WORK)
  message(FATAL_ERROR "set DATTOOL and WORK")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(<expected exit code> <name of output variable> args...): runs dattool,
# checks its exit code and hands back standard output.
function(run expected outvar)
  execute_process(COMMAND "${DATTOOL}" ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "${expected}")
    message(FATAL_ERROR "dattool ${ARGN}: exit ${rc}, expected ${expected}\nstdout: ${out}\nstderr: ${err}")
  endif()
  if(NOT "${expected}" STREQUAL "0" AND err STREQUAL "")
    message(FATAL_ERROR "dattool ${ARGN}: failed without a message")
  endif()
  set(${outvar} "${out}" PARENT_SCOPE)
endfunction()

function(expect_equal what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}:\n  got      [${actual}]\n  expected [${expected}]")
  endif()
endfunction()

function(expect_same_file what a b)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${a}" "${b}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what}: ${a} and ${b} differ")
  endif()
endfunction()

# A manual's folder: Cyrillic names, nested folders, a compressible page,
# a small file stored raw, an empty file and names beginning with '.'.
set(src "${WORK}/src")
string(REPEAT "<p>Снимите колесо и проверьте колодки.</p>\n" 200 page)
set(files
  "Title.txt|Руководство"
  "Глава1/Тормоза.htm|${page}"
  "Глава1/Рисунки/Колесо.txt|wheel"
  "ch02/sub/deep.txt|deep"
  "empty.txt|"
  ".hidden/secret.txt|secret"
  ".dotfile|dot")
foreach(entry IN LISTS files)
  string(FIND "${entry}" "|" bar)
  string(SUBSTRING "${entry}" 0 ${bar} name)
  math(EXPR start "${bar} + 1")
  string(SUBSTRING "${entry}" ${start} -1 content)
  file(WRITE "${src}/${name}" "${content}")
endforeach()
string(LENGTH "${page}" page_size)

# pack
run(0 out pack "${src}" "${WORK}/a.dat")
if(NOT EXISTS "${WORK}/a.dat")
  message(FATAL_ERROR "pack wrote nothing")
endif()

# list: path, size and packed size separated by tabs; '/' between folded
# components in UTF-8; names beginning with '.' left out; listing order.
run(0 listing list "${WORK}/a.dat")
string(REPLACE "\t" "|" listing "${listing}")
set(expected_listing
  "CH02/SUB/DEEP.TXT|4|4\nEMPTY.TXT|0|0\nTITLE.TXT|22|22\nГЛАВА1/РИСУНКИ/КОЛЕСО.TXT|5|5\nГЛАВА1/ТОРМОЗА.HTM|${page_size}|")
string(FIND "${listing}" "${expected_listing}" at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "list output:\n${listing}\nexpected to begin with:\n${expected_listing}")
endif()
string(REGEX MATCH "ТОРМОЗА.HTM\\|${page_size}\\|([0-9]+)\n$" m "${listing}")
if(NOT m)
  message(FATAL_ERROR "list output does not end with the page's line:\n${listing}")
endif()
if(NOT CMAKE_MATCH_1 GREATER 0 OR NOT CMAKE_MATCH_1 LESS page_size)
  message(FATAL_ERROR "the page is not stored packed: ${CMAKE_MATCH_1} of ${page_size}")
endif()
string(REGEX MATCHALL "\n" lines "${listing}")
list(LENGTH lines line_count)
expect_equal("number of listed files" ${line_count} 5)

# cat: names resolve as the program resolves them.
foreach(name "глава1\\ТОРМОЗА.htm" "ГЛАВА1/тормоза.HTM" "\\Глава1\\Тормоза.htm")
  execute_process(COMMAND "${DATTOOL}" cat "${WORK}/a.dat" "${name}"
    RESULT_VARIABLE rc OUTPUT_FILE "${WORK}/cat.out" ERROR_VARIABLE err)
  expect_equal("cat ${name} exit code" "${rc}" 0)
  expect_same_file("cat ${name}" "${WORK}/cat.out" "${src}/Глава1/Тормоза.htm")
endforeach()
run(0 out cat "${WORK}/a.dat" "EMPTY.TXT")
expect_equal("cat of an empty file" "${out}" "")
run(0 out cat "${WORK}/a.dat" ".hidden/SECRET.txt")
expect_equal("cat of a hidden file" "${out}" "secret")

# check
run(0 out check "${WORK}/a.dat")

# unpack: every file comes back (folded names), hidden ones too.
run(0 out unpack "${WORK}/a.dat" "${WORK}/unpacked")
foreach(pair
    "Title.txt|TITLE.TXT"
    "Глава1/Тормоза.htm|ГЛАВА1/ТОРМОЗА.HTM"
    "Глава1/Рисунки/Колесо.txt|ГЛАВА1/РИСУНКИ/КОЛЕСО.TXT"
    "ch02/sub/deep.txt|CH02/SUB/DEEP.TXT"
    "empty.txt|EMPTY.TXT"
    ".hidden/secret.txt|.HIDDEN/SECRET.TXT"
    ".dotfile|.DOTFILE")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 original)
  list(GET pair 1 unpacked)
  if(NOT EXISTS "${WORK}/unpacked/${unpacked}")
    message(FATAL_ERROR "unpack did not recreate ${unpacked}")
  endif()
  expect_same_file("unpacked ${unpacked}" "${WORK}/unpacked/${unpacked}" "${src}/${original}")
endforeach()
file(GLOB_RECURSE unpacked_files LIST_DIRECTORIES false "${WORK}/unpacked/*")
list(LENGTH unpacked_files unpacked_count)
expect_equal("number of unpacked files" ${unpacked_count} 7)

# Reproducible: the same folder again, and a copy written in another order,
# give the same bytes.
run(0 out pack "${src}" "${WORK}/b.dat")
expect_same_file("packing twice" "${WORK}/a.dat" "${WORK}/b.dat")
set(copy "${WORK}/copy")
list(REVERSE files)
foreach(entry IN LISTS files)
  string(FIND "${entry}" "|" bar)
  string(SUBSTRING "${entry}" 0 ${bar} name)
  get_filename_component(dir "${copy}/${name}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
  file(COPY_FILE "${src}/${name}" "${copy}/${name}")
endforeach()
run(0 out pack "${copy}" "${WORK}/c.dat")
expect_same_file("packing a copy" "${WORK}/a.dat" "${WORK}/c.dat")

# Wrong usage: exit code 2.
run(2 out)
run(2 out bogus)
run(2 out list)
run(2 out list "${WORK}/a.dat" extra)
run(2 out pack "${src}")
run(2 out cat "${WORK}/a.dat")
run(2 out unpack "${WORK}/a.dat")

# A name not in the archive, a missing archive, a folder name: exit code 1.
run(1 out cat "${WORK}/a.dat" "no/such.htm")
run(1 out cat "${WORK}/a.dat" "Глава1")
run(1 out cat "${WORK}/a.dat" "Глава1//Тормоза.htm")
run(1 out list "${WORK}/missing.dat")

# Damaged archives: a copy cut inside its directory, a copy cut inside the
# page's data. Exit code 1 from every command that meets the damage.
file(SIZE "${WORK}/a.dat" dat_size)
math(EXPR cut "${dat_size} - 20")
foreach(len 0 6 20 ${cut})
  execute_process(COMMAND head -c ${len} "${WORK}/a.dat"
    OUTPUT_FILE "${WORK}/cut${len}.dat" RESULT_VARIABLE rc)
  expect_equal("head -c ${len}" "${rc}" 0)
endforeach()
foreach(len 0 6 20)
  run(1 out list "${WORK}/cut${len}.dat")
  run(1 out check "${WORK}/cut${len}.dat")
  run(1 out cat "${WORK}/cut${len}.dat" "title.txt")
  run(1 out unpack "${WORK}/cut${len}.dat" "${WORK}/unpacked-cut${len}")
endforeach()
# The last member's data (the page, listed last) lies in the cut-off tail.
run(1 out check "${WORK}/cut${cut}.dat")
run(1 out cat "${WORK}/cut${cut}.dat" "Глава1/Тормоза.htm")

# Names that cannot be stored: refused with exit code 1, nothing written,
# an existing archive left as it was.
string(REPEAT "x" 64 long64)
string(REPEAT "x" 63 long63)
file(WRITE "${WORK}/long63/${long63}/f.txt" "ok")
run(0 out pack "${WORK}/long63" "${WORK}/long63.dat")
file(WRITE "${WORK}/long64/dir/${long64}" "too long")
run(1 out pack "${WORK}/long64" "${WORK}/long64.dat")
if(EXISTS "${WORK}/long64.dat" OR EXISTS "${WORK}/long64.dat.tmp")
  message(FATAL_ERROR "a refused pack wrote a file")
endif()
file(COPY_FILE "${WORK}/a.dat" "${WORK}/keep.dat")
run(1 out pack "${WORK}/long64" "${WORK}/keep.dat")
expect_same_file("archive after a refused pack" "${WORK}/keep.dat" "${WORK}/a.dat")
file(WRITE "${WORK}/nocp/日本.txt" "no Windows-1251 form")
run(1 out pack "${WORK}/nocp" "${WORK}/nocp.dat")
if(EXISTS "${WORK}/nocp.dat")
  message(FATAL_ERROR "a refused pack wrote a file")
endif()
run(1 out pack "${WORK}/no-such-folder" "${WORK}/none.dat")

message(STATUS "dattool meets its contract")
