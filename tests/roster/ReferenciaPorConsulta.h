#pragma once
// The roster engine written the plain way, one query at a time: an exception query per
// worker and day, the rotation through single-value reads of TURNOS, leave loaded with
// three queries per worker and scanned linearly, holidays with their two DATEPART
// queries, and the report reloading the absent workers every day (each worker absent on
// a date with a substitute of the report's list once, crediting the substitute each of
// their entries shows). It is slow on purpose and kept only as the yardstick the engine's
// results must match exactly.
//
// Header only, so the benchmarks can time it too.

#include "DateTime.h"
#include "DbQuery.h"
#include "FechasPlanilla.h"
#include "Referencia.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <vector>

namespace DvRef {

struct CLib {
    int personal = -1;
    int inicio = 0; // whole days
    int fin = -1;
    int suplente = -1;
    int tipo = -1;
};
using CLibs = std::vector<CLib>;

struct CFila {
    int persona;
    QString nombre;
    CDateTime dia;
    int turno;
    int id;
};

// The rows of the assignments picked by `condicion`, dated before the 28th of the month,
// newest first (equal dates: lower ID first).
inline std::vector<CFila> Filas(const QString& condicion, int mes, int anio) {
    std::vector<CFila> filas;
    const CDateTime limite(anio, mes, 28);
    CDbQuery q;
    CDbRecordset rs = q.Open(
        QStringLiteral("SELECT PERSONAL.ID AS IDPERSONA,NOMBREPLANILLA ,DIA_REF,ID_TURNO, "
                       "ASIG_TURNOS.ID AS IDASIG FROM  PERSONAL, ASIG_TURNOS WHERE PERSONAL.ID = "
                       "ASIG_TURNOS.ID_PERSONAL AND %1 ORDER BY ASIG_TURNOS.ID")
            .arg(condicion));
    while (!rs.IsEOF()) {
        const CDateTime dia = rs.GetDateTime(QStringLiteral("DIA_REF"));
        if (limite.IsValid() && dia.IsValid() && dia < limite)
            filas.push_back({rs.GetInt(QStringLiteral("IDPERSONA")),
                             rs.GetText(QStringLiteral("NOMBREPLANILLA")), dia,
                             rs.GetInt(QStringLiteral("ID_TURNO")),
                             rs.GetInt(QStringLiteral("IDASIG"))});
        rs.MoveNext();
    }
    std::stable_sort(filas.begin(), filas.end(),
                     [](const CFila& a, const CFila& b) { return a.dia > b.dia; });
    return filas;
}

inline void CargarReferencias(int mes, int anio, int servicio, CListaReferencias& lista) {
    for (const CFila& f :
         Filas(QStringLiteral("PERSONAL.ID_FUNCION=%1").arg(servicio), mes, anio)) {
        bool esta = false;
        for (const CReferencia& r : lista)
            if (r.m_idPersonal == f.persona)
                esta = true;
        if (!esta)
            lista.emplace_back(f.nombre, f.persona, f.turno, f.dia);
    }
}

inline std::unique_ptr<CReferencia> CargarReferencia(const CDateTime& fecha, int persona) {
    const auto filas =
        Filas(QStringLiteral("PERSONAL.ID=%1").arg(persona), fecha.GetMonth(), fecha.GetYear());
    if (filas.empty())
        return nullptr;
    return std::make_unique<CReferencia>(filas[0].nombre, persona, filas[0].turno, filas[0].dia);
}

inline bool BuscarExcepcion(int persona, const CDateTime& fecha, int& tipo, int& hi, int& hf) {
    CDbQuery q;
    CDbRecordset rs =
        q.Open(QString::asprintf("SELECT * FROM EXCEPCIONES WHERE ID_PERSONAL = %d AND "
                                 "DATEPART(\"d\",DIA)=%02d  AND DATEPART(\"m\",DIA)=%02d AND "
                                 "DATEPART(\"yyyy\",DIA)=%04d ORDER BY ID",
                                 persona, fecha.GetDay(), fecha.GetMonth(), fecha.GetYear()));
    if (rs.IsEOF())
        return false;
    tipo = rs.GetInt(QStringLiteral("TIPO"));
    hi = rs.GetDateTime(QStringLiteral("HORAINICIAL")).GetHour();
    hf = rs.GetDateTime(QStringLiteral("HORAFINAL")).GetHour();
    return true;
}

inline bool EsFestivo(const CDateTime& fecha) {
    if (DiaDeSemana(fecha) == 7)
        return true;
    CDbQuery q;
    {
        CDbRecordset rs = q.Open(QString::asprintf(
            "SELECT * FROM FIESTAS WHERE CICLICO=FALSE AND DATEPART(\"d\",DIA)=%02d AND "
            "DATEPART(\"m\",DIA)=%02d AND DATEPART(\"yyyy\",DIA)=%04d",
            fecha.GetDay(), fecha.GetMonth(), fecha.GetYear()));
        if (!rs.IsEOF())
            return true;
    }
    CDbRecordset rs = q.Open(QString::asprintf("SELECT * FROM FIESTAS WHERE CICLICO=TRUE AND "
                                               "DATEPART(\"d\",DIA)=%d AND DATEPART(\"m\",DIA)=%d",
                                               fecha.GetDay(), fecha.GetMonth()));
    return !rs.IsEOF();
}

inline CLibs CargarLibranzas(const CListaReferencias& refs, bool porSuplente) {
    CLibs lista;
    const char* tablas[] = {"VACACIONES", "BAJAS", "DIASPERSONALES"};
    for (int t = 0; t < 3; ++t)
        for (const CReferencia& r : refs) {
            CDbQuery q;
            CDbRecordset rs = q.Open(
                QStringLiteral("SELECT * FROM %1 WHERE %2 = %3 ORDER BY ID")
                    .arg(QLatin1String(tablas[t]), porSuplente ? QStringLiteral("ID_SUPLENTE")
                                                               : QStringLiteral("ID_PERSONAL"))
                    .arg(r.m_idPersonal));
            while (!rs.IsEOF()) {
                const CDateTime ini = rs.GetDateTime(QStringLiteral("INICIO"));
                const CDateTime fin = t == 2 ? ini : rs.GetDateTime(QStringLiteral("FINAL"));
                if (ini.IsValid() && fin.IsValid())
                    lista.push_back({rs.GetInt(QStringLiteral("ID_PERSONAL")), ini.DayNumber(),
                                     fin.DayNumber(), rs.GetInt(QStringLiteral("ID_SUPLENTE")),
                                     t + 1});
                rs.MoveNext();
            }
        }
    return lista;
}

inline bool BuscarLibranza(const CLibs& lista, int persona, const CDateTime& fecha, QString& nombre,
                           int& suplente, int& tipo) {
    const int d = fecha.DayNumber();
    for (const CLib& l : lista)
        if (l.personal == persona && l.inicio <= d && d <= l.fin) {
            tipo = l.tipo;
            suplente = l.suplente;
            if (suplente > 0)
                CDbQuery().GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("NOMBREPLANILLA"),
                                       suplente, nombre);
            return true;
        }
    return false;
}

