#pragma once
// "Configuración de servicios": the services (table FUNCIONES). Also the service
// chooser of the worker record: after OK, GetChosen gives the current row's service.

#include "ConfigListGrid.h"
#include "NameListDlg.h"

// The services list: one column "Servicios", the service's ID as the row key.
class CServiciosGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CServiciosGrid(QWidget* parent = nullptr);
};

class CServiciosDlg : public CNameListDlg {
    Q_OBJECT
public:
    explicit CServiciosDlg(QWidget* parent = nullptr);

    // Runs the dialog modally (menu "&Servicios..."); returns the dialog's result.
    static int Run(QWidget* parent);
    // Runs it as chooser: the chosen service, or -1 when it was not closed with OK.
    static int Choose(QWidget* parent);

    static Setup MakeSetup();
};
