#pragma once
// "Configuración de tipos de turno": the shift types (table TIPOSTURNO), the rotation
// patterns. Also the shift type chooser: after OK, GetChosen gives the current row's
// shift type.

#include "ConfigListGrid.h"
#include "NameListDlg.h"

// The shift types list: one column "Nombre", the shift type's ID as the row key.
class CTiposTurnoGrid : public CConfigListGrid {
    Q_OBJECT
public:
    explicit CTiposTurnoGrid(QWidget* parent = nullptr);
};

class CTiposTurnoDlg : public CNameListDlg {
    Q_OBJECT
public:
    explicit CTiposTurnoDlg(QWidget* parent = nullptr);

    // Runs the dialog modally (menu "Tip&os de turno..."); returns the dialog's result.
    static int Run(QWidget* parent);
    // Runs it as chooser: the chosen shift type, or -1 when it was not closed with OK.
    static int Choose(QWidget* parent);

    static Setup MakeSetup();
};