inline bool BuscarSuplencia(const CLibs& lista, int persona, const CDateTime& fecha, int& ausente,
                            int& tipo) {
    const int d = fecha.DayNumber();
    for (const CLib& l : lista)
        if (l.suplente == persona && l.inicio <= d && d <= l.fin) {
            ausente = l.personal;
            tipo = l.tipo;
            return true;
        }
    return false;
}

inline void OrdenarPorHora(const CListaPlanDia& trabajo, CListaPlanDia& salida) {
    int anterior = -1;
    for (;;) {
        int h = 25;
        for (const CPlanDia& e : trabajo)
            if (e.m_hora > anterior && e.m_hora < h)
                h = e.m_hora;
        if (h >= 25)
            break;
        for (const CPlanDia& e : trabajo)
            if (e.m_hora == h)
                salida.push_back(e);
        anterior = h;
    }
}

inline void CalcularDia(const CListaReferencias& refs, const CLibs& libranzas,
                        const CDateTime& fecha, CListaPlanDia& salida) {
    salida.clear();
    CListaPlanDia trabajo;
    for (const CReferencia& r : refs) {
        const int w = r.m_idPersonal;
        int tipoExc = 0, hi = 0, hf = 0;
        if (BuscarExcepcion(w, fecha, tipoExc, hi, hf)) {
            if (tipoExc != 2)
                continue;
            CPlanDia e(r.m_nombrePlanilla, -1, hi, 0);
            e.m_idPersonal = w;
            trabajo.push_back(e);
            if ((hi == 8 && hf == 22) || (hi == 15 && hf == 8)) {
                e.m_hora = hi + 7;
                trabajo.push_back(e);
            }
            continue;
        }
        QString nombre;
        int suplente = -1, tipo = -1, tipoLib = 0, idSup = -1;
        if (BuscarLibranza(libranzas, w, fecha, nombre, suplente, tipo)) {
            if (nombre.isEmpty())
                continue;
            tipoLib = tipo;
            idSup = suplente;
        } else {
            nombre = r.m_nombrePlanilla;
        }
        CDbQuery q;
        const long d = fecha.DayNumber() - r.m_diaRef.DayNumber();
        if (q.GetIntById(QStringLiteral("TURNOS"), QStringLiteral("ID"), r.m_idTurno) < 0)
            continue; // the reference shift is gone
        const int o = q.GetIntById(QStringLiteral("TURNOS"), QStringLiteral("ORDEN"), r.m_idTurno);
        const int t =
            q.GetIntById(QStringLiteral("TURNOS"), QStringLiteral("ID_TIPOTURNO"), r.m_idTurno);
        int n = 0;
        {
            CDbRecordset rs =
                q.Open(QStringLiteral("SELECT * FROM TURNOS WHERE ID_TIPOTURNO = %1").arg(t));
            while (!rs.IsEOF()) {
                ++n;
                rs.MoveNext();
            }
        }
        if (n == 0)
            continue;
        long p = (d + o) % n;
        if (p < 0)
            p += n;
        if (p == 0)
            p = n;
        const int s =
            q.GetIntByTwoKeys(QStringLiteral("TURNOS"), QStringLiteral("ID"),
                              QStringLiteral("ORDEN"), p, QStringLiteral("ID_TIPOTURNO"), t);
        if (s < 0)
            continue;
        CDateTime ini, fin;
        q.GetDateTimeById(QStringLiteral("TURNOS"), QStringLiteral("HORAINICIAL"), s, ini);
        if (ini.IsValid() && ini.GetYear() == 2001 && ini.GetMonth() == 4 && ini.GetDay() == 23)
            continue;
        q.GetDateTimeById(QStringLiteral("TURNOS"), QStringLiteral("HORAFINAL"), s, fin);
        CPlanDia e(nombre, s, ini.GetHour(), tipoLib);
        e.m_idPersonal = w;
        if (tipoLib != 0)
            e.m_idSuplente = idSup;
        trabajo.push_back(e);
        if ((ini.GetHour() == 8 && fin.GetHour() == 22) ||
            (ini.GetHour() == 15 && fin.GetHour() == 8)) {
            e.m_hora += 7;
            trabajo.push_back(e);
        }
    }
    DvRef::OrdenarPorHora(trabajo, salida);
}

