#include "Progreso.h"

bool CProgresoSinVentana::Bombear() {
    ++m_bombeos;
    if (m_gancho && m_gancho(*this))
        m_cancelado = true;
    return true;
}
