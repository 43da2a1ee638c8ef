#pragma once
// Helpers of the roster grid tests: rotations and workers on a small database, a roster
// grid in a window of a known width, and reading back the cells a build wrote.

#include "CuadroPlanilla.h"
#include "Progreso.h"

#include <QString>
#include <QWidget>
#include <memory>

namespace DvPlanilla {
// Services 1 "Urgencias" and 2 "Vacío" (nobody), and rotations of one shift each:
// type 1 M 08-15 (shift 1), type 2 T 15-22 (shift 2), type 3 D 08-22 (shift 3, shown
// at 8 and 15), type 5 N 22-08 (shift 5); type 4 of fourteen positions, seven working
// days M 08-15 (shifts 11-17) then seven rest days (shifts 18-24).
void Turnos();
void Persona(int id, const QString& planilla, int servicio = 1);
void Asignar(int id, int persona, const QString& dia, int turno);

// A top-level window with a roster grid taking it whole.
struct CVentana {
    std::unique_ptr<QWidget> ventana;
    CCuadroPlanilla* cuadro = nullptr;
    explicit CVentana(int ancho = 1000, int alto = 600, CCuadroPlanilla* propio = nullptr);
    CCuadroPlanilla* operator->() const { return cuadro; }
};

// Builds the month without a window, with the given progress or a silent one.
void Generar(CCuadroPlanilla& cuadro, int mes, int anio, int servicio = 1,
             IProgreso* progreso = nullptr);

QString Texto(CCellGrid& g, int c, int f);
int Dato(CCellGrid& g, int c, int f);
// The stored border, -1 when none is stored.
int Borde(CCellGrid& g, int c, int f);
// The stored text colour or background, -1 when none is stored.
long long ColorTexto(CCellGrid& g, int c, int f);
long long ColorFondo(CCellGrid& g, int c, int f);
// "c0,f0-c1,f1" of the joined block holding the cell, "" when it is not joined.
QString Union(CCellGrid& g, int c, int f);

// Every cell of the rows and of the row below them, as "text|data|border|back|join".
QStringList Volcado(CCellGrid& g);

// Checks a built month against the engine's day plans: every day's number once, in its
// weekday's column, on the first row of its week; the day's names in plan order below
// it; the rows of a week lined up by hour. Empty when all holds, else the first fault.
QString ComprobarMes(CCuadroPlanilla& cuadro, int mes, int anio, int servicio);
} // namespace DvPlanilla
