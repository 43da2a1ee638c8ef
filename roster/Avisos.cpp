#include "Avisos.h"

#include "DatosMes.h"
#include "FechasPlanilla.h"
#include "Filas.h"
#include "MotorPlanilla.h"
#include "PeriodosTrabajo.h"
#include "TramoDias.h"

#include <QDateTime>
#include <QStringBuilder>
#include <algorithm>
#include <limits>
#include <map>
#include <unordered_map>
#include <unordered_set>

namespace {
constexpr long long MinutosDia = 1440;
// Days looked at before the first week: a rest that began before them has lasted three
// days by the Monday, enough for any week it runs into.
constexpr int DiasPrevios = 3;
// The legal night: 22:00 to 06:00; a period with at least three hours of it is a night.
constexpr int InicioNoche = 22 * 60;
constexpr int FinNoche = (24 + 6) * 60;
constexpr int MinutosNocturnos = 3 * 60;
// What the roster shows as the periods of a day: from 8, 15 and 22 to the next one.
constexpr int LimitesPeriodo[CReglasServicio::Periodos + 1] = {8 * 60, 15 * 60, 22 * 60,
                                                               (24 + 8) * 60};
const char* const NombresPeriodo[CReglasServicio::Periodos] = {"mañana", "tarde", "noche"};

QString DiaMes(int dia) {
    const CDateTime fecha = CDateTime::FromDays(dia);
    return QString::asprintf("%02d/%02d", fecha.GetDay(), fecha.GetMonth());
}

// "7 h", "7 h 30 min".
QString Horas(long long minutos) {
    const long long horas = minutos / 60;
    const long long resto = minutos % 60;
    return resto == 0 ? QStringLiteral("%1 h").arg(horas)
                      : QStringLiteral("%1 h %2 min").arg(horas).arg(resto);
}

long long MinutosDesdeBase(const QDateTime& utc) {
    static const QDate base(1899, 12, 30);
    const QTime hora = utc.time();
    return base.daysTo(utc.date()) * MinutosDia + hora.hour() * 60 + hora.minute();
}

// Wall-clock minutes since 30/12/1899 00:00 to real elapsed minutes (UTC) in a time zone,
// for the days of one check: the zone's changes of offset in that span, read once.
class CRelojReal {
public:
    CRelojReal(const QTimeZone& zona, int desde, int hasta) {
        if (!zona.isValid()) {
            m_tramos.push_back({0, 0});
            return;
        }
        static const QDate base(1899, 12, 30);
        const QDateTime inicio(base.addDays(desde - 1), QTime(0, 0), Qt::UTC);
        const QDateTime fin(base.addDays(hasta + 2), QTime(0, 0), Qt::UTC);
        int desfase = zona.offsetFromUtc(inicio) / 60;
        m_tramos.push_back({0, desfase});
        for (const QTimeZone::OffsetData& cambio : zona.transitions(inicio, fin)) {
            // The change happens at this wall-clock time of the offset before it.
            m_tramos.push_back({MinutosDesdeBase(cambio.atUtc) + desfase, 0});
            desfase = cambio.offsetFromUtc / 60;
            m_tramos.back().m_desfase = desfase;
        }
    }

    // A time that the clocks skip counts as after the change; one they show twice, as
    // its first occurrence.
    long long Real(long long local) const {
        int desfase = m_tramos.front().m_desfase;
        for (size_t i = 1; i < m_tramos.size() && m_tramos[i].m_desdeLocal <= local; ++i)
            desfase = m_tramos[i].m_desfase;
        return local - desfase;
    }

private:
    struct CTramo {
        long long m_desdeLocal; // from this wall-clock minute on (the first: always)
        int m_desfase;          // minutes ahead of UTC
    };
    std::vector<CTramo> m_tramos;
};

// A work period with its real start and end, and whose roster it belongs to.
struct CTrabajo {
    CPeriodoTrabajo m_periodo;
    long long m_inicio = 0; // real minutes
    long long m_fin = 0;
    bool m_delServicio = false; // a worker of the service's own, or their substitute

    int Persona() const { return m_periodo.m_idPersona; }
    int Dia() const { return m_periodo.m_dia; }
};

// The leave of one person as the checks need it.
struct CAusencia {
    int m_tipo = 0;
    int m_desde = 0;
    int m_hasta = -1;
    int m_idSuplente = -1;
};

CListaReferencias ReferenciasDe(const std::vector<int>& ids) {
    CListaReferencias refs;
    refs.reserve(ids.size());
    for (int id : ids)
        refs.emplace_back(QString(), id, -1, CDateTime());
    return refs;
}

class CComprobacion {
public:
    CComprobacion(int mes, int anio, int servicio, const CReglasServicio& reglas,
                  const QTimeZone& zona)
        : m_mes(mes), m_anio(anio), m_servicio(servicio), m_reglas(reglas), m_zona(zona) {}

