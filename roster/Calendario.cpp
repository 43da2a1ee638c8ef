#include "Calendario.h"

#include "DatosMes.h"
#include "FechasPlanilla.h"
#include "Filas.h"
#include "MotorPlanilla.h"
#include "ZonaHoraria.h"

#include <QStringList>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {
struct CPersona {
    QString m_nombre;
    QString m_apellidos;
    QString m_planilla;
    int m_servicio = -1;
};

// The workers' rows of PERSONAL, read together.
std::unordered_map<int, CPersona> LeerPersonas(const std::vector<int>& ids) {
    std::unordered_map<int, CPersona> personas;
    if (ids.empty())
        return personas;
    QStringList lista;
    for (int id : ids)
        lista << QString::number(id);
    DvFilas::Recorrer(
        QStringLiteral("SELECT ID, NOMBRE, APELLIDOS, NOMBREPLANILLA, ID_FUNCION FROM PERSONAL "
                       "WHERE ID IN (%1)")
            .arg(lista.join(QLatin1Char(','))),
        [&](const CDbRecordset& fila) {
            CPersona persona;
            persona.m_nombre = fila.GetText(1);
            persona.m_apellidos = fila.GetText(2);
            persona.m_planilla = fila.GetText(3);
            persona.m_servicio = fila.GetInt(4);
            personas.emplace(fila.GetInt(0), persona);
        });
    return personas;
}

// A worker of a list stands for nothing but the id (leave lists use only that).
CListaReferencias SoloIds(const std::vector<int>& ids) {
    CListaReferencias refs;
    refs.reserve(ids.size());
    for (int id : ids)
        refs.emplace_back(QString(), id, -1, CDateTime());
    return refs;
}

// The day-plan entries worked by the worker, counted as the report counts them.
void Contar(const CListaPlanDia& entradas, CTotalesMes& totales) {
    for (const CPlanDia& entrada : entradas) {
        ++totales.m_diasTrabajados;
        if (entrada.m_hora == 22)
            ++totales.m_noches;
    }
}

// The periods of the worker's entries of a day, added to the month.
void AgregarTrabajos(CDatosMes& datos, const CListaPlanDia& entradas, const CDateTime& fecha,
                     const QString& servicio, const QString& ausente, CMesTrabajador& mes) {
    if (entradas.empty())
        return;
    std::vector<CPeriodoTrabajo> periodos;
    PeriodosDelDia(datos, entradas, fecha, periodos);
    for (const CPeriodoTrabajo& periodo : periodos) {
        CTrabajoCalendario trabajo;
        trabajo.m_periodo = periodo;
        trabajo.m_servicio = servicio;
        trabajo.m_ausente = ausente;
        trabajo.m_minutosReales =
            DvZona::MinutosReales(periodo.m_dia, periodo.m_inicio, periodo.m_fin);
        const int horaInicio = periodo.m_inicio / 60;
        const int horaFin = (periodo.m_fin % 1440) / 60;
        trabajo.m_noche =
            horaInicio == 22 || (EsTurnoPartido(horaInicio, horaFin) && horaInicio + 7 == 22);
        mes.m_totales.m_minutos += trabajo.m_minutosReales;
        mes.m_trabajos.push_back(trabajo);
    }
}

