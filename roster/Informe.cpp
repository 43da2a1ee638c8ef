#include "Informe.h"

#include "DatosMes.h"
#include "FechasPlanilla.h"
#include "Filas.h"
#include "MotorPlanilla.h"

#include <QStringList>
#include <unordered_map>
#include <unordered_set>

namespace {
// The counters of the report's workers, found by worker id (first match); other ids
// (a substitute from another service) count nothing.
class CContadores {
public:
    explicit CContadores(const CListaReferencias& refs) {
        m_datos.reserve(refs.size());
        for (const CReferencia& ref : refs) {
            CDatosInforme datos;
            datos.m_idPersonal = ref.m_idPersonal;
            m_datos.push_back(datos);
            m_indice.emplace(ref.m_idPersonal, static_cast<int>(m_datos.size()) - 1);
        }
    }
    CDatosInforme* Buscar(int idPersonal) {
        const auto it = m_indice.find(idPersonal);
        return it == m_indice.end() ? nullptr : &m_datos[it->second];
    }
    void SumarTrabajo(int idPersonal, int hora) {
        if (CDatosInforme* datos = Buscar(idPersonal)) {
            ++datos->m_diasTrabajados;
            if (hora == 22)
                ++datos->m_noches;
        }
    }
    const std::vector<CDatosInforme>& Datos() const { return m_datos; }

private:
    std::vector<CDatosInforme> m_datos;
    std::unordered_map<int, int> m_indice;
};

// A stored name on one line: CR, LF and NUL become a blank, so no name can end a line of
// the report early.
QString EnUnaLinea(QString texto) {
    for (QChar& c : texto)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0)
            c = QLatin1Char(' ');
    return texto;
}

// The TRABAJADOR field, surname first. A name holding a semicolon or a double quote is
// written between double quotes with its quotes doubled, so it stays one field; any
// other name is written as it is.
QString CampoTrabajador(const QString& apellidos, const QString& nombre) {
    QString campo = EnUnaLinea(apellidos) + QLatin1String(", ") + EnUnaLinea(nombre);
    if (!campo.contains(QLatin1Char(';')) && !campo.contains(QLatin1Char('"')))
        return campo;
    campo.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + campo + QLatin1Char('"');
}

// NOMBRE and APELLIDOS of the workers, read together.
std::unordered_map<int, std::pair<QString, QString>> Nombres(const CListaReferencias& refs) {
    std::unordered_map<int, std::pair<QString, QString>> nombres;
    if (refs.empty())
        return nombres;
    QStringList ids;
    for (const CReferencia& ref : refs)
        ids << QString::number(ref.m_idPersonal);
    DvFilas::Recorrer(QStringLiteral("SELECT ID, NOMBRE, APELLIDOS FROM PERSONAL WHERE ID IN (%1)")
                          .arg(ids.join(QLatin1Char(','))),
                      [&](const CDbRecordset& fila) {
                          nombres.emplace(fila.GetInt(0),
                                          std::make_pair(fila.GetText(1), fila.GetText(2)));
                      });
    return nombres;
}
} // namespace

