#pragma once
// The program's entry points: the window program and the headless commands.
//
// A headless command foo lives in app/CmdFoo.cpp as RunFoo, is listed by one line in the
// command table of main.cpp (its word, its entry, its line of the general help) and
// reads its arguments with DvOrden::COrden (ArgumentosOrden.h), which gives every
// command the same "--help", the same refusal of unknown options and the same exit
// codes: 0 success, 2 bad arguments, 1 database or output failure.

// dravonela crear-bd FILE [--demo] [--clave TEXT]
int RunCrearBd(int argc, char** argv);
// dravonela informe --bd FILE --mes M --anio A --servicio ID|NOMBRE [--clave T] [--salida F]
int RunInforme(int argc, char** argv);
// dravonela planilla ... --formato json|csv|pdf --salida FILE
int RunPlanilla(int argc, char** argv);
// dravonela calendario --bd FILE --trabajador ID --mes M --anio A ... --formato ics|pdf
int RunCalendario(int argc, char** argv);
// dravonela avisos --bd FILE --mes M --anio A --servicio ID|NOMBRE [--formato texto|json] ...
int RunAvisos(int argc, char** argv);
// dravonela copia --bd FILE [--destino FOLDER]
int RunCopia(int argc, char** argv);
// dravonela comprobar --bd FILE
int RunComprobar(int argc, char** argv);
// dravonela restaurar --bd FILE --desde COPY
int RunRestaurar(int argc, char** argv);
// The window program.
int RunGui(int argc, char** argv);
