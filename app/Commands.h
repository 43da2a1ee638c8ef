#pragma once
// The program's entry points: the window program and the headless commands.

// dravonela crear-bd FILE [--demo] [--clave TEXT]
int RunCrearBd(int argc, char** argv);
// dravonela informe --bd FILE --mes M --anio A --servicio ID|NOMBRE [--clave T] [--salida F]
int RunInforme(int argc, char** argv);
// dravonela planilla ... --formato json|csv|pdf --salida FILE
int RunPlanilla(int argc, char** argv);
// dravonela avisos --bd FILE --mes M --anio A --servicio ID|NOMBRE [--formato texto|json] ...
int RunAvisos(int argc, char** argv);
// The window program.
int RunGui(int argc, char** argv);
