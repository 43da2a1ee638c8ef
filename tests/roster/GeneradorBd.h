#pragma once
// Builds roster databases full of every rule the engine knows, for the differential
// test and the benchmarks: services with workers, rotations with rest days, split shifts,
// gaps and a repeated position, assignments (also on and after the 28th, with ties and
// a shift that no longer exists), holidays of both kinds, exceptions of both kinds and a
// stray type, overlapping leave with substitutes inside and outside the service, without
// one, and naming a worker that no longer exists; shared planilla names; names with a
// semicolon, a double quote or a line end. Dates are written in every stored form the
// program reads, unless told otherwise.
//
// Header only, so the benchmarks can use it too.

#include "DateTime.h"
#include "Schema.h"

#include <QDate>
#include <QFile>
#include <QString>
#include <random>
#include <sqlite3.h>
#include <vector>

namespace DvGenerador {

struct COpciones {
    int servicios = 3;
    int trabajadores = 10; // per service
    int anioInicio = 2023; // first year of history
    int anios = 2;         // years of history
    unsigned semilla = 1;
    bool formasVariadas = true;   // dates in every stored form (else the program's own)
    int excepcionesPorSemana = 1; // per worker
    int libranzasPorAnio = 3;     // per worker and kind of leave, roughly
    int asignacionesPorAnio = 1;  // reference assignments per worker and year, roughly
};

class CGenerador {
public:
    explicit CGenerador(const COpciones& opciones) : m_op(opciones), m_azar(opciones.semilla) {}

    bool Generar(const QString& ruta, QString& error) {
        QFile::remove(ruta);
        if (!DvSchema::CreateDatabase(ruta, QString(), QString(), QDate(2024, 1, 1), error))
            return false;
        if (sqlite3_open_v2(QFile::encodeName(ruta).constData(), &m_db, SQLITE_OPEN_READWRITE,
                            nullptr) != SQLITE_OK) {
            error = QStringLiteral("no se puede abrir %1").arg(ruta);
            return false;
        }
        Ejecutar("BEGIN");
        Turnos();
        Personal();
        Asignaciones();
        Fiestas();
        Excepciones();
        Libranzas();
        Ejecutar("COMMIT");
        sqlite3_close(m_db);
        m_db = nullptr;
        if (!m_error.isEmpty()) {
            error = m_error;
            return false;
        }
        return true;
    }

    // First and last day of the history (day numbers).
    int PrimerDia() const { return CDateTime(m_op.anioInicio, 1, 1).DayNumber(); }
    int UltimoDia() const {
        return CDateTime(m_op.anioInicio + m_op.anios - 1, 12, 31).DayNumber();
    }

private:
    int Azar(int desde, int hasta) {
        return std::uniform_int_distribution<int>(desde, hasta)(m_azar);
    }
    bool Probable(int porCiento) { return Azar(1, 100) <= porCiento; }

