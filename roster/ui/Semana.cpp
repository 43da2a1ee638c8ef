#include "Semana.h"

#include <algorithm>

namespace {
bool AlgunoMasLargo(const CListaPlanDia* planes, int cuantos, size_t largo) {
    for (int p = 0; p < cuantos; ++p)
        if (planes[p].size() > largo)
            return true;
    return false;
}
} // namespace

void AlinearSemana(CListaPlanDia* planes, int cuantos) {
    if (!planes || cuantos <= 0)
        return;
    // Plans that are all empty stay empty: the month build decides how many rows an
    // empty week gets.
    for (size_t i = 0; AlgunoMasLargo(planes, cuantos, i); ++i) {
        int hora = 24;
        for (int p = 0; p < cuantos; ++p)
            if (i < planes[p].size())
                hora = std::min(hora, planes[p][i].m_hora);
        for (int p = 0; p < cuantos; ++p) {
            CListaPlanDia& plan = planes[p];
            if (i >= plan.size())
                plan.push_back(CPlanDia::Relleno(hora));
            else if (plan[i].m_hora != hora)
                plan.insert(plan.begin() + static_cast<std::ptrdiff_t>(i), CPlanDia::Relleno(hora));
        }
    }
}
