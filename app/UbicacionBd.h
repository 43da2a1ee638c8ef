#pragma once
// Where the window program finds its database file, first found wins:
//  1. ostrevan.mdb beside the executable (the build tree, and copies of the program made
//     together with their database);
//  2. the file the DB_RUTA setting names;
//  3. ostrevan.mdb in the user's data folder (~/.local/share/Dravonela).
//
// The program is "installed" when its executable lies in the bin folder of a prefix
// that also holds share/dravonela, as the package lays it out (/usr/bin/dravonela and
// /usr/share/dravonela). Only an installed program offers to make or choose a database
// when none is found; from a build tree a missing database still ends the program.

#include <QString>

class CUbicacionBd {
public:
    enum class Origen { Ninguno, JuntoAlEjecutable, Ajuste, CarpetaUsuario };

    struct Hallazgo {
        QString ruta; // empty when nothing was found
        Origen origen = Origen::Ninguno;
    };

    // The setting that remembers the file chosen by the user.
    static constexpr const char* ClaveRuta = "DB_RUTA";
    static constexpr const char* NombreFichero = "ostrevan.mdb";

    // For the executable at the given path; by default the running program.
    explicit CUbicacionBd(const QString& ejecutable = QString());

    // The file looked for beside the executable; set, it replaces that one (tests, and
    // the picture tools that bring a database of their own).
    void FijarJuntoAlEjecutable(const QString& ruta) { m_junto = ruta; }
    QString JuntoAlEjecutable() const;

    // The first of the three places that holds a file.
    Hallazgo Buscar() const;
    bool Instalado() const;

    // DB_RUTA, empty when absent; writing it keeps the absolute path.
    static QString RutaRecordada();
    static void Recordar(const QString& ruta);
    // ~/.local/share/Dravonela and the database file in it.
    static QString CarpetaUsuario();
    static QString RutaCarpetaUsuario();

    // True when the file is a roster database: an SQLite file marked with this
    // program's application id, or holding the tables every roster database has (files
    // of older versions carry no mark). The file is only read. Otherwise false, with the
    // reason in Spanish in motivo.
    static bool EsBaseDePlanillas(const QString& ruta, QString* motivo = nullptr);

private:
    QString m_ejecutable;
    QString m_junto;
};
