#pragma once
// The workers' calendar files as the window and the headless command write them: the
// phone's calendar (.ics) or the personal sheet (.pdf) of one worker, and one calendar
// per worker of a roster into a folder, each named after the worker's planilla name.

#include "Referencia.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class CDatosCalendarios;

namespace DvCalendario {
enum class Formato { Ics, Pdf };

// The sheet for a name ending in ".pdf" (any letter case), the calendar otherwise.
Formato FormatoDe(const QString& ruta);

// The worker's `meses` months from mes/anio in the format. False, with the reason
// (Spanish, one line), when the worker does not exist or the content cannot be built.
bool Contenido(int idPersona, int mes, int anio, int meses, Formato formato, QByteArray& bytes,
               QString* error, CDatosCalendarios* compartidos = nullptr);

// A planilla name made fit for a file name: no "/" or "\", no control characters, none
// of the characters other systems refuse (< > : " | ? *), no leading dot; blanks at the
// ends dropped. Empty when nothing is left.
QString NombreSeguro(const QString& nombre);

// One worker's file of a folder export.
struct CArchivoTrabajador {
    int m_idPersona = -1;
    QString m_nombrePlanilla;
    QString m_ruta;
};

// The files of the references' workers in the folder, "<planilla name>.ics": a name
// that several workers share (letter case aside, as some disks do not tell it apart),
// or that is empty, gets the worker's number, so no file stands for two workers.
std::vector<CArchivoTrabajador> ArchivosDe(const QString& carpeta,
                                           const CListaReferencias& referencias);

// Writes the calendars of the month; returns the failures, one line each (empty when
// every file was written).
QStringList Exportar(const std::vector<CArchivoTrabajador>& archivos, int mes, int anio);
} // namespace DvCalendario