    CListaAvisos Ejecutar(const CMesCalculado* calculado);

private:
    // The month's own roster and the people in it.
    void PlanesDelServicio(const CMesCalculado* calculado);
    // The rest of the work of those people in the month, in other services too.
    void PlanesDeOtros();
    // Days of the month before or after, read for those days only.
    void PlanesVecinos(int desde, int hasta);
    // Keeps the leave of the roster's people among the periods read; returns whom they
    // stand in for.
    std::vector<int> LeerAusencias(const CReservaLibranzas& reserva);
    // Adds a work period of one of the roster's people.
    void Agregar(CPeriodoTrabajo& periodo, bool delServicio);
    void Nombrar(const CListaReferencias& refs);

    void ComprobarAsignaciones();
    void ComprobarNombres();
    void ComprobarAutosuplencias();
    void ComprobarPersona(const std::vector<const CTrabajo*>& trabajos);
    void ComprobarSolapesYDescansos(const std::vector<const CTrabajo*>& trabajos);
    void ComprobarSemanas(const std::vector<const CTrabajo*>& trabajos);
    void ComprobarNoches(const std::vector<const CTrabajo*>& trabajos);
    void ComprobarSuplencias(const std::vector<const CTrabajo*>& trabajos);
    void ComprobarCobertura();

    bool EnMes(int dia) const { return dia >= m_desdeMes && dia <= m_hastaMes; }
    // The date of a warning about two periods: the later one's day when it is in the
    // month, else the earlier one's; 0 when neither is.
    int DiaDelPar(const CTrabajo& antes, const CTrabajo& despues) const;
    QString Nombre(int id) const;
    QString Describir(const CTrabajo& trabajo, int diaReferencia) const;
    // "dd/mm" of a day, and "HH:MM–HH:MM" of a period, made once each.
    QString Dia(int dia) const;
    QString HorasDe(const CPeriodoTrabajo& periodo) const;
    const CAusencia* AusenciaDel(int persona, int dia) const;
    void Avisar(const char* tipo, int dia, int id, const QString& nombre, const QString& texto);

    const int m_mes;
    const int m_anio;
    const int m_servicio;
    const CReglasServicio m_reglas;
    const QTimeZone m_zona;
    int m_desdeMes = 0;
    int m_hastaMes = -1;
    int m_desde = 0;  // some days before the Monday of the first week
    int m_lunes = 0;  // the Monday of the first week
    int m_hasta = -1; // the Sunday of the last week
    std::unique_ptr<CRelojReal> m_reloj;

    CMotorPlanilla m_motor;
    CListaReferencias m_refsServicio;
    CListaReferencias m_refsMes;           // the month's references of everybody followed
    std::unordered_set<int> m_delServicio; // workers of the month's roster
    std::unordered_set<int> m_personas;    // and the substitutes shown in it
    std::vector<int> m_listaPersonas;      // the same, in the order first met
    std::unordered_map<int, QString> m_nombres;
    std::vector<CTrabajo> m_trabajos;
    std::unordered_map<int, std::vector<CAusencia>> m_ausencias; // by person
    std::unordered_set<long long> m_ausenciasVistas;             // type and row ID
    CReservaLibranzas m_libranzasVentana; // leave touching the days looked at
    bool m_libranzasLeidas = false;
    CListaAvisos m_avisos;

    mutable std::vector<QString> m_textosDia; // by day from m_desde
    mutable std::unordered_map<long long, QString> m_textosHoras;