void CargarMes(const CCalendarioTrabajador& trabajador, int numeroMes, int anio,
               CDatosCalendarios& compartidos, CMesTrabajador& mes) {
    mes.m_mes = numeroMes;
    mes.m_anio = anio;
    const int id = trabajador.m_idPersona;
    CMotorPlanilla& base = compartidos.Mes(numeroMes, anio);
    CDatosMes& datos = base.DatosDelMes();
    if (!datos.Valido())
        return;
    const int dias = datos.Hasta() - datos.Desde() + 1;

    // The worker's own rotation, with their leave (loaded for the worker whether or not
    // they have an assignment this month: their leave days are theirs all the same).
    CMotorPlanilla propio;
    propio.m_mes = numeroMes;
    propio.m_anio = anio;
    propio.m_servicio = trabajador.m_idServicio;
    propio.CompartirDatos(base);
    const CListaReferencias yo = SoloIds({id});
    propio.CargarLibranzas(yo);
    const auto referenciaPropia = CargarReferenciasDe({id}, numeroMes, anio);
    CListaReferencias propias;
    if (const auto it = referenciaPropia.find(id); it != referenciaPropia.end())
        propias.push_back(it->second);

    // The periods in which the worker stands in for somebody, and those absent workers
    // with their references and their own leave (which decides who is shown for them).
    CListaLibranzas suplencias;
    suplencias.CargarDeReserva(datos.Libranzas(), yo, true, datos.Desde(), datos.Hasta());
    std::vector<int> idsAusentes;
    {
        std::unordered_set<int> vistos;
        for (const CLibranza& libranza : suplencias.Libranzas())
            if (vistos.insert(libranza.m_idPersonal).second)
                idsAusentes.push_back(libranza.m_idPersonal);
    }
    const auto referenciasAusentes = CargarReferenciasDe(idsAusentes, numeroMes, anio);
    CMotorPlanilla ausentes;
    ausentes.m_mes = numeroMes;
    ausentes.m_anio = anio;
    ausentes.m_servicio = trabajador.m_idServicio;
    ausentes.CompartirDatos(base);
    ausentes.CargarLibranzas(SoloIds(idsAusentes));
    const auto personasAusentes = LeerPersonas(idsAusentes);

    const QString& servicioPropio = trabajador.m_servicio;
    const CFestivosMes& festivos = datos.Festivos();
    mes.m_festivos.assign(32, false);

    CListaPlanDia plan;
    CListaPlanDia mias;
    CListaReferencias delDia;
    for (int d = 1; d <= dias; ++d) {
        const CDateTime fecha(anio, numeroMes, d);
        const int dia = fecha.DayNumber();
        mes.m_festivos[d] = DiaDeSemana(fecha) == 7 || festivos.EsFiesta(d);

        // Leave: every calendar day of a period counts.
        QString nombreSuplente;
        int suplente = -1;
        int tipo = -1;
        if (propio.m_libranzas.BuscarLibranza(id, fecha, nombreSuplente, suplente, tipo)) {
            mes.m_libres.push_back({dia, tipo});
            if (tipo == 1)
                ++mes.m_totales.m_vacaciones;
            else if (tipo == 2)
                ++mes.m_totales.m_diasBaja;
            else if (tipo == 3)
                ++mes.m_totales.m_personales;
        }

        const std::size_t primero = mes.m_trabajos.size();

        // Own work: the entries of the worker in person.
        if (!propias.empty()) {
            propio.CalcularDia(propias, fecha, plan);
            mias.clear();
            for (const CPlanDia& entrada : plan)
                if (entrada.m_idPersonal == id && entrada.m_tipoLibranza == 0)
                    mias.push_back(entrada);
            Contar(mias, mes.m_totales);
            AgregarTrabajos(datos, mias, fecha, servicioPropio, QString(), mes);
        }

        // Substitutions: each absent worker of the day once; the entries that name this
        // worker as the one shown for them.
        delDia.clear();
        std::unordered_set<int> vistos;
        for (const CLibranza& libranza : suplencias.Libranzas()) {
            if (!libranza.Cubre(dia) || !vistos.insert(libranza.m_idPersonal).second)
                continue;
            const auto it = referenciasAusentes.find(libranza.m_idPersonal);
            if (it != referenciasAusentes.end())
                delDia.push_back(it->second);
        }
        for (const CReferencia& ausente : delDia) {
            ausentes.CalcularDia({ausente}, fecha, plan);
            mias.clear();
            for (const CPlanDia& entrada : plan)
                if (entrada.m_idPersonal == ausente.m_idPersonal && entrada.m_tipoLibranza >= 1 &&
                    entrada.m_tipoLibranza <= 3 && entrada.m_idSuplente == id)
                    mias.push_back(entrada);
            Contar(mias, mes.m_totales);
            const auto persona = personasAusentes.find(ausente.m_idPersonal);
            const QString servicio = persona == personasAusentes.end()
                                         ? QString()
                                         : compartidos.NombreServicio(persona->second.m_servicio);
            AgregarTrabajos(datos, mias, fecha, servicio, ausente.m_nombrePlanilla, mes);
        }

        // The day's stretches by start, own work first at equal times.
        std::stable_sort(mes.m_trabajos.begin() + static_cast<std::ptrdiff_t>(primero),
                         mes.m_trabajos.end(),
                         [](const CTrabajoCalendario& a, const CTrabajoCalendario& b) {
                             return a.m_periodo.m_inicio < b.m_periodo.m_inicio;
                         });
    }
}
} // namespace

