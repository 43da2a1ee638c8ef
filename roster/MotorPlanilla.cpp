#include "MotorPlanilla.h"

#include "DatosMes.h"
#include "FechasPlanilla.h"
#include "FechasSql.h"
#include "Filas.h"

#include <QSet>
#include <algorithm>

namespace {
// The assignment that holds for a worker: latest DIA_REF before the limit, lowest ID
// among equal dates.
struct CAsignacion {
    int m_idAsignacion = -1;
    int m_idTurno = -1;
    CDateTime m_dia;
    QString m_nombre;
};

bool Precede(const CAsignacion& a, const CAsignacion& b) {
    if (a.m_dia.Days() != b.m_dia.Days())
        return a.m_dia.Days() > b.m_dia.Days();
    return a.m_idAsignacion < b.m_idAsignacion;
}

// The 28th of the month at 00:00: assignments strictly before it hold for the month.
CDateTime Limite(int mes, int anio) {
    return CDateTime(anio, mes, 28);
}

// Reads, per worker picked by `condicion` (on PERSONAL/ASIG_TURNOS), the assignment that
// holds for the month of the limit. The date test is made on the dates as read (every
// stored form alike).
std::unordered_map<int, CAsignacion> Asignaciones(const QString& condicion, const CDateTime& limite,
                                                  bool& ok) {
    std::unordered_map<int, CAsignacion> porPersona;
    if (!limite.IsValid()) {
        ok = true;
        return porPersona;
    }
    // The assignments of the workers come out with their dates as stored; those before
    // the limit count (a date that cannot be read never does), and the latest per worker
    // (equal dates: lowest ID) is kept here. A text of a later year than the limit's, in
    // any form, sorts after 'YYYY0:' (the ':' keeps it from being taken for a number)
    // and is left out at once, through the index by worker and date; numbers and every
    // other text are checked here.
    const QString sql =
        QStringLiteral("SELECT ASIG_TURNOS.ID_PERSONAL, ASIG_TURNOS.ID, ASIG_TURNOS.ID_TURNO, "
                       "ASIG_TURNOS.DIA_REF, PERSONAL.NOMBREPLANILLA FROM PERSONAL, "
                       "ASIG_TURNOS WHERE PERSONAL.ID = ASIG_TURNOS.ID_PERSONAL AND %1 AND "
                       "ASIG_TURNOS.DIA_REF < '%2'")
            .arg(condicion, QString::asprintf("%04d0:", limite.GetYear()));
    const double tope = limite.DayNumber();
    ok = DvFilas::Recorrer(sql, [&](const CDbRecordset& fila) {
        CAsignacion nueva;
        nueva.m_dia = fila.GetDateTime(3);
        if (!nueva.m_dia.IsValid() || !(nueva.m_dia.Days() < tope))
            return;
        nueva.m_idAsignacion = fila.GetInt(1);
        const int idPersonal = fila.GetInt(0);
        auto it = porPersona.find(idPersonal);
        if (it == porPersona.end()) {
            nueva.m_idTurno = fila.GetInt(2);
            nueva.m_nombre = fila.GetText(4);
            porPersona.emplace(idPersonal, std::move(nueva));
        } else if (Precede(nueva, it->second)) {
            it->second.m_idAsignacion = nueva.m_idAsignacion;
            it->second.m_dia = nueva.m_dia;
            it->second.m_idTurno = fila.GetInt(2);
        }
    });
    return porPersona;
}

QString ListaIds(const std::vector<int>& ids) {
    QStringList partes;
    for (int id : ids)
        partes << QString::number(id);
    return partes.join(QLatin1Char(','));
}
} // namespace

