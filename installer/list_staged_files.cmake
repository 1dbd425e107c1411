# Writes the installer's list of files from a staged installation: one macro that installs each
# file, one that deletes each of them and then each folder, deepest first (a folder goes only when
# empty), and the total size for the Add/Remove Programs entry. Listing the files one by one is
# what lets the uninstaller remove exactly what was installed.
#
#   cmake -DSTAGE_DIR=<staged folder> -DOUTPUT=<include to write> -P list_staged_files.cmake
foreach(required STAGE_DIR OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "${required} is not set")
  endif()
endforeach()

file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${STAGE_DIR}" "${STAGE_DIR}/*")
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE "${STAGE_DIR}" "${STAGE_DIR}/*")
set(folders ${entries})
if(files)
  list(REMOVE_ITEM folders ${files})
else()
  message(FATAL_ERROR "Nothing staged in ${STAGE_DIR}")
endif()
list(SORT files)
# A sub-folder sorts after its parent, so the reverse order removes children first.
list(SORT folders ORDER DESCENDING)

# Text for the inside of a double-quoted string of the script, where a dollar sign starts a
# variable; Windows separators for the paths on the target.
function(nsis_text path out)
  if(path MATCHES "\"")
    message(FATAL_ERROR "A staged file name holds a double quote: ${path}")
  endif()
  string(REPLACE "$" "$$" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()

function(target_text relative_path out)
  string(REPLACE "/" "\\" relative_path "${relative_path}")
  nsis_text("${relative_path}" text)
  set(${out} "$INSTDIR\\${text}" PARENT_SCOPE)
endfunction()

set(install_lines "")
set(remove_lines "")
set(current_folder "-")
set(total_bytes 0)
foreach(file IN LISTS files)
  get_filename_component(folder "${file}" DIRECTORY)
  if(NOT folder STREQUAL current_folder)
    set(current_folder "${folder}")
    if(folder STREQUAL "")
      set(out_path "$INSTDIR")
    else()
      target_text("${folder}" out_path)
    endif()
    string(APPEND install_lines "  SetOutPath \"${out_path}\"\n")
  endif()
  nsis_text("${STAGE_DIR}/${file}" source)
  string(APPEND install_lines "  File \"${source}\"\n")
  target_text("${file}" target)
  string(APPEND remove_lines "  Delete \"${target}\"\n")
  file(SIZE "${STAGE_DIR}/${file}" bytes)
  math(EXPR total_bytes "${total_bytes} + ${bytes}")
endforeach()
foreach(folder IN LISTS folders)
  target_text("${folder}" target)
  string(APPEND remove_lines "  RMDir \"${target}\"\n")
endforeach()
math(EXPR total_kb "(${total_bytes} + 1023) / 1024")

file(WRITE "${OUTPUT}" "; Written by list_staged_files.cmake from ${STAGE_DIR}.
!define STAGED_SIZE_KB ${total_kb}

!macro INSTALL_STAGED_FILES
${install_lines}!macroend

!macro REMOVE_STAGED_FILES
${remove_lines}!macroend
")