bool GenerarInforme(int mes, int anio, int idServicio, QString& texto, IProgreso& progreso) {
    QString servicio;
    CDbQuery().GetTextById(QStringLiteral("FUNCIONES"), QStringLiteral("NOMBRE"), idServicio,
                           servicio);
    QString nombreMes;
    NombreMes(mes, nombreMes);
    texto = QLatin1String("INFORME MES ") + nombreMes + QLatin1String(" DE ") +
            QString::number(anio) + QLatin1String(" DEL SERVICIO ") + EnUnaLinea(servicio) +
            QLatin1String("\r\n");
    texto += QStringLiteral(
        "TRABAJADOR;DIAS TRABAJADOS;NOCHES;PERSONALES;VACACIONES;DIAS BAJA;COMENTARIOS\r\n");

    // The service's workers, their leave by worker and the periods in which they stand
    // in for somebody.
    CMotorPlanilla motor;
    motor.m_mes = mes;
    motor.m_anio = anio;
    motor.m_servicio = idServicio;
    CListaReferencias referencias;
    CargarReferencias(motor, referencias);
    motor.CargarLibranzas(referencias);
    CDatosMes& datos = motor.DatosDelMes();
    CListaLibranzas suplencias;
    if (datos.Valido())
        suplencias.CargarDeReserva(datos.Libranzas(), referencias, true, datos.Desde(),
                                   datos.Hasta());
    else
        suplencias.CargarLibranzas(referencias, true);

    CContadores contadores(referencias);

    // The workers they may stand in for, with their references for the month and their
    // own leave, read once for the whole month.
    std::vector<int> idsAusentes;
    std::unordered_set<int> vistos;
    for (const CLibranza& libranza : suplencias.Libranzas())
        if (vistos.insert(libranza.m_idPersonal).second)
            idsAusentes.push_back(libranza.m_idPersonal);
    const auto referenciasAusentes = CargarReferenciasDe(idsAusentes, mes, anio);
    CMotorPlanilla motorAusentes;
    motorAusentes.m_mes = mes;
    motorAusentes.m_anio = anio;
    motorAusentes.m_servicio = idServicio;
    motorAusentes.CompartirDatos(motor);
    {
        CListaReferencias todas;
        todas.reserve(idsAusentes.size());
        for (int id : idsAusentes)
            todas.emplace_back(QString(), id, -1, CDateTime());
        motorAusentes.CargarLibranzas(todas);
    }

    const int dias = DiasDelMes(mes, anio);
    progreso.Mostrar();
    progreso.FijarRango(dias);

    CListaReferencias ausentes;
    std::unordered_set<int> vistosDelDia;
    CListaPlanDia plan;
    for (int i = 1; i <= dias; ++i) {
        progreso.Bombear();
        if (progreso.Cancelado())
            break;
        progreso.FijarMensaje(QStringLiteral("Recogiendo datos para día: %1").arg(i));
        progreso.FijarPaso(i, dias);
        progreso.FijarPosicion(i);
        const CDateTime fecha(anio, mes, i);

        // Every calendar day of a leave period counts.
        for (const CReferencia& ref : referencias) {
            QString nombre;
            int suplente = -1;
            int tipo = -1;
            if (!motor.m_libranzas.BuscarLibranza(ref.m_idPersonal, fecha, nombre, suplente, tipo))
                continue;
            CDatosInforme* cuenta = contadores.Buscar(ref.m_idPersonal);
            if (!cuenta)
                continue;
            if (tipo == 1)
                ++cuenta->m_vacaciones;
            else if (tipo == 2)
                ++cuenta->m_diasBaja;
            else if (tipo == 3)
                ++cuenta->m_personales;
        }

        // Substitutes are credited with the shifts of the workers they stand in for. The
        // absent workers of the day are every worker with a period covering the date whose
        // substitute has a line here, each computed once; each entry of their plans
        // credits the substitute it shows (the absent worker's first covering period).
        ausentes.clear();
        vistosDelDia.clear();
        const int dia = fecha.DayNumber();
        for (const CLibranza& libranza : suplencias.Libranzas()) {
            if (!libranza.Cubre(dia) || !contadores.Buscar(libranza.m_idSuplente) ||
                !vistosDelDia.insert(libranza.m_idPersonal).second)
                continue;
            const auto it = referenciasAusentes.find(libranza.m_idPersonal);
            if (it != referenciasAusentes.end())
                ausentes.push_back(it->second);
        }
        if (!ausentes.empty()) {
            motorAusentes.CalcularDia(ausentes, fecha, plan);
            for (const CPlanDia& entrada : plan)
                if (entrada.m_idPersonal != -1 && entrada.m_tipoLibranza >= 1 &&
                    entrada.m_tipoLibranza <= 3)
                    contadores.SumarTrabajo(entrada.m_idSuplente, entrada.m_hora);
        }

        // The workers' own work.
        motor.CalcularDia(referencias, fecha, plan);
        for (const CPlanDia& entrada : plan)
            if (entrada.m_idPersonal != -1 && entrada.m_tipoLibranza == 0)
                contadores.SumarTrabajo(entrada.m_idPersonal, entrada.m_hora);
    }

    // One line per worker, also after a cancel.
    const auto nombres = Nombres(referencias);
    for (const CDatosInforme& cuenta : contadores.Datos()) {
        const auto it = nombres.find(cuenta.m_idPersonal);
        const QString nombre = it == nombres.end() ? QString() : it->second.first;
        const QString apellidos = it == nombres.end() ? QString() : it->second.second;
        texto += CampoTrabajador(apellidos, nombre) + QStringLiteral(";%1;%2;%3;%4;%5;\r\n")
                                                          .arg(cuenta.m_diasTrabajados)
                                                          .arg(cuenta.m_noches)
                                                          .arg(cuenta.m_personales)
                                                          .arg(cuenta.m_vacaciones)
                                                          .arg(cuenta.m_diasBaja);
    }

    progreso.Cerrar();
    progreso.Bombear();
    return !progreso.Cancelado();
}