    // Scratch lists, kept to reuse their storage.
    CListaPlanDia m_plan;
    std::vector<CPeriodoTrabajo> m_periodos;
};

CListaAvisos CComprobacion::Ejecutar(const CMesCalculado* calculado) {
    const CDateTime primero(m_anio, m_mes, 1);
    const int dias = DiasDelMes(m_mes, m_anio);
    if (!primero.IsValid() || dias <= 0)
        return {};
    m_desdeMes = primero.DayNumber();
    m_hastaMes = m_desdeMes + dias - 1;
    // The whole first and last weeks (at least the day after the month), and a few days
    // before the first: enough to see where a rest that runs into the first Monday began.
    m_desde = m_desdeMes - (DiaDeSemana(primero) - 1) - DiasPrevios;
    m_hasta =
        std::max(m_hastaMes + (7 - DiaDeSemana(CDateTime::FromDays(m_hastaMes))), m_hastaMes + 1);
    m_lunes = m_desde + DiasPrevios;
    m_reloj = std::make_unique<CRelojReal>(m_zona, m_desde, m_hasta);

    PlanesDelServicio(calculado);
    ComprobarAsignaciones();
    ComprobarNombres();
    PlanesDeOtros();
    PlanesVecinos(m_desde, m_desdeMes - 1);
    if (m_hasta > m_hastaMes)
        PlanesVecinos(m_hastaMes + 1, m_hasta);
    ComprobarAutosuplencias();

    // Each person's work in time order.
    std::unordered_map<int, size_t> cubeta;
    std::vector<std::vector<const CTrabajo*>> porPersona;
    for (const CTrabajo& trabajo : m_trabajos) {
        const auto it = cubeta.emplace(trabajo.Persona(), porPersona.size()).first;
        if (it->second == porPersona.size())
            porPersona.emplace_back();
        porPersona[it->second].push_back(&trabajo);
    }
    for (std::vector<const CTrabajo*>& trabajos : porPersona) {
        // Equal times: own work before a substitution, then by whom it covers.
        std::sort(trabajos.begin(), trabajos.end(), [](const CTrabajo* a, const CTrabajo* b) {
            if (a->m_inicio != b->m_inicio)
                return a->m_inicio < b->m_inicio;
            if (a->m_fin != b->m_fin)
                return a->m_fin < b->m_fin;
            return a->m_periodo.m_idAusente < b->m_periodo.m_idAusente;
        });
        ComprobarPersona(trabajos);
    }
    ComprobarCobertura();

    OrdenarAvisos(m_avisos);
    return std::move(m_avisos);
}

void CComprobacion::Nombrar(const CListaReferencias& refs) {
    for (const CReferencia& ref : refs)
        if (!m_nombres.count(ref.m_idPersonal))
            m_nombres.emplace(ref.m_idPersonal, ref.m_nombrePlanilla.trimmed());
}

void CComprobacion::Agregar(CPeriodoTrabajo& periodo, bool delServicio) {
    // The name shown for whoever works, for one who has no reference of their own.
    if (!periodo.m_nombre.isEmpty() && !m_nombres.count(periodo.m_idPersona))
        m_nombres.emplace(periodo.m_idPersona, periodo.m_nombre.trimmed());
    CTrabajo trabajo;
    trabajo.m_inicio = m_reloj->Real(periodo.InicioAbsoluto());
    trabajo.m_fin = m_reloj->Real(periodo.FinAbsoluto());
    trabajo.m_delServicio = delServicio;
    trabajo.m_periodo = std::move(periodo);
    m_trabajos.push_back(std::move(trabajo));
}

void CComprobacion::PlanesDelServicio(const CMesCalculado* calculado) {
    m_motor.m_mes = m_mes;
    m_motor.m_anio = m_anio;
    m_motor.m_servicio = m_servicio;
    // The month as the roster build read and computed it, when it is at hand.
    const bool hecho = calculado && calculado->m_motor && calculado->m_referencias &&
                       calculado->m_planes && calculado->m_motor->m_mes == m_mes &&
                       calculado->m_motor->m_anio == m_anio &&
                       calculado->m_motor->m_servicio == m_servicio &&
                       static_cast<int>(calculado->m_planes->size()) == m_hastaMes - m_desdeMes + 1;
    if (hecho) {
        m_refsServicio = *calculado->m_referencias;
        m_motor.CompartirDatos(*calculado->m_motor);
    } else {
        CargarReferencias(m_motor, m_refsServicio);
        m_motor.CargarLibranzas(m_refsServicio);
    }
    Nombrar(m_refsServicio);
    m_refsMes = m_refsServicio;
    for (const CReferencia& ref : m_refsServicio)
        if (m_delServicio.insert(ref.m_idPersonal).second &&
            m_personas.insert(ref.m_idPersonal).second)
            m_listaPersonas.push_back(ref.m_idPersonal);
    m_trabajos.reserve(m_refsServicio.size() * static_cast<size_t>(m_hasta - m_desde + 2));

    // Whoever the roster shows is followed, substitutes from other services included.
    for (int dia = m_desdeMes; dia <= m_hastaMes; ++dia) {
        const CDateTime fecha = CDateTime::FromDays(dia);
        const CListaPlanDia* plan = &m_plan;
        if (hecho)
            plan = &(*calculado->m_planes)[static_cast<size_t>(dia - m_desdeMes)];
        else
            m_motor.CalcularDia(m_refsServicio, fecha, m_plan);
        for (const CPlanDia& entrada : *plan)
            if (!entrada.EsRelleno() && entrada.m_tipoLibranza != 0 && entrada.m_idSuplente > 0 &&
                m_personas.insert(entrada.m_idSuplente).second)
                m_listaPersonas.push_back(entrada.m_idSuplente);
        m_periodos.clear();
        PeriodosDelDia(m_motor.DatosPara(fecha), *plan, fecha, m_periodos);
        for (CPeriodoTrabajo& periodo : m_periodos)
            Agregar(periodo, true);
    }
}

std::vector<int> CComprobacion::LeerAusencias(const CReservaLibranzas& reserva) {
    const CListaReferencias personas = ReferenciasDe(m_listaPersonas);
    CListaLibranzas propias;
    reserva.Llenar(personas, false, propias);
    for (const CLibranza& libranza : propias.Libranzas()) {
        if (!m_ausenciasVistas.insert(libranza.m_tipo * (1LL << 32) + libranza.m_id).second)
            continue;
        m_ausencias[libranza.m_idPersonal].push_back(
            {libranza.m_tipo, libranza.m_diaInicio, libranza.m_diaFinal, libranza.m_idSuplente});
    }
    CListaLibranzas suplencias;
    reserva.Llenar(personas, true, suplencias);
    std::vector<int> cubiertos;
    std::unordered_set<int> vistos;
    for (const CLibranza& libranza : suplencias.Libranzas())
        if (vistos.insert(libranza.m_idPersonal).second)
            cubiertos.push_back(libranza.m_idPersonal);
    return cubiertos;
}

void CComprobacion::PlanesDeOtros() {
    // The people of the roster who are not the service's own, and the workers of any
    // service they stand in for.
    std::vector<int> ids;
    std::unordered_set<int> vistos;
    for (int id : m_listaPersonas)
        if (!m_delServicio.count(id) && vistos.insert(id).second)
            ids.push_back(id);
    CDatosMes& datos = m_motor.DatosDelMes();
    if (datos.Valido())
        for (int id : LeerAusencias(datos.Libranzas()))
            if (!m_delServicio.count(id) && vistos.insert(id).second)
                ids.push_back(id);
    if (ids.empty())
        return;
    const auto porId = CargarReferenciasDe(ids, m_mes, m_anio);
    CListaReferencias refs;
    refs.reserve(porId.size());
    for (int id : ids) {
        const auto it = porId.find(id);
        if (it != porId.end())
            refs.push_back(it->second);
    }
    Nombrar(refs);
    m_refsMes.insert(m_refsMes.end(), refs.begin(), refs.end());
    CMotorPlanilla otros;
    otros.m_mes = m_mes;
    otros.m_anio = m_anio;
    otros.m_servicio = m_servicio;
    otros.CompartirDatos(m_motor);
    otros.CargarLibranzas(refs);
    for (int dia = m_desdeMes; dia <= m_hastaMes; ++dia) {
        const CDateTime fecha = CDateTime::FromDays(dia);
        otros.CalcularDia(refs, fecha, m_plan);
        m_periodos.clear();
        PeriodosDelDia(otros.DatosPara(fecha), m_plan, fecha, m_periodos);
        for (CPeriodoTrabajo& periodo : m_periodos)
            if (m_personas.count(periodo.m_idPersona))
                Agregar(periodo, false);
    }
}

void CComprobacion::PlanesVecinos(int desde, int hasta) {
    // The leave of every day looked at outside the month, read once for both sides.
    if (!m_libranzasLeidas) {
        m_libranzasVentana.CargarEntre(m_desde, m_hasta);
        m_libranzasLeidas = true;
    }
    CTramoDias tramo(desde, hasta, &m_libranzasVentana);
    // The roster's people and whoever they stand in for on those days.
    std::vector<int> ids = m_listaPersonas;
    std::unordered_set<int> vistos(ids.begin(), ids.end());
    for (int id : LeerAusencias(tramo.Libranzas()))
        if (vistos.insert(id).second)
            ids.push_back(id);
    tramo.Cargar(m_motor.DatosDelMes().Turnos(), ids, m_refsMes, m_desdeMes);
    Nombrar(tramo.Referencias());
    for (int dia = desde; dia <= hasta; ++dia) {
        m_periodos.clear();
        tramo.Periodos(dia, m_periodos);
        for (CPeriodoTrabajo& periodo : m_periodos) {
            if (!m_personas.count(periodo.m_idPersona))
                continue;
            const int duenio = periodo.m_idAusente >= 0 ? periodo.m_idAusente : periodo.m_idPersona;
            Agregar(periodo, m_delServicio.count(duenio) != 0);
        }
    }
}

QString CComprobacion::Nombre(int id) const {
    const auto it = m_nombres.find(id);
    if (it != m_nombres.end() && !it->second.isEmpty())
        return it->second;
    return QStringLiteral("el trabajador ") % QString::number(id);
}

QString CComprobacion::Dia(int dia) const {
    if (dia < m_desde || dia > m_hasta)
        return DiaMes(dia);
    m_textosDia.resize(static_cast<size_t>(m_hasta - m_desde + 1));
    QString& texto = m_textosDia[static_cast<size_t>(dia - m_desde)];
    if (texto.isEmpty())
        texto = DiaMes(dia);
    return texto;
}

QString CComprobacion::HorasDe(const CPeriodoTrabajo& periodo) const {
    QString& texto = m_textosHoras[periodo.m_inicio * 4096LL + periodo.m_fin];
    if (texto.isEmpty())
        texto = TextoHoras(periodo);
    return texto;
}

QString CComprobacion::Describir(const CTrabajo& trabajo, int diaReferencia) const {
    const CPeriodoTrabajo& p = trabajo.m_periodo;
    QString texto = (p.m_nombreTurno.isEmpty() ? (p.EsExcepcion() ? QStringLiteral("horas añadidas")
                                                                  : QStringLiteral("turno"))
                                               : p.m_nombreTurno) %
                    QStringLiteral(" (") % HorasDe(p) % QLatin1Char(')');
    if (p.m_dia != diaReferencia)
        texto += QStringLiteral(" del ") % Dia(p.m_dia);
    if (p.m_idAusente >= 0 && p.m_idAusente != p.m_idPersona)
        texto += QStringLiteral(" cubriendo a ") % Nombre(p.m_idAusente);
    return texto;
}

int CComprobacion::DiaDelPar(const CTrabajo& antes, const CTrabajo& despues) const {
    if (EnMes(despues.Dia()))
        return despues.Dia();
    return EnMes(antes.Dia()) ? antes.Dia() : 0;
}

const CAusencia* CComprobacion::AusenciaDel(int persona, int dia) const {
    const auto it = m_ausencias.find(persona);
    if (it == m_ausencias.end())
        return nullptr;
    for (const CAusencia& ausencia : it->second)
        if (ausencia.m_desde <= dia && dia <= ausencia.m_hasta)
            return &ausencia;
    return nullptr;
}

void CComprobacion::Avisar(const char* tipo, int dia, int id, const QString& nombre,
                           const QString& texto) {
    CAviso aviso;
    aviso.m_tipo = QLatin1String(tipo);
    aviso.m_dia = dia;
    aviso.m_idPersonal = id;
    aviso.m_nombre = nombre;
    aviso.m_texto = dia > 0 ? Dia(dia) % QStringLiteral(": ") % texto : texto;
    m_avisos.push_back(std::move(aviso));
}

void CComprobacion::ComprobarAsignaciones() {
    // Whoever the service has and the month's references leave out.
    struct CFila {
        int m_id;
        QString m_planilla;
        QString m_completo;
    };
    std::vector<CFila> sinAsignacion;
    DvFilas::Recorrer(
        QStringLiteral("SELECT ID, NOMBREPLANILLA, NOMBRE, APELLIDOS FROM PERSONAL "
                       "WHERE ID_FUNCION = %1 ORDER BY ID")
            .arg(m_servicio),
        [&](const CDbRecordset& fila) {
            const int id = fila.GetInt(0);
            if (!m_delServicio.count(id))
                sinAsignacion.push_back(
                    {id, fila.GetText(1),
                     (fila.GetText(2) + QLatin1Char(' ') + fila.GetText(3)).trimmed()});
        });
    const QString limite = QString::asprintf("28/%02d/%04d", m_mes, m_anio);
    for (const CFila& fila : sinAsignacion) {
        const QString nombre = fila.m_planilla.isEmpty() ? fila.m_completo : fila.m_planilla;
        Avisar(
            DvAvisos::SinAsignacion, 0, fila.m_id, nombre,
            QStringLiteral("%1 no tiene asignación de turno de referencia anterior al %2: no "
                           "sale en la planilla ni en el informe del mes")
                .arg(nombre.isEmpty() ? QStringLiteral("El trabajador %1").arg(fila.m_id) : nombre,
                     limite));
    }
}

void CComprobacion::ComprobarNombres() {
    // The roster shows planilla names only: equal ones cannot be told apart on paper.
    std::map<QString, std::vector<int>> porNombre;
    for (const CReferencia& ref : m_refsServicio)
        porNombre[ref.m_nombrePlanilla.trimmed()].push_back(ref.m_idPersonal);
    for (const CReferencia& ref : m_refsServicio) {
        const QString nombre = ref.m_nombrePlanilla.trimmed();
        const std::vector<int>& ids = porNombre[nombre];
        if (ids.size() < 2)
            continue;
        QStringList otros;
        for (int id : ids)
            otros << QString::number(id);
        const QString quien =
            nombre.isEmpty() ? QStringLiteral("El trabajador %1").arg(ref.m_idPersonal) : nombre;
        Avisar(DvAvisos::NombreRepetido, 0, ref.m_idPersonal, nombre,
               nombre.isEmpty()
                   ? QStringLiteral("%1 no tiene nombre en la planilla, como %2 del servicio "
                                    "(números %3): en papel no se distinguen")
                         .arg(quien,
                              ids.size() == 2
                                  ? QStringLiteral("otro trabajador")
                                  : QStringLiteral("otros %1 trabajadores").arg(ids.size() - 1),
                              otros.join(QStringLiteral(", ")))
                   : QStringLiteral("%1 trabajadores del servicio se llaman «%2» en la planilla "
                                    "(números %3): en papel no se distinguen")
                         .arg(ids.size())
                         .arg(nombre, otros.join(QStringLiteral(", "))));
    }
}

void CComprobacion::ComprobarAutosuplencias() {
    for (int persona : m_listaPersonas) {
        const auto it = m_ausencias.find(persona);
        if (it == m_ausencias.end())
            continue;
        for (const CAusencia& ausencia : it->second) {
            if (ausencia.m_idSuplente != persona || ausencia.m_hasta < m_desdeMes ||
                ausencia.m_desde > m_hastaMes)
                continue;
            const QString nombre = Nombre(persona);
            const QString tramo =
                Dia(ausencia.m_desde) % QStringLiteral(" al ") % Dia(ausencia.m_hasta);
            QString que;
            if (ausencia.m_tipo == 1)
                que = QStringLiteral("las vacaciones de %1 del %2 tienen").arg(nombre, tramo);
            else if (ausencia.m_tipo == 2)
                que = QStringLiteral("la baja de %1 del %2 tiene").arg(nombre, tramo);
            else
                que = QStringLiteral("el día personal de %1 tiene").arg(nombre);
            Avisar(DvAvisos::Autosuplencia, std::max(ausencia.m_desde, m_desdeMes), persona,
                   Nombre(persona),
                   que + QStringLiteral(" como suplente a la misma persona: sale en la planilla "
                                        "trabajando su propio turno"));
        }
    }
}

void CComprobacion::ComprobarPersona(const std::vector<const CTrabajo*>& trabajos) {
    if (trabajos.empty() || !m_personas.count(trabajos.front()->Persona()))
        return;
    ComprobarSolapesYDescansos(trabajos);
    ComprobarSemanas(trabajos);
    ComprobarNoches(trabajos);
    ComprobarSuplencias(trabajos);
}

void CComprobacion::ComprobarSolapesYDescansos(const std::vector<const CTrabajo*>& trabajos) {
    const long long descanso = m_reglas.m_descansoMinimo * 60LL;
    const CTrabajo* masTardio = nullptr; // the period that ends last so far
    for (size_t k = 0; k < trabajos.size(); ++k) {
        const CTrabajo& actual = *trabajos[k];
        const int persona = actual.Persona();
        // Every earlier period still running when this one starts (none lasts more than
        // a day and the hour a clock change may add).
        for (size_t j = k; j-- > 0;) {
            const CTrabajo& antes = *trabajos[j];
            if (antes.m_inicio < actual.m_inicio - MinutosDia - 60)
                break;
            if (antes.m_fin <= actual.m_inicio)
                continue;
            const int dia = DiaDelPar(antes, actual);
            if (dia == 0)
                continue;
            const long long comun = std::min(antes.m_fin, actual.m_fin) - actual.m_inicio;
            const QString nombre = Nombre(persona);
            Avisar(DvAvisos::Solapamiento, dia, persona, nombre,
                   nombre % QStringLiteral(" está en dos turnos a la vez: ") %
                       Describir(antes, dia) % QStringLiteral(" y ") % Describir(actual, dia) %
                       QStringLiteral("; coinciden ") % Horas(comun));
        }
        if (masTardio && actual.m_inicio >= masTardio->m_fin) {
            const long long pausa = actual.m_inicio - masTardio->m_fin;
            const int dia = DiaDelPar(*masTardio, actual);
            if (pausa < descanso && dia != 0) {
                const QString nombre = Nombre(persona);
                Avisar(DvAvisos::Descanso, dia, persona, nombre,
                       nombre % QStringLiteral(" descansa ") % Horas(pausa) %
                           QStringLiteral(" entre ") % Describir(*masTardio, dia) %
                           QStringLiteral(" y ") % Describir(actual, dia) %
                           QStringLiteral("; mínimo ") % Horas(descanso));
            }
        }
        if (!masTardio || actual.m_fin > masTardio->m_fin)
            masTardio = &actual;
    }
}

void CComprobacion::ComprobarSemanas(const std::vector<const CTrabajo*>& trabajos) {
    const long long minimo = m_reglas.m_descansoSemanal * 60LL;
    if (minimo <= 0)
        return;
    // The stretches of rest between the person's work, [inicio, fin): one that began
    // before the days looked at has lasted some days by the first Monday, one that goes
    // on after them may last long; either may be long enough for any week it touches.
    struct CPausa {
        long long m_inicio;
        long long m_fin;
        bool m_abierta;
    };
    std::vector<CPausa> pausas;
    long long finTrabajo = m_reloj->Real(m_desde * MinutosDia);
    bool primera = true;
    for (const CTrabajo* trabajo : trabajos) {
        if (trabajo->m_inicio > finTrabajo)
            pausas.push_back({finTrabajo, trabajo->m_inicio, primera});
        primera = false;
        finTrabajo = std::max(finTrabajo, trabajo->m_fin);
    }
    pausas.push_back({finTrabajo, std::numeric_limits<long long>::max(), true});

    const int persona = trabajos.front()->Persona();
    for (int lunes = m_lunes; lunes <= m_hasta; lunes += 7) {
        if (lunes + 6 < m_desdeMes || lunes > m_hastaMes)
            continue;
        const long long inicio = m_reloj->Real(lunes * MinutosDia);
        const long long fin = m_reloj->Real((lunes + 7) * MinutosDia);
        long long mejor = 0;
        for (const CPausa& pausa : pausas) {
            if (pausa.m_fin <= inicio || pausa.m_inicio >= fin)
                continue;
            // A rest that starts in the week counts whole. One that started before it
            // counts for the part inside the week, or for what is left once the week it
            // started in has had its minimum, whichever is more: a rest long enough for
            // two weeks serves both.
            long long largo;
            if (pausa.m_abierta)
                largo = minimo;
            else if (pausa.m_inicio >= inicio)
                largo = pausa.m_fin - pausa.m_inicio;
            else
                largo = std::max(std::min(pausa.m_fin, fin) - inicio,
                                 pausa.m_fin - pausa.m_inicio - minimo);
            mejor = std::max(mejor, largo);
        }
        if (mejor >= minimo)
            continue;
        const int dia = std::max(lunes, m_desdeMes);
        Avisar(DvAvisos::DescansoSemanal, dia, persona, Nombre(persona),
               QStringLiteral("semana del %1 al %2: %3 descansa como mucho %4 seguidas; mínimo %5")
                   .arg(Dia(lunes), Dia(lunes + 6), Nombre(persona), Horas(mejor), Horas(minimo)));
    }
}

void CComprobacion::ComprobarNoches(const std::vector<const CTrabajo*>& trabajos) {
    const int limite = m_reglas.m_nochesSeguidas;
    if (limite <= 0)
        return;
    // The evenings whose night (22:00 to 06:00) the person works three hours or more of.
    std::vector<int> noches;
    for (const CTrabajo* trabajo : trabajos) {
        const CPeriodoTrabajo& p = trabajo->m_periodo;
        const long long inicio = p.InicioAbsoluto();
        const long long fin = p.FinAbsoluto();
        for (int dia = p.m_dia - 1; dia <= p.m_dia + 1; ++dia) {
            const long long desde = dia * MinutosDia + InicioNoche;
            const long long hasta = dia * MinutosDia + FinNoche;
            if (std::min(fin, hasta) - std::max(inicio, desde) >= MinutosNocturnos)
                noches.push_back(dia);
        }
    }
    std::sort(noches.begin(), noches.end());
    noches.erase(std::unique(noches.begin(), noches.end()), noches.end());
    const int persona = trabajos.front()->Persona();
    for (size_t i = 0; i < noches.size();) {
        size_t j = i + 1;
        while (j < noches.size() && noches[j] == noches[j - 1] + 1)
            ++j;
        const int primera = noches[i];
        const int ultima = noches[j - 1];
        const int seguidas = ultima - primera + 1;
        const int dia = std::max(primera + limite, m_desdeMes);
        if (seguidas > limite && dia <= ultima && dia <= m_hastaMes)
            Avisar(DvAvisos::NochesSeguidas, dia, persona, Nombre(persona),
                   QStringLiteral("%1 hace %2 noches seguidas (del %3 al %4); máximo %5")
                       .arg(Nombre(persona))
                       .arg(seguidas)
                       .arg(Dia(primera), Dia(ultima))
                       .arg(limite));
        i = j;
    }
}

void CComprobacion::ComprobarSuplencias(const std::vector<const CTrabajo*>& trabajos) {
    for (const CTrabajo* trabajo : trabajos) {
        const CPeriodoTrabajo& p = trabajo->m_periodo;
        if (p.m_idAusente < 0 || p.m_idAusente == p.m_idPersona || !EnMes(p.m_dia))
            continue;
        const CAusencia* propia = AusenciaDel(p.m_idPersona, p.m_dia);
        if (!propia)
            continue;
        const char* estado = propia->m_tipo == 1   ? "de vacaciones"
                             : propia->m_tipo == 2 ? "de baja"
                                                   : "en su día personal";
        Avisar(DvAvisos::SuplenteAusente, p.m_dia, p.m_idPersona, Nombre(p.m_idPersona),
               QStringLiteral("%1 sale en %2 estando %3")
                   .arg(Nombre(p.m_idPersona), Describir(*trabajo, p.m_dia),
                        QString::fromUtf8(estado)));
    }
}

void CComprobacion::ComprobarCobertura() {
    bool alguno = false;
    for (bool hay : m_reglas.m_hayMinimo)
        alguno = alguno || hay;
    if (!alguno)
        return;
    // Who is in each period of each day of the month: whoever works half of it or more,
    // each person once (a person in two periods at once is still one person).
    const int dias = m_hastaMes - m_desdeMes + 1;
    std::vector<std::vector<int>> presentes(static_cast<size_t>(dias) * CReglasServicio::Periodos);
    for (const CTrabajo& trabajo : m_trabajos) {
        if (!trabajo.m_delServicio)
            continue;
        const CPeriodoTrabajo& p = trabajo.m_periodo;
        const long long inicio = p.InicioAbsoluto();
        const long long fin = p.FinAbsoluto();
        for (int dia = std::max(p.m_dia - 1, m_desdeMes); dia <= std::min(p.m_dia + 1, m_hastaMes);
             ++dia)
            for (int i = 0; i < CReglasServicio::Periodos; ++i) {
                const long long desde = dia * MinutosDia + LimitesPeriodo[i];
                const long long hasta = dia * MinutosDia + LimitesPeriodo[i + 1];
                if (2 * (std::min(fin, hasta) - std::max(inicio, desde)) >= hasta - desde)
                    presentes[static_cast<size_t>(dia - m_desdeMes) * CReglasServicio::Periodos + i]
                        .push_back(p.m_idPersona);
            }
    }
    for (std::vector<int>& quienes : presentes) {
        std::sort(quienes.begin(), quienes.end());
        quienes.erase(std::unique(quienes.begin(), quienes.end()), quienes.end());
    }
    QString servicio;
    bool servicioLeido = false;
    for (int dia = m_desdeMes; dia <= m_hastaMes; ++dia) {
        const bool festivo = m_motor.EsFestivo(CDateTime::FromDays(dia));
        for (int i = 0; i < CReglasServicio::Periodos; ++i) {
            if (!m_reglas.m_hayMinimo[i])
                continue;
            const int minimo =
                festivo ? m_reglas.m_minimoFestivo[i] : m_reglas.m_minimoLaborable[i];
            const int hay = static_cast<int>(
                presentes[static_cast<size_t>(dia - m_desdeMes) * CReglasServicio::Periodos + i]
                    .size());
            if (hay >= minimo)
                continue;
            if (!servicioLeido) {
                CDbQuery().GetTextById(QStringLiteral("FUNCIONES"), QStringLiteral("NOMBRE"),
                                       m_servicio, servicio);
                servicioLeido = true;
            }
            Avisar(DvAvisos::Cobertura, dia, -1, servicio,
                   QStringLiteral("%1 %2 en la %3 (periodo de las %4); mínimo %5 en %6")
                       .arg(hay)
                       .arg(hay == 1 ? QStringLiteral("persona") : QStringLiteral("personas"))
                       .arg(QString::fromUtf8(NombresPeriodo[i]))
                       .arg(CReglasServicio::HoraPeriodo[i])
                       .arg(minimo)
                       .arg(festivo ? QStringLiteral("domingos y festivos")
                                    : QStringLiteral("laborables")));
        }
    }
}
} // namespace

