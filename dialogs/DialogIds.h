#pragma once
// Template and control ids of the configuration dialogs (res/dialogs/<id>.dlg).

namespace DlgId {
// Templates.
constexpr int Servicios = 150;
constexpr int Personal = 151;
constexpr int FichaPersonal = 152;
constexpr int TiposTurno = 153;
constexpr int Turnos = 154;
constexpr int DetallesTurno = 155;

// Controls shared by the configuration dialogs.
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int List = 1015;   // the static every configuration list takes over
constexpr int Name = 1016;   // name edit of the services and shift-type dialogs
constexpr int Add = 1017;    // "Añadir"
constexpr int Edit = 1018;   // "Editar"
constexpr int Delete = 1019; // "Borrar"
constexpr int New = 1021;    // "Nuevo"

// "Configuración de personal".
constexpr int ServiceFilter = 1020;

// "Ficha de personal".
constexpr int WorkerName = 1022;
constexpr int WorkerSurnames = 1023;
constexpr int WorkerRosterName = 1024;
constexpr int WorkerServiceName = 1025;
constexpr int ChooseService = 1026; // "Elegir"
constexpr int WorkerServiceKey = 1027;
constexpr int Vacations = 1028;    // "Vacaciones"
constexpr int SickLeave = 1029;    // "Bajas"
constexpr int PersonalDays = 1030; // "Permisos"

// "Configuración de turnos".
constexpr int ShiftTypeName = 1031;
constexpr int FindShiftType = 1032; // "Buscar"
constexpr int ShiftRecord = 1033;   // "Ficha"
constexpr int MoveUp = 1034;        // "Subir"
constexpr int MoveDown = 1035;      // "Bajar"

// "Detalles del turno".
constexpr int ShiftName = 1036;
constexpr int ShiftStart = 1037;
constexpr int ShiftEnd = 1038;
constexpr int RestDay = 1039; // "Día libre"
constexpr int DayKind = 1040;
constexpr int ShiftOrder = 1041;
constexpr int ShiftType = 1042;
} // namespace DlgId