namespace {
// Where each entry of `trabajo` goes in `salida` (after what it holds): by hour 0..24,
// list order kept within an hour; -1 for an entry with another hour.
template <class Lista, class Poner>
void PorHora(Lista& trabajo, CListaPlanDia& salida, Poner poner) {
    int cuenta[25] = {};
    for (const CPlanDia& entrada : trabajo)
        if (entrada.m_hora >= 0 && entrada.m_hora <= 24)
            ++cuenta[entrada.m_hora];
    int inicio[26] = {};
    for (int h = 0; h < 25; ++h)
        inicio[h + 1] = inicio[h] + cuenta[h];
    const std::size_t base = salida.size();
    salida.resize(base + inicio[25]);
    for (auto& entrada : trabajo)
        if (entrada.m_hora >= 0 && entrada.m_hora <= 24)
            poner(salida[base + inicio[entrada.m_hora]++], entrada);
}
} // namespace

CMotorPlanilla::CMotorPlanilla() = default;
CMotorPlanilla::~CMotorPlanilla() = default;

CDatosMes& CMotorPlanilla::DatosPara(const CDateTime& fecha) {
    if (!m_datos || !m_datos->Contiene(fecha.DayNumber()))
        m_datos = std::make_shared<CDatosMes>(fecha.GetMonth(), fecha.GetYear());
    return *m_datos;
}

CDatosMes& CMotorPlanilla::DatosDelMes() {
    if (!m_datos || m_datos->Mes() != m_mes || m_datos->Anio() != m_anio)
        m_datos = std::make_shared<CDatosMes>(m_mes, m_anio);
    return *m_datos;
}

void CMotorPlanilla::CompartirDatos(const CMotorPlanilla& otro) {
    m_datos = otro.m_datos;
}

void CMotorPlanilla::OlvidarDatos() {
    m_datos.reset();
    m_preparadas.clear();
    m_preparadasDatos.reset();
}

void CMotorPlanilla::CargarLibranzas(const CListaReferencias& referencias) {
    CDatosMes& datos = DatosDelMes();
    if (!datos.Valido()) {
        m_libranzas.CargarLibranzas(referencias, false);
        return;
    }
    m_libranzas.CargarDeReserva(datos.Libranzas(), referencias, false, datos.Desde(),
                                datos.Hasta());
}

bool CMotorPlanilla::EsFestivo(const CDateTime& fecha) {
    if (DiaDeSemana(fecha) == 7)
        return true;
    return DatosPara(fecha).Festivos().EsFiesta(fecha.GetDay());
}

void CMotorPlanilla::Preparar(const CListaReferencias& referencias, CDatosMes& datos) {
    if (m_preparadasDatos != m_datos || m_preparadasVersion != m_libranzas.Version()) {
        m_preparadas.clear();
        m_preparadasDatos = m_datos;
    }
    const CTablaTurnos& turnos = datos.Turnos();
    const CExcepcionesMes& excepciones = datos.Excepciones();
    const std::size_t antes = m_preparadas.size();
    m_preparadas.resize(referencias.size());
    for (std::size_t i = 0; i < referencias.size(); ++i) {
        const CReferencia& ref = referencias[i];
        CPreparada& p = m_preparadas[i];
        if (i < antes && p.m_idPersonal == ref.m_idPersonal && p.m_idTurno == ref.m_idTurno &&
            p.m_diaRefDias == ref.m_diaRef.Days())
            continue;
        p.m_idPersonal = ref.m_idPersonal;
        p.m_idTurno = ref.m_idTurno;
        p.m_diaRefDias = ref.m_diaRef.Days();
        p.m_diaRef = ref.m_diaRef.DayNumber();
        p.m_turnoRef = turnos.Buscar(ref.m_idTurno);
        p.m_excepciones = excepciones.RangoDe(ref.m_idPersonal);
        p.m_libranzas = m_libranzas.PosicionesDe(ref.m_idPersonal);
    }
    // Looking the periods up may have indexed the list.
    m_preparadasVersion = m_libranzas.Version();
}

