# Creates the demo database with the program itself when it is not there yet.
if(NOT EXISTS "${DB}")
    execute_process(COMMAND "${EXE}" crear-bd "${DB}" --demo
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "No se pudo crear la base de datos de demostración (${rc})")
    endif()
endif()