// CR, LF and NUL of a stored name become blanks.
inline QString UnaLinea(const QString& texto) {
    QString salida;
    for (const QChar c : texto)
        salida += (c == QChar(13) || c == QChar(10) || c == QChar(0)) ? QChar(32) : c;
    return salida;
}

// "surname, name", quoted (inner quotes doubled) when it holds ';' or '"'.
inline QString CampoTrabajador(const QString& apellidos, const QString& nombre) {
    const QString campo = UnaLinea(apellidos) + QStringLiteral(", ") + UnaLinea(nombre);
    if (campo.indexOf(QChar(';')) < 0 && campo.indexOf(QChar('"')) < 0)
        return campo;
    QString citado = QStringLiteral("\"");
    for (const QChar c : campo) {
        if (c == QChar('"'))
            citado += c;
        citado += c;
    }
    return citado + QStringLiteral("\"");
}

inline QString GenerarInforme(int mes, int anio, int servicio) {
    QString nombreServicio;
    CDbQuery().GetTextById(QStringLiteral("FUNCIONES"), QStringLiteral("NOMBRE"), servicio,
                           nombreServicio);
    QString texto = QStringLiteral("INFORME MES ") + NombreMes(mes) + QStringLiteral(" DE ") +
                    QString::number(anio) + QStringLiteral(" DEL SERVICIO ") +
                    UnaLinea(nombreServicio) + QStringLiteral("\r\n");
    texto += QStringLiteral(
        "TRABAJADOR;DIAS TRABAJADOS;NOCHES;PERSONALES;VACACIONES;DIAS BAJA;COMENTARIOS\r\n");
    CListaReferencias refs;
    CargarReferencias(mes, anio, servicio, refs);
    const CLibs porPersona = CargarLibranzas(refs, false);
    const CLibs porSuplente = CargarLibranzas(refs, true);
    struct CCuenta {
        int id, trab = 0, noches = 0, vac = 0, baja = 0, pers = 0;
    };
    std::vector<CCuenta> cuentas;
    for (const CReferencia& r : refs)
        cuentas.push_back({r.m_idPersonal});
    auto cuenta = [&](int id) -> CCuenta* {
        for (CCuenta& c : cuentas)
            if (c.id == id)
                return &c;
        return nullptr;
    };
    const int n = DiasDelMes(mes, anio);
    CListaPlanDia plan;
    for (int i = 1; i <= n; ++i) {
        const CDateTime fecha(anio, mes, i);
        for (const CReferencia& r : refs) {
            QString nombre;
            int sup, tipo;
            if (BuscarLibranza(porPersona, r.m_idPersonal, fecha, nombre, sup, tipo)) {
                CCuenta* c = cuenta(r.m_idPersonal);
                (tipo == 1 ? c->vac : tipo == 2 ? c->baja : c->pers) += 1;
            }
        }
        // Every worker absent on the date with a substitute of this list, once.
        CListaReferencias ausentes;
        QSet<int> yaVistos;
        for (const CLib& l : porSuplente) {
            if (l.inicio > fecha.DayNumber() || fecha.DayNumber() > l.fin || !cuenta(l.suplente) ||
                yaVistos.contains(l.personal))
                continue;
            yaVistos.insert(l.personal);
            if (auto ref = DvRef::CargarReferencia(fecha, l.personal))
                ausentes.push_back(*ref);
        }
        const CLibs libAusentes = CargarLibranzas(ausentes, false);
        DvRef::CalcularDia(ausentes, libAusentes, fecha, plan);
        for (const CPlanDia& e : plan)
            if (e.m_idPersonal != -1 && e.m_tipoLibranza >= 1 && e.m_tipoLibranza <= 3)
                if (CCuenta* c = cuenta(e.m_idSuplente)) {
                    ++c->trab;
                    if (e.m_hora == 22)
                        ++c->noches;
                }
        DvRef::CalcularDia(refs, porPersona, fecha, plan);
        for (const CPlanDia& e : plan)
            if (e.m_idPersonal != -1 && e.m_tipoLibranza == 0)
                if (CCuenta* c = cuenta(e.m_idPersonal)) {
                    ++c->trab;
                    if (e.m_hora == 22)
                        ++c->noches;
                }
    }
    for (const CCuenta& c : cuentas) {
        QString nombre, apellidos;
        CDbQuery().GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("NOMBRE"), c.id, nombre);
        CDbQuery().GetTextById(QStringLiteral("PERSONAL"), QStringLiteral("APELLIDOS"), c.id,
                               apellidos);
        texto += CampoTrabajador(apellidos, nombre) +
                 QString::asprintf(";%d;%d;%d;%d;%d;\r\n", c.trab, c.noches, c.pers, c.vac, c.baja);
    }
    return texto;
}

} // namespace DvRef