QString CTrabajoCalendario::NombreTurno() const {
    if (!m_periodo.m_nombreTurno.isEmpty())
        return m_periodo.m_nombreTurno;
    if (m_periodo.m_inicio / 60 == 22)
        return QStringLiteral("Noche");
    return m_periodo.EsExcepcion() ? QStringLiteral("Turno añadido") : QStringLiteral("Turno");
}

QString CTrabajoCalendario::Titulo() const {
    if (!m_periodo.EsSuplencia())
        return NombreTurno();
    return NombreTurno() + QStringLiteral(" \u2014 sustituye a ") + m_ausente;
}

bool CMesTrabajador::EsFestivo(int diaDelMes) const {
    return diaDelMes >= 0 && diaDelMes < static_cast<int>(m_festivos.size()) &&
           m_festivos[diaDelMes];
}

QString CCalendarioTrabajador::NombreCompleto() const {
    const QString nombre =
        QStringList{m_nombre.trimmed(), m_apellidos.trimmed()}.join(QLatin1Char(' ')).trimmed();
    return nombre.isEmpty() ? m_nombrePlanilla : nombre;
}

CDatosCalendarios::CDatosCalendarios() = default;
CDatosCalendarios::~CDatosCalendarios() = default;

CMotorPlanilla& CDatosCalendarios::Mes(int mes, int anio) {
    std::unique_ptr<CMotorPlanilla>& motor = m_meses[{anio, mes}];
    if (!motor) {
        motor = std::make_unique<CMotorPlanilla>();
        motor->m_mes = mes;
        motor->m_anio = anio;
    }
    return *motor;
}

const QString& CDatosCalendarios::NombreServicio(int idServicio) {
    if (!m_serviciosLeidos) {
        m_serviciosLeidos = true;
        DvFilas::Recorrer(QStringLiteral("SELECT ID, NOMBRE FROM FUNCIONES"),
                          [this](const CDbRecordset& fila) {
                              m_servicios.emplace(fila.GetInt(0), fila.GetText(1));
                          });
    }
    static const QString ninguno;
    const auto it = m_servicios.find(idServicio);
    return it == m_servicios.end() ? ninguno : it->second;
}

bool CargarCalendario(int idPersona, int mes, int anio, int meses, CCalendarioTrabajador& salida,
                      CDatosCalendarios* compartidos) {
    const auto personas = LeerPersonas({idPersona});
    const auto it = personas.find(idPersona);
    if (it == personas.end())
        return false;
    CDatosCalendarios propios;
    CDatosCalendarios& datos = compartidos ? *compartidos : propios;

    salida = CCalendarioTrabajador();
    salida.m_idPersona = idPersona;
    salida.m_nombre = it->second.m_nombre;
    salida.m_apellidos = it->second.m_apellidos;
    salida.m_nombrePlanilla = it->second.m_planilla;
    salida.m_idServicio = it->second.m_servicio;
    salida.m_servicio = datos.NombreServicio(it->second.m_servicio);

    salida.m_meses.resize(static_cast<std::size_t>(std::max(meses, 0)));
    int m = mes;
    int a = anio;
    for (CMesTrabajador& destino : salida.m_meses) {
        CargarMes(salida, m, a, datos, destino);
        if (++m > 12) {
            m = 1;
            ++a;
        }
    }
    return true;
}

QString TextoLibranza(int tipo) {
    switch (tipo) {
    case 1:
        return QStringLiteral("Vacaciones");
    case 2:
        return QStringLiteral("Baja");
    case 3:
        return QStringLiteral("Día personal");
    default:
        return QString();
    }
}

QString TextoDuracion(int minutos) {
    const QString horas = QStringLiteral("%1 h").arg(minutos / 60);
    return minutos % 60 == 0 ? horas : horas + QStringLiteral(" %1 min").arg(minutos % 60);
}