CListaAvisos ComprobarPlanilla(int mes, int anio, int servicio, const CReglasServicio& reglas,
                               const QTimeZone& zona, const CMesCalculado* calculado) {
    CComprobacion comprobacion(mes, anio, servicio, reglas, zona);
    return comprobacion.Ejecutar(calculado);
}

void OrdenarAvisos(CListaAvisos& avisos) {
    std::stable_sort(avisos.begin(), avisos.end(), [](const CAviso& a, const CAviso& b) {
        if (a.m_dia != b.m_dia)
            return a.m_dia < b.m_dia;
        if (a.m_tipo != b.m_tipo)
            return a.m_tipo < b.m_tipo;
        return a.m_idPersonal < b.m_idPersonal;
    });
}

QString FechaAviso(const CAviso& aviso) {
    if (!aviso.TieneFecha())
        return QString();
    const CDateTime fecha = CDateTime::FromDays(aviso.m_dia);
    return QString::asprintf("%02d/%02d/%04d", fecha.GetDay(), fecha.GetMonth(), fecha.GetYear());
}

QString FechaIsoAviso(const CAviso& aviso) {
    if (!aviso.TieneFecha())
        return QString();
    const CDateTime fecha = CDateTime::FromDays(aviso.m_dia);
    return QString::asprintf("%04d-%02d-%02d", fecha.GetYear(), fecha.GetMonth(), fecha.GetDay());
}