void CMotorPlanilla::CalcularDia(const CListaReferencias& referencias, const CDateTime& fecha,
                                 CListaPlanDia& salida) {
    salida.clear();
    m_trabajo.clear();
    CDatosMes& datos = DatosPara(fecha);
    const CTablaTurnos& turnos = datos.Turnos();
    const CExcepcionesMes& excepciones = datos.Excepciones();
    const int dia = fecha.DayNumber();
    m_libranzas.AsegurarDia(dia);
    Preparar(referencias, datos);
    const std::vector<CLibranza>& libranzas = m_libranzas.Libranzas();

    for (std::size_t i = 0; i < referencias.size(); ++i) {
        const CReferencia& ref = referencias[i];
        const CPreparada& p = m_preparadas[i];
        const int id = ref.m_idPersonal;

        // An exception of the day wins over leave and rotation.
        if (const CExcepcion* excepcion = excepciones.BuscarEn(p.m_excepciones, dia)) {
            if (excepcion->m_tipo != 2)
                continue;
            CPlanDia& entrada =
                m_trabajo.emplace_back(ref.m_nombrePlanilla, -1, excepcion->m_horaInicio, 0);
            entrada.m_idPersonal = id;
            if (EsTurnoPartido(excepcion->m_horaInicio, excepcion->m_horaFin)) {
                CPlanDia segunda = entrada;
                segunda.m_hora += 7;
                m_trabajo.push_back(std::move(segunda));
            }
            continue;
        }

        // A leave period (the first in the list that covers the day) shows the substitute
        // instead, or nobody.
        const QString* nombre = &ref.m_nombrePlanilla;
        int tipoLibranza = 0;
        int idSuplente = -1;
        if (p.m_libranzas) {
            const CLibranza* libranza = nullptr;
            for (int posicion : *p.m_libranzas)
                if (libranzas[posicion].Cubre(dia)) {
                    libranza = &libranzas[posicion];
                    break;
                }
            if (libranza) {
                if (libranza->m_idSuplente <= 0 || libranza->m_nombreSuplente.isEmpty())
                    continue;
                nombre = &libranza->m_nombreSuplente;
                tipoLibranza = libranza->m_tipo;
                idSuplente = libranza->m_idSuplente;
            }
        }

        // The rotation gives the shift; a rest day, or a rotation that cannot be followed
        // (shift gone, no shifts, no shift at the position), gives nothing.
        const CTurno* turno =
            p.m_turnoRef ? turnos.TurnoDesde(*p.m_turnoRef, dia - p.m_diaRef) : nullptr;
        if (!turno || turno->EsLibre())
            continue;
        CPlanDia& entrada =
            m_trabajo.emplace_back(*nombre, turno->m_id, turno->m_horaInicio, tipoLibranza);
        entrada.m_idPersonal = id;
        if (tipoLibranza != 0)
            entrada.m_idSuplente = idSuplente;
        if (EsTurnoPartido(turno->m_horaInicio, turno->m_horaFin)) {
            CPlanDia segunda = entrada;
            segunda.m_hora += 7;
            m_trabajo.push_back(std::move(segunda));
        }
    }
    PorHora(m_trabajo, salida,
            [](CPlanDia& destino, CPlanDia& entrada) { destino = std::move(entrada); });
    m_trabajo.clear();
}

bool CargarReferencias(CMotorPlanilla& motor, CListaReferencias& lista) {
    // A new build: read the month afresh.
    motor.OlvidarDatos();
    bool ok = true;
    const auto porPersona =
        Asignaciones(QStringLiteral("PERSONAL.ID_FUNCION = %1").arg(motor.m_servicio),
                     Limite(motor.m_mes, motor.m_anio), ok);

    std::vector<std::pair<int, const CAsignacion*>> orden;
    orden.reserve(porPersona.size());
    for (const auto& par : porPersona)
        orden.emplace_back(par.first, &par.second);
    std::sort(orden.begin(), orden.end(),
              [](const auto& a, const auto& b) { return Precede(*a.second, *b.second); });

    // Workers are told apart by their id, never by planilla name: two people who share a
    // name (or both have none) are both listed. A worker already in the list keeps the
    // entry it has.
    QSet<int> personas;
    for (const CReferencia& ref : lista)
        personas.insert(ref.m_idPersonal);
    lista.reserve(lista.size() + orden.size());
    for (const auto& par : orden) {
        const CAsignacion& asignacion = *par.second;
        if (personas.contains(par.first))
            continue;
        personas.insert(par.first);
        lista.emplace_back(asignacion.m_nombre, par.first, asignacion.m_idTurno, asignacion.m_dia);
    }
    return ok;
}

