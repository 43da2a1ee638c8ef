#include "Libranzas.h"

#include "FechasSql.h"
#include "Filas.h"

#include <QStringList>
#include <algorithm>
#include <unordered_set>

namespace {
const char* const Tablas[3] = {"VACACIONES", "BAJAS", "DIASPERSONALES"};

// "1,2,3" of the distinct ids, in the order first met.
QString ListaIds(const std::vector<int>& ids) {
    std::unordered_set<int> vistos;
    QStringList partes;
    for (int id : ids)
        if (vistos.insert(id).second)
            partes << QString::number(id);
    return partes.join(QLatin1Char(','));
}

// The file has the index by length class and start (IX_..._DURACION) for the kind.
bool ConIndiceDuracion(int tipo) {
    return DvFilas::HayIndice(
        QStringLiteral("IX_%1_DURACION").arg(QLatin1String(Tablas[tipo - 1])));
}
} // namespace

bool CReservaLibranzas::Vacia() const {
    return m_filas[0].empty() && m_filas[1].empty() && m_filas[2].empty();
}

bool CReservaLibranzas::CargarTipo(int tipo, const QStringList& condiciones, int desde, int hasta,
                                   bool acotado) {
    std::vector<CLibranza>& filas = m_filas[tipo - 1];
    filas.clear();
    // A personal day is one day: its end is its start. A period without readable dates
    // covers no day.
    const QString final = tipo == 3 ? QStringLiteral("INICIO") : QStringLiteral("FINAL");
    QString comun =
        QStringLiteral("DV_DIA(INICIO) IS NOT NULL AND DV_DIA(%1) IS NOT NULL").arg(final);
    if (acotado)
        comun +=
            QStringLiteral(" AND DV_DIA(%1) >= :desde AND DV_DIA(INICIO) <= :hasta").arg(final);
    // One arm per condition: each one is read through its own index range.
    QStringList brazos;
    for (const QString& condicion : condiciones)
        brazos << QStringLiteral("SELECT ID, ID_PERSONAL, DV_DIA(INICIO), DV_DIA(%1), ID_SUPLENTE "
                                 "FROM %2 WHERE (%3) AND %4")
                      .arg(final, QLatin1String(Tablas[tipo - 1]), condicion, comun);
    const QString sql = brazos.join(QLatin1String(" UNION ALL "));
    // Read in whatever order the date index gives, then put in row ID order.
    CDbQuery::CValores valores = DvFechasSql::ValoresPeriodos(desde, hasta);
    valores.emplace_back(":desde", desde);
    valores.emplace_back(":hasta", hasta);
    const bool ok = DvFilas::Recorrer(sql, valores, [&](const CDbRecordset& fila) {
        CLibranza libranza;
        libranza.m_id = fila.GetInt(0);
        libranza.m_idPersonal = fila.GetInt(1);
        libranza.m_diaInicio = fila.GetInt(2);
        libranza.m_diaFinal = fila.GetInt(3);
        libranza.m_inicio = CDateTime::FromDays(libranza.m_diaInicio);
        libranza.m_final = CDateTime::FromDays(libranza.m_diaFinal);
        libranza.m_idSuplente = fila.GetInt(4);
        libranza.m_tipo = tipo;
        filas.push_back(libranza);
    });
    std::stable_sort(filas.begin(), filas.end(),
                     [](const CLibranza& a, const CLibranza& b) { return a.m_id < b.m_id; });
    return ok;
}

bool CReservaLibranzas::CargarNombres() {
    std::vector<int> ids;
    for (const auto& filas : m_filas)
        for (const CLibranza& libranza : filas)
            if (libranza.m_idSuplente > 0)
                ids.push_back(libranza.m_idSuplente);
    if (ids.empty())
        return true;
    std::unordered_map<int, QString> nombres;
    const bool ok = DvFilas::Recorrer(
        QStringLiteral("SELECT ID, NOMBREPLANILLA FROM PERSONAL WHERE ID IN (%1)")
            .arg(ListaIds(ids)),
        [&](const CDbRecordset& fila) { nombres.emplace(fila.GetInt(0), fila.GetText(1)); });
    for (auto& filas : m_filas)
        for (CLibranza& libranza : filas)
            if (libranza.m_idSuplente > 0) {
                const auto it = nombres.find(libranza.m_idSuplente);
                libranza.m_nombreSuplente = it == nombres.end() ? QString() : it->second;
            }
    return ok;
}

void CReservaLibranzas::Indexar() {
    for (int t = 0; t < 3; ++t) {
        m_porPersonal[t].clear();
        m_porSuplente[t].clear();
        for (int i = 0; i < static_cast<int>(m_filas[t].size()); ++i) {
            m_porPersonal[t][m_filas[t][i].m_idPersonal].push_back(i);
            m_porSuplente[t][m_filas[t][i].m_idSuplente].push_back(i);
        }
    }
}

bool CReservaLibranzas::CargarDe(const std::vector<int>& ids, bool porSuplente) {
    bool ok = true;
    for (auto& filas : m_filas)
        filas.clear();
    if (!ids.empty()) {
        const QString condicion =
            QStringLiteral("%1 IN (%2)")
                .arg(porSuplente ? QStringLiteral("ID_SUPLENTE") : QStringLiteral("ID_PERSONAL"),
                     ListaIds(ids));
        for (int tipo = 1; tipo <= 3; ++tipo)
            ok = CargarTipo(tipo, {condicion}, 0, -1, false) && ok;
        ok = CargarNombres() && ok;
    }
    Indexar();
    return ok;
}

