#include "Consultas.h"

Q_LOGGING_CATEGORY(dvConsultas, "dravonela.consultas", QtInfoMsg)
