# Runs quorvanel-sim for one command-line case and checks its exit code and message.
# -DSIM=path -DCASE=help|bad_script|bad_setting -DWORK=scratch directory
function(expect code pattern)
    execute_process(COMMAND ${SIM} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT rc EQUAL ${code})
        message(FATAL_ERROR "exit code ${rc}, expected ${code}\nstdout: ${out}\nstderr: ${err}")
    endif()
    if(NOT "${out}${err}" MATCHES "${pattern}")
        message(FATAL_ERROR "output does not match '${pattern}'\nstdout: ${out}\nstderr: ${err}")
    endif()
endfunction()

if(CASE STREQUAL "help")
    expect(0 "--frames N.*--time T.*--script FILE.*--settings.*--name.*--depth.*--shot.*--state.*--help" --help)
elseif(CASE STREQUAL "bad_script")
    set(script ${WORK}/malformed_script.txt)
    file(WRITE ${script} "# a comment, then a blank line\n\n10 down left\n20 sideways up\n")
    expect(2 "malformed_script\\.txt:4: " --script ${script} --frames 5)
elseif(CASE STREQUAL "bad_setting")
    expect(2 "RespawnTime" --settings Sounds=1,RespawnTime=20 --frames 1)
else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()
