#include "FechasPlanilla.h"

int DiasDelMes(int mes, int anio) {
    if (mes < 1 || mes > 12)
        return 0;
    // The day of the month of the day before the first of the next month; December
    // ends on the 31st in every year.
    if (mes == 12)
        return 31;
    const CDateTime primero(anio, mes + 1, 1);
    if (!primero.IsValid())
        return 0;
    return CDateTime::FromDays(primero.DayNumber() - 1).GetDay();
}

int DiaDeSemana(const CDateTime& fecha) {
    // The date type numbers Sunday 1 ... Saturday 7.
    return (fecha.GetDayOfWeek() + 5) % 7 + 1;
}

void NombreMes(int mes, QString& nombre) {
    static const char* const nombres[] = {"Enero",      "Febrero", "Marzo",     "Abril",
                                          "Mayo",       "Junio",   "Julio",     "Agosto",
                                          "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    if (mes >= 1 && mes <= 12)
        nombre = QString::fromLatin1(nombres[mes - 1]);
}

QString NombreMes(int mes) {
    QString nombre;
    NombreMes(mes, nombre);
    return nombre;
}