    void Ejecutar(const char* sql) {
        char* mensaje = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &mensaje) != SQLITE_OK && m_error.isEmpty())
            m_error = QString::fromUtf8(mensaje ? mensaje : "error");
        sqlite3_free(mensaje);
    }

    // A statement with ? parameters, run once per row.
    class CSentencia {
    public:
        CSentencia(CGenerador& g, const char* sql) : m_g(g) {
            sqlite3_prepare_v2(g.m_db, sql, -1, &m_stmt, nullptr);
        }
        ~CSentencia() { sqlite3_finalize(m_stmt); }
        CSentencia& Entero(int i, int v) {
            sqlite3_bind_int(m_stmt, i, v);
            return *this;
        }
        CSentencia& Nulo(int i) {
            sqlite3_bind_null(m_stmt, i);
            return *this;
        }
        CSentencia& Texto(int i, const QString& v) {
            const QByteArray b = v.toUtf8();
            sqlite3_bind_text(m_stmt, i, b.constData(), b.size(), SQLITE_TRANSIENT);
            return *this;
        }
        CSentencia& Real(int i, double v) {
            sqlite3_bind_double(m_stmt, i, v);
            return *this;
        }
        // A date-time in one of the stored forms (0 the program's own).
        CSentencia& Fecha(int i, int dia, int segundos, int forma) {
            const CDateTime d = CDateTime::FromDays(dia);
            const int y = d.GetYear(), m = d.GetMonth(), dd = d.GetDay();
            const int h = segundos / 3600, mi = segundos / 60 % 60, s = segundos % 60;
            switch (forma) {
            case 1:
                return Texto(i, QString::asprintf("%04d-%02d-%02d", y, m, dd));
            case 2:
                return Real(i, dia + segundos / 86400.0);
            case 3:
                return Texto(i, QString::asprintf("%04d/%02d/%02d", y, m, dd));
            case 4:
                return Texto(i, QString::asprintf("%04d/%d/%d", y, m, dd));
            case 5:
                return Texto(i, QString::asprintf("%04d-%02d-%02d %02d:%02d", y, m, dd, h, mi));
            default:
                return Texto(
                    i, QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", y, m, dd, h, mi, s));
            }
        }
        void Ejecutar() {
            if (sqlite3_step(m_stmt) != SQLITE_DONE && m_g.m_error.isEmpty())
                m_g.m_error = QString::fromUtf8(sqlite3_errmsg(m_g.m_db));
            sqlite3_reset(m_stmt);
            sqlite3_clear_bindings(m_stmt);
        }

    private:
        CGenerador& m_g;
        sqlite3_stmt* m_stmt = nullptr;
    };

    int Forma() {
        if (!m_op.formasVariadas)
            return 0;
        return Probable(50) ? 0 : Azar(1, 5);
    }
    // Forms whose time of day survives (for columns that hold an hour).
    int FormaConHora() {
        if (!m_op.formasVariadas)
            return 0;
        const int formas[] = {0, 2, 5};
        return formas[Azar(0, 2)];
    }

    // Rotations. Each shift: name, start and end second of the day, rest day flag.
    void Turnos() {
        struct CT {
            const char* nombre;
            int inicio, fin;
            bool libre;
            int orden; // 0: next position
        };
        const std::vector<std::vector<CT>> tipos = {
            // Mornings, afternoon, night and three rest days.
            {{"M", 8 * 3600, 15 * 3600, false, 0},
             {"M", 8 * 3600, 15 * 3600, false, 0},
             {"T", 15 * 3600, 22 * 3600, false, 0},
             {"N", 22 * 3600, 8 * 3600, false, 0},
             {"L", 8 * 3600, 15 * 3600, true, 0},
             {"L", 0, 0, true, 0},
             {"L", 0, 0, true, 0}},
            // Long shifts shown in two periods.
            {{"D", 8 * 3600, 22 * 3600, false, 0},
             {"D", 8 * 3600 + 1800, 22 * 3600 + 2700, false, 0},
             {"TN", 15 * 3600, 8 * 3600, false, 0},
             {"L", 0, 0, true, 0},
             {"L", 0, 0, true, 0}},
            // One shift every day.
            {{"U", 9 * 3600, 17 * 3600, false, 0}},
            // Midnight start, short shifts.
            {{"0", 0, 8 * 3600, false, 0},
             {"C", 10 * 3600, 14 * 3600, false, 0},
             {"X", 8 * 3600, 21 * 3600, false, 0},
             {"L", 0, 0, true, 0}},
            // A gap: positions 1, 2, 4, 5 of four shifts (position 3 holds nothing).
            {{"A", 8 * 3600, 15 * 3600, false, 1},
             {"B", 15 * 3600, 22 * 3600, false, 2},
             {"C", 22 * 3600, 8 * 3600, false, 4},
             {"L", 0, 0, true, 5}},
            // A repeated position: two shifts at 1 (the lower ID counts), none at 3.
            {{"P", 8 * 3600, 15 * 3600, false, 1},
             {"Q", 15 * 3600, 22 * 3600, false, 1},
             {"R", 22 * 3600, 8 * 3600, false, 2}},
        };
        CSentencia tipo(*this, "INSERT INTO TIPOSTURNO (ID, NOMBRE) VALUES (?, ?)");
        CSentencia turno(*this, "INSERT INTO TURNOS (ID, NOMBRE, HORAINICIAL, HORAFINAL, ORDEN, "
                                "ID_TIPOTURNO) VALUES (?, ?, ?, ?, ?, ?)");
        int id = 1;
        const int diaLibre = CDateTime(2001, 4, 23).DayNumber();
        const int diaTurno = CDateTime(2005, 1, 1).DayNumber();
        for (int t = 0; t < static_cast<int>(tipos.size()); ++t) {
            tipo.Entero(1, t + 1).Texto(2, QStringLiteral("Tipo %1").arg(t + 1)).Ejecutar();
            int orden = 0;
            for (const CT& c : tipos[t]) {
                orden = c.orden ? c.orden : orden + 1;
                const int dia = c.libre ? diaLibre : diaTurno;
                turno.Entero(1, id)
                    .Texto(2, QString::fromLatin1(c.nombre))
                    .Fecha(3, dia, c.inicio, FormaConHora())
                    .Fecha(4, dia, c.fin, FormaConHora())
                    .Entero(5, orden)
                    .Entero(6, t + 1)
                    .Ejecutar();
                m_turnos.push_back(id);
                ++id;
            }
        }
    }

    void Personal() {
        CSentencia funcion(*this, "INSERT INTO FUNCIONES (ID, NOMBRE) VALUES (?, ?)");
        CSentencia persona(*this, "INSERT INTO PERSONAL (ID, NOMBRE, APELLIDOS, NOMBREPLANILLA, "
                                  "ID_FUNCION) VALUES (?, ?, ?, ?, ?)");
        static const char* const nombres[] = {"Lucía", "Íñigo",  "Begoña", "Óscar",  "Nuria",
                                              "Raúl",  "Ainhoa", "Sofía",  "Andrés", "Rocío"};
        int id = 1;
        for (int s = 1; s <= m_op.servicios; ++s) {
            funcion.Entero(1, s).Texto(2, QStringLiteral("Servicio %1").arg(s)).Ejecutar();
            for (int i = 0; i < m_op.trabajadores; ++i) {
                QString planilla = QStringLiteral("T%1-%2").arg(s).arg(i);
                // Two workers of each service share a planilla name, and one name is
                // shared across services.
                if (i == 1 || i == 2)
                    planilla = QStringLiteral("Compartido %1").arg(s);
                if (i == 3)
                    planilla = QStringLiteral("Común");
                // Some names hold what a report line must not break on: a semicolon, a
                // double quote, a line end.
                QString nombre = QString::fromUtf8(nombres[i % 10]);
                QString apellidos = QStringLiteral("Apellido%1 Núñez").arg(id);
                if (i == 4)
                    apellidos = QStringLiteral("Apellido%1; Núñez").arg(id);
                if (i == 5)
                    apellidos = QStringLiteral("Apellido%1 \"Núñez\"").arg(id);
                if (i == 6)
                    nombre = QStringLiteral("Ainhoa\r\nMaría");
                persona.Entero(1, id)
                    .Texto(2, nombre)
                    .Texto(3, apellidos)
                    .Texto(4, planilla)
                    .Entero(5, s)
                    .Ejecutar();
                m_personas.push_back(id);
                m_servicioDe.push_back(s);
                ++id;
            }
        }
    }

    void Asignaciones() {
        CSentencia asig(*this, "INSERT INTO ASIG_TURNOS (ID, ID_PERSONAL, DIA_REF, ID_TURNO) "
                               "VALUES (?, ?, ?, ?)");
        int id = 1;
        const int inicio = PrimerDia();
        const int fin = UltimoDia();
        for (int k = 0; k < static_cast<int>(m_personas.size()); ++k) {
            const int persona = m_personas[k];
            if (k % 17 == 5)
                continue; // a worker without any assignment
            // The first assignment before the history starts, then some more.
            int cuantas = 1 + Azar(0, m_op.asignacionesPorAnio * m_op.anios);
            std::vector<int> dias = {inicio - Azar(1, 90)};
            for (int i = 1; i < cuantas; ++i) {
                int dia = Azar(inicio, fin);
                const CDateTime d = CDateTime::FromDays(dia);
                if (Probable(30)) // on or after the 28th of a month
                    dia = CDateTime(d.GetYear(), d.GetMonth(), 28).DayNumber() + Azar(0, 3) -
                          (Probable(30) ? 1 : 0);
                dias.push_back(dia);
            }
            for (int dia : dias) {
                const int turno = k % 23 == 7 ? 999 : m_turnos[Azar(0, int(m_turnos.size()) - 1)];
                const int segundos = Probable(20) ? Azar(0, 86399) : 0;
                asig.Entero(1, id++).Entero(2, persona).Fecha(3, dia, segundos, Forma());
                asig.Entero(4, turno).Ejecutar();
                // Now and then a second assignment on the very same day.
                if (Probable(10)) {
                    asig.Entero(1, id++).Entero(2, persona).Fecha(3, dia, segundos, Forma());
                    asig.Entero(4, m_turnos[Azar(0, int(m_turnos.size()) - 1)]).Ejecutar();
                }
            }
        }
    }

    void Fiestas() {
        CSentencia fiesta(*this, "INSERT INTO FIESTAS (ID, DIA, DESCRIPCION, CICLICO) VALUES "
                                 "(?, ?, ?, ?)");
        int id = 1;
        auto agregar = [&](int dia, int ciclico) {
            fiesta.Entero(1, id++).Fecha(2, dia, 0, Forma()).Texto(3, QStringLiteral("Fiesta"));
            if (ciclico < 0)
                fiesta.Nulo(4);
            else
                fiesta.Entero(4, ciclico);
            fiesta.Ejecutar();
        };
        agregar(CDateTime(2001, 1, 1).DayNumber(), 1);
        agregar(CDateTime(2001, 12, 25).DayNumber(), 1);
        agregar(CDateTime(1999, 8, 15).DayNumber(), 1);
        agregar(CDateTime(2020, 2, 29).DayNumber(), 1);
        agregar(CDateTime(2001, 5, 1).DayNumber(), -1); // neither kind: never a holiday
        for (int a = 0; a < m_op.anios; ++a)
            for (int i = 0; i < 6; ++i) {
                const int dia = Azar(CDateTime(m_op.anioInicio + a, 1, 1).DayNumber(),
                                     CDateTime(m_op.anioInicio + a, 12, 31).DayNumber());
                agregar(dia, 0);
            }
    }

    void Excepciones() {
        CSentencia exc(*this, "INSERT INTO EXCEPCIONES (ID, DIA, ID_PERSONAL, TIPO, HORAINICIAL, "
                              "HORAFINAL) VALUES (?, ?, ?, ?, ?, ?)");
        static const int horas[][2] = {{8, 22}, {15, 8}, {10, 14}, {0, 8}, {22, 8}, {8, 15}};
        int id = 1;
        const int inicio = PrimerDia();
        const int fin = UltimoDia();
        const int marca = CDateTime(2005, 1, 1).DayNumber();
        for (int persona : m_personas)
            for (int semana = inicio; semana <= fin; semana += 7)
                for (int i = 0; i < m_op.excepcionesPorSemana; ++i) {
                    const int dia = semana + Azar(0, 6);
                    const int veces = Probable(5) ? 2 : 1; // two on one day
                    for (int v = 0; v < veces; ++v) {
                        const int r = Azar(1, 100);
                        const auto& h = horas[Azar(0, 5)];
                        exc.Entero(1, id++)
                            .Fecha(2, dia, Probable(20) ? Azar(0, 86399) : 0, Forma())
                            .Entero(3, persona);
                        if (r <= 3)
                            exc.Nulo(4);
                        else
                            exc.Entero(4, r <= 48 ? 1 : r <= 95 ? 2 : 7);
                        exc.Fecha(5, marca, h[0] * 3600 + Azar(0, 59) * 60, FormaConHora())
                            .Fecha(6, marca, h[1] * 3600 + Azar(0, 59) * 60, FormaConHora())
                            .Ejecutar();
                    }
                }
    }

    int Suplente(int k) {
        const int r = Azar(1, 100);
        const int n = static_cast<int>(m_personas.size());
        if (r <= 50) { // same service
            const int s = m_servicioDe[k];
            const int base = (s - 1) * m_op.trabajadores;
            int otro = base + Azar(0, m_op.trabajadores - 1);
            if (otro == k)
                otro = base + (otro - base + 1) % m_op.trabajadores;
            return m_personas[otro];
        }
        if (r <= 70)
            return m_personas[Azar(0, n - 1)]; // any service
        if (r <= 85)
            return -1;
        if (r <= 90)
            return 0;
        return 99999; // a worker that no longer exists
    }

    void Libranzas() {
        CSentencia vac(*this, "INSERT INTO VACACIONES (ID, ID_PERSONAL, INICIO, FINAL, "
                              "ID_SUPLENTE) VALUES (?, ?, ?, ?, ?)");
        CSentencia baja(*this, "INSERT INTO BAJAS (ID, ID_PERSONAL, INICIO, FINAL, ID_SUPLENTE) "
                               "VALUES (?, ?, ?, ?, ?)");
        CSentencia pers(*this, "INSERT INTO DIASPERSONALES (ID, ID_PERSONAL, INICIO, ID_SUPLENTE) "
                               "VALUES (?, ?, ?, ?)");
        int idVac = 1, idBaja = 1, idPers = 1;
        const int inicio = PrimerDia();
        const int fin = UltimoDia();
        for (int k = 0; k < static_cast<int>(m_personas.size()); ++k) {
            const int persona = m_personas[k];
            const int cuantas = m_op.libranzasPorAnio * m_op.anios;
            for (int i = 0; i < cuantas; ++i) {
                int desde = Azar(inicio - 30, fin);
                int largo = Azar(0, 20);
                vac.Entero(1, idVac++).Entero(2, persona);
                vac.Fecha(3, desde, Probable(20) ? Azar(0, 86399) : 0, Forma());
                vac.Fecha(4, desde + largo, Probable(20) ? Azar(0, 86399) : 0, Forma());
                vac.Entero(5, Suplente(k)).Ejecutar();

                desde = Azar(inicio - 30, fin);
                largo = Probable(10) ? Azar(60, 400) : Azar(0, 15);
                // Now and then, in the test files, a sick leave of years.
                if (m_op.formasVariadas && Azar(1, 150) == 1)
                    largo = Azar(401, 5000);
                baja.Entero(1, idBaja++).Entero(2, persona);
                baja.Fecha(3, desde, 0, Forma());
                baja.Fecha(4, desde + largo, 0, Forma());
                baja.Entero(5, Suplente(k)).Ejecutar();

                pers.Entero(1, idPers++).Entero(2, persona);
                pers.Fecha(3, Azar(inicio, fin), Probable(30) ? Azar(0, 86399) : 0, Forma());
                pers.Entero(4, Suplente(k)).Ejecutar();
            }
        }
    }

    COpciones m_op;
    std::mt19937 m_azar;
    sqlite3* m_db = nullptr;
    QString m_error;
    std::vector<int> m_turnos;
    std::vector<int> m_personas;
    std::vector<int> m_servicioDe;
};

} // namespace DvGenerador