std::unique_ptr<CReferencia> CargarReferencia(const CDateTime& fecha, int idPersonal) {
    bool ok = true;
    const auto porPersona =
        Asignaciones(QStringLiteral("ASIG_TURNOS.ID_PERSONAL = %1").arg(idPersonal),
                     Limite(fecha.GetMonth(), fecha.GetYear()), ok);
    const auto it = porPersona.find(idPersonal);
    if (it == porPersona.end())
        return nullptr;
    return std::make_unique<CReferencia>(it->second.m_nombre, idPersonal, it->second.m_idTurno,
                                         it->second.m_dia);
}

std::unordered_map<int, CReferencia> CargarReferenciasDe(const std::vector<int>& ids, int mes,
                                                         int anio) {
    std::unordered_map<int, CReferencia> resultado;
    if (ids.empty())
        return resultado;
    bool ok = true;
    const auto porPersona =
        Asignaciones(QStringLiteral("ASIG_TURNOS.ID_PERSONAL IN (%1)").arg(ListaIds(ids)),
                     Limite(mes, anio), ok);
    for (const auto& par : porPersona)
        resultado.emplace(par.first, CReferencia(par.second.m_nombre, par.first,
                                                 par.second.m_idTurno, par.second.m_dia));
    return resultado;
}

void CalcularDia(CMotorPlanilla& motor, const CListaReferencias& referencias,
                 const CDateTime& fecha, CListaPlanDia& salida) {
    motor.CalcularDia(referencias, fecha, salida);
}

int PosicionRotacion(long long dias, long long orden, int n) {
    if (n <= 0)
        return -1;
    long long posicion = (dias + orden) % n; // remainder with the sign of the dividend
    if (posicion < 0)
        posicion += n;
    if (posicion == 0)
        posicion = n;
    return static_cast<int>(posicion);
}

bool EsTurnoPartido(int horaInicio, int horaFin) {
    return (horaInicio == 8 && horaFin == 22) || (horaInicio == 15 && horaFin == 8);
}

void OrdenarPorHora(const CListaPlanDia& trabajo, CListaPlanDia& salida) {
    PorHora(trabajo, salida, [](CPlanDia& destino, const CPlanDia& entrada) { destino = entrada; });
}

bool EsFestivo(const CDateTime& fecha) {
    if (DiaDeSemana(fecha) == 7)
        return true;
    CFestivosMes festivos;
    festivos.Cargar(fecha.GetMonth(), fecha.GetYear());
    return festivos.EsFiesta(fecha.GetDay());
}

bool BuscarExcepcion(int idPersonal, const CDateTime& fecha, CExcepcion& resultado) {
    const int dia = fecha.DayNumber();
    bool encontrada = false;
    DvFilas::Recorrer(QStringLiteral("SELECT DIA, TIPO, HORAINICIAL, HORAFINAL FROM EXCEPCIONES "
                                     "WHERE ID_PERSONAL = %1 AND %2 ORDER BY ID")
                          .arg(idPersonal)
                          .arg(DvFechasSql::DiasEntre(QStringLiteral("DIA"), dia, dia)),
                      [&](const CDbRecordset& fila) {
                          if (encontrada)
                              return;
                          const CDateTime valor = fila.GetDateTime(0);
                          if (!valor.IsValid() || valor.DayNumber() != dia)
                              return;
                          resultado.m_tipo = fila.GetInt(1);
                          resultado.m_horaInicio = fila.GetDateTime(2).GetHour();
                          resultado.m_horaFin = fila.GetDateTime(3).GetHour();
                          encontrada = true;
                      });
    return encontrada;
}

bool operator==(const CPlanDia& a, const CPlanDia& b) {
    return a.m_nombre == b.m_nombre && a.m_idTurno == b.m_idTurno && a.m_hora == b.m_hora &&
           a.m_tipoLibranza == b.m_tipoLibranza && a.m_idPersonal == b.m_idPersonal &&
           a.m_idSuplente == b.m_idSuplente;
}
