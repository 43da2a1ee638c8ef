#pragma once
// The statements the roster engine sends go to this logging category, silent unless
// enabled (QT_LOGGING_RULES="dravonela.consultas.debug=true").

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(dvConsultas)
