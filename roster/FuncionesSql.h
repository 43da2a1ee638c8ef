#pragma once
// SQL functions the engine's statements use to read stored dates inside the database,
// so a month's rows arrive as whole numbers and only the rows needed leave SQLite:
//   DV_DIAS(x)  the date-time as days since 30/12/1899 with the time as fraction
//   DV_DIA(x)   its whole day number
//   DV_HORA(x)  its hour of the day (0 for a value that is not a date)
//   DV_MINUTO(x) its minute of the hour (0 for a value that is not a date)
//   DV_MINUTOS(x) its minutes since midnight, hour * 60 + minute (0 likewise)
// DV_DIAS and DV_DIA are NULL for a value that is not a date. Every stored form reads
// exactly as a date-time column reads in a result (CDbRecordset::GetDateTime).

namespace DvFuncionesSql {
// Registers the functions (and the date indexes the engine's month reads use) on the
// open connection when they are not there yet. Cheap when they are.
void Preparar();
} // namespace DvFuncionesSql