bool CReservaLibranzas::CargarEntre(int desde, int hasta) {
    bool ok = true;
    for (auto& filas : m_filas)
        filas.clear();
    if (hasta >= desde) {
        // Vacations and sick leave through their length class and start; personal days
        // (one day each) through their date. A file without the class index (read-only,
        // never upgraded) is read by the end date, in one arm.
        const int anioFin = CDateTime::FromDays(hasta).GetYear();
        const QStringList porFinal{DvFechasSql::DesdeDia(QStringLiteral("FINAL"), desde) +
                                   QStringLiteral(" AND ") +
                                   DvFechasSql::HastaFinDeAnio(QStringLiteral("INICIO"), anioFin)};
        const QStringList porClase = DvFechasSql::PeriodosEntre();
        for (int tipo = 1; tipo <= 2; ++tipo)
            ok = CargarTipo(tipo, ConIndiceDuracion(tipo) ? porClase : porFinal, desde, hasta,
                            true) &&
                 ok;
        ok = CargarTipo(3, {DvFechasSql::DiasEntre(QStringLiteral("INICIO"), desde, hasta)}, desde,
                        hasta, true) &&
             ok;
        ok = CargarNombres() && ok;
    }
    Indexar();
    return ok;
}

void CReservaLibranzas::Llenar(const CListaReferencias& refs, bool porSuplente,
                               CListaLibranzas& lista) const {
    for (int t = 0; t < 3; ++t) {
        const auto& indice = porSuplente ? m_porSuplente[t] : m_porPersonal[t];
        for (const CReferencia& ref : refs) {
            const auto it = indice.find(ref.m_idPersonal);
            if (it == indice.end())
                continue;
            for (int i : it->second)
                lista.Agregar(m_filas[t][i]);
        }
    }
}

void CListaLibranzas::Vaciar() {
    m_libranzas.clear();
    m_ids.clear();
    m_acotada = false;
    m_indicePersonal.clear();
    m_indiceSuplente.clear();
    m_indiceValido = false;
    ++m_version;
}

void CListaLibranzas::Agregar(const CLibranza& libranza) {
    m_libranzas.push_back(libranza);
    m_indiceValido = false;
    ++m_version;
}

bool CListaLibranzas::CargarLibranzas(const CListaReferencias& refs, bool porSuplente) {
    Vaciar();
    std::vector<int> ids;
    ids.reserve(refs.size());
    for (const CReferencia& ref : refs)
        ids.push_back(ref.m_idPersonal);
    CReservaLibranzas reserva;
    const bool ok = reserva.CargarDe(ids, porSuplente);
    reserva.Llenar(refs, porSuplente, *this);
    m_ids = std::move(ids);
    m_porSuplente = porSuplente;
    return ok;
}

void CListaLibranzas::CargarDeReserva(const CReservaLibranzas& reserva,
                                      const CListaReferencias& refs, bool porSuplente, int desde,
                                      int hasta) {
    Vaciar();
    reserva.Llenar(refs, porSuplente, *this);
    m_ids.reserve(refs.size());
    for (const CReferencia& ref : refs)
        m_ids.push_back(ref.m_idPersonal);
    m_porSuplente = porSuplente;
    m_acotada = true;
    m_desde = desde;
    m_hasta = hasta;
}

void CListaLibranzas::AsegurarDia(int dia) {
    if (!m_acotada || (dia >= m_desde && dia <= m_hasta))
        return;
    // A day outside the month the list was filled for: read the whole history of the
    // same workers, as the list would hold when loaded directly.
    CListaReferencias refs;
    refs.reserve(m_ids.size());
    for (int id : m_ids)
        refs.emplace_back(QString(), id, -1, CDateTime());
    CargarLibranzas(refs, m_porSuplente);
}

void CListaLibranzas::Indexar() {
    if (m_indiceValido)
        return;
    m_indicePersonal.clear();
    m_indiceSuplente.clear();
    for (int i = 0; i < static_cast<int>(m_libranzas.size()); ++i) {
        m_indicePersonal[m_libranzas[i].m_idPersonal].push_back(i);
        m_indiceSuplente[m_libranzas[i].m_idSuplente].push_back(i);
    }
    m_indiceValido = true;
    ++m_version;
}

const std::vector<int>* CListaLibranzas::PosicionesDe(int idPersonal) {
    Indexar();
    const auto it = m_indicePersonal.find(idPersonal);
    return it == m_indicePersonal.end() ? nullptr : &it->second;
}

const CLibranza* CListaLibranzas::Primera(int id, int dia, bool porSuplente) {
    Indexar();
    const auto& indice = porSuplente ? m_indiceSuplente : m_indicePersonal;
    const auto it = indice.find(id);
    if (it == indice.end())
        return nullptr;
    for (int i : it->second)
        if (m_libranzas[i].Cubre(dia))
            return &m_libranzas[i];
    return nullptr;
}

bool CListaLibranzas::BuscarLibranza(int idPersonal, const CDateTime& fecha,
                                     QString& nombreSuplente, int& idSuplente, int& tipo) {
    const int dia = fecha.DayNumber();
    AsegurarDia(dia);
    const CLibranza* libranza = Primera(idPersonal, dia, false);
    if (!libranza)
        return false;
    tipo = libranza->m_tipo;
    idSuplente = libranza->m_idSuplente;
    if (idSuplente > 0)
        nombreSuplente = libranza->m_nombreSuplente;
    return true;
}

bool CListaLibranzas::BuscarSuplencia(int idPersonal, const CDateTime& fecha, int& idAusente,
                                      int& tipo) {
    const int dia = fecha.DayNumber();
    AsegurarDia(dia);
    const CLibranza* libranza = Primera(idPersonal, dia, true);
    if (!libranza)
        return false;
    idAusente = libranza->m_idPersonal;
    tipo = libranza->m_tipo;
    return true;
}
